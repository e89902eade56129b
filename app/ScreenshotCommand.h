#pragma once
// `corvane --screenshot`: renders one 3D scene of a run to a PNG file,
// without user interaction.

#include "ScreenshotOptions.h"

// Exit code: 0 written, 1 the run, a model or the file failed. Without a
// size, the picture is the view's page as the main window shows it (the
// window itself with `window`); with one, the scene alone at that size.
// `runs`: where the runs come from (a batch's); without it, its own.
int RunScreenshotCommand(const ScreenshotOptions& options, CRunCache* runs = nullptr);
