#pragma once
// Pictures of one size encoded as an H.264 video in an MP4 file. The movie
// is written to a temporary file beside the one asked for (NAME.XXXXXX.part,
// held by this process's lock) and takes its name only when it is complete:
// a failed or abandoned movie leaves no file, and never half a movie in place
// of a good one. Part files of that name left by killed writers go when the
// next movie to it opens.

#include <memory>

#include "MovieSink.h"

class CMovieEncoder : public IMovieSink {
 public:
  CMovieEncoder();
  // A movie not finished is abandoned: its temporary file is removed.
  ~CMovieEncoder() override;
  CMovieEncoder(const CMovieEncoder&) = delete;
  CMovieEncoder& operator=(const CMovieEncoder&) = delete;

  // Prepares a movie of `size` (both even) at `fps` frames a second, to be
  // named `path`. SizeRefused: the encoder takes no picture of that size;
  // CannotWrite: no file can be made beside `path`. `error` says which.
  OpenResult Open(const QString& path, QSize size, int fps, QString* error) override;
  // The next frame; it is converted to the opened size's format (a picture of
  // another size is scaled). False, with `error` set, when encoding fails.
  bool AddFrame(const QImage& frame, QString* error) override;
  // Flushes the encoder, closes the file and gives it its name.
  bool Finish(QString* error) override;
  // Closes and removes what was written; nothing remains.
  void Abandon() override;

  int FramesWritten() const;
  // The temporary file being written (empty when none), for a handler that
  // must remove it when the process is stopped by a signal.
  QString PartPath() const;

 private:
  struct Impl;
  std::unique_ptr<Impl> d;
};
