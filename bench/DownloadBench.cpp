// The static view's model as it arrives from the model service, on loopback:
// a 1-million-triangle body fetched, parsed and installed, against parsing
// the same file alone; the GUI thread's longest stall meanwhile (a 10 ms
// timer on it records the largest gap); and a sweep of the time slider over
// every position of the sample run: frames drawn per position changed, and
// the time per position against the static frame alone.
// Run under a display: xvfb-run -a bench_download [OBJ]

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>
#include <cstdio>

#include "ModelDownload.h"
#include "ModelOBJ.h"
#include "SimulationData.h"
#include "StoreEditor.h"
#include "Visualize3DDlg.h"

namespace {
double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}
}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  const QString obj = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral(CORVANE_BENCH_OBJ);
  QTemporaryDir catalogue, program;
  if (!QFile::copy(obj, catalogue.filePath(QStringLiteral("BIG.obj")))) {
    std::fprintf(stderr, "no model %s: run bench_obj once to make it\n", qPrintable(obj));
    return 1;
  }
  QProcess service;
  service.start(QStringLiteral(CORVANE_MODEL_SERVICE_BIN),
                {QStringLiteral("--models"), catalogue.path(), QStringLiteral("--port"), QStringLiteral("0")});
  int port = 0;
  while (port == 0 && service.waitForReadyRead(10000)) {
    const QByteArray line = service.readLine();
    if (line.startsWith("listening on ")) port = line.mid(line.lastIndexOf(':') + 1).trimmed().toInt();
  }
  if (!port) return 1;
  DownloadSettings s;
  s.serviceUrl = QStringLiteral("http://127.0.0.1:%1").arg(port);
  s.moduleDir = program.path() + QLatin1Char('/');
  s.downloadFolder = DownloadFolderFor(s.moduleDir);

  // Parse alone, and fetch + parse + install, in turns, medians of 9.
  std::vector<double> parse, whole, fetchOnly;
  const QByteArray local = QFile::encodeName(catalogue.filePath(QStringLiteral("BIG.obj")));
  for (int i = 0; i < 9; ++i) {
    QElapsedTimer t;
    t.start();
    {
      CModelOBJ m;
      m.Load(local.constData(), kCreaseAngle);
    }
    parse.push_back(static_cast<double>(t.nsecsElapsed()) / 1e6);
    t.restart();
    {
      CModelDownload download(s);
      const QString path = s.downloadFolder + QStringLiteral("BIG.obj");
      QElapsedTimer f;
      f.start();
      download.Fetch(BodyModelUrl(s.serviceUrl, QStringLiteral("BIG")), path);
      fetchOnly.push_back(static_cast<double>(f.nsecsElapsed()) / 1e6);
      CModelSlot<CModelOBJ> slot;
      auto m = std::make_unique<CModelOBJ>();
      m->Load(QFile::encodeName(path).constData(), kCreaseAngle);
      slot.Publish(std::move(m));
    }
    whole.push_back(static_cast<double>(t.nsecsElapsed()) / 1e6);
  }
  std::printf("1M-triangle body: parse alone %.0f ms, fetch + parse + install %.0f ms (%.2fx; the fetch %.0f ms)\n",
              Median(parse), Median(whole), Median(whole) / Median(parse), Median(fetchOnly));

  // The GUI thread while the dialog fetches and parses the body on its worker.
  CSimulationData data;
  if (!data.Load(QStringLiteral(CORVANE_SAMPLE_RUN "/"))) return 1;
  EditRun(data).m_strModelId = QStringLiteral("BIG");
  EditRun(data).m_garmentIds.clear();
  {
    CVisiualize3DDlg dlg(&data, s.moduleDir);
    dlg.show();
    QElapsedTimer clock;
    clock.start();
    qint64 last = 0, longest = 0;
    QTimer tick;
    QObject::connect(&tick, &QTimer::timeout, [&] {
      const qint64 now = clock.nsecsElapsed();
      longest = std::max(longest, now - last);
      last = now;
    });
    tick.start(10);
    QApplication::processEvents();
    last = clock.nsecsElapsed();
    dlg.StartDownload(s);
    while (dlg.Downloading()) QApplication::processEvents(QEventLoop::AllEvents, 5);
    dlg.WaitForDownload();
    const qint64 arriving = longest;
    // Then the first frame that shows the new model, drawn on the GUI thread.
    for (int i = 0; i < 20; ++i) QApplication::processEvents(QEventLoop::AllEvents, 5);
    std::printf(
        "GUI thread's longest gap while the model arrives and is parsed: %.1f ms; with its first frame: %.1f "
        "ms (a 10 ms timer)\n",
        static_cast<double>(arriving) / 1e6, static_cast<double>(longest) / 1e6);
  }

  // A sweep of the slider over every position of the sample run.
  {
    CSimulationData run;
    run.Load(QStringLiteral(CORVANE_SAMPLE_RUN "/"));
    CVisiualize3DDlg dlg(&run, QStringLiteral(CORVANE_BIN_DIR "/"));
    dlg.resize(1000, 700);
    dlg.show();
    QApplication::processEvents();
    COpenGLView& v = *dlg.View();
    QElapsedTimer t;
    t.start();
    constexpr int kFrames = 50;
    for (int i = 0; i < kFrames; ++i) v.grabFramebuffer();  // a frame drawn and read back
    const double frame = static_cast<double>(t.nsecsElapsed()) / 1e6 / kFrames;
    long drawn = 0;
    QObject::connect(&v, &COpenGLView::framePainted, [&drawn] { ++drawn; });
    auto* slider = dlg.findChild<QSlider*>(QStringLiteral("time"));
    const int positions = slider->maximum() + 1;
    t.restart();
    for (int p = 0; p < positions; ++p) {
      slider->setValue(p);
      QApplication::processEvents();
      v.repaint();  // the displayed frame of that position
    }
    const double per = static_cast<double>(t.nsecsElapsed()) / 1e6 / positions;
    std::printf(
        "slider sweep: %d positions, %.2f frames drawn per position, %.2f ms per position against a %.2f ms "
        "frame\n",
        positions, static_cast<double>(drawn) / positions, per, frame);
  }
  service.kill();
  service.waitForFinished(5000);
  return 0;
}
