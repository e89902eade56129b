#include "ImageFile.h"

#include <QBuffer>

#include "WholeFile.h"

bool WritePng(const QImage& image, const QString& path, QString* error) {
  QString reason;
  QString& said = error ? *error : reason;
  if (image.isNull()) {
    said = QStringLiteral("cannot write %1: there is no picture").arg(path);
    return false;
  }
  QByteArray png;
  QBuffer buffer(&png);
  if (!buffer.open(QIODevice::WriteOnly) || !image.save(&buffer, "PNG")) {
    said = QStringLiteral("cannot write %1: the picture could not be encoded").arg(path);
    return false;
  }
  return WriteWholeFile(path, png, &said);
}
