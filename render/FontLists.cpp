#include "FontLists.h"

#include <GL/gl.h>

#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <cstring>

std::vector<GlyphBitmap> RasteriseGlyphs(const QFont& font) {
  const QFontMetrics fm(font);
  const int ascent = fm.ascent(), descent = fm.descent();
  const int height = ascent + descent;
  std::vector<GlyphBitmap> glyphs(kFontGlyphs);
  for (int code = 0; code < kFontGlyphs; ++code) {
    GlyphBitmap& g = glyphs[static_cast<std::size_t>(code)];
    const QChar ch(static_cast<ushort>(code));
    const bool printable = code >= 32 && code != 127 && !(code >= 128 && code < 160);
    const int advance = printable ? fm.horizontalAdvance(ch) : 0;
    g.advance = static_cast<float>(advance);
    g.yorig = static_cast<float>(descent);
    if (advance <= 0 || height <= 0 || code == 32) {
      continue;
    }
    const int width = std::max(advance, fm.boundingRect(ch).right() + 1);
    QImage image(width, height, QImage::Format_Grayscale8);
    image.fill(0);
    QPainter p(&image);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(0, ascent, QString(ch));
    p.end();
    g.width = width;
    g.height = height;
    const int rowBytes = (width + 7) / 8;
    g.bits.assign(static_cast<std::size_t>(rowBytes) * static_cast<std::size_t>(height), 0);
    for (int y = 0; y < height; ++y) {
      const uchar* line = image.constScanLine(height - 1 - y);  // bottom row first
      for (int x = 0; x < width; ++x) {
        if (line[x] >= 128) {
          g.bits[static_cast<std::size_t>(y) * static_cast<std::size_t>(rowBytes) + static_cast<std::size_t>(x / 8)] |=
              static_cast<std::uint8_t>(0x80 >> (x % 8));
        }
      }
    }
  }
  return glyphs;
}

void BuildFontLists(const std::vector<GlyphBitmap>& glyphs) {
  GLint alignment = 4;
  glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
  glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
  for (std::size_t i = 0; i < glyphs.size(); ++i) {
    const GlyphBitmap& g = glyphs[i];
    glNewList(kFontListBase + static_cast<GLuint>(i), GL_COMPILE);
    static const GLubyte kEmpty = 0;
    glBitmap(g.width, g.height, g.xorig, g.yorig, g.advance, 0.0f, g.bits.empty() ? &kEmpty : g.bits.data());
    glEndList();
  }
  glPixelStorei(GL_UNPACK_ALIGNMENT, alignment);
  glListBase(kFontListBase);
}

void DeleteFontLists() { glDeleteLists(kFontListBase, kFontGlyphs); }

void DrawText3f(float x, float y, float z, const char* text) {
  glRasterPos3f(x, y, z);
  glListBase(kFontListBase);
  glCallLists(static_cast<GLsizei>(std::strlen(text)), GL_UNSIGNED_BYTE, text);
}

void DrawLabel3f(float x, float y, float z, const char* text, const float colour[3], bool outlined) {
  if (!outlined) {
    glColor3fv(colour);
    DrawText3f(x, y, z, text);
    return;
  }
  // The raster colour is taken when the position is set, so the ring's black
  // is set first; glBitmap without bits only moves the position, by whole
  // pixels, which the glyphs' 1-bit drawing needs.
  glColor3f(0, 0, 0);
  static const float kRing[8][2] = {{-1, -1}, {0, -1}, {1, -1}, {-1, 0}, {1, 0}, {-1, 1}, {0, 1}, {1, 1}};
  const auto length = static_cast<GLsizei>(std::strlen(text));
  glListBase(kFontListBase);
  for (const auto& d : kRing) {
    glRasterPos3f(x, y, z);
    glBitmap(0, 0, 0, 0, d[0], d[1], nullptr);
    glCallLists(length, GL_UNSIGNED_BYTE, text);
  }
  glColor3fv(colour);
  glRasterPos3f(x, y, z);
  glCallLists(length, GL_UNSIGNED_BYTE, text);
}
