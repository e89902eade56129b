#include "ObjReader.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <memory>
#include <new>
#include <string>
#include <thread>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "LoadCancel.h"
#include "internal/FileText.h"
#include "internal/ObjText.h"

using namespace objtext;

namespace {

// Face vertex forms, decided by the first vertex word of a face.
enum class FaceForm { VertexNormal, VertexTexNormal, VertexTex, Vertex };

FaceForm FormOf(const char* b, const char* e) {
  const std::string_view w(b, static_cast<std::size_t>(e - b));
  if (w.find("//") != std::string_view::npos) {
    return FaceForm::VertexNormal;
  }
  const char* p = b;
  long long v;
  int fields = 0;
  if (ParseIndex(p, e, v)) {
    ++fields;
    if (p < e && *p == '/' && ParseIndex(++p, e, v)) {
      ++fields;
      if (p < e && *p == '/' && ParseIndex(++p, e, v)) {
        ++fields;
      }
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
  idx[0] = v, given[0] = true;
  switch (form) {
    case FaceForm::Vertex:
      return 1;
    case FaceForm::VertexNormal:
      if (p + 1 < e && p[0] == '/' && p[1] == '/') {
        p += 2;
        if (ParseIndex(p, e, v)) {
          return idx[2] = v, given[2] = true, 2;
        }
      }
      return 1;
    case FaceForm::VertexTex:
    case FaceForm::VertexTexNormal:
      if (p < e && *p == '/' && ParseIndex(++p, e, v)) {
        idx[1] = v, given[1] = true;
        if (form == FaceForm::VertexTex) {
          return 2;
        }
        if (p < e && *p == '/' && ParseIndex(++p, e, v)) {
          return idx[2] = v, given[2] = true, 3;
        }
        return 2;
      }
      return 1;
  }
  return 0;
}

class CObjParser {
 public:
  CObjParser(ObjModel* model, const char* text, std::size_t size, ObjDiagnostics* diagnostics,
             const std::string_view* libraryText)
      : m(model),
        m_begin(text),
        m_end(text + size),
        m_diagnostics(diagnostics),
        m_libraryText(libraryText),
        m_pCancel(CLoadCancelScope::Current()) {}

  bool Parse() {
    ReadMaterialLibraries();
    m_current = FindOrAddGroup("default");
    m->vertices.assign(3, 0.0f);
    ReserveFromSamples();
    // A big file is read in two halves at once, split at a line break: the
    // second half's reader keeps what depends on the first (negative
    // indices, the group and material in force) as notes, and the halves
    // are then joined into exactly the model one reader would have made.
    const std::size_t size = static_cast<std::size_t>(m_end - m_begin);
    const char* split = m_end;
    if (size >= kSplitBytes && std::thread::hardware_concurrency() > 1) {
      const auto at = std::min(size - 1, static_cast<std::size_t>(m_balance * static_cast<double>(size)));
      const void* nl = std::memchr(m_begin + at, '\n', size - at);
      if (nl) {
        split = static_cast<const char*>(nl) + 1;
      }
    }
    if (split == m_end) {
      ReadLines(m_begin, m_end);
    } else {
      ObjModel tailModel;
      ObjDiagnostics tailDiagnostics;
      CObjParser tail(&tailModel, split, static_cast<std::size_t>(m_end - split), &tailDiagnostics, nullptr);
      tail.m_pCancel = m_pCancel;
      tail.m_pMaterials = &m_materialIndex;
      tail.m_bTail = true;
      tailModel.vertices.assign(3, 0.0f);
      tailModel.vertices.reserve(m->vertices.capacity() / 2 + 3);
      tailModel.triangles.reserve(m->triangles.capacity() / 2 + 1);
      std::thread second([&] { tail.ReadLines(split, m_end); });
      ReadLines(m_begin, split);
      second.join();
      if (Cancelled()) {
        return Say("glmReadOBJ() stopped: the model is no longer wanted."), false;
      }
      Absorb(tail);
      if (m_diagnostics) {
        m_diagnostics->insert(m_diagnostics->end(), tailDiagnostics.begin(), tailDiagnostics.end());
      }
    }
    if (Cancelled()) {
      return Say("glmReadOBJ() stopped: the model is no longer wanted."), false;
    }
    return Finish();
  }

 private:
  // Files smaller than this are read in one piece.
  static constexpr std::size_t kSplitBytes = std::size_t{4} << 20;

  // Both halves heed the cancel flag of the thread that asked for the model
  // (taken when the reader was made), every so many lines.
  void ReadLines(const char* begin, const char* end) {
    CLines lines(begin, end);
    const char *b, *e;
    for (std::uint32_t n = 1; lines.Next(b, e); ++n) {
      Line(b, e);
      if ((n & 0xFFFF) == 0 && Cancelled()) {
        return;
      }
    }
  }
  bool Cancelled() const { return m_pCancel && m_pCancel->load(std::memory_order_relaxed); }

  // Appends what the second half's reader made, as if this reader had read
  // on: its elements after ours, its notes resolved against our counts, its
  // group and material changes replayed in order.
  void Absorb(CObjParser& tail) {
    ObjModel& t = *tail.m;
    const std::uint32_t vertices = VerticesRead(), normals = m_normalLines, texCoords = m_texLines;
    auto append = [](std::vector<float>& to, const std::vector<float>& from, std::size_t n) {
      if (from.size() <= n) {
        return;
      }
      if (to.empty()) {
        to.assign(n, 0.0f);  // the unused entry 0
      }
      to.insert(to.end(), from.begin() + static_cast<std::ptrdiff_t>(n), from.end());
    };
    append(m->vertices, t.vertices, 3);
    append(m->normals, t.normals, 3);
    append(m->texCoords, t.texCoords, 2);
    m_normalLines += tail.m_normalLines;
    m_texLines += tail.m_texLines;
    const auto first = static_cast<std::uint32_t>(m->triangles.size());
    m->triangles.insert(m->triangles.end(), t.triangles.begin(), t.triangles.end());
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
      for (; next < upTo; ++next) {
        list.push_back(first + next);
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
    give(static_cast<std::uint32_t>(t.triangles.size()));
  }

  // Room for the vertices and faces that samples of the file promise for
  // the whole of it, so that the tables rarely grow by copying; the file's
  // size alone may promise far more than it holds. Files often list their
  // vertices first and their faces after, so the samples are spread over it.
  void ReserveFromSamples() {
    const std::size_t size = static_cast<std::size_t>(m_end - m_begin);
    constexpr std::size_t kSamples = 8, kSample = std::size_t{256} << 10;
    std::size_t vertices = 0, faces = 0, sampled = 0;
    double cost[kSamples] = {};  // of reading each eighth of the file, estimated
    for (std::size_t i = 0; i < kSamples; ++i) {
      const char* b = m_begin + size / kSamples * i;
      const char* stop = std::min(m_end, b + kSample);
      if (b > m_begin) {  // from the next whole line
        const void* nl = std::memchr(b, '\n', static_cast<std::size_t>(stop - b));
        b = nl ? static_cast<const char*>(nl) + 1 : stop;
      }
      sampled += static_cast<std::size_t>(stop - b);
      CLines lines(b, stop);
      const char *lb, *le;
      std::size_t faceBytes = 0;
      while (lines.Next(lb, le)) {
        const char* w = SkipBlanks(lb, le);
        if (le - w > 1 && IsBlank(w[1])) {
          vertices += *w == 'v';
          if (*w == 'f') {
            ++faces, faceBytes += static_cast<std::size_t>(le - lb);
          }
        }
      }
      // Faces cost about 1.6 times as much per byte to read as other lines.
      if (stop > b) {
        cost[i] = (static_cast<double>(stop - b) + 0.6 * static_cast<double>(faceBytes)) /
                  static_cast<double>(stop - b) * static_cast<double>(size / kSamples);
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
        m_balance = (static_cast<double>(i) + within) / static_cast<double>(kSamples);
        break;
      }
      before += cost[i];
    }
    if (sampled == 0) {
      return;
    }
    const double scale = static_cast<double>(size) / static_cast<double>(sampled) * 1.05;
    // A face of four corners makes two triangles.
    m->vertices.reserve(3 * static_cast<std::size_t>(static_cast<double>(vertices) * scale + 1));
    m->triangles.reserve(static_cast<std::size_t>(static_cast<double>(faces) * scale * 2 + 1));
  }

  // The library is read before any material is used, wherever its line is.
  // Only lines whose first word begins with 'm' name one; the letter is rare
  // in OBJ text, so look for it rather than walk every line.
  void ReadMaterialLibraries() {
    std::vector<std::string> names;  // in file order
    const char* p = m_begin;
    while (p < m_end) {
      const char* hit = static_cast<const char*>(std::memchr(p, 'm', static_cast<std::size_t>(m_end - p)));
      if (!hit) {
        break;
      }
      const char* b = hit;
      while (b > m_begin && IsBlank(b[-1])) {
        --b;
      }
      const char* nl = static_cast<const char*>(std::memchr(hit, '\n', static_cast<std::size_t>(m_end - hit)));
      const char* e = nl ? nl : m_end;
      if (b == m_begin || b[-1] == '\n') {
        names.push_back(NameOfRest(WordEnd(hit, e), e));
      }
      p = e;
    }
    if (names.empty()) {
      return;
    }
    m->materialLibrary = names.back();
    m->hasMaterialLibrary = true;
    // Each library read replaces the materials of the one before, so the
    // model ends with those of the last library that opens: look for it
    // from the end, reading each library at most once.
    if (m_libraryText) {
      glmReadMTLFromMemory(m, m_libraryText->data(), m_libraryText->size());
    } else {
      std::unordered_set<std::string> tried;
      for (auto it = names.rbegin(); it != names.rend(); ++it) {
        if (tried.insert(*it).second && glmReadMTL(m, it->c_str(), m_diagnostics)) {
          break;
        }
      }
    }
    // usemtl finds a material by its name at once; the first of a name counts.
    for (std::size_t i = 0; i < m->materials.size(); ++i) {
      m_materialIndex.emplace(m->materials[i].name, static_cast<std::uint32_t>(i));
    }
  }

  std::uint32_t FindOrAddGroup(const std::string& name) {
    auto it = m_groupIndex.find(name);
    if (it != m_groupIndex.end()) {
      return it->second;
    }
    const std::uint32_t index = static_cast<std::uint32_t>(m_groups.size());
    m_groups.push_back(ObjGroup{name, 0, {}, 0});
    m_groupIndex.emplace(name, index);
    return index;
  }

  void Line(const char* b, const char* e) {
    const char* w = SkipBlanks(b, e);
    while (w < e) {
      const char* we = WordEnd(w, e);
      switch (*w) {
        case '#':
          return;
        case 'v':
          // The second character decides: "v", "vn...", "vt...".
          if (we - w == 1) {
            return Vertex(we, e, m->vertices, 3);
          }
          if (w[1] == 'n') {
            return ++m_normalLines, Vertex(we, e, m->normals, 3);
          }
          if (w[1] == 't') {
            return ++m_texLines, Vertex(we, e, m->texCoords, 2);
          }
          Say("glmFirstPass(): Unknown token \"" + Printable(Word(w, we)) + "\".");
          w = SkipBlanks(we, e);  // the next word is read as a keyword
          continue;
        case 'u':
          return UseMaterial(NameOfRest(we, e));
        case 'g':
          return Group(we, e);
        case 'f':
          return Face(we, e);
        default:
          return;  // m (read ahead), s, o, l, ...
      }
    }
  }

  void Vertex(const char* p, const char* e, std::vector<float>& out, int n) {
    if (out.empty()) {
      out.assign(static_cast<std::size_t>(n), 0.0f);  // the unused entry 0
    }
    float v[3] = {0, 0, 0};
    for (int i = 0; i < n && ParseFloat(p, e, v[i]); ++i) {
    }
    out.insert(out.end(), v, v + n);
  }

  void UseMaterial(const std::string& name) {
    std::uint32_t mat = 0;
    if (auto it = m_pMaterials->find(name); it != m_pMaterials->end()) {
      mat = it->second;
    } else {
      Say("glmFindMaterial():  can't find material \"" + Printable(name) + "\".");
    }
    if (m_bTail) {
      return m_changes.push_back({false, {}, mat, static_cast<std::uint32_t>(m->triangles.size())});
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
      return m_changes.push_back({true, std::move(name), 0, static_cast<std::uint32_t>(m->triangles.size())});
    }
    m_current = FindOrAddGroup(name);
    m_groups[m_current].material = m_material;
  }

  void Face(const char* p, const char* e) {
    const char* w = SkipBlanks(p, e);
    if (w >= e) {
      return;
    }
    const FaceForm form = FormOf(w, WordEnd(w, e));
    long long idx[3] = {0, 0, 0};
    bool given[3] = {false, false, false};
    FaceVertex first, last;
    std::size_t usable = 0;
    std::vector<std::uint32_t>* list = m_bTail ? nullptr : &m_groups[m_current].triangleIndices;
    while (w < e) {
      // The vertex is read up to the first character that is none of its
      // (a blank, as a rule), then the rest of its word is passed over.
      const char* stop = w;
      if (ReadFaceVertex(form, stop, e, idx, given) == 0) {
        break;  // the face ends at a word that reads nothing
      }
      const char* we = WordEnd(stop, e);
      FaceVertex fv;
      fv.v = Resolve(idx[0], VerticesRead(), given[0], fv.relative[0]);
      fv.t = Resolve(idx[1], m_texLines, given[1], fv.relative[1]);
      fv.n = Resolve(idx[2], m_normalLines, given[2], fv.relative[2]);
      // A fan: (first, last, new) for every vertex from the third on.
      if (usable >= 2) {
        ObjTriangle t;
        const FaceVertex* corner[3] = {&first, &last, &fv};
        for (int i = 0; i < 3; ++i) {
          t.vertexIndex[i] = corner[i]->v;
          t.texCoordIndex[i] = corner[i]->t;
          t.normalIndex[i] = corner[i]->n;
        }
        const auto index = static_cast<std::uint32_t>(m->triangles.size());
        if (list) {
          list->push_back(index);
        }
        m->triangles.push_back(t);
        for (int i = 0; i < 3; ++i) {
          const std::uint32_t fields[3] = {t.vertexIndex[i], t.texCoordIndex[i], t.normalIndex[i]};
          for (std::uint8_t f = 0; f < 3; ++f) {
            if (fields[f] == kRelative) {
              m_notes.push_back({index, static_cast<std::uint8_t>(i), f, corner[i]->relative[f]});
            }
          }
        }
      }
      if (usable == 0) {
        first = fv;
      }
      last = fv;
      ++usable;
      w = SkipBlanks(we, e);
    }
  }

  // An index as stored: negative ones count back from the elements read so
  // far; anything that cannot be valid becomes kBad, checked at the end. In
  // the second half a negative index may count back into the first half's
  // elements: it becomes kRelative, and a note keeps it counted from the
  // second half's own start, to be resolved when the halves are joined.
  static constexpr std::uint32_t kBad = 0xFFFFFFFFu, kRelative = 0xFFFFFFFEu;
  std::uint32_t Resolve(long long index, std::uint32_t readSoFar, bool given, long long& relative) const {
    if (!given) {
      return 0;
    }
    if (index < 0) {
      index += static_cast<long long>(readSoFar) + 1;
      if (m_bTail) {
        return relative = index, kRelative;
      }
    }
    if (index <= 0 || index >= kRelative) {
      return kBad;
    }
    return static_cast<std::uint32_t>(index);
  }
  std::uint32_t VerticesRead() const { return static_cast<std::uint32_t>(m->vertices.size() / 3 - 1); }

  bool Finish() {
    m->vertexCount = VerticesRead();
    m->normalCount = m_normalLines;
    m->texCoordCount = m_texLines;
    m->triangleCount = static_cast<std::uint32_t>(m->triangles.size());
    if (m->vertexCount == 0) {
      Say("glmReadOBJ() failed: \"" + Printable(m->path) + "\" holds no vertex: it is not a model.");
      return false;
    }
    // The viewer makes its own normals, so a corner naming a normal or a
    // texture coordinate that the file lacks keeps its place without it.
    std::size_t dropped = 0;
    for (ObjTriangle& t : m->triangles) {
      for (int c = 0; c < 3; ++c) {
        if (t.normalIndex[c] > m->normalCount) {
          t.normalIndex[c] = 0, ++dropped;
        }
        if (t.texCoordIndex[c] > m->texCoordCount) {
          t.texCoordIndex[c] = 0, ++dropped;
        }
      }
    }
    if (dropped) {
      Say("glmReadOBJ(): \"" + Printable(m->path) + "\": " + std::to_string(dropped) +
          " normal or texture coordinate indices name nothing in the file and are left out.");
    }
    for (std::size_t i = 0; i < m->triangles.size(); ++i) {
      const ObjTriangle& t = m->triangles[i];
      for (int c = 0; c < 3; ++c) {
        const char* what = nullptr;
        std::uint32_t bad = 0;
        if (t.vertexIndex[c] == 0 || t.vertexIndex[c] > m->vertexCount) {
          what = "vertex", bad = t.vertexIndex[c];
        }
        if (what) {
          Say("glmReadOBJ() failed: \"" + Printable(m->path) + "\": triangle " + std::to_string(i) + " refers to " +
              what + " " + (bad == kBad ? std::string("outside the file") : std::to_string(bad)) +
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

  void Say(std::string text) {
    if (m_diagnostics) {
      m_diagnostics->push_back(std::move(text));
    }
  }

  struct FaceVertex {
    std::uint32_t v = 0, t = 0, n = 0;
    long long relative[3] = {0, 0, 0};  // vertex, texture, normal, where kRelative
  };
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

  ObjModel* m;
  const char* m_begin;
  const char* m_end;
  std::vector<ObjGroup> m_groups;  // oldest first while reading
  std::unordered_map<std::string, std::uint32_t> m_groupIndex;
  std::unordered_map<std::string, std::uint32_t> m_materialIndex;
  std::uint32_t m_current = 0;
  std::uint32_t m_material = 0;
  std::uint32_t m_normalLines = 0, m_texLines = 0;
  ObjDiagnostics* m_diagnostics;
  const std::string_view* m_libraryText;
  const std::unordered_map<std::string, std::uint32_t>* m_pMaterials = &m_materialIndex;
  const std::atomic<bool>* m_pCancel;
  bool m_bTail = false;    // the second half of a file read in two
  double m_balance = 0.5;  // where to split it, as a fraction of its size
  std::vector<Note> m_notes;
  std::vector<Change> m_changes;
};

}  // namespace

ObjModel* glmReadOBJFromMemory(const char* path, const char* text, std::size_t size, ObjDiagnostics* diagnostics,
                               const std::string_view* libraryText) {
  const std::string name = path ? path : "";
  auto say = [&](const std::string& what) {
    if (diagnostics) {
      diagnostics->push_back("glmReadOBJ() failed: \"" + Printable(name) + "\" " + what);
    }
  };
  // OBJ is text: a NUL byte near the start says this is a picture, an
  // archive or other binary data.
  if (std::memchr(text, '\0', std::min<std::size_t>(size, 4096))) {
    say("is not an OBJ text (it holds binary data).");
    return nullptr;
  }
  try {
    auto model = std::make_unique<ObjModel>();
    model->path = name;
    CObjParser parser(model.get(), text, size, diagnostics, libraryText);
    if (!parser.Parse()) {
      return nullptr;
    }
    return model.release();
  } catch (const std::bad_alloc&) {
    say("is too big for the memory.");
    return nullptr;
  }
}

ObjModel* glmReadOBJ(const char* path, ObjDiagnostics* diagnostics) {
  CFileText file;
  if (!file.Open(path)) {
    if (diagnostics) {
      diagnostics->push_back("glmReadOBJ() failed: can't open data file \"" + Printable(path) + "\".");
    }
    return nullptr;
  }
  return glmReadOBJFromMemory(path, file.Data(), file.Size(), diagnostics);
}

void glmFreeModel(ObjModel* model) { delete model; }
