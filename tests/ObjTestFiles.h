#pragma once
// Writes OBJ/MTL text to files for reader tests.

#include <QTemporaryDir>
#include <string>

class CObjFiles {
 public:
  // Writes `text` to `name` in a temporary folder; returns its path.
  std::string Write(const std::string& name, const std::string& text);
  std::string Dir() const { return m_dir.path().toStdString() + "/"; }

 private:
  QTemporaryDir m_dir;
};
