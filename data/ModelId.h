#pragma once
// Which model and garment ids are file names: an id names a file of its own
// in the download folder (and in the model service's catalogue), so it may
// not be empty, be longer than 128 characters, or hold a path separator,
// "..", a NUL or a control character.

#include <string_view>

inline bool IsValidModelId(std::string_view id) {
  if (id.empty() || id.size() > 128 || id.find("..") != std::string_view::npos) {
    return false;
  }
  for (const char c : id) {
    if (c == '/' || c == '\\' || static_cast<unsigned char>(c) < 0x20 || c == 0x7f) {
      return false;
    }
  }
  return true;
}
