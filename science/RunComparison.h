#pragma once
// Several runs side by side: how many a view compares, and the names their
// curves and columns carry.

#include <QChar>
#include <QString>
#include <vector>

// The most runs one chart compares: the first and seven beside it, each in
// a colour and a line style of its own.
constexpr int kMaxRuns = 8;

// The names of the runs' folders as their legends and columns show them:
// each folder's name; where several folders have the same name, those with
// their parent folder ("a/output" and "b/output"); a name still shared (one
// run twice) numbered from its second place on ("output (2)").
std::vector<QString> RunLabels(const std::vector<QString>& dirs);

class CSimulationData;
// The same for the runs loaded in `first` and then `others`, in that order.
std::vector<QString> RunLabels(const CSimulationData& first, const std::vector<const CSimulationData*>& others);

// The runs' names as a sentence: "a", "a and b", "a, b and c".
QString RunList(const std::vector<QString>& names);

// A field of delimited text: as it is, or quoted (quotes doubled) where it
// holds the separator, a quote or a line break.
QString DelimitedField(const QString& text, QChar separator);
