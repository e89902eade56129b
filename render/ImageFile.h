#pragma once
// Pictures the user saves: written whole or not at all.

#include <QImage>
#include <QString>

// Writes `image` as a PNG through a temporary file renamed into place; false
// (and any earlier file left as it was) when it cannot.
bool WritePng(const QImage& image, const QString& path);
