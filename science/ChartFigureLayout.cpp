#include "ChartFigureLayout.h"

#include <algorithm>
#include <cmath>

#include "NiceTicks.h"

namespace {
// The ticks of [lo, hi] in at most `maxTicks` intervals; with `widen` the
// ends move out to the ticks that enclose the range.
FigureAxis MakeAxis(double lo, double hi, int maxTicks, bool widen) {
  if (!(hi > lo)) {
    hi = lo + 1;  // the chart widens a flat range before; this only guards
  }
  const double step = NiceStep(hi - lo, maxTicks);
  if (widen) {
    lo = std::floor(lo / step + 1e-9) * step;
    hi = std::ceil(hi / step - 1e-9) * step;
  }
  FigureAxis a;
  a.lo = lo;
  a.hi = hi;
  a.ticks = TicksOfStep(lo, hi, step);
  a.labels = NiceTickLabels(a.ticks, step);
  return a;
}

double WidestLabel(const FigureAxis& a, double pt) {
  double w = 0;
  for (const QString& l : a.labels) {
    w = std::max(w, FigureTextWidth(l, pt));
  }
  return w;
}

// A caption along a side of `length` points: on one line at the caption's
// size if it fits, else as small as the tick labels, else wrapped.
std::pair<QStringList, double> FitCaption(const QString& text, const FigureStyle& s, double length) {
  for (double pt = s.captionPt; pt >= s.tickPt; pt -= 0.5) {
    if (FigureTextWidth(text, pt) <= length) {
      return {{text}, pt};
    }
  }
  return {WrapFigureText(text, s.tickPt, length), s.tickPt};
}

FigureTextBox Box(const QRectF& rect, const QStringList& lines, double pt, Qt::Alignment align, int turn = 0) {
  FigureTextBox b;
  b.rect = rect;
  b.lines = lines;
  b.pt = pt;
  b.align = align;
  b.turn = turn;
  return b;
}

// The x axis' ticks: as many as their labels fit side by side, each label
// centred under its tick, with the first and the last inside the page (the
// plot's right end moves in for a wide last label).
FigureAxis PlaceXAxis(const ChartFigureText& t, const FigureStyle& s, double pageWidth, double left, double& right) {
  const double room = pageWidth - s.marginPt;
  FigureAxis best;
  for (int n = 10; n >= 1; --n) {
    FigureAxis a = MakeAxis(t.xLo, t.xHi, n, false);
    double r = right;
    auto column = [&](double v) { return left + (v - a.lo) / (a.hi - a.lo) * (r - left); };
    if (!a.ticks.empty()) {
      const double last = a.ticks.back(), f = (last - a.lo) / (a.hi - a.lo);
      const double half = FigureTextWidth(a.labels.back(), s.tickPt) / 2;
      if (f > 0 && column(last) + half > room) {
        r = std::max(left + 1, left + (room - half - left) / f);
      }
    }
    bool fits = true;
    for (std::size_t i = 1; i < a.ticks.size() && fits; ++i) {
      const double need =
          (FigureTextWidth(a.labels[i - 1], s.tickPt) + FigureTextWidth(a.labels[i], s.tickPt)) / 2 + 1.5 * s.tickPt;
      fits = column(a.ticks[i]) - column(a.ticks[i - 1]) >= need;
    }
    best = a;
    if (fits) {
      right = r;
      return best;
    }
    right = std::min(right, r);
  }
  return best;
}
}  // namespace

