#pragma once
// Where a movie's frames go: an encoder that writes an H.264 MP4 whole or
// not at all. The viewer hands its frames to an encoder program of its own
// (CMovieEncoderProcess), so that it never loads the video libraries and
// their many codecs itself; that program encodes them in its process
// (CMovieEncoder).

#include <QImage>
#include <QSize>
#include <QString>

class IMovieSink {
 public:
  enum class OpenResult { Ok, SizeRefused, CannotWrite };

  virtual ~IMovieSink() = default;
  // Prepares a movie of `size` (both even) at `fps` frames a second, to be
  // named `path`. SizeRefused: the encoder takes no picture of that size;
  // CannotWrite: no file can be made beside `path`. `error` says which.
  virtual OpenResult Open(const QString& path, QSize size, int fps, QString* error) = 0;
  // The next frame (a picture of another size is scaled). False, with
  // `error` set, when encoding fails.
  virtual bool AddFrame(const QImage& frame, QString* error) = 0;
  // Flushes the encoder, closes the file and gives it its name.
  virtual bool Finish(QString* error) = 0;
  // Closes and removes what was written; nothing remains.
  virtual void Abandon() = 0;
};
