#include "ObjTestFiles.h"

#include <cstdio>
#include <stdexcept>

std::string CObjFiles::Write(const std::string& name, const std::string& text) {
  std::string path = Dir() + name;
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) {
    throw std::runtime_error("cannot write " + path);
  }
  std::fwrite(text.data(), 1, text.size(), f);
  std::fclose(f);
  return path;
}
