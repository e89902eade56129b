#include "Figure.h"

#include <QBuffer>
#include <QFileInfo>
#include <QImage>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSvgGenerator>
#include <cmath>

#include "FigureText.h"
#include "WholeFile.h"

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
  return FigureSize{QSize(static_cast<int>(width), static_cast<int>(height)), dpi, true};
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

int PaintFigureTitle(QPainter& p, const FigureSize& size, const QString& title) {
  const FigureStyle style = size.Style();
  const QSizeF page = size.PagePt();
  const double perPt = size.dpi / 72.0;
  const QStringList lines = WrapFigureText(title, style.titlePt, page.width() - 2 * style.marginPt);
  const QSizeF text = FigureTextSize(lines, style.titlePt);
  FigureTextBox box;
  box.rect = QRectF((page.width() - text.width()) / 2, style.marginPt, text.width(), text.height());
  box.lines = lines;
  box.pt = style.titlePt;
  box.align = Qt::AlignHCenter;
  p.save();
  p.scale(perPt, perPt);
  p.setRenderHint(QPainter::TextAntialiasing, true);
  p.setPen(Qt::black);
  DrawFigureText(p, box);
  p.restore();
  return static_cast<int>(std::ceil((box.rect.bottom() + style.marginPt) * perPt));
}

bool WriteFigure(const QString& path, const FigureSize& size, const QString& title, const FigurePaint& paint,
                 QString* error) {
  const std::optional<FigureFormat> format = FigureFormatOf(path);
  if (!format) {
    *error = QStringLiteral("a figure is a .png, .svg or .pdf file");
    return false;
  }
  // The whole figure in memory first; the file is written whole or not at
  // all (WholeFile.h).
  QByteArray bytes;
  QBuffer out(&bytes);
  out.open(QIODevice::WriteOnly);
  bool painted = true, drawn = true;
  if (*format == FigureFormat::Png) {
    QImage image(size.pixels, QImage::Format_RGB32);
    image.fill(Qt::white);
    const int dotsPerMetre = static_cast<int>(std::lround(size.dpi / 0.0254));
    image.setDotsPerMeterX(dotsPerMetre);
    image.setDotsPerMeterY(dotsPerMetre);
    {
      QPainter p(&image);
      drawn = paint(p, size, true);
    }
    painted = drawn && image.save(&out, "PNG");
  } else if (*format == FigureFormat::Svg) {
    QSvgGenerator svg;
    svg.setOutputDevice(&out);
    svg.setSize(size.pixels);
    svg.setViewBox(QRect(QPoint(0, 0), size.pixels));
    svg.setResolution(size.dpi);
    svg.setTitle(title);
    QPainter p(&svg);
    p.fillRect(QRect(QPoint(0, 0), size.pixels), Qt::white);
    drawn = paint(p, size, false);
    painted = p.end() && drawn;
  } else {
    QPdfWriter pdf(&out);
    pdf.setResolution(size.dpi);
    pdf.setTitle(title);
    pdf.setCreator(QStringLiteral("Corvane"));
    const QSizeF points = size.PagePt();
    pdf.setPageSize(QPageSize(points, QPageSize::Point, QString(), QPageSize::ExactMatch));
    pdf.setPageMargins(QMarginsF(0, 0, 0, 0));
    QPainter p(&pdf);
    p.fillRect(QRect(QPoint(0, 0), size.pixels), Qt::white);
    drawn = paint(p, size, false);
    painted = p.end() && drawn;
  }
  if (!drawn) {
    *error = QStringLiteral("the figure could not be drawn");
    return false;
  }
  if (!painted) {
    *error = QStringLiteral("cannot write %1: the figure could not be encoded").arg(path);
    return false;
  }
  return WriteWholeFile(path, bytes, error);
}
