#pragma once
// The moon scene's backdrop picture "1.bmp": found beside the program first,
// then in the current folder, and turned into tightly packed RGB rows,
// bottom row first, as GL takes texture images.

#include <QString>
#include <cstdint>
#include <vector>

struct BackdropPixels {
  int width = 0, height = 0;
  std::vector<std::uint8_t> rgb;  // width * height * 3, bottom row first
  bool IsNull() const { return rgb.empty(); }
};

// The path of "1.bmp" in `programDir`, else in the current folder, else empty.
QString FindBackdrop(const QString& programDir);
// Reads a picture; null pixels when it is missing or unreadable.
BackdropPixels ReadBackdrop(const QString& path);
