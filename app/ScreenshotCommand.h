#pragma once
// `corvane --screenshot`: renders one 3D scene of a run to a PNG file,
// without user interaction.

#include <QSize>
#include <QString>

struct ScreenshotOptions {
  QString file;  // the PNG to write
  QString dataDir;
  int mode = 1;      // 0 the scientific view, 1 static, 2 dynamic, 3 space
  int option = 0;    // the scientific view's option id (0: the one it opens with)
  int quantity = 0;  // and the quantity of that option
  int step = 0;
  int content = 0;  // 0 temperature, 1 humidity, 2 sweating rate
  int layer = 0;
  int section = 0;  // 0 none, 1 head ... 6 foot
  int frame = 0;
  QSize size{1000, 660};
  bool sizeGiven = false;
  QString modelService;  // with the static view: fetch the run's models from this service first
};

// A scientific-view option id that names a part and a kind it lists.
bool IsOptionId(int id);
// Parses the option values; on a bad value returns false with `error` set.
bool ParseScreenshotValue(const QString& option, const QString& value, ScreenshotOptions& out, QString& error);
// Exit code: 0 written, 1 the run, a model or the file failed.
int RunScreenshotCommand(const ScreenshotOptions& options);
// True when `output` is an existing file that a screenshot of the run in
// `dataDir`, drawn with the program's models in `moduleDir`, reads: the run's
// data files, and the models, material libraries and backdrop beside the program.
bool IsScreenshotInput(const QString& output, const QString& dataDir, const QString& moduleDir);
