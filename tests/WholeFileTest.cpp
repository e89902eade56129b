// Files written whole or not at all: a link at the target replaced, not
// written through; a device or a folder refused; a missing folder said.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "WholeFile.h"

namespace {
QByteArray Read(const QString& path) {
  QFile f(path);
  return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}
bool Write(const QString& path, const QByteArray& bytes) {
  QFile f(path);
  return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}
}  // namespace

TEST(WholeFile, ReplacesTheFileOrTheLinkAndRefusesWhatIsNoFile) {
  QTemporaryDir dir;
  const QString file = dir.filePath(QStringLiteral("out.csv"));
  QString error;
  ASSERT_TRUE(WriteWholeFile(file, "first\n", &error)) << error.toStdString();
  ASSERT_TRUE(WriteWholeFile(file, "second\n", &error)) << error.toStdString();
  EXPECT_EQ(Read(file), "second\n");
  EXPECT_EQ(QFileInfo(file).permissions() & QFile::ReadOwner, QFile::ReadOwner);

  // A link at the target: the link is replaced, what it named stays.
  const QString victim = dir.filePath(QStringLiteral("victim.txt")), link = dir.filePath(QStringLiteral("link.csv"));
  ASSERT_TRUE(Write(victim, "precious"));
  ASSERT_TRUE(QFile::link(victim, link));
  ASSERT_TRUE(WriteWholeFile(link, "figure", &error)) << error.toStdString();
  EXPECT_FALSE(QFileInfo(link).isSymLink());
  EXPECT_EQ(Read(link), "figure");
  EXPECT_EQ(Read(victim), "precious");

  // A device node (a FIFO here) or a folder at the target is refused, and left.
  const QString fifo = dir.filePath(QStringLiteral("pipe.png")), folder = dir.filePath(QStringLiteral("folder.png"));
  ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
  ASSERT_TRUE(QDir().mkdir(folder));
  for (const QString& target : {fifo, folder}) {
    EXPECT_FALSE(WriteWholeFile(target, "x", &error));
    EXPECT_EQ(error, QStringLiteral("cannot write %1: not a regular file").arg(target));
  }
  EXPECT_FALSE(QFileInfo(fifo).isFile());
  EXPECT_TRUE(QFileInfo(folder).isDir());

  // A folder that is not there: said, and nothing left behind.
  const QString absent = dir.filePath(QStringLiteral("absent/out.csv"));
  EXPECT_FALSE(WriteWholeFile(absent, "x", &error));
  EXPECT_EQ(error, QStringLiteral("cannot write %1: No such file or directory").arg(absent));
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System).size(), 4)
      << QDir(dir.path()).entryList(QDir::Files | QDir::Hidden | QDir::System).join(QLatin1Char(' ')).toStdString();
}
