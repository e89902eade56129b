#include "MovieEncoderProcess.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <utility>

#include "LockedTemporary.h"

extern char** environ;

namespace {
void CloseFd(int& fd) {
  if (fd >= 0) {
    close(fd);
    fd = -1;
  }
}

// Everything left to read from `fd` (until its end).
QByteArray ReadToEnd(int fd) {
  QByteArray all;
  char buffer[4096];
  for (;;) {
    const ssize_t n = read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) {
      continue;
    }
    if (n <= 0) {
      return all;
    }
    all.append(buffer, static_cast<qsizetype>(n));
  }
}
}  // namespace

namespace {
// One line from `fd` (its end ends it too); the program writes no more.
QByteArray ReadLine(int fd) {
  QByteArray line;
  char c = 0;
  for (;;) {
    const ssize_t n = read(fd, &c, 1);
    if (n < 0 && errno == EINTR) {
      continue;
    }
    if (n <= 0 || c == '\n') {
      return line;
    }
    line.append(c);
  }
}
}  // namespace

CMovieEncoderProcess::CMovieEncoderProcess(QString program) : m_program(std::move(program)) {}

CMovieEncoderProcess::~CMovieEncoderProcess() { Abandon(); }

IMovieSink::OpenResult CMovieEncoderProcess::Open(const QString& path, QSize size, int fps, QString* error) {
  Abandon();
  m_path = path;
  m_size = size;
  // The frames go through a socket, not a pipe: a send to a program that
  // has gone fails with an error instead of raising SIGPIPE in the viewer.
  int input[2] = {-1, -1}, output[2] = {-1, -1}, errors[2] = {-1, -1};
  if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, input) != 0 || pipe2(output, O_CLOEXEC) != 0 ||
      pipe2(errors, O_CLOEXEC) != 0) {
    for (int fd : {input[0], input[1], output[0], output[1], errors[0], errors[1]}) {
      CloseFd(fd);
    }
    *error = QStringLiteral("cannot start the movie encoder");
    return OpenResult::CannotWrite;
  }
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, input[1], STDIN_FILENO);
  posix_spawn_file_actions_adddup2(&actions, output[1], STDOUT_FILENO);
  posix_spawn_file_actions_adddup2(&actions, errors[1], STDERR_FILENO);
  const QByteArray program = QFile::encodeName(m_program), file = QFile::encodeName(path);
  const QByteArray width = QByteArray::number(size.width()), height = QByteArray::number(size.height()),
                   rate = QByteArray::number(fps);
  char* argv[] = {const_cast<char*>(program.constData()), const_cast<char*>(file.constData()),
                  const_cast<char*>(width.constData()),   const_cast<char*>(height.constData()),
                  const_cast<char*>(rate.constData()),    nullptr};
  const int spawned = posix_spawn(&m_pid, program.constData(), &actions, nullptr, argv, environ);
  posix_spawn_file_actions_destroy(&actions);
  close(input[1]);
  close(output[1]);
  close(errors[1]);
  m_input = input[0];
  m_output = output[0];
  m_errors = errors[0];
  if (spawned != 0) {
    m_pid = -1;
    Abandon();
    *error = QStringLiteral("cannot start the movie encoder \"%1\"").arg(m_program);
    return OpenResult::CannotWrite;
  }
  // "ok" once the movie is open; else the program ends and says why.
  const QByteArray answer = ReadLine(m_output).trimmed();
  if (answer == "ok") {
    return OpenResult::Ok;
  }
  QString said;
  const int code = Wait(&said);
  *error = said.isEmpty() ? QStringLiteral("the movie encoder failed") : said;
  return code == 2 ? OpenResult::SizeRefused : OpenResult::CannotWrite;
}

bool CMovieEncoderProcess::Send(const void* data, std::size_t size) {
  const auto* p = static_cast<const char*>(data);
  while (size > 0) {
    const ssize_t n = send(m_input, p, size, MSG_NOSIGNAL);
    if (n < 0 && errno == EINTR) {
      continue;
    }
    if (n <= 0) {
      return false;
    }
    p += n;
    size -= static_cast<std::size_t>(n);
  }
  return true;
}

bool CMovieEncoderProcess::AddFrame(const QImage& image, QString* error) {
  if (m_pid < 0) {
    *error = QStringLiteral("no movie is open");
    return false;
  }
  QImage frame = image.size() == m_size ? image : image.scaled(m_size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  // Opaque pictures in these formats are already the 0xffRRGGBB words the
  // program reads.
  if (frame.format() != QImage::Format_RGB32 && frame.format() != QImage::Format_ARGB32_Premultiplied) {
    frame = frame.convertToFormat(QImage::Format_RGB32);
  }
  const char tag = 'F';
  const auto row = static_cast<std::size_t>(m_size.width()) * 4;
  bool sent = Send(&tag, 1);
  for (int y = 0; sent && y < m_size.height(); ++y) {
    sent = Send(frame.constScanLine(y), row);
  }
  if (!sent) {
    QString said;
    Wait(&said);
    *error = said.isEmpty() ? QStringLiteral("the movie encoder stopped") : said;
    return false;
  }
  return true;
}

bool CMovieEncoderProcess::Finish(QString* error) {
  if (m_pid < 0) {
    *error = QStringLiteral("no movie is open");
    return false;
  }
  const char tag = 'E';
  const bool sent = Send(&tag, 1);
  QString said;
  const int code = Wait(&said);
  if (!sent || code != 0) {
    *error = said.isEmpty() ? QStringLiteral("the movie encoder failed") : said;
    return false;
  }
  return true;
}

void CMovieEncoderProcess::Abandon() {
  // The program sees its input end without a finish, and removes its file.
  if (m_pid >= 0) {
    Wait(nullptr);
  }
  CloseFd(m_input);
  CloseFd(m_output);
  CloseFd(m_errors);
}

int CMovieEncoderProcess::Wait(QString* said) {
  CloseFd(m_input);
  const QByteArray text = m_errors >= 0 ? ReadToEnd(m_errors) : QByteArray();
  int status = 0;
  while (waitpid(m_pid, &status, 0) < 0 && errno == EINTR) {
  }
  m_pid = -1;
  CloseFd(m_output);
  CloseFd(m_errors);
  if (!WIFEXITED(status)) {
    // Killed before it could clean up: its part file holds no lock now.
    const QFileInfo target(m_path);
    RemoveAbandonedTemporaries(target.absolutePath(), target.fileName() + QLatin1Char('.'), QStringLiteral(".part"));
  }
  if (said) {
    *said = QString::fromLocal8Bit(text).trimmed();
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}
