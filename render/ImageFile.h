#pragma once
// Pictures the user saves: written whole or not at all, and asked for the
// same way from every view.

#include <QImage>
#include <QString>
#include <functional>

class QWidget;

// Writes `image` as a PNG through a temporary file renamed into place; false
// (and any earlier file left as it was) when it cannot.
bool WritePng(const QImage& image, const QString& path);
// "Save Image": asks where, offering `suggested`, then `save`s there; says so
// in a box when that fails.
void AskAndSaveImage(QWidget* parent, const QString& suggested, const std::function<bool(const QString&)>& save);
