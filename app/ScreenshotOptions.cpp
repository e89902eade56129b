#include "ScreenshotOptions.h"

#include <QFileInfo>
#include <QUrl>
#include <cmath>
#include <cstdio>

#include "CaptionTables.h"
#include "ImageFile.h"
#include "MessageSink.h"
#include "ModuleDir.h"
#include "OpenGLView.h"
#include "Profile.h"
#include "RunCache.h"
#include "ScienceLogic.h"
#include "ScientificDlg.h"
#include "SimulationData.h"

namespace {
int IndexOf(const QString& value, std::initializer_list<const char*> names) {
  int i = 0;
  for (const char* n : names) {
    if (value.compare(QLatin1String(n), Qt::CaseInsensitive) == 0) {
      return i;
    }
    ++i;
  }
  return -1;
}

bool ParseInt(const QString& value, int lo, int hi, int& out) {
  bool ok = false;
  const int v = value.toInt(&ok);
  if (!ok || v < lo || v > hi) {
    return false;
  }
  out = v;
  return true;
}

// A minute of the run: a finite number from 0 ("nan" and "inf" read as
// numbers, and are none).
std::optional<double> ProfileMinuteOf(const QString& value) {
  bool ok = false;
  const double minute = value.trimmed().toDouble(&ok);
  if (!ok || !std::isfinite(minute) || minute < 0) {
    return std::nullopt;
  }
  return minute;
}

}  // namespace

bool ParseScreenshotValue(const QString& option, const QString& value, ScreenshotOptions& o, QString& error) {
  bool ok = true;
  if (option == QLatin1String("view")) {
    const int i = IndexOf(value, {"science", "static", "dynamic", "space"});
    ok = i >= 0;
    if (ok) {
      o.mode = static_cast<ViewMode>(i);
    }
  } else if (option == QLatin1String("option")) {
    ok = ParseInt(value, 1100, 6499, o.option) && IsOptionId(o.option);
  } else if (option == QLatin1String("model-service")) {
    ok = QUrl(value).isValid() && !value.isEmpty();
    if (ok) {
      o.modelService = value;
    }
  } else if (option == QLatin1String("quantity")) {
    ok = ParseInt(value, 0, 8, o.quantity);
  } else if (option == QLatin1String("content")) {
    const std::optional<ContentKind> kind = ContentKindOf(IndexOf(value, {"temperature", "humidity", "sweat"}));
    ok = kind.has_value();
    if (ok) {
      o.content = *kind;
    }
  } else if (option == QLatin1String("section")) {
    const int i = IndexOf(value, {"head", "trunk", "arm", "hand", "leg", "foot"});
    ok = i >= 0;
    if (ok) {
      o.section = i + 1;
    }
  } else if (option == QLatin1String("step")) {
    ok = ParseInt(value, 0, 1 << 30, o.step);
  } else if (option == QLatin1String("layer")) {
    ok = ParseInt(value, 0, 1000, o.layer);
  } else if (option == QLatin1String("profile-at")) {
    o.profileAt = ProfileMinuteOf(value);
    ok = o.profileAt.has_value();
  } else if (option == QLatin1String("frame")) {
    ok = ParseInt(value, 0, 12, o.frame);
  } else if (option == QLatin1String("size")) {
    const QStringList wh = value.split(QLatin1Char('x'));
    int w = 0, h = 0;
    ok = wh.size() == 2 && ParseInt(wh[0], 16, 8192, w) && ParseInt(wh[1], 16, 8192, h);
    if (ok) {
      o.size = QSize(w, h);
      o.sizeGiven = true;
    }
  }
  if (!ok) {
    error = QStringLiteral("bad value \"%1\" for --%2").arg(value, option);
  }
  return ok;
}

std::optional<double> ParseProfileMinute(const QString& value) {
  const std::optional<double> minute = ProfileMinuteOf(value);
  if (!minute) {
    std::fprintf(stderr, "corvane: --profile-at takes the run's time in minutes, a number from 0, not \"%s\".\n",
                 qPrintable(value));
  }
  return minute;
}

std::optional<int> ProfileStepFor(const CSimulationData& data, int option, double minute) {
  const OptionId o = DecodeOption(option);
  if (o.kind != OptionKind::Fabric) {
    std::fprintf(stderr, "corvane: --profile-at goes with a fabric layer's option; option %d has no layers.\n", option);
    return std::nullopt;
  }
  const std::optional<int> step = NearestFabricStep(data.Run(), o.part, minute);
  if (!step) {
    const int steps = FabricStepCount(data.Run(), o.part);
    const float end = steps > 0 ? FabricStepTime(data.Run(), o.part, steps - 1) : 0.0f;
    std::fprintf(stderr, "corvane: --profile-at %g is beyond the end of the run's fabric data (%g min).\n", minute,
                 static_cast<double>(end));
  }
  return step;
}

bool IsScreenshotInput(const QString& output, const QString& dataDir, const QString& moduleDir) {
  const QFileInfo file(output);
  const QString target = file.canonicalFilePath();  // empty when no such file exists yet
  if (target.isEmpty()) {
    return false;
  }
  const QFileInfo resolved(target);
  const QString folder = resolved.absolutePath(), name = resolved.fileName();
  if (folder == QFileInfo(dataDir).canonicalFilePath()) {
    static const QStringList kRunFiles = {QStringLiteral("configure.dat"), QStringLiteral("bodyProperty.dat"),
                                          QStringLiteral("BodyDataforComfort.dat"), QStringLiteral("id.dat")};
    if (kRunFiles.contains(name)) {
      return true;
    }
    for (const char* part : kBodyPartNames) {
      if (name == QStringLiteral("fabrics") + QLatin1String(part) + QStringLiteral(".dat")) {
        return true;
      }
    }
    if (name.startsWith(QStringLiteral("Fiber"), Qt::CaseInsensitive) &&
        name.endsWith(QStringLiteral(".dat"), Qt::CaseInsensitive)) {
      return true;
    }
  }
  // The scenes' models, material libraries and backdrop beside the program.
  if (folder == QFileInfo(moduleDir).canonicalFilePath()) {
    const QString suffix = resolved.suffix().toLower();
    if (suffix == QLatin1String("obj") || suffix == QLatin1String("mtl") || suffix == QLatin1String("bmp")) {
      return true;
    }
  }
  return false;
}

