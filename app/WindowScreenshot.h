#pragma once
// `corvane --screenshot` without a size: the picture of the main window.

#include <QString>

#include "ScreenshotOptions.h"

// The main window's way: the real window, the view chosen from its menu and
// the options set through the view's own controls.
int RunWindowScreenshot(const ScreenshotOptions& options, const QString& moduleDir);
