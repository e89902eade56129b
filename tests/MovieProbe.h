#pragma once
// Reading a movie back in tests, through the same video libraries that
// wrote it: its codec, size, frame rate and frames, and one frame decoded.

#include <QImage>
#include <QString>

struct MovieFacts {
  bool opened = false;
  QString codec;      // "h264"
  QString container;  // the demuxer's names, "mov,mp4,m4a,3gp,3g2,mj2"
  int width = 0, height = 0;
  double fps = 0;
  int frames = 0;  // counted packet by packet, not the header's claim
};

MovieFacts ProbeMovie(const QString& path);
// Frame `index` (from 0) decoded to RGB32; null when there is none.
QImage DecodeMovieFrame(const QString& path, int index);
