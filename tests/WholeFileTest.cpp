// Files written whole or not at all: a link at the target replaced, not
// written through; a device or a folder refused; a missing folder said; what
// a killed writer left removed, and never what a living one writes.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include "LockedTemporary.h"
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

// Two processes at once: a temporary that a living process writes is never
// taken by another's clean-up; once its writer is killed, the next clean-up
// (the next write to that file) removes it, and only the abandoned ones.
TEST(WholeFile, ACleanUpTakesOnlyWhatAKilledWriterLeft) {
  QTemporaryDir dir;
  const QString folder = dir.path();
  const QString prefix = QStringLiteral(".out.csv."), suffix = QStringLiteral(".corvane");
  int ready[2], hold[2];
  ASSERT_EQ(::pipe(ready), 0);
  ASSERT_EQ(::pipe(hold), 0);
  const pid_t writer = ::fork();
  ASSERT_GE(writer, 0);
  if (writer == 0) {
    // The other process: makes its temporary, says where, and writes on
    // until it is killed.
    CLockedTemporary mine;
    if (!mine.Create(folder, prefix, suffix)) {
      ::_exit(1);
    }
    const QByteArray path = QFile::encodeName(mine.Path());
    (void)!::write(ready[1], path.constData(), static_cast<std::size_t>(path.size()));
    ::close(ready[1]);
    char c;
    (void)!::read(hold[0], &c, 1);  // blocks until killed
    ::_exit(0);
  }
  ::close(ready[1]);
  ::close(hold[0]);
  char buffer[4096] = {};
  const ssize_t n = ::read(ready[0], buffer, sizeof buffer - 1);
  ::close(ready[0]);
  ASSERT_GT(n, 0);
  const QString living = QFile::decodeName(QByteArray(buffer, static_cast<int>(n)));
  // What a writer killed earlier left: a temporary without a lock.
  const QString abandoned = folder + QLatin1Char('/') + prefix + QStringLiteral("AbCd12") + suffix;
  // Another program's temporary of that name (rsync's ".out.csv.XXXXXX"),
  // without our suffix, is not ours to take.
  const QString rsync = folder + QLatin1Char('/') + prefix + QStringLiteral("XyZ789");
  ASSERT_TRUE(Write(rsync, "theirs"));
  ASSERT_TRUE(Write(abandoned, "half"));
  // A file of another name, and a link of the pattern's name: never taken.
  const QString other = folder + QStringLiteral("/.other.csv.AbCd12");
  ASSERT_TRUE(Write(other, "x"));
  const QString link = folder + QLatin1Char('/') + prefix + QStringLiteral("Link00") + suffix;
  ASSERT_TRUE(QFile::link(other, link));

  QString error;
  ASSERT_TRUE(WriteWholeFile(folder + QStringLiteral("/out.csv"), "whole\n", &error)) << error.toStdString();
  EXPECT_TRUE(QFile::exists(living)) << "the living writer's file stays";
  EXPECT_FALSE(QFile::exists(abandoned)) << "the abandoned one goes";
  EXPECT_TRUE(QFile::exists(other));
  EXPECT_TRUE(QFileInfo(link).isSymLink());

  ::kill(writer, SIGKILL);
  int status = 0;
  ASSERT_EQ(::waitpid(writer, &status, 0), writer);
  ::close(hold[1]);
  EXPECT_TRUE(QFile::exists(living)) << "killed: nothing removed it yet";
  EXPECT_EQ(RemoveAbandonedTemporaries(folder, prefix, suffix), 1);
  EXPECT_FALSE(QFile::exists(living));
  EXPECT_EQ(Read(folder + QStringLiteral("/out.csv")), QByteArray("whole\n"));
  EXPECT_TRUE(QFile::exists(rsync));
  EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden).size(), 4)
      << "out.csv, the other file, rsync's and the link";
}

// A name that reads as a wildcard pattern ("[1]", "*") is matched as it is.
TEST(WholeFile, ACleanUpMatchesNamesAsTheyAre) {
  QTemporaryDir dir;
  const QString left = dir.filePath(QStringLiteral("a[1].mp4.AbCd12.part"));
  const QString other = dir.filePath(QStringLiteral("a1.mp4.AbCd12.part"));
  ASSERT_TRUE(Write(left, "x"));
  ASSERT_TRUE(Write(other, "x"));
  EXPECT_EQ(RemoveAbandonedTemporaries(dir.path(), QStringLiteral("a[1].mp4."), QStringLiteral(".part")), 1);
  EXPECT_FALSE(QFile::exists(left));
  EXPECT_TRUE(QFile::exists(other));
}
