#pragma once
// `corvane --screenshot` without a size: the picture of the main window.

#include <QString>

#include "ScreenshotOptions.h"

// The main window's way: the real window, the view chosen from its menu and
// the options set through the view's own controls.
// The run (and the compared one) come from `runs`, lent to the window while
// it shows them.
int RunWindowScreenshot(const ScreenshotOptions& options, const QString& moduleDir, CRunCache& runs);
