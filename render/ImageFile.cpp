#include "ImageFile.h"

#include <QSaveFile>

bool WritePng(const QImage& image, const QString& path) {
  QSaveFile out(path);
  return !image.isNull() && out.open(QIODevice::WriteOnly) && image.save(&out, "PNG") && out.commit();
}
