#include "ObjReader.h"

#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <exception>
#include <memory>
#include <new>
#include <string>
#include <thread>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "LoadCancel.h"
#include "RegularFile.h"
#include "internal/HugePages.h"
#include "internal/LineSource.h"
#include "internal/ObjText.h"

using namespace objtext;

namespace {

// Face vertex forms, decided by the first vertex word of a face.
enum class FaceForm { VertexNormal, VertexTexNormal, VertexTex, Vertex };

// The form of the word [b, e), and the fields it holds (`fields` of them
// read into `v`), which are the first vertex's in any form but
// vertex//normal. A word holding "//" anywhere is of that form. The fields
// read hold no "//" (an index lies between any two slashes they take), so it
// is looked for only from where reading stopped, a slash before it on.
FaceForm FormOf(const char* b, const char* e, long long v[3], int& fields) {
  const char* p = b;
  fields = 0;
  if (ParseIndex(p, e, v[0])) {
    ++fields;
    if (p < e && *p == '/' && ParseIndex(++p, e, v[1])) {
      ++fields;
      if (p < e && *p == '/' && ParseIndex(++p, e, v[2])) {
        ++fields;
      }
    }
  }
  for (const char* q = p > b ? p - 1 : b; q + 1 < e; ++q) {
    if (q[0] == '/' && q[1] == '/') {
      return FaceForm::VertexNormal;
    }
  }
  if (fields == 3) {
    return FaceForm::VertexTexNormal;
  }
  if (fields == 2) {
    return FaceForm::VertexTex;
  }
  return FaceForm::Vertex;
}

// One face vertex word in the face's form, read from p on; p is left where
// reading stopped. Fields not read keep their values from the previous
// vertex. Returns the number of fields read.
int ReadFaceVertex(FaceForm form, const char*& p, const char* e, long long idx[3], bool given[3]) {
  long long v;
  if (!ParseIndex(p, e, v)) {
    return 0;
  }
  idx[0] = v;
  given[0] = true;
  switch (form) {
    case FaceForm::Vertex:
      return 1;
    case FaceForm::VertexNormal:
      if (p + 1 < e && p[0] == '/' && p[1] == '/') {
        p += 2;
        if (ParseIndex(p, e, v)) {
          idx[2] = v;
          given[2] = true;
          return 2;
        }
      }
      return 1;
    case FaceForm::VertexTex:
    case FaceForm::VertexTexNormal:
      if (p < e && *p == '/' && ParseIndex(++p, e, v)) {
        idx[1] = v;
        given[1] = true;
        if (form == FaceForm::VertexTex) {
          return 2;
        }
        if (p < e && *p == '/' && ParseIndex(++p, e, v)) {
          idx[2] = v;
          given[2] = true;
          return 3;
        }
        return 2;
      }
      return 1;
  }
  return 0;
}

// Every run of lines the reader scans ends with a line break, so a word or a
// line can be followed to its break without watching for the run's end.
inline const char* SkipBlanksInLine(const char* p) {
  while (IsBlank(*p)) {
    ++p;
  }
  return p;
}
inline const char* WordEndInLine(const char* p) {
  while (!IsBlank(*p) && *p != '\n') {
    ++p;
  }
  return p;
}
inline const char* LineEnd(const char* p, const char* end) {
  return *p == '\n' ? p : static_cast<const char*>(std::memchr(p, '\n', static_cast<std::size_t>(end - p)));
}

// Elements appended in pieces of 2 MiB, each mapped on its own: moving them
// on into one array unmaps each piece as soon as it is copied, so that the
// array and the pieces never both hold all of it.
template <class T>
class CPieces {
 public:
  CPieces() = default;
  CPieces(const CPieces&) = delete;
  CPieces& operator=(const CPieces&) = delete;
  ~CPieces() {
    for (T* p : m_pieces) {
      ::munmap(p, kBytes);
    }
  }
  void Add(const T& v) { Emplace() = v; }
  // A new element, to be filled where it stands.
  T& Emplace() {
    if (m_next == m_stop) {
      NewPiece();
    }
    ++m_size;
    return *::new (m_next++) T();
  }
  std::size_t Size() const { return m_size; }
  void MoveTo(std::vector<T>& to) {
    to.reserve(to.size() + m_size);
    for (std::size_t i = 0; i < m_pieces.size(); ++i) {
      const std::size_t n = std::min(kPerPiece, m_size - i * kPerPiece);
      to.insert(to.end(), m_pieces[i], m_pieces[i] + n);
      ::munmap(m_pieces[i], kBytes);
      m_pieces[i] = nullptr;
    }
    m_pieces.clear();
    m_next = m_stop = nullptr;
    m_size = 0;
  }

