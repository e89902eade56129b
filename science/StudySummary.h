#pragma once
// The figures a study of several runs tabulates, one row per run: for each
// part the skin and core temperature at the end and at their lowest and
// highest (value and minute), the time-weighted mean comfort rating, the
// minutes spent in each thermal-sensation band, and the sweat accumulated at
// the end. Holes count nowhere: a stretch between two samples counts for a
// band, and for the mean, only when both hold a value.

#include <QString>
#include <QStringList>
#include <vector>

class CExactTables;
struct RunTables;

// A band of the thermal-sensation scale, as the comfort chart draws it
// behind the curve: its word and its values, lo <= v < hi (the top band
// takes its upper edge too).
struct SensationBand {
  QString name;
  double lo = 0, hi = 0;
};
const std::vector<SensationBand>& SensationBands();

// One time series: times in minutes, values NaN where the run holds none.
struct TimedValues {
  std::vector<double> times, values;
};

struct SeriesFigures {
  double end = 0;                     // at the last time (NaN: a hole there)
  double lowest = 0, lowestAt = 0;    // the first time it is lowest
  double highest = 0, highestAt = 0;  // the first time it is highest
};
SeriesFigures FiguresOf(const TimedValues& series);
// The mean over time, each stretch between two held samples weighted by its
// length (the trapezoid rule); NaN without such a stretch.
double TimeWeightedMean(const TimedValues& series);
// The minutes in each of SensationBands(), in their order.
std::vector<double> MinutesInBands(const TimedValues& series);

// The CSV's header and one row per run, with `label` naming the run; its
// figures from the files' own values when `exact` gives them.
QStringList StudyHeader();
QStringList StudyRow(const RunTables& run, const QString& label, const CExactTables* exact = nullptr);
// The whole CSV: the header and a row per run, lines ending "\n"; `exact`
// beside `runs`, or empty.
QString StudyCsv(const std::vector<const RunTables*>& runs, const QStringList& labels,
                 const std::vector<const CExactTables*>& exact = {});
