#pragma once
// The options of `corvane --screenshot` and the checks made of them before
// anything is drawn: that the run has what they ask for, and that the
// picture overwrites none of the files it is drawn from.

#include <QImage>
#include <QSize>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

#include "Rows.h"
#include "ViewMode.h"

struct ScreenshotOptions {
  QString file;  // the PNG to write
  QString dataDir;
  ViewMode mode = ViewMode::Static;  // Plot: the scientific view (chart or line plot)
  int option = 0;                    // the scientific view's option id (0: the one it opens with)
  int quantity = 0;                  // and the quantity of that option
  int step = 0;
  ContentKind content = ContentTemperature;
  int layer = 0;
  int section = 0;  // 0 none, 1 head ... 6 foot
  int frame = 0;
  QSize size{1000, 660};
  bool sizeGiven = false;       // the scene (or the scientific page) alone at `size`
  bool window = false;          // the whole main window: title, menu bar and page
  QString modelService;         // with the static view: fetch the run's models from this service first
  bool outlinedLabels = false;  // the legends' text ringed in black
  // With a fabric option: its thickness profile at the fabric step nearest
  // this minute, in the plot's place.
  std::optional<double> profileAt;
  // With the scientific view: other runs beside the first (up to seven),
  // and with one of them the difference ("A - B") instead of both.
  QStringList compareDirs;
  bool difference = false;
};

class CSimulationData;

// 0 when run `compared` (of folder `dir`) offers option `option` (0: any);
// else, said on standard error, 2.
int ComparedRunFits(const QString& dir, int option, const CSimulationData& compared);
class CRunCache;
// The run in `dir` to compare with, from `runs` (its messages on standard
// error as it loads): 0 when it loads and offers `option`; 1 when the folder
// is not there or the run does not load; 2 when it lacks the option. Each said.
int LoadComparedRun(const QString& dir, int option, CRunCache& runs, const CSimulationData** compared);
// The same for each of `dirs` in turn, up to the first that fails.
int LoadComparedRuns(const QStringList& dirs, int option, CRunCache& runs,
                     std::vector<const CSimulationData*>* compared);

// A scientific-view option id that names a part and a kind it lists.
bool IsOptionId(int id);
// Parses the option values; on a bad value returns false with `error` set.
bool ParseScreenshotValue(const QString& option, const QString& value, ScreenshotOptions& out, QString& error);
class CSimulationData;
class CScientificDlg;
// 0 when the option, quantity, step and layer asked for exist in the run; else
// said on stderr, and the exit code: 2 for what no user could choose, 1 for a
// step or layer the run does not reach.
int ScreenshotFitsRun(const ScreenshotOptions& options, const CSimulationData& data);
// 0 when a user can choose `option` in the run's panels and it has
// `quantity`; else said on stderr, and 2 (what no user could ask for).
int CheckChosenOption(const CSimulationData& data, int option, int quantity);
// The minute of --profile-at: a number from 0; none (said on stderr) for
// anything else.
std::optional<double> ParseProfileMinute(const QString& value);
// The fabric step of the profile of `option` nearest `minute`; else said on
// stderr (an option without layers, a minute beyond the run's fabric data)
// and none.
std::optional<int> ProfileStepFor(const CSimulationData& data, int option, double minute);
class COpenGLView;
class IMessageSink;
// What a scene drawn off screen shows, as the options ask: the quantity,
// layer, section and outlined labels set in the run's view state, and `view`
// on the run at the options' mode, its camera reset, at their size.
void SetUpSceneView(COpenGLView& view, CSimulationData& data, IMessageSink& sink, const QString& moduleDir,
                    const ScreenshotOptions& options);
// Writes a PNG whole or not at all; false (said on stderr) when it cannot.
bool SavePicture(const QImage& image, const QString& file);
// The option and quantity chosen in the scientific view as a user would.
void SelectScienceOption(CScientificDlg& view, int option, int quantity);
// The profile asked for by `options`, when one is, shown in `view`.
void SelectScienceProfile(CScientificDlg& view, const CSimulationData& data, const ScreenshotOptions& options);
// True when `output` is an existing file that a screenshot of the run in
// `dataDir`, drawn with the program's models in `moduleDir`, reads: the run's
// data files, and the models, material libraries and backdrop beside the program.
bool IsScreenshotInput(const QString& output, const QString& dataDir, const QString& moduleDir);