 private:
  static constexpr std::size_t kBytes = std::size_t{2} << 20, kPerPiece = kBytes / sizeof(T);
  void NewPiece() {
    m_pieces.reserve(m_pieces.size() + 1);
    void* p = ::mmap(nullptr, kBytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (p == MAP_FAILED) {
      throw std::bad_alloc();
    }
    AskHugePages(p, kBytes);
    m_pieces.push_back(static_cast<T*>(p));
    m_next = m_pieces.back(), m_stop = m_next + kPerPiece;
  }
  std::vector<T*> m_pieces;
  T* m_next = nullptr;
  T* m_stop = nullptr;
  std::size_t m_size = 0;
};

using CNameIndex = std::unordered_map<std::string, std::uint32_t>;

// What samples of a text promise for the whole of it: room for the tables,
// so that they rarely grow by copying (the size alone may promise far more
// than the text holds), and where to split it so that its halves cost the
// same to read.
struct Promise {
  std::size_t vertices = 0, normals = 0, texCoords = 0, triangles = 0;
  double balance = 0.5;  // as a fraction of the size
};

// Files often list their vertices first and their faces after, so the
// samples are spread over the whole text. False on a read error.
bool Sample(const CObjInput& input, Promise& promise) {
  const std::size_t size = input.Size();
  constexpr std::size_t kSamples = 8, kSample = std::size_t{256} << 10;
  std::size_t vertices = 0, normals = 0, texCoords = 0, faces = 0, sampled = 0;
  double cost[kSamples] = {};  // of reading each eighth of the file, estimated
  std::string buffer;
  for (std::size_t i = 0; i < kSamples; ++i) {
    const char *b, *stop;
    if (!input.Peek(size / kSamples * i, kSample, buffer, b, stop)) {
      return false;
    }
    if (i > 0) {  // from the next whole line
      const void* nl = std::memchr(b, '\n', static_cast<std::size_t>(stop - b));
      b = nl ? static_cast<const char*>(nl) + 1 : stop;
    }
    sampled += static_cast<std::size_t>(stop - b);
    CLines lines(b, stop);
    const char *lb, *le;
    std::size_t faceBytes = 0;
    while (lines.Next(lb, le)) {
      const char* w = SkipBlanks(lb, le);
      if (le - w > 1 && *w == 'v') {
        vertices += IsBlank(w[1]);
        normals += w[1] == 'n' && le - w > 2 && IsBlank(w[2]);
        texCoords += w[1] == 't' && le - w > 2 && IsBlank(w[2]);
      } else if (le - w > 1 && *w == 'f' && IsBlank(w[1])) {
        ++faces;
        faceBytes += static_cast<std::size_t>(le - lb);
      }
    }
    // Faces cost about 1.3 times as much per byte to read as other lines.
    if (stop > b) {
      cost[i] = (static_cast<double>(stop - b) + 0.3 * static_cast<double>(faceBytes)) / static_cast<double>(stop - b) *
                static_cast<double>(size) / kSamples;
    }
    if (size <= kSample) {
      break;
    }
  }
  // Where the reading of the first half costs what the second's does.
  double total = 0;
  for (double c : cost) {
    total += c;
  }
  double before = 0;
  for (std::size_t i = 0; i < kSamples && total > 0; ++i) {
    if (before + cost[i] >= total / 2) {
      const double within = cost[i] > 0 ? (total / 2 - before) / cost[i] : 0.5;
      promise.balance = (static_cast<double>(i) + within) / static_cast<double>(kSamples);
      break;
    }
    before += cost[i];
  }
  if (sampled > 0) {
    const double scale = static_cast<double>(size) / static_cast<double>(sampled) * 1.05;
    auto scaled = [&](std::size_t n) { return n ? static_cast<std::size_t>(static_cast<double>(n) * scale + 1) : 0; };
    promise.vertices = scaled(vertices);
    promise.normals = scaled(normals);
    promise.texCoords = scaled(texCoords);
    // A face of four corners makes two triangles.
    promise.triangles = 2 * scaled(faces);
  }
  return true;
}

// Reads the lines of a text, or of one of its halves, into a model. The
// reader of a second half keeps what it reads apart, and what depends on
// the first half (negative indices, the group and material in force) as
// notes; joined, the halves make exactly the model one reader would have
// made. Materials are named as the file names them and found once the whole
// text has been read: the library is read before any material is used,
// wherever its line is, and the text is read only once.
class CObjParser {
 public:
  CObjParser(ObjModel* model, bool tail, bool say, const std::atomic<bool>* cancel)
      : m(model), m_bTail(tail), m_bSay(say), m_pCancel(cancel) {
    if (!tail) {
      m_current = FindOrAddGroup("default");
    }
  }

