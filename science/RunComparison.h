#pragma once
// Two runs side by side: the names their curves and columns carry.

#include <QChar>
#include <QString>
#include <utility>

// The names of two runs' folders as their legends and columns show them:
// each folder's name, or, where both folders have the same name, the name
// with its parent folder ("a/output" and "b/output").
std::pair<QString, QString> RunLabels(const QString& firstDir, const QString& secondDir);

// A field of delimited text: as it is, or quoted (quotes doubled) where it
// holds the separator, a quote or a line break.
QString DelimitedField(const QString& text, QChar separator);
