#pragma once
// `corvane --movie FILE.mp4 --view static|dynamic|space [options] DIR`: the
// whole run played at a speed, drawn off screen frame by frame and encoded
// as an H.264 MP4, with progress lines on standard error.

#include <QString>

#include "ScreenshotOptions.h"

struct MovieOptions {
  ScreenshotOptions scene;  // the file, the run, the view, the content, layer, section, size
  int speed = 60;           // simulated seconds a second of movie
  int fps = 30;
};

// Parses --speed, --fps, and the scene options a movie takes (--view,
// --content, --layer, --section, --size); false with `error` set on a bad
// value (a view a movie cannot show, a speed below 1, fps outside 1 ... 120).
bool ParseMovieValue(const QString& option, const QString& value, MovieOptions& out, QString& error);

// 0 on a finished movie; 2 for what no user could ask (a file not named
// .mp4, an output that is one of the inputs, a size the encoder refuses, a
// movie too long to make); 1 when the run, the models or the file fail.
// `runs`: where the run comes from (a batch's); without it, its own.
int RunMovieCommand(const MovieOptions& options, CRunCache* runs = nullptr);
