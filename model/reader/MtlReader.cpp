// Material libraries: newmtl, Kd, Ka, Ks and the N shininess rule.

#include <algorithm>
#include <string>
#include <string_view>

#include "ObjReader.h"
#include "internal/FileText.h"
#include "internal/ObjText.h"

using namespace objtext;

bool glmReadMTL(ObjModel* model, const char* name, ObjDiagnostics* diagnostics) {
  // The library sits beside the model, whichever separator its path uses.
  const std::string& path = model->path;
  const std::size_t sep = path.find_last_of("/\\");
  const std::string dir = sep == std::string::npos ? std::string() : path.substr(0, sep + 1);
  // Only a library in the model's own folder is read: a name that climbs
  // out ("..") or an absolute path elsewhere may name any file at all.
  const std::string_view n(name);
  bool climbs = false;
  for (std::size_t b = 0; b <= n.size();) {
    const std::size_t e = std::min(n.find_first_of("/\\", b), n.size());
    climbs = climbs || n.substr(b, e - b) == "..";
    b = e + 1;
  }
  const bool absolute = !n.empty() && (n[0] == '/' || n[0] == '\\');
  if (n.empty() || climbs || (absolute && (dir.empty() || n.substr(0, dir.size()) != dir))) {
    if (diagnostics) {
      diagnostics->push_back("glmReadMTL() failed: the material file \"" + Printable(name) +
                             "\" is not in the model's folder; it is not read.");
    }
    return false;
  }
  const std::string file = absolute ? std::string(n) : dir + name;
  CFileText text;
  if (!text.Open(file.c_str())) {
    if (diagnostics) {
      diagnostics->push_back("glmReadMTL() failed: can't open material file \"" + Printable(file) + "\".");
    }
    return false;
  }
  glmReadMTLFromMemory(model, text.Data(), text.Size());
  return true;
}

void glmReadMTLFromMemory(ObjModel* model, const char* begin, std::size_t size) {
  const char* end = begin + size;

  // Count first: one record more than there are newmtl words.
  std::size_t count = 1;
  CLines counting(begin, end);
  const char *b, *e;
  while (counting.Next(b, e)) {
    const char* w = SkipBlanks(b, e);
    if (w < e && *w == 'n') {
      ++count;
    }
  }
  model->materials.assign(count, ObjMaterial{});
  model->materials[0].name = "default";
  model->materialCount = static_cast<std::uint32_t>(count);

  std::size_t current = 0;
  CLines lines(begin, end);
  while (lines.Next(b, e)) {
    const char* w = SkipBlanks(b, e);
    if (w >= e) {
      continue;
    }
    const char* we = WordEnd(w, e);
    ObjMaterial& mat = model->materials[current];
    switch (*w) {
      case 'n':
        ++current;
        model->materials[current].name = NameOfRest(we, e);
        break;
      case 'N': {
        const char* p = we;
        if (ParseFloat(p, e, mat.shininess)) {
          mat.shininess = mat.shininess / 1000.0f * 128.0f;
        }
        break;
      }
      case 'K': {
        float* target = nullptr;
        if (we - w == 2 && w[1] == 'd') {
          target = mat.diffuse;
        }
        if (we - w == 2 && w[1] == 'a') {
          target = mat.ambient;
        }
        if (we - w == 2 && w[1] == 's') {
          target = mat.specular;
        }
        const char* p = we;
        if (target) {
          for (int i = 0; i < 3 && ParseFloat(p, e, target[i]); ++i) {
          }
        }
        break;
      }
      default:
        break;
    }
  }
}

std::uint32_t glmFindMaterial(const ObjModel* model, const char* name, ObjDiagnostics* diagnostics) {
  for (std::size_t i = 0; i < model->materials.size(); ++i) {
    if (model->materials[i].name == name) {
      return static_cast<std::uint32_t>(i);
    }
  }
  if (diagnostics) {
    diagnostics->push_back("glmFindMaterial():  can't find material \"" + Printable(name) + "\".");
  }
  return 0;
}