  // Reads the runs of lines of `lines` until they end, a read fails or the
  // model is no longer wanted.
  void Read(CLineSource& lines) {
    const char *b, *e;
    while (!m_bStopped && lines.Next(b, e)) {
      Run(b, e);
    }
    m_bReadFailed = lines.Failed();
  }
  bool ReadFailed() const { return m_bReadFailed; }
  bool Cancelled() const { return m_pCancel && m_pCancel->load(std::memory_order_relaxed); }
  const std::vector<std::string>& Libraries() const { return m_libraries; }

  // Puts the materials found in the library in place of the names used.
  void FindMaterials(const CNameIndex& library) {
    std::vector<std::uint32_t> real(m_usedNames.size() + 1, 0);
    m_found.assign(m_usedNames.size() + 1, true);
    for (std::size_t i = 0; i < m_usedNames.size(); ++i) {
      const auto it = library.find(m_usedNames[i]);
      m_found[i + 1] = it != library.end();
      real[i + 1] = m_found[i + 1] ? it->second : 0;
    }
    for (ObjGroup& g : m_groups) {
      g.material = real[g.material];
    }
    for (Change& c : m_changes) {
      c.material = real[c.material];
    }
    m_material = real[m_material];
  }

  // Hands on what this reader has to say, in the order found; a material
  // not found is said where it was used.
  void Tell(ObjDiagnostics& to) {
    std::size_t miss = 0;
    for (std::size_t i = 0; i < m_said.size(); ++i) {
      if (miss < m_uses.size() && m_uses[miss].said == i) {
        const std::uint32_t name = m_uses[miss++].name;
        if (!m_found[name]) {
          to.push_back("glmFindMaterial():  can't find material \"" + Printable(m_usedNames[name - 1]) + "\".");
        }
      } else {
        to.push_back(std::move(m_said[i]));
      }
    }
    m_said.clear();
    m_uses.clear();
  }

  // Appends what the second half's reader made, as if this reader had read
  // on: its elements after ours, its notes resolved against our counts, its
  // group and material changes replayed in order.
  void Absorb(CObjParser& tail) {
    const std::uint32_t vertices = m_vertexLines, normals = m_normalLines, texCoords = m_texLines;
    auto append = [](std::vector<float>& to, CPieces<float>& from, std::size_t n) {
      if (from.Size() == 0) {
        return;
      }
      if (to.empty()) {
        to.assign(n, 0.0f);  // the unused entry 0
      }
      from.MoveTo(to);
    };
    append(m->vertices, tail.m_vertices, 3);
    append(m->normals, tail.m_normals, 3);
    append(m->texCoords, tail.m_texCoords, 2);
    m_vertexLines += tail.m_vertexLines;
    m_normalLines += tail.m_normalLines;
    m_texLines += tail.m_texLines;
    const auto first = static_cast<std::uint32_t>(m->triangles.size());
    tail.m_triangles.MoveTo(m->triangles);
    // Indices that count back are resolved here; the highest are no longer
    // known for sure, and the end looks at every triangle.
    const std::uint32_t unsure = tail.m_notes.empty() ? 0 : kBad;
    m_maxVertex = std::max({m_maxVertex, tail.m_maxVertex, unsure});
    m_maxNormal = std::max({m_maxNormal, tail.m_maxNormal, unsure});
    m_maxTexCoord = std::max({m_maxTexCoord, tail.m_maxTexCoord, unsure});
    for (const Note& n : tail.m_notes) {
      const std::uint32_t base = n.field == 0 ? vertices : n.field == 1 ? texCoords : normals;
      const long long index = n.relative + static_cast<long long>(base);
      ObjTriangle& tri = m->triangles[first + n.triangle];
      std::uint32_t* field = n.field == 0 ? tri.vertexIndex : n.field == 1 ? tri.texCoordIndex : tri.normalIndex;
      field[n.corner] = index <= 0 || index >= kBad ? kBad : static_cast<std::uint32_t>(index);
    }
    std::uint32_t next = 0;  // the second half's triangles given to a group so far
    auto give = [&](std::uint32_t upTo) {
      std::vector<std::uint32_t>& list = m_groups[m_current].triangleIndices;
      const std::size_t from = list.size();
      list.resize(from + (upTo - next));
      for (std::size_t i = from; next < upTo; ++next, ++i) {
        list[i] = first + next;
      }
    };
    for (const Change& c : tail.m_changes) {
      give(c.triangles);
      if (c.group) {
        m_current = FindOrAddGroup(c.name);
        m_groups[m_current].material = m_material;
      } else {
        m_material = c.material;
        m_groups[m_current].material = c.material;
      }
    }
    give(tail.m_triangleCount);
  }

