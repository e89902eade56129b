#include "StudySummary.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "BodyParts.h"
#include "CaptionTables.h"
#include "ChartLogic.h"
#include "ChartUnits.h"
#include "DataCsv.h"
#include "ExactTables.h"
#include "RunTables.h"

namespace {
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// A field as CSV has it: quoted where it holds a comma, a quote or a break.
QString Field(const QString& text) {
  if (!text.contains(QLatin1Char(',')) && !text.contains(QLatin1Char('"')) && !text.contains(QLatin1Char('\n'))) {
    return text;
  }
  QString quoted = text;
  quoted.replace(QLatin1String("\""), QLatin1String("\"\""));
  return QLatin1Char('"') + quoted + QLatin1Char('"');
}

// The body's quantities the study takes, by their place among the nine.
enum BodyQuantity { kSkin = 0, kCore = 1, kSweatAccum = 6 };
const float BodyPropertyRow::*const kBodyMembers[] = {
    &BodyPropertyRow::m_fSkinTemp,     &BodyPropertyRow::m_fCoreTemp,  &BodyPropertyRow::m_fMetabolism,
    &BodyPropertyRow::m_fSkinHumidity, &BodyPropertyRow::m_fBloodFlow, &BodyPropertyRow::m_fSweatRate,
    &BodyPropertyRow::m_fSweatAccum};

// Each value from the files' own (`exact`) when there are those, else from
// the store.
TimedValues BodySeries(const RunTables& run, int part, BodyQuantity q, const CExactTable* table) {
  TimedValues s;
  const bool full = table != nullptr && table->Rows() == run.m_body.size();
  // A hole stays in the series (a NaN value), so that it breaks the
  // stretches around it.
  for (int step = 0; step < run.m_nSamples; ++step) {
    const BodyPropertyRow* row = run.BodyRowAt(step, part);
    if (row == nullptr) {
      s.times.push_back(kNaN);
      s.values.push_back(kNaN);
      continue;
    }
    const std::size_t i = static_cast<std::size_t>(row - run.m_body.data());
    const double time = full ? table->At(i, ExactColumn::kBodyTime) : row->m_fTime;
    s.times.push_back(time);
    s.values.push_back(std::isnan(time) ? kNaN
                       : full           ? table->At(i, ExactColumn::kBodyFirstValue + q)
                                        : static_cast<double>(row->*kBodyMembers[q]));
  }
  return s;
}

// Comfort quantity q: 0 thermal sensation, 2 comfort.
TimedValues ComfortSeries(const RunTables& run, int part, int q, const CExactTable* table) {
  TimedValues s;
  const std::vector<ComfortRow>& rows = run.m_comfort[part];
  const bool full = table != nullptr && table->Rows() == rows.size();
  // On the comfort chart's scale, 0 to 100, as the chart draws them.
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const ComfortRow& row = rows[i];
    const double v = full     ? table->At(i, ExactColumn::kComfortFirstValue + q)
                     : q == 0 ? row.m_fThermal
                              : row.m_fComfort;
    const double t = full ? table->At(i, ExactColumn::kComfortTime) : row.m_fTime;
    s.times.push_back(t);
    s.values.push_back(std::isnan(t) || std::isnan(v) ? kNaN : std::clamp(v, 0.0, 100.0));
  }
  return s;
}

const int kTemperatures[2] = {0, 1};  // skin and core: the body's first two quantities
}  // namespace

const std::vector<SensationBand>& SensationBands() {
  // From the chart's own scale: 0 at the bottom, 100 at the top, each
  // band's lower edge a fraction from the top, its word the label inside it.
  static const std::vector<SensationBand> bands = [] {
    std::vector<SensationBand> out;
    double upper = 0;  // fraction from the top
    for (const ComfortBandEdge& edge : ComfortBandScale(BandMode::ThermalSensation)) {
      const double lower = edge.lower < 0 ? 1.0 : edge.lower;
      QString name;
      for (const ComfortLabelPlace& label : ComfortLabelPlaces(BandMode::ThermalSensation)) {
        if (label.at >= upper && label.at < lower) {
          name = QString::fromLatin1(label.text);
        }
      }
      out.push_back({name, 100.0 * (1.0 - lower), 100.0 * (1.0 - upper)});
      upper = lower;
    }
    return out;
  }();
  return bands;
}

SeriesFigures FiguresOf(const TimedValues& s) {
  SeriesFigures f{kNaN, kNaN, kNaN, kNaN, kNaN};
  if (!s.values.empty()) {
    f.end = s.values.back();
  }
  for (std::size_t i = 0; i < s.values.size(); ++i) {
    const double v = s.values[i];
    if (std::isnan(v)) {
      continue;
    }
    if (std::isnan(f.lowest) || v < f.lowest) {
      f.lowest = v;
      f.lowestAt = s.times[i];
    }
    if (std::isnan(f.highest) || v > f.highest) {
      f.highest = v;
      f.highestAt = s.times[i];
    }
  }
  return f;
}

