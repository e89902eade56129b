// Fuzzes the run-folder loader: one input is split at 0x1E bytes into the
// files of a run folder, which is then loaded, read again at full precision
// and played through.

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "SimulationData.h"

namespace {
const char* const kFiles[] = {"configure.dat",          "fabricsHead.dat", "fabricsTrunk.dat", "fabricsArm.dat",
                              "fabricsHand.dat",        "fabricsLeg.dat",  "fabricsFoot.dat",  "bodyProperty.dat",
                              "BodyDataforComfort.dat", "id.dat",          "FiberA.dat",       "Fiberb.DAT"};
constexpr int kFileCount = sizeof kFiles / sizeof *kFiles;

class CNullSink final : public IMessageSink {
 public:
  void Message(const QString&, const QString&, MessageIcon) override {}
};
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/corvane-fuzz-XXXXXX"));
  if (!dir.isValid()) {
    return 0;
  }
  const QString base = dir.path() + QLatin1Char('/');
  std::string_view in(reinterpret_cast<const char*>(data), size);
  for (int i = 0; i < kFileCount; ++i) {
    QFile::remove(base + QLatin1String(kFiles[i]));
    if (in.empty() && i > 0) {
      continue;
    }
    const std::size_t cut = in.find('\x1e');
    const std::string_view part = in.substr(0, cut);
    QFile f(base + QLatin1String(kFiles[i]));
    if (f.open(QIODevice::WriteOnly)) {
      f.write(part.data(), static_cast<qint64>(part.size()));
    }
    in = cut == std::string_view::npos ? std::string_view() : in.substr(cut + 1);
  }

  CNullSink sink;
  CSimulationData store;
  store.SetMessageSink(&sink);
  if (!store.Load(base)) {
    return 0;
  }
  // The files read again at full precision, as a writer reads them: the
  // same files must give the very rows the store holds, whatever they hold.
  if (!store.Exact()->ReadAll(1)) {
    __builtin_trap();
  }
  // Play the run through with every content kind and a few layer choices.
  CViewState& state = store.State();
  for (const ContentKind kind : {ContentTemperature, ContentHumidity, ContentSweatRate}) {
    state.SetContent(kind);
    for (int layer : {0, 1, 3, 11}) {
      state.SelectLayer(layer);
      state.SeekStep(0);
      // A little more than a sample per tick, however long a sample is.
      const int seconds = store.Run().SecondsPerSample();
      state.SetSpeed(seconds < INT_MAX ? seconds + 1 : seconds);
      for (int tick = 0; tick < 64 && state.Step() < store.Run().m_nSamples; ++tick) {
        (void)store.Colours();
        state.Advance();
      }
    }
  }
  return 0;
}
