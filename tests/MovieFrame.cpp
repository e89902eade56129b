// movie_frame MOVIE INDEX PNG: decodes frame INDEX (from 0) of MOVIE, through
// the video libraries the tests read movies with, and writes it as PNG.
// Exit 0 when written, 1 when the movie has no such frame or the file cannot
// be written, 2 on a usage error.

#include <QImage>
#include <QString>
#include <cstdio>
#include <cstdlib>

#include "MovieProbe.h"

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: movie_frame MOVIE INDEX PNG\n");
    return 2;
  }
  const QString movie = QString::fromLocal8Bit(argv[1]);
  const int index = std::atoi(argv[2]);
  const QImage frame = DecodeMovieFrame(movie, index);
  if (frame.isNull()) {
    std::fprintf(stderr, "movie_frame: %s has no frame %d\n", argv[1], index);
    return 1;
  }
  if (!frame.save(QString::fromLocal8Bit(argv[3]), "PNG")) {
    std::fprintf(stderr, "movie_frame: cannot write %s\n", argv[3]);
    return 1;
  }
  return 0;
}
