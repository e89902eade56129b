#include "PlotFigure.h"

#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <cstring>

#include "OpenGLView.h"
#include "TickLabel.h"

bool PaintPlotFigure(QPainter& p, QSize size, const COpenGLView& view, double pixelsPerPt, double textPt) {
  // The column's text at the figure's size in points.
  QFont font(QStringLiteral("Arial"));
  font.setPixelSize(std::max(6, static_cast<int>(std::lround(textPt * pixelsPerPt))));
  p.setFont(font);
  // The bar's column: a fifth of the width, at least what the axes' names
  // need (up to two fifths; a longer name is wrapped or cut there).
  const QFontMetrics fm(p.font());
  const char* letters[3] = {"X", "Y", "Z"};
  QString axisLines[3];
  int widest = fm.horizontalAdvance(QStringLiteral("X: Thickness(cm)"));
  for (int a = 0; a < 3; ++a) {
    axisLines[a] = QStringLiteral("%1: %2").arg(QLatin1String(letters[a]), view.AxisTitle(a));
    widest = std::max(widest, fm.horizontalAdvance(axisLines[a]));
  }
  const int column = std::clamp(widest + 16, size.width() / 5, std::max(size.width() / 5, size.width() * 2 / 5));
  const QSize plotSize(std::max(16, size.width() - column), std::max(16, size.height()));

  COpenGLView drawn;
  drawn.SetMode(ViewMode::Plot);
  drawn.SetAxisTitles(view.AxisTitle(0), view.AxisTitle(1), view.AxisTitle(2));
  drawn.SetCurves(view.Curves(), view.PlotNote());
  drawn.ResetCamera();
  // The user's turn and zoom; the plot's own place.
  ViewCamera camera = drawn.Camera();
  camera.m_dRotX = view.Camera().m_dRotX;
  camera.m_dRotY = view.Camera().m_dRotY;
  camera.m_dRotZ = view.Camera().m_dRotZ;
  camera.m_fZoom = view.Camera().m_fZoom;
  drawn.SetCamera(camera);
  // The GL drawing's labels are 12-pixel bitmaps: drawn at a size where
  // they come out at the text's size in points, then scaled to its place
  // (on the screen's 96 dpi that is the place's own size).
  const double shrink = std::min(1.0, 12.0 / (textPt * pixelsPerPt));
  drawn.resize(QSize(std::max(16, static_cast<int>(plotSize.width() * shrink)),
                     std::max(16, static_cast<int>(plotSize.height() * shrink))));
  const QImage picture = drawn.grabFramebuffer();
  if (!picture.isNull()) {
    p.save();
    p.setRenderHint(QPainter::SmoothPixmapTransform, true);
    p.drawImage(QRect(QPoint(0, 0), plotSize), picture);
    p.restore();
  }

  // The colour bar: the curves' colour runs from blue at the value axis's
  // lowest to red at its highest.
  const int x = plotSize.width() + 8;
  // The bar's title over it, wrapped to the column: never cut.
  const QString barTitle = view.AxisTitle(2);
  const QRect titleBox =
      fm.boundingRect(QRect(0, 0, std::max(16, size.width() - x - 2), 10000), Qt::TextWordWrap, barTitle);
  const int top = titleBox.height() + fm.height(), bottom = size.height() - fm.height() * 5;
  const int barWidth = std::max(8, column / 8);
  if (bottom - top > 20 && !view.Curves().empty()) {
    QLinearGradient ramp(0, bottom, 0, top);
    ramp.setColorAt(0, QColor(0, 0, 255));
    ramp.setColorAt(1, QColor(255, 0, 0));
    p.fillRect(QRect(x, top, barWidth, bottom - top), ramp);
    p.setPen(Qt::black);
    p.drawRect(QRect(x, top, barWidth, bottom - top));
    const std::vector<float> ticks = PlotTickValues(view.Box(), 2);
    for (std::size_t k = 0; k < ticks.size(); ++k) {
      const double share = static_cast<double>(k) / static_cast<double>(ticks.size() - 1);
      const int y = bottom - static_cast<int>((bottom - top) * share);
      p.drawLine(x + barWidth, y, x + barWidth + 4, y);
      p.drawText(x + barWidth + 6, y + fm.ascent() / 2, QString::fromStdString(FormatTickValue(ticks[k])));
    }
    p.drawText(QRect(x, top - fm.height() / 2 - titleBox.height(), size.width() - x - 2, titleBox.height()),
               Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignBottom, barTitle);
  }
  p.setPen(Qt::black);
  for (int a = 0; a < 3; ++a) {
    p.drawText(x, size.height() - fm.height() * (3 - a) + fm.ascent() - fm.height() / 2,
               fm.elidedText(axisLines[a], Qt::ElideRight, size.width() - x));
  }
  return !picture.isNull();
}
