#include "ChartLogic.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "TickLabel.h"

namespace {
QString Printf(const char* format, double v) {
  char buf[64];
  std::snprintf(buf, sizeof buf, format, v);
  return QString::fromLatin1(buf);
}
}  // namespace

QString FormatAxisValue(float v) { return QString::fromStdString(FormatTickValue(v)); }

std::vector<QString> FormatAxisValues(const std::vector<float>& values) {
  std::vector<QString> labels;
  labels.reserve(values.size());
  for (float v : values) {
    labels.push_back(FormatAxisValue(v));
  }
  auto distinct = [&] {
    for (std::size_t i = 1; i < labels.size(); ++i) {
      if (labels[i] == labels[i - 1] && values[i] != values[i - 1]) {
        return false;
      }
    }
    return true;
  };
  for (int extra = 1; extra <= 3 && !distinct(); ++extra) {
    for (std::size_t i = 0; i < labels.size(); ++i) {
      labels[i] = QString::fromStdString(FormatTickValue(values[i], extra));
    }
  }
  return labels;
}

QString FormatTickLabel(float v) { return Printf("%g", static_cast<double>(v)); }

std::vector<QString> TimeTickLabels(float from, float step, int ticks) {
  std::vector<QString> labels;
  for (int i = 0; i <= ticks; ++i) {
    labels.push_back(FormatTickLabel(step * static_cast<float>(i) + from));
  }
  return labels;
}

std::vector<QString> ZoomedTickLabels(double from, double step, int ticks) {
  const int decimals = step > 0 ? std::clamp(static_cast<int>(std::ceil(-std::log10(step))) + 1, 0, 6) : 0;
  std::vector<QString> labels;
  for (int i = 0; i <= ticks; ++i) {
    QString text = QString::number(from + step * i, 'f', decimals);
    if (decimals > 0) {
      while (text.endsWith(QLatin1Char('0'))) {
        text.chop(1);
      }
      if (text.endsWith(QLatin1Char('.'))) {
        text.chop(1);
      }
    }
    labels.push_back(text == QStringLiteral("-0") ? QStringLiteral("0") : text);
  }
  return labels;
}

int FitFontHeight(int start, int length, int limit) {
  int h = start;
  while (h > 0 && length * (h / 2) > limit) {
    h -= 2;
  }
  return h;
}

void WidenFlatRange(float& lo, float& hi) {
  if (hi - lo >= 0.0001f) {
    return;
  }
  float b = 0.01f;
  if (std::fabs(hi) >= 1e-9f) {
    float m = std::fabs(hi);
    b = 1;
    while (m < 100) {
      m *= 10;
      b /= 10;
    }
    while (m > 1000) {
      m /= 10;
      b *= 10;
    }
  }
  hi += 5 * b;
  lo -= 5 * b;
}

ChartLayout LayoutChart(int w, int h, bool bands, int captionHeight, int captionWidth, bool yCaption) {
  ChartLayout l;
  l.areaHeight = h - 20;
  l.areaWidth = bands ? w - 75 : w - 5;
  const int strip = yCaption ? captionHeight + 10 : 0;
  l.originX = strip + 4 * captionWidth + 5;
  l.originY = l.areaHeight - captionHeight - 15;
  l.axisHeight = l.areaHeight - captionHeight - 55;
  l.axisWidth = l.areaWidth - l.originX - 5;
  return l;
}

ChartLayout LayoutChart(int w, int h, bool bands, int captionHeight, int captionWidth, bool yCaption, int legendHeight,
                        bool rightAxis) {
  ChartLayout l = LayoutChart(w, h, bands, captionHeight, captionWidth, yCaption);
  l.axisHeight -= legendHeight;
  if (rightAxis) {
    l.axisWidth -= captionHeight + 10 + 4 * captionWidth + 5;
  }
  return l;
}

std::vector<int> YTickRows(const ChartLayout& l, int ticks) {
  std::vector<int> rows;
  const double dy = static_cast<double>(l.axisHeight - 10) / ticks;
  for (int i = 0; i <= ticks; ++i) {
    rows.push_back(static_cast<int>(l.originY - i * dy));
  }
  return rows;
}

std::vector<int> XTickColumns(const ChartLayout& l, int ticks) {
  std::vector<int> columns;
  // Whole pixels an interval, as the axis is laid out.
  const int wholePixels = l.axisWidth / ticks;
  const double dx = wholePixels;
  for (int i = 0; i <= ticks; ++i) {
    columns.push_back(static_cast<int>(i * dx + l.originX));
  }
  return columns;
}

