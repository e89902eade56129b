#pragma once
// "Save Image", asked for the same way from every view.

#include <QString>
#include <functional>

class QWidget;

// Asks where, offering `suggested`, then `save`s there; says so in a box
// when that fails.
void AskAndSaveImage(QWidget* parent, const QString& suggested, const std::function<bool(const QString&)>& save);