  bool Finish(ObjDiagnostics& said) {
    auto say = [&](std::string text) {
      if (m_bSay) {
        said.push_back(std::move(text));
      }
    };
    m->vertexCount = m_vertexLines;
    m->normalCount = m_normalLines;
    m->texCoordCount = m_texLines;
    m->triangleCount = static_cast<std::uint32_t>(m->triangles.size());
    if (m->vertexCount == 0) {
      say("glmReadOBJ() failed: \"" + Printable(m->path) + "\" holds no vertex: it is not a model.");
      return false;
    }
    // The viewer makes its own normals, so a corner naming a normal or a
    // texture coordinate that the file lacks keeps its place without it.
    // A corner naming a vertex that the file lacks refuses the file: the
    // first such triangle is named, after what was dropped is counted.
    std::size_t dropped = 0, bad = m->triangles.size();
    const bool sure =
        m_maxVertex <= m->vertexCount && m_maxNormal <= m->normalCount && m_maxTexCoord <= m->texCoordCount;
    for (std::size_t i = 0; i < (sure ? 0 : m->triangles.size()); ++i) {
      ObjTriangle& t = m->triangles[i];
      for (int c = 0; c < 3; ++c) {
        if (t.normalIndex[c] > m->normalCount) {
          t.normalIndex[c] = 0;
          ++dropped;
        }
        if (t.texCoordIndex[c] > m->texCoordCount) {
          t.texCoordIndex[c] = 0;
          ++dropped;
        }
        if ((t.vertexIndex[c] == 0 || t.vertexIndex[c] > m->vertexCount) && bad == m->triangles.size()) {
          bad = i;
        }
      }
    }
    if (dropped) {
      say("glmReadOBJ(): \"" + Printable(m->path) + "\": " + std::to_string(dropped) +
          " normal or texture coordinate indices name nothing in the file and are left out.");
    }
    if (bad < m->triangles.size()) {
      const ObjTriangle& t = m->triangles[bad];
      for (std::uint32_t v : t.vertexIndex) {
        if (v == 0 || v > m->vertexCount) {
          say("glmReadOBJ() failed: \"" + Printable(m->path) + "\": triangle " + std::to_string(bad) +
              " refers to vertex " + (v == kBad ? std::string("outside the file") : std::to_string(v)) +
              ", which does not exist.");
          return false;
        }
      }
    }
    // Newest group first.
    m->groups.assign(std::make_move_iterator(m_groups.rbegin()), std::make_move_iterator(m_groups.rend()));
    for (ObjGroup& g : m->groups) {
      g.triangleCount = static_cast<std::uint32_t>(g.triangleIndices.size());
    }
    m->groupCount = static_cast<std::uint32_t>(m->groups.size());
    return true;
  }

 private:
  struct Corner {
    std::uint32_t v = 0, t = 0, n = 0;
    long long relative[3] = {0, 0, 0};  // vertex, texture, normal, where kRelative
    void Take(const Corner& c) {
      v = c.v;
      t = c.t;
      n = c.n;
      if (v == kRelative || t == kRelative || n == kRelative) {
        relative[0] = c.relative[0];
        relative[1] = c.relative[1];
        relative[2] = c.relative[2];
      }
    }
  };

  // Reads the lines of [p, end), which ends with a line break, heeding the
  // cancel flag of the thread that asked for the model every so many lines.
  void Run(const char* p, const char* end) {
    while (p < end) {
      p = Line(p, end) + 1;
      if ((++m_lines & 0xFFFF) == 0 && Cancelled()) {
        m_bStopped = true;
        return;
      }
    }
  }

  // Reads the line at p; returns its line break. The lines that make a
  // model (vertices and faces) are read straight to their end; the rest
  // are found whole first.
  const char* Line(const char* p, const char* end) {
    const char* w = SkipBlanksInLine(p);
    switch (*w) {
      case '\n':
        return w;
      case 'v':
        // The second character decides: "v", "vn...", "vt...".
        if (IsBlank(w[1]) || w[1] == '\n') {
          ++m_vertexLines;
          return LineEnd(Vertex(w + 1, end, m->vertices, m_vertices, 3), end);
        }
        if (w[1] == 'n') {
          ++m_normalLines;
          return LineEnd(Vertex(WordEndInLine(w), end, m->normals, m_normals, 3), end);
        }
        if (w[1] == 't') {
          ++m_texLines;
          return LineEnd(Vertex(WordEndInLine(w), end, m->texCoords, m_texCoords, 2), end);
        }
        break;
      case 'f':
        return LineEnd(Face(WordEndInLine(w), end), end);
      case '#':
        return LineEnd(w, end);
      default:
        break;
    }
    const char* e = LineEnd(w, end);
    if (*w == 'm') {  // a material library, read once the whole file is
      m_libraries.push_back(NameOfRest(WordEnd(w, e), e));
      return e;
    }
    OtherLine(w, e);
    return e;
  }

