#include "RunFolder.h"

#include <QFile>
#include <cstdio>
#include <stdexcept>

CRunFolder::CRunFolder() {
  if (!m_dir.isValid()) {
    throw std::runtime_error("no temporary directory");
  }
}

void CRunFolder::Write(const QString& name, const std::string& content) {
  QFile f(Dir() + name);
  if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
    throw std::runtime_error("cannot write test file");
  }
  f.write(content.data(), static_cast<qint64>(content.size()));
}

void CRunFolder::Remove(const QString& name) { QFile::remove(Dir() + name); }

std::string BodyRows(float time, float skin, float core) {
  std::string s;
  char line[256];
  for (int p = 0; p < 6; ++p) {
    std::snprintf(line, sizeof line, "%.3f\t%d\t%.3f\t%.3f\t58\t0.40\t6.3\t%.2f\t0\t20\t1500\t\n", time, p,
                  skin + p * 0.1, core, 10.0 * p);
    s += line;
  }
  return s;
}

void CRunFolder::WriteMinimal(int samples, const char* clothed) {
  Write(QStringLiteral("configure.dat"),
        std::string("Selected model:2\n1\t25\t0.5\t0.1\t") + clothed + "\t10\t58\t25\n");
  std::string body;
  for (int s = 0; s < samples; ++s) {
    body += BodyRows(0.5f * static_cast<float>(s));
  }
  Write(QStringLiteral("bodyProperty.dat"), body);
  Write(QStringLiteral("BodyDataforComfort.dat"), "0\t0\t50\t20\t80\t\n0\t1\t55\t25\t75\t\n");
  Write(QStringLiteral("id.dat"), "model id:M1\nthe garment list:1\ngarment id:G1\n");
}
