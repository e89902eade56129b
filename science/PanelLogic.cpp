#include "PanelLogic.h"

#include <algorithm>

namespace panel {

int Height(int entries) { return kBaseHeight + kRowHeight * std::max(1, entries); }

QRect RowRect(int i) { return QRect(kTextLeft, kFirstRowTop + i * kRowHeight, kRowWidth, kRowHeight); }

int RowAt(int y, int entries) {
  for (int i = 0; i < entries; ++i) {
    if (kFirstRowTop + i * kRowHeight < y && y < kFirstRowTop + (i + 1) * kRowHeight) {
      return i;
    }
  }
  return -1;
}

int Kind(int id) { return (id % 1000) / 100; }

std::vector<QColor> TextColours(const std::vector<int>& ids) {
  std::vector<QColor> colours;
  QColor current = Qt::black;
  for (int id : ids) {
    if (Kind(id) == 3) {
      current = QColor(0, 120, 0);
    }
    if (Kind(id) == 4) {
      current = QColor(200, 120, 0);
    }
    colours.push_back(current);
  }
  return colours;
}

QRegion OpaqueRegion(const QImage& picture) {
  const QImage img = picture.convertToFormat(QImage::Format_RGB32);
  QRegion region;
  std::vector<QRect> runs;
  // Runs are gathered row by row and united in batches, so that no single
  // step builds an unbounded region.
  auto flush = [&] {
    QRegion batch;
    batch.setRects(runs.data(), static_cast<int>(runs.size()));
    region = region.united(batch);
    runs.clear();
  };
  for (int y = 0; y < img.height(); ++y) {
    const QRgb* row = reinterpret_cast<const QRgb*>(img.constScanLine(y));
    for (int x = 0; x < img.width();) {
      auto opaque = [&](int i) { return qRed(row[i]) > 16 || qGreen(row[i]) > 16 || qBlue(row[i]) > 16; };
      if (!opaque(x)) {
        ++x;
        continue;
      }
      const int x0 = x;
      while (x < img.width() && opaque(x)) {
        ++x;
      }
      runs.emplace_back(x0, y, x - x0, 1);
      if (runs.size() == 2000) {
        flush();
      }
    }
  }
  if (!runs.empty()) {
    flush();
  }
  return region;
}

int GradientGrey(int k, int n) { return n > 0 ? 255 - 51 * k / n : 255; }

}  // namespace panel