  // A line of [w, e) that is no vertex and no face, or that begins with an
  // unknown word: each unknown word is said, and the next read as a keyword.
  void OtherLine(const char* w, const char* e) {
    while (w < e) {
      const char* we = WordEnd(w, e);
      switch (*w) {
        case 'v':
          if (we - w == 1) {
            ++m_vertexLines;
            Vertex(we, e, m->vertices, m_vertices, 3);
            return;
          }
          if (w[1] == 'n') {
            ++m_normalLines;
            Vertex(we, e, m->normals, m_normals, 3);
            return;
          }
          if (w[1] == 't') {
            ++m_texLines;
            Vertex(we, e, m->texCoords, m_texCoords, 2);
            return;
          }
          Say("glmFirstPass(): Unknown token \"" + Printable(Word(w, we)) + "\".");
          w = SkipBlanks(we, e);  // the next word is read as a keyword
          continue;
        case 'u':
          return UseMaterial(NameOfRest(we, e));
        case 'g':
          return Group(we, e);
        case 'f':
          Face(we, e);
          return;
        default:
          return;  // #, m, s, o, l, ...
      }
    }
  }

  // Up to n numbers after p; those missing are 0. Returns where reading stopped.
  const char* Vertex(const char* p, const char* end, std::vector<float>& out, CPieces<float>& tailOut, int n) {
    float v[3] = {0, 0, 0};
    for (int i = 0; i < n && ParseFloat(p, end, v[i]); ++i) {
    }
    if (m_bTail) {
      for (int i = 0; i < n; ++i) {
        tailOut.Add(v[i]);
      }
      return p;
    }
    if (out.empty()) {
      out.assign(static_cast<std::size_t>(n), 0.0f);  // the unused entry 0
    }
    for (int i = 0; i < n; ++i) {
      out.push_back(v[i]);
    }
    return p;
  }

  // A material is named now and found once the library has been read.
  void UseMaterial(const std::string& name) {
    // Looked up before anything is made: most uses name a material used before.
    auto it = m_usedIndex.find(name);
    if (it == m_usedIndex.end()) {
      it = m_usedIndex.emplace(name, static_cast<std::uint32_t>(m_usedNames.size() + 1)).first;
      m_usedNames.push_back(name);
    }
    const std::uint32_t mat = it->second;
    if (m_bSay) {
      m_uses.push_back({m_said.size(), mat});
      m_said.emplace_back();  // where a material not found will be said
    }
    if (m_bTail) {
      return m_changes.push_back({false, {}, mat, m_triangleCount});
    }
    m_material = mat;
    m_groups[m_current].material = mat;
  }

  void Group(const char* p, const char* e) {
    // The rest of the line without its line break (and a CR before it).
    const char* end = e;
    while (end > p && (end[-1] == '\r')) {
      --end;
    }
    std::string name(p, static_cast<std::size_t>(end - p));
    if (name.size() > kObjMaxWord) {
      name.resize(kObjMaxWord);
    }
    if (m_bTail) {
      return m_changes.push_back({true, std::move(name), 0, m_triangleCount});
    }
    m_current = FindOrAddGroup(name);
    m_groups[m_current].material = m_material;
  }

  std::uint32_t FindOrAddGroup(const std::string& name) {
    auto it = m_groupIndex.find(name);
    if (it != m_groupIndex.end()) {
      return it->second;
    }
    const std::uint32_t index = static_cast<std::uint32_t>(m_groups.size());
    m_groups.push_back(ObjGroup{name, 0, {}, 0});
    // Room for a small object's triangles at once: a model of many small
    // groups would otherwise grow each list four or five times.
    m_groups.back().triangleIndices.reserve(kGroupStart);
    m_groupIndex.emplace(name, index);
    return index;
  }

