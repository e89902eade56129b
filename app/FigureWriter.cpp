#include "FigureWriter.h"

#include <QPainter>

void PaintChartPage(QPainter& p, const FigureSize& s, bool raster, const ChartFigureContent& content) {
  // Laid out in points; a picture's pixels also bound how many of a
  // curve's points within one column it keeps.
  const double perPt = s.dpi / 72.0;
  p.scale(perPt, perPt);
  PaintChartFigure(p, s.PagePt(), s.Style(), content, raster ? perPt : 0.0);
}

struct CFigureWriter::Job {
  QString path, title;
  FigureSize size;
  ChartFigureContent content;
  std::vector<std::vector<CChartDataSet>> points;  // what the content's curves point at
  Outcome outcome;
};

CFigureWriter::CFigureWriter(int threads) : m_nThreads(std::max(1, threads)) { m_pool.setMaxThreadCount(m_nThreads); }

CFigureWriter::~CFigureWriter() { m_pool.waitForDone(); }

void CFigureWriter::WaitForRoom() {
  std::unique_lock lock(m_mutex);
  m_done.wait(lock, [this] { return m_nRunning < 2 * m_nThreads; });
}

int CFigureWriter::Submit(const QString& path, const FigureSize& size, const QString& title,
                          const ChartFigureContent& content) {
  WaitForRoom();
  auto job = std::make_shared<Job>();
  job->path = path;
  job->title = title;
  job->size = size;
  job->content = content;
  job->points.reserve(content.curves.size());
  for (FigureCurve& c : job->content.curves) {
    job->points.push_back(c.points ? *c.points : std::vector<CChartDataSet>{});
    c.points = &job->points.back();
  }
  job->outcome.path = path;
  {
    const std::lock_guard lock(m_mutex);
    ++m_nRunning;
    m_jobs.push_back(job);
  }
  m_pool.start([this, job] {
    QString error;
    const bool written = WriteFigure(
        job->path, job->size, job->title,
        [&job](QPainter& p, const FigureSize& s, bool raster) {
          PaintChartPage(p, s, raster, job->content);
          return true;
        },
        &error);
    const std::lock_guard lock(m_mutex);
    job->outcome.written = written;
    job->outcome.error = error;
    --m_nRunning;
    m_done.notify_all();
  });
  return static_cast<int>(m_jobs.size()) - 1;
}

std::size_t CFigureWriter::Queued() {
  const std::lock_guard lock(m_mutex);
  return m_jobs.size();
}

std::vector<CFigureWriter::Outcome> CFigureWriter::Finish() {
  m_pool.waitForDone();
  const std::lock_guard lock(m_mutex);
  std::vector<Outcome> outcomes;
  outcomes.reserve(m_jobs.size());
  for (const auto& job : m_jobs) {
    outcomes.push_back(job->outcome);
  }
  m_jobs.clear();
  return outcomes;
}
