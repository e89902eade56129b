#include "Figure.h"

#include <QBuffer>
#include <QFileInfo>
#include <QImage>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#include <QSvgGenerator>
#include <cmath>

std::optional<FigureFormat> FigureFormatOf(const QString& path) {
  const QString suffix = QFileInfo(path).suffix().toLower();
  if (suffix == QLatin1String("png")) {
    return FigureFormat::Png;
  }
  if (suffix == QLatin1String("svg")) {
    return FigureFormat::Svg;
  }
  if (suffix == QLatin1String("pdf")) {
    return FigureFormat::Pdf;
  }
  return std::nullopt;
}

std::optional<FigureSize> FigureSizeFromMillimetres(double widthMm, int dpi, double aspect) {
  if (!(widthMm >= 10 && widthMm <= 1000) || dpi < 50 || dpi > 2400 || !(aspect > 0)) {
    return std::nullopt;
  }
  const double width = std::round(widthMm / 25.4 * dpi);
  const double height = std::round(width * aspect);
  if (width > 20000 || height > 20000 || height < 1) {
    return std::nullopt;
  }
  return FigureSize{QSize(static_cast<int>(width), static_cast<int>(height)), dpi};
}

QString FigureTitle(const QString& runFolder, const QString& part, const QString& option, const QString& quantity) {
  QStringList pieces;
  for (const QString& p : {runFolder, part, option, quantity}) {
    if (!p.isEmpty()) {
      pieces << p;
    }
  }
  return pieces.join(QStringLiteral(" \u00B7 "));
}

int FigureTitleHeight(const FigureSize& size) {
  // Ten points of text and its leading, at the figure's resolution.
  return static_cast<int>(std::lround(16.0 * size.dpi / 72.0));
}

namespace {
void Paint(QPainter& p, const FigureSize& size, const QString& title,
           const std::function<void(QPainter&, QSize)>& body) {
  const int titleHeight = FigureTitleHeight(size);
  p.fillRect(QRect(QPoint(0, 0), size.pixels), Qt::white);
  QFont font = p.font();
  font.setPixelSize(std::max(8, titleHeight * 10 / 16));
  p.setFont(font);
  p.setPen(Qt::black);
  p.drawText(QRect(0, 0, size.pixels.width(), titleHeight), Qt::AlignCenter, title);
  p.save();
  p.translate(0, titleHeight);
  body(p, QSize(size.pixels.width(), std::max(1, size.pixels.height() - titleHeight)));
  p.restore();
}
}  // namespace

bool WriteFigure(const QString& path, const FigureSize& size, const QString& title,
                 const std::function<void(QPainter&, QSize)>& body, QString* error) {
  const std::optional<FigureFormat> format = FigureFormatOf(path);
  if (!format) {
    *error = QStringLiteral("a figure is a .png, .svg or .pdf file");
    return false;
  }
  QSaveFile out(path);
  if (!out.open(QIODevice::WriteOnly)) {
    *error = QStringLiteral("cannot write \"%1\"").arg(path);
    return false;
  }
  bool painted = true;
  if (*format == FigureFormat::Png) {
    QImage image(size.pixels, QImage::Format_RGB32);
    const int dotsPerMetre = static_cast<int>(std::lround(size.dpi / 0.0254));
    image.setDotsPerMeterX(dotsPerMetre);
    image.setDotsPerMeterY(dotsPerMetre);
    {
      QPainter p(&image);
      Paint(p, size, title, body);
    }
    painted = image.save(&out, "PNG");
  } else if (*format == FigureFormat::Svg) {
    QSvgGenerator svg;
    svg.setOutputDevice(&out);
    svg.setSize(size.pixels);
    svg.setViewBox(QRect(QPoint(0, 0), size.pixels));
    svg.setResolution(size.dpi);
    svg.setTitle(title);
    QPainter p(&svg);
    Paint(p, size, title, body);
    painted = p.end();
  } else {
    QPdfWriter pdf(&out);
    pdf.setResolution(size.dpi);
    pdf.setTitle(title);
    pdf.setCreator(QStringLiteral("Corvane"));
    const QSizeF points(size.pixels.width() * 72.0 / size.dpi, size.pixels.height() * 72.0 / size.dpi);
    pdf.setPageSize(QPageSize(points, QPageSize::Point, QString(), QPageSize::ExactMatch));
    pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
    QPainter p(&pdf);
    Paint(p, size, title, body);
    painted = p.end();
  }
  if (!painted || !out.commit()) {
    *error = QStringLiteral("cannot write \"%1\"").arg(path);
    return false;
  }
  return true;
}