double TimeWeightedMean(const TimedValues& s) {
  double area = 0, span = 0;
  for (std::size_t i = 1; i < s.values.size(); ++i) {
    const double a = s.values[i - 1], b = s.values[i], dt = s.times[i] - s.times[i - 1];
    if (std::isnan(a) || std::isnan(b) || !(dt > 0)) {
      continue;
    }
    area += (a + b) / 2 * dt;
    span += dt;
  }
  return span > 0 ? area / span : kNaN;
}

std::vector<double> MinutesInBands(const TimedValues& s) {
  const std::vector<SensationBand>& bands = SensationBands();
  auto bandOf = [&](double v) {
    for (std::size_t b = 0; b < bands.size(); ++b) {
      const bool top = bands[b].hi >= 100.0;
      if (v >= bands[b].lo && (v < bands[b].hi || (top && v <= bands[b].hi))) {
        return static_cast<int>(b);
      }
    }
    return -1;  // off the scale, or a hole
  };
  std::vector<double> minutes(bands.size(), 0.0);
  for (std::size_t i = 1; i < s.values.size(); ++i) {
    const int a = bandOf(s.values[i - 1]), b = bandOf(s.values[i]);
    const double dt = s.times[i] - s.times[i - 1];
    if (a >= 0 && a == b && dt > 0) {
      minutes[static_cast<std::size_t>(a)] += dt;
    }
  }
  return minutes;
}

QStringList StudyHeader() {
  QStringList h{QStringLiteral("Run")};
  for (const char* partName : kBodyPartNames) {
    const QString part = QLatin1String(partName) + QStringLiteral(": ");
    for (const int q : kTemperatures) {
      const QString name = PropertyName(OptionKind::Body, q);
      const QString what = WithoutUnit(name), unit = UnitOf(name);
      h << part + what + QStringLiteral(" at end(") + unit + QLatin1Char(')')
        << part + what + QStringLiteral(" lowest(") + unit + QLatin1Char(')')
        << part + what + QStringLiteral(" lowest at(min)")
        << part + what + QStringLiteral(" highest(") + unit + QLatin1Char(')')
        << part + what + QStringLiteral(" highest at(min)");
    }
    h << part + QStringLiteral("Comfort time-weighted mean(0-100)");
    for (const SensationBand& b : SensationBands()) {
      h << part + QStringLiteral("Thermal Sensation ") + b.name + QStringLiteral("(min)");
    }
    const QString sweat = PropertyName(OptionKind::Body, 6);
    h << part + WithoutUnit(sweat) + QStringLiteral(" at end(") + UnitOf(sweat) + QLatin1Char(')');
  }
  return h;
}

QStringList StudyRow(const RunTables& run, const QString& label, const CExactTables* exact) {
  // Figures of the files' own values are written in full; those of the
  // store's floats (no such table) at a float's precision, as they were read.
  auto number = [](double v, const CExactTable* from) { return CsvNumber(v, from != nullptr); };
  const CExactTable* body = ExactBodyOf(exact, run);
  QStringList row{label};
  for (int p = 0; p < kBodyPartCount; ++p) {
    const CExactTable* comfort = ExactComfortOf(exact, run, p);
    for (const BodyQuantity q : {kSkin, kCore}) {
      const SeriesFigures f = FiguresOf(BodySeries(run, p, q, body));
      row << number(f.end, body) << number(f.lowest, body) << number(f.lowestAt, body) << number(f.highest, body)
          << number(f.highestAt, body);
    }
    row << number(TimeWeightedMean(ComfortSeries(run, p, 2, comfort)), comfort);
    for (const double m : MinutesInBands(ComfortSeries(run, p, 0, comfort))) {
      row << number(m, comfort);
    }
    row << number(FiguresOf(BodySeries(run, p, kSweatAccum, body)).end, body);
  }
  return row;
}

QString StudyCsv(const std::vector<const RunTables*>& runs, const QStringList& labels,
                 const std::vector<const CExactTables*>& exact) {
  auto line = [](const QStringList& fields) {
    QStringList quoted;
    for (const QString& f : fields) {
      quoted << Field(f);
    }
    return quoted.join(QLatin1Char(',')) + QLatin1Char('\n');
  };
  QString out = line(StudyHeader());
  for (std::size_t i = 0; i < runs.size(); ++i) {
    out += line(StudyRow(*runs[i], labels.value(static_cast<qsizetype>(i)), i < exact.size() ? exact[i] : nullptr));
  }
  return out;
}