  // The vertex words after p, to the line break at or before `end`; returns
  // where reading stopped. A corner is its vertex, texture coordinate and
  // normal indices, kept apart in plain values: copied as one record, the
  // corner is written in parts and read whole, which the processor cannot
  // forward from its store buffer.
  const char* Face(const char* p, const char* end) {
    const char* w = SkipBlanksInLine(p);
    if (*w == '\n') {
      return w;
    }
    long long idx[3] = {0, 0, 0};
    bool given[3] = {false, false, false};
    // The first vertex as the form was found, unless it is read again.
    long long firstFields[3] = {0, 0, 0};
    int read = 0;
    const char* firstEnd = WordEndInLine(w);
    const FaceForm form = FormOf(w, firstEnd, firstFields, read);
    const bool reread = form == FaceForm::VertexNormal;
    if (!reread) {
      if (read == 0) {
        return w;  // the face ends at a word that reads nothing
      }
      for (int f = 0; f < read; ++f) {
        idx[f] = firstFields[f];
        given[f] = true;
      }
    }
    Corner first, last, next;
    std::size_t usable = 0;
    std::vector<std::uint32_t>* list = m_bTail ? nullptr : &m_groups[m_current].triangleIndices;
    while (*w != '\n') {
      // The vertex is read up to the first character that is none of its
      // (a blank, as a rule), then the rest of its word is passed over.
      const char* stop = w;
      if (usable == 0 && !reread) {
        stop = firstEnd;
      } else if (ReadFaceVertex(form, stop, end, idx, given) == 0) {
        return w;  // the face ends at a word that reads nothing
      }
      next.v = Resolve(idx[0], m_vertexLines, given[0], next.relative[0]);
      next.t = Resolve(idx[1], m_texLines, given[1], next.relative[1]);
      next.n = Resolve(idx[2], m_normalLines, given[2], next.relative[2]);
      // A fan: (first, last, new) for every vertex from the third on.
      if (usable >= 2) {
        AddTriangle(first, last, next, list);
      }
      if (usable == 0) {
        first.Take(next);
      }
      last.Take(next);
      ++usable;
      w = SkipBlanksInLine(WordEndInLine(stop));
    }
    return w;
  }

  void AddTriangle(const Corner& a, const Corner& b, const Corner& c, std::vector<std::uint32_t>* list) {
    // Filled where it stands: a triangle made aside and copied in would be
    // written in parts and read whole, which the processor cannot forward
    // from its store buffer.
    ObjTriangle& t = m_bTail ? m_triangles.Emplace() : m->triangles.emplace_back();
    t.vertexIndex[0] = a.v;
    t.vertexIndex[1] = b.v;
    t.vertexIndex[2] = c.v;
    t.texCoordIndex[0] = a.t;
    t.texCoordIndex[1] = b.t;
    t.texCoordIndex[2] = c.t;
    t.normalIndex[0] = a.n;
    t.normalIndex[1] = b.n;
    t.normalIndex[2] = c.n;
    const std::uint32_t index = m_triangleCount++;
    if (!m_bTail) {
      list->push_back(index);
      m_maxVertex = std::max({m_maxVertex, a.v, b.v, c.v});
      m_maxTexCoord = std::max({m_maxTexCoord, a.t, b.t, c.t});
      m_maxNormal = std::max({m_maxNormal, a.n, b.n, c.n});
      return;
    }
    m_maxVertex = std::max({m_maxVertex, a.v, b.v, c.v});
    m_maxTexCoord = std::max({m_maxTexCoord, a.t, b.t, c.t});
    m_maxNormal = std::max({m_maxNormal, a.n, b.n, c.n});
    const Corner* corner[3] = {&a, &b, &c};
    for (std::uint8_t i = 0; i < 3; ++i) {
      const std::uint32_t fields[3] = {corner[i]->v, corner[i]->t, corner[i]->n};
      for (std::uint8_t f = 0; f < 3; ++f) {
        if (fields[f] == kRelative) {
          m_notes.push_back({index, i, f, corner[i]->relative[f]});
        }
      }
    }
  }

  // An index as stored: negative ones count back from the elements read so
  // far; anything that cannot be valid becomes kBad, checked at the end. In
  // the second half a negative index may count back into the first half's
  // elements: it becomes kRelative, and a note keeps it counted from the
  // second half's own start, to be resolved when the halves are joined.
  static constexpr std::uint32_t kBad = 0xFFFFFFFFu, kRelative = 0xFFFFFFFEu;
  static constexpr std::size_t kGroupStart = 16;
  std::uint32_t Resolve(long long index, std::uint32_t readSoFar, bool given, long long& relative) const {
    if (!given) {
      return 0;
    }
    if (index < 0) {
      index += static_cast<long long>(readSoFar) + 1;
      if (m_bTail) {
        relative = index;
        return kRelative;
      }
    }
    if (index <= 0 || index >= kRelative) {
      return kBad;
    }
    return static_cast<std::uint32_t>(index);
  }

  void Say(std::string text) {
    if (m_bSay) {
      m_said.push_back(std::move(text));
    }
  }

