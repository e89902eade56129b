// corvane-encode FILE WIDTH HEIGHT FPS: the viewer's movie encoder, a program
// of its own so that the viewer never loads the video libraries. It opens
// the movie and says "ok" on standard output (or why not on standard error,
// exit 2 for a size the encoder refuses, 1 for a file it cannot make), then
// reads frames from standard input: 'F' and WIDTH × HEIGHT × 4 bytes of a
// 32-bit RGB picture (0xffRRGGBB words in the machine's order), until 'E',
// which finishes the movie (exit 0, or 1 and why). Input that ends without
// 'E' (the viewer cancelled, or went) abandons it: no file remains (exit 3).
// SIGINT, SIGTERM or SIGHUP (Ctrl+C in a terminal, `timeout`, a scheduler's
// cancel, all sent to the whole process group) remove the part file before
// the program ends by that signal.

#include <signal.h>
#include <unistd.h>

#include <QFile>
#include <QImage>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "MovieEncoder.h"

namespace {
// Reads exactly `size` bytes; false at the input's end or on an error.
bool ReadAll(void* into, std::size_t size) {
  auto* p = static_cast<char*>(into);
  while (size > 0) {
    const ssize_t n = read(STDIN_FILENO, p, size);
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

int Fail(const QString& error, int code) {
  std::fprintf(stderr, "%s\n", qPrintable(error));
  return code;
}

// The part file, for the signal handler: set while the signals are blocked.
char g_partPath[4096];

void RemovePartAndEnd(int sig) {
  if (g_partPath[0] != '\0') {
    ::unlink(g_partPath);
  }
  // SA_RESETHAND has made the signal's action the default again.
  ::raise(sig);
}

constexpr int kStopSignals[] = {SIGINT, SIGTERM, SIGHUP};

sigset_t StopSignals() {
  sigset_t set;
  sigemptyset(&set);
  for (int sig : kStopSignals) {
    sigaddset(&set, sig);
  }
  return set;
}
}  // namespace

int main(int argc, char** argv) {
  if (argc != 5) {
    std::fprintf(stderr, "usage: corvane-encode FILE WIDTH HEIGHT FPS\n");
    return 2;
  }
  const QString path = QString::fromLocal8Bit(argv[1]);
  const int width = std::atoi(argv[2]), height = std::atoi(argv[3]), fps = std::atoi(argv[4]);
  if (width < 2 || height < 2 || width > 16384 || height > 16384 || fps < 1 || fps > 1000) {
    return Fail(
        QStringLiteral("the encoder refuses a movie of %1x%2 at %3 frames a second").arg(width).arg(height).arg(fps),
        2);
  }
  // A viewer that has gone makes writing to it fail, not end this program
  // with its part file left behind.
  ::signal(SIGPIPE, SIG_IGN);
  // No stop signal between the part file's making and its handler's knowing it.
  const sigset_t stops = StopSignals();
  sigset_t before;
  ::sigprocmask(SIG_BLOCK, &stops, &before);
  CMovieEncoder encoder;
  QString error;
  const IMovieSink::OpenResult opened = encoder.Open(path, QSize(width, height), fps, &error);
  if (opened == IMovieSink::OpenResult::Ok) {
    const QByteArray part = QFile::encodeName(encoder.PartPath());
    if (static_cast<std::size_t>(part.size()) < sizeof g_partPath) {
      std::memcpy(g_partPath, part.constData(), static_cast<std::size_t>(part.size()) + 1);
    }
    struct sigaction action {};
    action.sa_handler = RemovePartAndEnd;
    action.sa_flags = SA_RESETHAND | SA_NODEFER;
    sigemptyset(&action.sa_mask);
    for (int sig : kStopSignals) {
      // A signal the viewer ignores (nohup, a background job's Ctrl+C) the
      // encoder ignores too: it is no stop of the movie.
      struct sigaction old {};
      if (::sigaction(sig, nullptr, &old) == 0 && old.sa_handler == SIG_IGN) {
        continue;
      }
      ::sigaction(sig, &action, nullptr);
    }
  }
  ::sigprocmask(SIG_SETMASK, &before, nullptr);
  switch (opened) {
    case IMovieSink::OpenResult::Ok:
      break;
    case IMovieSink::OpenResult::SizeRefused:
      return Fail(error, 2);
    case IMovieSink::OpenResult::CannotWrite:
      return Fail(error, 1);
  }
  std::fputs("ok\n", stdout);
  std::fflush(stdout);
  QImage frame(width, height, QImage::Format_RGB32);
  const std::size_t bytes = static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4;
  for (;;) {
    char tag = 0;
    if (!ReadAll(&tag, 1)) {
      encoder.Abandon();
      return 3;
    }
    if (tag == 'E') {
      return encoder.Finish(&error) ? 0 : Fail(error, 1);
    }
    if (tag != 'F' || !ReadAll(frame.bits(), bytes)) {
      encoder.Abandon();
      return 3;
    }
    if (!encoder.AddFrame(frame, &error)) {
      encoder.Abandon();
      return Fail(error, 1);
    }
  }
}
