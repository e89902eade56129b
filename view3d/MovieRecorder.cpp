#include "MovieRecorder.h"

#include <QCoreApplication>
#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

#include "MovieSink.h"
#include "OpenGLView.h"
#include "PlayerTime.h"
#include "SimulationData.h"
#include "ThreadName.h"

namespace {
// Frames drawn but not yet encoded wait here; two keep both cores busy, and
// more would only hold memory (a 1000 x 660 frame is 2.6 MB).
class CFrameQueue {
 public:
  explicit CFrameQueue(IMovieSink& encoder) : m_encoder(encoder) {
    m_thread = std::thread([this] { Work(); });
  }
  ~CFrameQueue() { Close(); }
  CFrameQueue(const CFrameQueue&) = delete;
  CFrameQueue& operator=(const CFrameQueue&) = delete;

  // False once the encoder has failed (the frame is dropped).
  bool Push(QImage frame) {
    std::unique_lock lock(m_mutex);
    m_room.wait(lock, [this] { return m_frames.size() < kDepth || m_failed; });
    if (m_failed) {
      return false;
    }
    m_frames.push_back(std::move(frame));
    m_ready.notify_one();
    return true;
  }
  // Waits until every frame is encoded; false, with the encoder's error, on failure.
  bool Close(QString* error = nullptr) {
    {
      const std::lock_guard lock(m_mutex);
      m_closed = true;
      m_ready.notify_one();
    }
    if (m_thread.joinable()) {
      m_thread.join();
    }
    if (error) {
      *error = m_error;
    }
    return !m_failed;
  }

 private:
  static constexpr std::size_t kDepth = 2;

  void Work() {
    NameThisThread("corvane-movie");
    for (;;) {
      QImage frame;
      {
        std::unique_lock lock(m_mutex);
        m_ready.wait(lock, [this] { return !m_frames.empty() || m_closed; });
        if (m_frames.empty()) {
          return;
        }
        frame = std::move(m_frames.front());
        m_frames.pop_front();
        m_room.notify_one();
      }
      QString error;
      if (!m_encoder.AddFrame(frame, &error)) {
        const std::lock_guard lock(m_mutex);
        m_failed = true;
        m_error = error;
        m_frames.clear();
        m_room.notify_all();
        return;
      }
    }
  }

  IMovieSink& m_encoder;
  std::mutex m_mutex;
  std::condition_variable m_ready, m_room;
  std::deque<QImage> m_frames;
  bool m_closed = false, m_failed = false;
  QString m_error;
  std::thread m_thread;
};
}  // namespace

void BurnInTime(QImage& frame, const QString& text) {
  QPainter p(&frame);
  QFont font = p.font();
  font.setPixelSize(std::max(10, frame.height() / 30));
  p.setFont(font);
  const QFontMetrics fm(font);
  const int band = fm.height() + fm.height() / 2;
  // As wide as the text, in the middle: the section legend's caption at the
  // bottom left stays in sight. Translucent, so the floor still shows
  // through; the text reads on any room.
  const int width = std::min(frame.width(), fm.horizontalAdvance(text) + fm.height());
  const QRect bottom((frame.width() - width) / 2, frame.height() - band, width, band);
  p.fillRect(bottom, QColor(0, 0, 0, 160));
  p.setPen(Qt::white);
  p.drawText(bottom, Qt::AlignCenter, text);
}

MovieResult RecordMovie(COpenGLView& view, const MoviePlan& plan, IMovieSink& encoder, const MovieProgress& progress,
                        QString* error) {
  CSimulationData& data = *view.Data();
  CViewState& state = data.State();
  state.SetPlaying(false);  // the movie sets the clock itself
  const RunTables& run = data.Run();
  const int total = TotalSeconds(run.m_nSamples, run.m_fSampleInterval);
  const double startTurn = view.Camera().m_dRotY;
  const int startWalk = view.Frame();
  const std::int64_t frames = plan.FrameCount();
  CFrameQueue queue(encoder);
  for (std::int64_t i = 0; i < frames; ++i) {
    const MovieFrame f = plan.Frame(i);
    state.SeekStep(f.step, f.seconds);
    // The player's other timer, as it runs while the clock plays: the
    // walking body steps, the others turn 5 degrees a tick.
    if (view.Mode() == ViewMode::Dynamic) {
      view.SetFrame(WalkFrameAfter(startWalk, f.ticks, view.FrameCount()));
    } else {
      ViewCamera camera = view.Camera();
      camera.m_dRotY = startTurn + 5.0 * f.ticks;
      view.SetCamera(camera);
    }
    QImage picture = view.grabFramebuffer();
    if (picture.isNull()) {
      queue.Close();
      encoder.Abandon();
      *error = QStringLiteral("the scene could not be rendered: %1").arg(view.GlError());
      return MovieResult::Failed;
    }
    BurnInTime(picture, TimeLabel(total, f.position));
    if (!queue.Push(std::move(picture))) {
      break;  // the encoder has failed: its error comes from Close
    }
    if (progress && !progress(i + 1, frames)) {
      queue.Close();
      encoder.Abandon();
      return MovieResult::Cancelled;
    }
  }
  if (!queue.Close(error) || !encoder.Finish(error)) {
    encoder.Abandon();
    return MovieResult::Failed;
  }
  return MovieResult::Done;
}