  // The second half's notes: an index to resolve against the first half's
  // counts (field 0 vertex, 1 texture coordinate, 2 normal), and a change of
  // group or material before triangle `triangles`.
  struct Note {
    std::uint32_t triangle;
    std::uint8_t corner, field;
    long long relative;
  };
  struct Change {
    bool group;
    std::string name;
    std::uint32_t material;
    std::uint32_t triangles;
  };
  // A use of a material: its name, and where in what is said it falls.
  struct Use {
    std::size_t said;
    std::uint32_t name;
  };

  ObjModel* m;
  bool m_bTail;
  bool m_bSay;  // whether anyone listens to what is said
  const std::atomic<bool>* m_pCancel;
  std::uint32_t m_lines = 0;
  bool m_bStopped = false, m_bReadFailed = false;

  std::uint32_t m_vertexLines = 0, m_normalLines = 0, m_texLines = 0, m_triangleCount = 0;
  // The highest indices the triangles hold: when none names what the file
  // lacks, the end need not look at every triangle again.
  std::uint32_t m_maxVertex = 0, m_maxNormal = 0, m_maxTexCoord = 0;
  CPieces<float> m_vertices, m_normals, m_texCoords;  // the second half's
  CPieces<ObjTriangle> m_triangles;
  std::vector<Note> m_notes;
  std::vector<Change> m_changes;

  std::vector<ObjGroup> m_groups;  // oldest first while reading
  std::unordered_map<std::string, std::uint32_t> m_groupIndex;
  std::uint32_t m_current = 0;
  // Materials by the names used (1-based; 0 is material 0, the one in force
  // before any is named), found at the end.
  std::uint32_t m_material = 0;
  std::vector<std::string> m_usedNames;
  CNameIndex m_usedIndex;
  std::vector<bool> m_found;
  std::vector<std::string> m_libraries;  // as named, in file order

