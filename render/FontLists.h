#pragma once
// Bitmap text for the GL scenes: the glyphs 0 ... 254 of a font, rasterised
// to one-bit bitmaps in the layout glBitmap takes, and compiled into display
// lists 100 ... 354 so that a narrow string is drawn with one glCallLists.

#include <QFont>
#include <cstdint>
#include <vector>

struct GlyphBitmap {
  int width = 0, height = 0;       // bitmap size in pixels
  float xorig = 0, yorig = 0;      // origin within the bitmap (yorig: the descent)
  float advance = 0;               // raster position move after the glyph
  std::vector<std::uint8_t> bits;  // rows bottom first, MSB first, rows padded to bytes
};

inline constexpr unsigned kFontListBase = 100;
inline constexpr int kFontGlyphs = 255;

// Rasterises character codes 0 ... 254 (Latin-1) of `font`.
std::vector<GlyphBitmap> RasteriseGlyphs(const QFont& font);

// Compiles the glyphs into lists kFontListBase ... and sets the list base.
// Needs a current GL context.
void BuildFontLists(const std::vector<GlyphBitmap>& glyphs);
void DeleteFontLists();
// Draws a narrow string at the raster position (x, y, z) in the current colour.
void DrawText3f(float x, float y, float z, const char* text);
// The same in `colour`; with `outlined`, ringed one pixel wide in black, so
// that it reads on whatever it stands on (a room line of its own colour, a
// coloured disc) while its glyphs stay exactly where DrawText3f puts them.
void DrawLabel3f(float x, float y, float z, const char* text, const float colour[3], bool outlined);
