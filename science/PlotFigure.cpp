#include "PlotFigure.h"

#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <algorithm>
#include <cstring>

#include "OpenGLView.h"
#include "TickLabel.h"

bool PaintPlotFigure(QPainter& p, QSize size, const COpenGLView& view) {
  // The bar's column: a fifth of the width, at least what its labels need.
  const QFontMetrics fm(p.font());
  const int column = std::max(fm.horizontalAdvance(QStringLiteral("X: Thickness(cm)")) + 16, size.width() / 5);
  const QSize plotSize(std::max(16, size.width() - column), std::max(16, size.height()));

  COpenGLView drawn;
  drawn.m_nMode = ViewMode::Plot;
  std::memcpy(drawn.m_szAxisTitle, view.m_szAxisTitle, sizeof drawn.m_szAxisTitle);
  drawn.SetCurves(view.Curves(), view.PlotNote());
  drawn.ResetCamera();
  drawn.m_dRotX = view.m_dRotX;
  drawn.m_dRotY = view.m_dRotY;
  drawn.m_dRotZ = view.m_dRotZ;
  drawn.m_fZoom = view.m_fZoom;
  drawn.resize(plotSize);
  const QImage picture = drawn.grabFramebuffer();
  if (!picture.isNull()) {
    p.drawImage(QRect(QPoint(0, 0), plotSize), picture);
  }

  // The colour bar: the curves' colour runs from blue at the value axis's
  // lowest to red at its highest.
  const int x = plotSize.width() + 8;
  const int top = fm.height() * 2, bottom = size.height() - fm.height() * 5;
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
    p.drawText(x, top - fm.descent() - 4,
               fm.elidedText(QString::fromUtf8(view.m_szAxisTitle[2]), Qt::ElideRight, size.width() - x));
  }
  p.setPen(Qt::black);
  const char* names[3] = {"X", "Y", "Z"};
  for (int a = 0; a < 3; ++a) {
    const QString line =
        QStringLiteral("%1: %2").arg(QLatin1String(names[a]), QString::fromUtf8(view.m_szAxisTitle[a]));
    p.drawText(x, size.height() - fm.height() * (3 - a) + fm.ascent() - fm.height() / 2,
               fm.elidedText(line, Qt::ElideRight, size.width() - x));
  }
  return !picture.isNull();
}