  std::vector<std::string> m_said;
  std::vector<Use> m_uses;
};

// Each library read replaces the materials of the one before, so the model
// ends with those of the last library that opens: look for it from the end,
// reading each library at most once. usemtl finds a material by its name;
// the first of a name counts.
CNameIndex ReadLibraries(ObjModel* m, const std::vector<std::string>& names, const std::string_view* libraryText,
                         ObjDiagnostics* said) {
  CNameIndex index;
  if (names.empty()) {
    return index;
  }
  m->materialLibrary = names.back();
  m->hasMaterialLibrary = true;
  if (libraryText) {
    glmReadMTLFromMemory(m, libraryText->data(), libraryText->size());
  } else {
    std::unordered_set<std::string> tried;
    for (std::size_t i = names.size(); i-- > 0;) {
      if (tried.insert(names[i]).second && glmReadMTL(m, names[i].c_str(), said)) {
        break;
      }
    }
  }
  for (std::size_t i = 0; i < m->materials.size(); ++i) {
    index.emplace(m->materials[i].name, static_cast<std::uint32_t>(i));
  }
  return index;
}

enum class Outcome { Model, NoModel, ReadError };

// Files smaller than this are read by one thread.
constexpr std::size_t kSplitBytes = std::size_t{4} << 20;

Outcome ReadModel(ObjModel* m, const CObjInput& input, ObjDiagnostics* diagnostics,
                  const std::string_view* libraryText) {
  ObjDiagnostics said;  // handed on when the whole file has been read
  auto tell = [&] {
    if (diagnostics) {
      diagnostics->insert(diagnostics->end(), std::make_move_iterator(said.begin()),
                          std::make_move_iterator(said.end()));
    }
  };
  std::string buffer;
  const char *b, *e;
  if (!input.Peek(0, 4096, buffer, b, e)) {
    return Outcome::ReadError;
  }
  // OBJ is text: a NUL byte near the start says this is a picture, an
  // archive or other binary data.
  if (std::memchr(b, '\0', static_cast<std::size_t>(e - b))) {
    said.push_back("glmReadOBJ() failed: \"" + Printable(m->path) + "\" is not an OBJ text (it holds binary data).");
    tell();
    return Outcome::NoModel;
  }
  Promise promise;
  if (!Sample(input, promise)) {
    return Outcome::ReadError;
  }
  ReserveHuge(m->vertices, 3 * (promise.vertices + 1));
  ReserveHuge(m->normals, promise.normals ? 3 * (promise.normals + 1) : 0);
  ReserveHuge(m->texCoords, promise.texCoords ? 2 * (promise.texCoords + 1) : 0);
  ReserveHuge(m->triangles, promise.triangles);
  m->vertices.assign(3, 0.0f);

  const std::atomic<bool>* cancel = CLoadCancelScope::Current();
  CObjParser first(m, false, diagnostics != nullptr, cancel);
  // A big file is read in two halves at once, split at a line break; both
  // halves heed the cancel flag of the thread that asked for the model.
  const std::size_t size = input.Size();
  std::size_t split = size;
  if (size >= kSplitBytes && std::thread::hardware_concurrency() > 1) {
    for (std::size_t at = std::min(size - 1, static_cast<std::size_t>(promise.balance * static_cast<double>(size)));
         at < size; at += buffer.size()) {
      if (!input.Peek(at, std::size_t{64} << 10, buffer, b, e)) {
        return Outcome::ReadError;
      }
      if (const void* nl = std::memchr(b, '\n', static_cast<std::size_t>(e - b))) {
        split = at + static_cast<std::size_t>(static_cast<const char*>(nl) - b) + 1;
        break;
      }
    }
  }
  ObjModel secondModel;  // a second half's reader makes no model of its own
  std::unique_ptr<CObjParser> second;
  if (split == size) {
    CLineSource lines(input, 0, size);
    first.Read(lines);
  } else {
    second = std::make_unique<CObjParser>(&secondModel, true, diagnostics != nullptr, cancel);
    std::exception_ptr failure;
    std::thread reader([&] {
      try {
        CLineSource lines(input, split, size);
        second->Read(lines);
      } catch (...) {
        failure = std::current_exception();
      }
    });
    CLineSource lines(input, 0, split);
    first.Read(lines);
    reader.join();
    if (failure) {
      std::rethrow_exception(failure);
    }
  }
  if (first.ReadFailed() || (second && second->ReadFailed())) {
    return Outcome::ReadError;
  }
  std::vector<std::string> libraries = first.Libraries();
  if (second) {
    libraries.insert(libraries.end(), second->Libraries().begin(), second->Libraries().end());
  }
  const CNameIndex materials = ReadLibraries(m, libraries, libraryText, diagnostics ? &said : nullptr);
  first.FindMaterials(materials);
  first.Tell(said);
  const char* stopped = "glmReadOBJ() stopped: the model is no longer wanted.";
  if (second) {
    if (first.Cancelled()) {
      said.emplace_back(stopped);
      tell();
      return Outcome::NoModel;
    }
    second->FindMaterials(materials);
    first.Absorb(*second);
    second->Tell(said);
    second.reset();
  }
  if (first.Cancelled()) {
    said.emplace_back(stopped);
    tell();
    return Outcome::NoModel;
  }
  const bool ok = first.Finish(said);
  tell();
  return ok ? Outcome::Model : Outcome::NoModel;
}

ObjModel* ReadObj(const char* path, const CObjInput& input, ObjDiagnostics* diagnostics,
                  const std::string_view* libraryText) {
  const std::string name = path ? path : "";
  try {
    auto model = std::make_unique<ObjModel>();
    model->path = name;
    switch (ReadModel(model.get(), input, diagnostics, libraryText)) {
      case Outcome::Model:
        return model.release();
      case Outcome::NoModel:
        return nullptr;
      case Outcome::ReadError:
        break;
    }
    if (diagnostics) {
      diagnostics->push_back(input.Shrunk()
                                 ? "glmReadOBJ() failed: \"" + Printable(name) + "\" changed while it was read."
                                 : "glmReadOBJ() failed: can't open data file \"" + Printable(name) + "\".");
    }
  } catch (const std::bad_alloc&) {
    if (diagnostics) {
      diagnostics->push_back("glmReadOBJ() failed: \"" + Printable(name) + "\" is too big for the memory.");
    }
  }
  return nullptr;
}

}  // namespace

ObjModel* glmReadOBJFromMemory(const char* path, const char* text, std::size_t size, ObjDiagnostics* diagnostics,
                               const std::string_view* libraryText) {
  return ReadObj(path, CObjInput(text, size), diagnostics, libraryText);
}

// The file is read a piece at a time as it is parsed, never whole: the
// pieces cost a buffer of kObjChunkBytes, where the whole text would cost
// more than the model made of it.
ObjModel* glmReadOBJ(const char* path, ObjDiagnostics* diagnostics) {
  std::size_t size = 0;
  const int fd = OpenRegularFile(path, size);
  if (fd < 0) {
    if (diagnostics) {
      diagnostics->push_back("glmReadOBJ() failed: can't open data file \"" + Printable(path) + "\".");
    }
    return nullptr;
  }
  ObjModel* model = glmReadOBJFromFile(path, fd, size, diagnostics);
  ::close(fd);
  return model;
}

ObjModel* glmReadOBJFromFile(const char* path, int fd, std::size_t size, ObjDiagnostics* diagnostics) {
  return ReadObj(path, CObjInput(fd, size), diagnostics, nullptr);
}

void glmFreeModel(ObjModel* model) { delete model; }
