#include "Backdrop.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <cstring>

QString FindBackdrop(const QString& programDir) {
  const QString name = QStringLiteral("1.bmp");
  for (const QString& dir : {programDir, QDir::currentPath()}) {
    if (dir.isEmpty()) {
      continue;
    }
    QString path = QDir(dir).filePath(name);
    if (QFileInfo(path).isFile()) {
      return path;
    }
  }
  return {};
}

BackdropPixels ReadBackdrop(const QString& path) {
  BackdropPixels out;
  if (path.isEmpty()) {
    return out;
  }
  QImage image(path);
  if (image.isNull() || image.width() <= 0 || image.height() <= 0) {
    return out;
  }
  image = image.convertToFormat(QImage::Format_RGB888);
  out.width = image.width();
  out.height = image.height();
  const std::size_t row = static_cast<std::size_t>(out.width) * 3;
  out.rgb.resize(row * static_cast<std::size_t>(out.height));
  for (int y = 0; y < out.height; ++y) {  // QImage rows run top down, GL's bottom up
    std::memcpy(out.rgb.data() + row * static_cast<std::size_t>(y), image.constScanLine(out.height - 1 - y), row);
  }
  return out;
}
