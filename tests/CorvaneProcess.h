#pragma once
// The program run as a user runs it, in a process of its own: its exit code
// (-1 when it crashed) and what it wrote.

#include <gtest/gtest.h>

#include <QProcess>
#include <QProcessEnvironment>
#include <QStringList>

struct ProcessResult {
  int exitCode = -1;
  QByteArray out, err;
};

inline ProcessResult RunCorvane(const QStringList& args,
                                const QProcessEnvironment& env = QProcessEnvironment::systemEnvironment()) {
  QProcess p;
  p.setProcessEnvironment(env);
  p.start(qEnvironmentVariable("CORVANE_BIN"), args);
  EXPECT_TRUE(p.waitForFinished(240000)) << args.join(' ').toStdString();
  return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, p.readAllStandardOutput(),
          p.readAllStandardError()};
}