ChartFigureLayout LayoutChartFigure(const ChartFigureText& t, QSizeF pagePt, const FigureStyle& s) {
  ChartFigureLayout L;
  L.page = QRectF(QPointF(0, 0), pagePt);
  const double W = pagePt.width(), H = pagePt.height(), m = s.marginPt;
  const double gap = 0.4 * s.tickPt;  // between a text and what it names
  const double tickH = FigureLineHeight(s.tickPt);
  double top = m;

  // The title, at its size, wrapped to the page's width.
  if (!t.title.isEmpty()) {
    const double pt = s.titlePt;
    const QStringList lines = WrapFigureText(t.title, pt, W - 2 * m);
    const QSizeF size = FigureTextSize(lines, pt);
    L.texts.push_back(
        Box(QRectF((W - size.width()) / 2, top, size.width(), size.height()), lines, pt, Qt::AlignHCenter));
    top += size.height() + gap;
  }

  // The legend: entries left to right in rows, each row centred; an entry
  // wider than the page wraps its text.
  if (!t.legend.empty()) {
    const double sample = 2.2 * s.legendPt, sampleGap = 0.5 * s.legendPt, spacing = 1.2 * s.legendPt;
    const double row = W - 2 * m;
    struct Entry {
      QStringList lines;
      QSizeF size;
      double width = 0;
    };
    std::vector<Entry> entries;
    for (const QString& text : t.legend) {
      Entry e;
      e.lines = WrapFigureText(text, s.legendPt, std::max(s.legendPt, row - sample - sampleGap));
      e.size = FigureTextSize(e.lines, s.legendPt);
      e.width = sample + sampleGap + e.size.width();
      entries.push_back(e);
    }
    std::size_t i = 0;
    while (i < entries.size()) {
      std::size_t end = i;
      double width = 0, height = 0;
      while (end < entries.size() && (end == i || width + spacing + entries[end].width <= row)) {
        width += (end == i ? 0 : spacing) + entries[end].width;
        height = std::max(height, entries[end].size.height());
        ++end;
      }
      double x = (W - width) / 2;
      for (std::size_t k = i; k < end; ++k) {
        const Entry& e = entries[k];
        const double mid = top + height / 2;
        L.legendSamples.emplace_back(x + 0.1 * sample, mid, x + 0.9 * sample, mid);
        L.texts.push_back(
            Box(QRectF(x + sample + sampleGap, mid - e.size.height() / 2, e.size.width(), e.size.height()), e.lines,
                s.legendPt, Qt::AlignLeft));
        x += e.width + spacing;
      }
      top += height;
      i = end;
    }
    top += gap;
  }

  // From the bottom up: the x caption, the x tick labels, the ticks.
  double bottom = H - m;
  QStringList xCaption;
  QSizeF xCaptionSize;
  if (!t.xCaption.isEmpty()) {
    xCaption = WrapFigureText(t.xCaption, s.captionPt, W - 2 * m);
    xCaptionSize = FigureTextSize(xCaption, s.captionPt);
    bottom -= xCaptionSize.height() + gap;
  }
  // The x labels stand below the ticks and clear of the y labels' lowest,
  // which stands half below the axis.
  const double labelDrop = std::max(s.tickLengthPt + gap / 2, tickH / 2 + 0.5);
  bottom -= tickH + labelDrop;
  // The top y label stands half above the plot.
  const double plotTop = top + tickH / 2;
  const double plotBottom = std::max(plotTop + 1, bottom);
  const double plotHeight = plotBottom - plotTop;

  // The y axes: as many ticks as labels fit two heights apart.
  const int yTicks = std::clamp(static_cast<int>(plotHeight / (2.2 * tickH)), 2, 10);
  L.y = MakeAxis(t.yLo, t.yHi, yTicks, !t.exactY);
  if (t.rightAxis) {
    L.y2 = MakeAxis(t.y2Lo, t.y2Hi, yTicks, true);
  }

  // From the left: the y caption (reading upwards, wrapped to the plot's
  // height), the y tick labels, the ticks.
  double left = m;
  if (!t.yCaption.isEmpty()) {
    const auto [lines, pt] = FitCaption(t.yCaption, s, plotHeight);
    const QSizeF size = FigureTextSize(lines, pt);
    L.texts.push_back(Box(QRectF(left, plotTop + (plotHeight - size.width()) / 2, size.height(), size.width()), lines,
                          pt, Qt::AlignHCenter, -90));
    left += size.height() + gap;
  }
  left += WidestLabel(L.y, s.tickPt) + gap / 2 + s.tickLengthPt;
  // From the right: the second axis' caption (reading downwards) and labels,
  // or the comfort scale's words.
  double right = W - m;
  if (t.rightAxis) {
    if (!t.y2Caption.isEmpty()) {
      const auto [lines, pt] = FitCaption(t.y2Caption, s, plotHeight);
      const QSizeF size = FigureTextSize(lines, pt);
      L.texts.push_back(
          Box(QRectF(right - size.height(), plotTop + (plotHeight - size.width()) / 2, size.height(), size.width()),
              lines, pt, Qt::AlignHCenter, 90));
      right -= size.height() + gap;
    }
    right -= WidestLabel(L.y2, s.tickPt) + gap / 2 + s.tickLengthPt;
  }
  double bandWidth = 0;
  for (const ChartFigureText::BandLabel& b : t.bandLabels) {
    bandWidth = std::max(bandWidth, FigureTextWidth(b.text, s.tickPt));
  }
  if (bandWidth > 0) {
    right -= bandWidth + gap;
  }
  // The first x label centred under the y axis stays on the page too.
  if (const FigureAxis probe = MakeAxis(t.xLo, t.xHi, 10, false);
      !probe.labels.empty() && probe.ticks.front() == probe.lo) {
    left = std::max(left, m + FigureTextWidth(probe.labels.front(), s.tickPt) / 2);
  }
  right = std::max(right, left + 1);
  L.x = PlaceXAxis(t, s, W, left, right);
  L.plot = QRectF(QPointF(left, plotTop), QPointF(right, plotBottom));

  // The tick labels.
  const double labelTop = plotBottom + labelDrop;
  for (std::size_t i = 0; i < L.x.ticks.size(); ++i) {
    const double w = FigureTextWidth(L.x.labels[i], s.tickPt);
    L.texts.push_back(
        Box(QRectF(L.Column(L.x.ticks[i]) - w / 2, labelTop, w, tickH), {L.x.labels[i]}, s.tickPt, Qt::AlignHCenter));
  }
  auto yLabels = [&](const FigureAxis& a, bool onRight) {
    for (std::size_t i = 0; i < a.ticks.size(); ++i) {
      const double w = FigureTextWidth(a.labels[i], s.tickPt), y = L.Row(a, a.ticks[i]);
      const double x = onRight ? right + s.tickLengthPt + gap / 2 : left - s.tickLengthPt - gap / 2 - w;
      L.texts.push_back(
          Box(QRectF(x, y - tickH / 2, w, tickH), {a.labels[i]}, s.tickPt, onRight ? Qt::AlignLeft : Qt::AlignRight));
    }
  };
  yLabels(L.y, false);
  if (t.rightAxis) {
    yLabels(L.y2, true);
  }
  // The comfort scale's words beside the plot, moved apart where the plot
  // is too low for them to stand at their own heights.
  std::vector<ChartFigureText::BandLabel> words = t.bandLabels;
  std::stable_sort(words.begin(), words.end(), [](const auto& a, const auto& b) { return a.fromTop < b.fromTop; });
  double below = plotTop - tickH;
  for (const ChartFigureText::BandLabel& b : words) {
    const double w = FigureTextWidth(b.text, s.tickPt);
    const double y = std::max(plotTop + b.fromTop * plotHeight - tickH / 2, below);
    L.texts.push_back(Box(QRectF(right + gap, y, w, tickH), {b.text}, s.tickPt, Qt::AlignLeft));
    below = y + tickH;
  }
  // Each marked span's name over its middle, wrapped to the span's width.
  for (const ChartFigureText::Section& sec : t.sections) {
    const double from = std::max(L.plot.left(), L.Column(sec.from)), to = std::min(L.plot.right(), L.Column(sec.to));
    if (to < L.plot.left() || from > L.plot.right() || sec.name.isEmpty()) {
      continue;
    }
    const QStringList lines = WrapFigureText(sec.name, s.tickPt, std::max(to - from, 4 * s.tickPt));
    const QSizeF size = FigureTextSize(lines, s.tickPt);
    const double x = std::clamp((from + to) / 2 - size.width() / 2, L.plot.left(),
                                std::max(L.plot.left(), L.plot.right() - size.width()));
    L.texts.push_back(
        Box(QRectF(x, L.plot.top() + gap / 2, size.width(), size.height()), lines, s.tickPt, Qt::AlignHCenter));
  }
  if (!xCaption.isEmpty()) {
    const double x = std::clamp(L.plot.center().x() - xCaptionSize.width() / 2, m, W - m - xCaptionSize.width());
    L.texts.push_back(Box(QRectF(x, H - m - xCaptionSize.height(), xCaptionSize.width(), xCaptionSize.height()),
                          xCaption, s.captionPt, Qt::AlignHCenter));
  }
  return L;
}
