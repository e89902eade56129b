#include "GermanLocale.h"

#include <QDir>
#include <QProcess>
#include <QStandardPaths>

#include <clocale>
#include <cstdlib>

QString PrepareGermanLocale() {
  const char* old = std::setlocale(LC_ALL, nullptr);
  const std::string saved = old ? old : "C";
  if (std::setlocale(LC_ALL, kGermanLocale)) {
    std::setlocale(LC_ALL, saved.c_str());
    return QStringLiteral("");
  }
  const QString dir = QDir::tempPath() + QStringLiteral("/corvane-locales");
  QDir().mkpath(dir);
  if (!QFile::exists(dir + QStringLiteral("/de_DE.UTF-8"))) {
    QProcess::execute(QStringLiteral("localedef"),
                      {QStringLiteral("-i"), QStringLiteral("de_DE"), QStringLiteral("-f"), QStringLiteral("UTF-8"),
                       dir + QStringLiteral("/de_DE.UTF-8")});
  }
  setenv("LOCPATH", dir.toLocal8Bit().constData(), 1);
  if (std::setlocale(LC_ALL, kGermanLocale)) {
    std::setlocale(LC_ALL, saved.c_str());
    return dir;
  }
  return QString();
}
