#pragma once
// Qt's strings as GoogleTest prints them in a failure: their text, not their
// bytes. Every test file gets this through the build (-include).

#include <QByteArray>
#include <QString>
#include <ostream>

inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }
inline void PrintTo(const QByteArray& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }
