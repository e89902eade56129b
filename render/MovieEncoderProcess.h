#pragma once
// A movie encoded by the encoder program (corvane-encode) in a process of
// its own: the frames go to it through a socket, and what it says comes
// back as this sink's results. If the viewer abandons the movie, or ends
// without finishing it, the program sees its input end and leaves no file;
// if the program is killed, the viewer removes the part file it left.

#include <sys/types.h>

#include "MovieSink.h"

class CMovieEncoderProcess : public IMovieSink {
 public:
  // `program`: the encoder program's path.
  explicit CMovieEncoderProcess(QString program);
  ~CMovieEncoderProcess() override;
  CMovieEncoderProcess(const CMovieEncoderProcess&) = delete;
  CMovieEncoderProcess& operator=(const CMovieEncoderProcess&) = delete;

  OpenResult Open(const QString& path, QSize size, int fps, QString* error) override;
  bool AddFrame(const QImage& frame, QString* error) override;
  bool Finish(QString* error) override;
  void Abandon() override;
  // The running program's process id (-1 when none), for the tests that stop it.
  pid_t Pid() const { return m_pid; }

 private:
  // Waits for the program's end: its exit code (-1 when it did not exit),
  // and what it wrote on standard error in `said`.
  int Wait(QString* said);
  bool Send(const void* data, std::size_t size);

  QString m_program;
  QString m_path;  // the movie asked for
  QSize m_size;
  pid_t m_pid = -1;
  int m_input = -1;   // our end of its standard input
  int m_output = -1;  // its standard output
  int m_errors = -1;  // its standard error
};