bool IsOptionId(int id) {
  const OptionId o = DecodeOption(id);
  return o.part >= 0 && o.part < kBodyPartCount && IsOptionKind(o.kind) && (!IsChartKind(o.kind) || o.index == 0);
}

int ComparedRunFits(const QString& dir, int option, const CSimulationData& compared) {
  if (option != 0 && !RunListsOption(compared, option)) {
    std::fprintf(stderr, "corvane: the run in \"%s\" has no option %d to compare.\n", qPrintable(dir), option);
    return 2;
  }
  return 0;
}

int LoadComparedRun(const QString& dir, int option, CRunCache& runs, const CSimulationData** compared) {
  if (!QFileInfo(dir).isDir()) {
    std::fprintf(stderr, "corvane: there is no folder \"%s\" to compare.\n", qPrintable(dir));
    return 1;
  }
  *compared = runs.Get(dir);
  if (!*compared) {
    std::fprintf(stderr, "corvane: the run in \"%s\" could not be loaded.\n", qPrintable(dir));
    return 1;
  }
  return ComparedRunFits(dir, option, **compared);
}

int LoadComparedRuns(const QStringList& dirs, int option, CRunCache& runs,
                     std::vector<const CSimulationData*>* compared) {
  for (const QString& dir : dirs) {
    const CSimulationData* run = nullptr;
    if (const int failed = LoadComparedRun(dir, option, runs, &run)) {
      return failed;
    }
    compared->push_back(run);
  }
  return 0;
}

int CheckChosenOption(const CSimulationData& data, int option, int quantity) {
  // Only what a user can choose in this run's panels.
  if (!RunListsOption(data, option)) {
    std::fprintf(stderr, "corvane: the run has no option %d to choose.\n", option);
    return 2;
  }
  const int quantities = PropertyCount(DecodeOption(option).kind);
  if (quantity < 0 || quantity >= quantities) {
    std::fprintf(stderr, "corvane: option %d has no quantity %d (0 to %d).\n", option, quantity, quantities - 1);
    return 2;
  }
  return 0;
}

int ScreenshotFitsRun(const ScreenshotOptions& o, const CSimulationData& data) {
  if (o.mode == ViewMode::Plot && o.option) {
    if (const int unchosen = CheckChosenOption(data, o.option, o.quantity)) {
      return unchosen;
    }
  }
  if (o.profileAt) {
    if (o.mode != ViewMode::Plot) {
      std::fprintf(stderr, "corvane: --profile-at goes with --view science.\n");
      return 2;
    }
    if (!ProfileStepFor(data, o.option, *o.profileAt)) {
      return 2;
    }
  }
  if (o.step >= data.Run().m_nSamples) {
    std::fprintf(stderr, "corvane: step %d is beyond the run's %d samples (0 to %d).\n", o.step, data.Run().m_nSamples,
                 data.Run().m_nSamples - 1);
    return 2;
  }
  int maxLayers = 0;
  for (int l : data.Run().m_nLayers) {
    maxLayers = std::max(maxLayers, l);
  }
  if (o.layer > maxLayers) {
    std::fprintf(stderr, "corvane: layer %d is beyond the run's %d fabric layers.\n", o.layer, maxLayers);
    return 2;
  }
  return 0;
}

bool SavePicture(const QImage& image, const QString& file) {
  // Written whole or not at all: a full disk never leaves half a picture
  // in place of a good one.
  QString error;
  if (!WritePng(image, file, &error)) {
    std::fprintf(stderr, "corvane: %s.\n", qPrintable(error));
    return false;
  }
  return true;
}

void SelectScienceOption(CScientificDlg& view, int option, int quantity) {
  if (option) {
    const OptionId id = DecodeOption(option);
    CMyPanel& panel = *view.Panel(id.part);
    view.Panel(0)->Select(-1);
    view.OnOptionSelect(option);
    panel.Select(0);
    for (std::size_t i = 0; i < panel.Options().size(); ++i) {
      if (panel.Options()[i].m_nId == option) {
        panel.Select(static_cast<int>(i));
      }
    }
  }
  if (quantity) {
    view.PropertyPanel()->SetProperty(quantity);
    view.OnPropertySelect(quantity);
  }
}

void SelectScienceProfile(CScientificDlg& view, const CSimulationData& data, const ScreenshotOptions& o) {
  if (!o.profileAt) {
    return;
  }
  if (const std::optional<int> step = NearestFabricStep(data.Run(), DecodeOption(o.option).part, *o.profileAt)) {
    view.ShowProfileAt(*step);
  }
}

void SetUpSceneView(COpenGLView& view, CSimulationData& data, IMessageSink& sink, const QString& moduleDir,
                    const ScreenshotOptions& o) {
  CViewState& state = data.State();
  state.SetContent(o.content);
  state.SelectLayer(o.layer);
  state.SetSectionPart(o.section);
  state.SetOutlinedLabels(o.outlinedLabels);
  view.SetData(&data);
  view.SetMessageSink(&sink);
  view.SetModuleDir(moduleDir);
  view.SetMode(o.mode);
  view.ResetCamera();
  view.resize(o.size);
}