const std::vector<ComfortBandEdge>& ComfortBandScale(BandMode mode) {
  static const std::vector<ComfortBandEdge> kModes[3] = {
      {{0.26, qRgb(255, 0, 0), qRgb(255, 204, 127)},
       {0.45, qRgb(255, 255, 0), qRgb(255, 255, 178)},
       {0.55, qRgb(127, 255, 127), qRgb(178, 255, 178)},
       {0.77, qRgb(178, 255, 255), qRgb(0, 255, 255)},
       {-1, qRgb(0, 229, 255), qRgb(0, 0, 255)}},
      {{0.30, qRgb(0, 0, 255), qRgb(0, 229, 255)},
       {0.53, qRgb(0, 255, 255), qRgb(229, 255, 255)},
       {0.78, qRgb(255, 255, 178), qRgb(255, 255, 0)},
       {-1, qRgb(255, 127, 127), qRgb(255, 0, 0)}},
      {{0.22, qRgb(255, 0, 0), qRgb(255, 204, 127)},
       {0.70, qRgb(127, 255, 51), qRgb(204, 255, 204)},
       {-1, qRgb(0, 229, 255), qRgb(0, 0, 255)}},
  };
  static const std::vector<ComfortBandEdge> kNone;
  const int m = static_cast<int>(mode);
  return m >= 1 && m <= 3 ? kModes[m - 1] : kNone;
}

const std::vector<ComfortLabelPlace>& ComfortLabelPlaces(BandMode mode) {
  static const std::vector<ComfortLabelPlace> kLabels[3] = {
      {{"Cold", 0.87}, {"Cool", 0.63}, {"Neutral", 0.48}, {"Warm", 0.32}, {"Hot", 0.10}},
      {{"Very Damp", 0.14}, {"Damp", 0.41}, {"Slightly Damp", 0.63}, {"Dry", 0.86}},
      {{"Uncomfortable", 0.08}, {"Acceptable", 0.40}, {"Comfortable", 0.86}},
  };
  static const std::vector<ComfortLabelPlace> kNone;
  const int m = static_cast<int>(mode);
  return m >= 1 && m <= 3 ? kLabels[m - 1] : kNone;
}

namespace {

struct BandGeometry {
  int left, right, top;
  double height;
};
BandGeometry Geometry(const ChartLayout& l, int xTicks) {
  return {l.originX + 1, l.originX + xTicks * (l.axisWidth / xTicks), l.originY - l.axisHeight + 10,
          static_cast<double>(l.axisHeight - 10)};
}
}  // namespace

std::vector<ComfortBand> ComfortBands(const ChartLayout& l, BandMode mode, int xTicks) {
  const BandGeometry g = Geometry(l, xTicks);
  std::vector<ComfortBand> bands;
  int top = g.top;
  for (const ComfortBandEdge& s : ComfortBandScale(mode)) {
    const int bottom =
        s.lower < 0 ? static_cast<int>(g.top + g.height - 1) : static_cast<int>(g.top + s.lower * g.height);
    bands.push_back({QRect(QPoint(g.left, top), QPoint(g.right - 1, bottom - 1)), QColor(s.top), QColor(s.bottom)});
    top = bottom;
  }
  return bands;
}

std::vector<ComfortLabel> ComfortLabels(const ChartLayout& l, BandMode mode, int xTicks) {
  std::vector<ComfortLabel> labels;
  const BandGeometry g = Geometry(l, xTicks);
  for (const ComfortLabelPlace& s : ComfortLabelPlaces(mode)) {
    labels.push_back({QString::fromLatin1(s.text), QPoint(g.right + 5, static_cast<int>(g.top + s.at * g.height))});
  }
  return labels;
}

std::vector<GradientStrip> GradientStrips(const QRect& rect, const QColor& top, const QColor& bottom, int strip) {
  std::vector<GradientStrip> strips;
  // Rows from rect.top() up to, not including, the row after rect.bottom().
  const int y0 = rect.top(), y1 = rect.bottom() + 1;
  const double n = std::abs(y0 - y1) / static_cast<double>(strip);
  const double dr = (bottom.red() - top.red()) / n, dg = (bottom.green() - top.green()) / n,
               db = (bottom.blue() - top.blue()) / n;
  for (int k = 0; k <= n; ++k) {
    const int a = std::min(y0 + k * strip, y1), b = std::min(y0 + (k + 1) * strip, y1);
    if (b <= a) {
      continue;
    }
    strips.push_back({QRect(rect.left(), a, rect.width(), b - a),
                      QColor(static_cast<int>(top.red() + k * dr), static_cast<int>(top.green() + k * dg),
                             static_cast<int>(top.blue() + k * db))});
  }
  return strips;
}

double TimeScale::ColumnF(double t) const { return ColumnOfTime(shown, origin, pixels, t); }

int TimeScale::Column(double t) const { return static_cast<int>(std::floor(ColumnF(t) + 0.5)); }

double TimeScale::TimeAt(double column) const { return TimeAtColumn(shown, origin, pixels, column); }

int ValueRow(const ChartLayout& l, double v, double lo, double hi) {
  // YTickRows truncates originY - i × dy; the same here, with a hair of
  // slack so that a tick's value computed in floats lands on its row.
  const double offset = static_cast<double>(l.axisHeight - 10) / (hi - lo) * (v - lo);
  return static_cast<int>(std::floor(l.originY - offset + 1e-3));
}
