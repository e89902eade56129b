#pragma once
// Pictures the user saves: written whole or not at all.

#include <QImage>
#include <QString>

// Writes `image` as a PNG, whole or not at all (WholeFile.h); false, with
// `error` saying why when given, and any earlier file left as it was, when
// it cannot.
bool WritePng(const QImage& image, const QString& path, QString* error = nullptr);
