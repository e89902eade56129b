#pragma once
// Chart figures written beside the work that prepares the next: a batch
// makes a paper's figures one view after another, and the longest part of
// each (laying out the page, embedding its font, compressing and syncing
// the file) needs nothing of the view once the chart's content is copied.
// The files are the same bytes as a figure written at once.

#include <QString>
#include <QThreadPool>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <vector>

#include "ChartFigure.h"
#include "Figure.h"

class QPainter;

// Paints a chart's figure page as `size` lays it out (in the device's
// pixels; `raster` for a picture rather than a vector page).
void PaintChartPage(QPainter& painter, const FigureSize& size, bool raster, const ChartFigureContent& content);

class CFigureWriter {
 public:
  // At most `threads` figures written at once.
  explicit CFigureWriter(int threads);
  ~CFigureWriter();
  CFigureWriter(const CFigureWriter&) = delete;
  CFigureWriter& operator=(const CFigureWriter&) = delete;

  // Queues the chart figure `content` for `path` (the file titled `title`),
  // its curves' points copied; returns its number, from 0 in the order
  // queued. Waits first while twice `threads` figures are queued, so that
  // copies of a big run's curves do not pile up.
  int Submit(const QString& path, const FigureSize& size, const QString& title, const ChartFigureContent& content);

  struct Outcome {
    QString path;
    bool written = false;
    QString error;  // why not, as WriteFigure says it
  };
  // Waits for every queued figure; their outcomes in the order queued, and
  // the writer empty again.
  std::vector<Outcome> Finish();
  // How many figures are queued since the last Finish.
  std::size_t Queued();

 private:
  struct Job;
  void WaitForRoom();

  QThreadPool m_pool;
  int m_nThreads;
  std::mutex m_mutex;
  std::condition_variable m_done;
  int m_nRunning = 0;
  std::vector<std::shared_ptr<Job>> m_jobs;
};
