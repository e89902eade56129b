#pragma once
// Builds run folders for tests in a temporary directory.

#include <QString>
#include <QTemporaryDir>
#include <string>

class CRunFolder {
 public:
  CRunFolder();
  // Writes `content` to `name` in the folder (bytes as given).
  void Write(const QString& name, const std::string& content);
  void Remove(const QString& name);
  // The folder, ending with a separator.
  QString Dir() const { return m_dir.path() + QLatin1Char('/'); }

  // A minimal valid run: one phase (parts clothed per `clothed`), `samples`
  // body samples, comfort rows, ids; no fabric files.
  void WriteMinimal(int samples = 2, const char* clothed = "0\t0\t0\t0\t0\t0");

 private:
  QTemporaryDir m_dir;
};

// One body sample's six rows at `time`, skin temperature `skin`.
std::string BodyRows(float time, float skin = 33.0f, float core = 37.0f);

#include "SimulationData.h"

// A run folder loaded into a store, with the messages the load gave.
struct LoadedRun {
  CRecordingMessageSink messages;
  CSimulationData data;
  bool ok = false;
  explicit LoadedRun(const QString& dir) {
    data.SetMessageSink(&messages);
    ok = data.Load(dir);
  }
  // Messages of `caption` (and `text`, unless it is null).
  int Count(const QString& caption, const QString& text = QString()) const {
    int n = 0;
    for (const auto& m : messages.Entries()) {
      n += m.caption == caption && (text.isNull() || m.text == text);
    }
    return n;
  }
  bool Says(const QString& caption, const QString& text) const { return Count(caption, text) > 0; }
};
