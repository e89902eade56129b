#include "MovieEncoder.h"

#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstring>

#include "LockedTemporary.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/error.h>
#include <libavutil/imgutils.h>
#include <libavutil/opt.h>
#include <libswscale/swscale.h>
}

namespace {
struct FormatDeleter {
  void operator()(AVFormatContext* f) const {
    if (f->pb) {
      avio_closep(&f->pb);
    }
    avformat_free_context(f);
  }
};
struct CodecDeleter {
  void operator()(AVCodecContext* c) const { avcodec_free_context(&c); }
};
struct FrameDeleter {
  void operator()(AVFrame* f) const { av_frame_free(&f); }
};
struct PacketDeleter {
  void operator()(AVPacket* p) const { av_packet_free(&p); }
};
struct ScaleDeleter {
  void operator()(SwsContext* s) const { sws_freeContext(s); }
};

QString AvError(int code) {
  char text[AV_ERROR_MAX_STRING_SIZE] = {};
  av_strerror(code, text, sizeof text);
  return QString::fromLocal8Bit(text);
}
}  // namespace

struct CMovieEncoder::Impl {
  std::unique_ptr<AVFormatContext, FormatDeleter> format;
  std::unique_ptr<AVCodecContext, CodecDeleter> codec;
  std::unique_ptr<AVFrame, FrameDeleter> frame;
  std::unique_ptr<AVPacket, PacketDeleter> packet;
  std::unique_ptr<SwsContext, ScaleDeleter> scale;
  QSize scaleFrom;
  AVStream* stream = nullptr;
  QString path;
  CLockedTemporary part;
  QSize size;
  std::int64_t nextPts = 0;
  int written = 0;
  bool headerWritten = false;

  // Sends `f` (null: the end) and writes every packet the encoder has ready.
  bool Encode(const AVFrame* f, QString* error) {
    int r = avcodec_send_frame(codec.get(), f);
    if (r < 0) {
      *error = QStringLiteral("the encoder took no frame (%1)").arg(AvError(r));
      return false;
    }
    for (;;) {
      r = avcodec_receive_packet(codec.get(), packet.get());
      if (r == AVERROR(EAGAIN) || r == AVERROR_EOF) {
        return true;
      }
      if (r < 0) {
        *error = QStringLiteral("the encoder failed (%1)").arg(AvError(r));
        return false;
      }
      // Each frame lasts one tick: the last one too, so the file's length
      // and frame rate come out whole.
      if (packet->duration == 0) {
        packet->duration = 1;
      }
      av_packet_rescale_ts(packet.get(), codec->time_base, stream->time_base);
      packet->stream_index = stream->index;
      r = av_interleaved_write_frame(format.get(), packet.get());
      if (r < 0) {
        *error = QStringLiteral("cannot write \"%1\" (%2)").arg(path, AvError(r));
        return false;
      }
    }
  }
};

CMovieEncoder::CMovieEncoder() : d(std::make_unique<Impl>()) {}

CMovieEncoder::~CMovieEncoder() { Abandon(); }

int CMovieEncoder::FramesWritten() const { return d->written; }

QString CMovieEncoder::PartPath() const { return d->part.Path(); }

CMovieEncoder::OpenResult CMovieEncoder::Open(const QString& path, QSize size, int fps, QString* error) {
  Abandon();
  d = std::make_unique<Impl>();
  d->path = path;
  // The libraries' own chatter (the encoder's settings and statistics) is
  // not for our users; what fails comes back as our messages.
  av_log_set_level(AV_LOG_ERROR);
  d->size = size;
  const AVCodec* h264 = avcodec_find_encoder_by_name("libx264");
  if (!h264) {
    h264 = avcodec_find_encoder(AV_CODEC_ID_H264);
  }
  if (!h264) {
    *error = QStringLiteral("this system's video libraries have no H.264 encoder");
    return OpenResult::CannotWrite;
  }
  d->codec.reset(avcodec_alloc_context3(h264));
  AVCodecContext* c = d->codec.get();
  c->width = size.width();
  c->height = size.height();
  c->time_base = AVRational{1, fps};
  c->framerate = AVRational{fps, 1};
  c->pix_fmt = AV_PIX_FMT_YUV420P;  // what every player plays
  c->gop_size = 2 * fps;            // a seek lands within two seconds
  // A good picture for talks at a speed above real time on two cores; the
  // legends' thin red text needs the quality (crf 20).
  av_opt_set(c->priv_data, "preset", "veryfast", 0);
  av_opt_set(c->priv_data, "crf", "20", 0);
  // MP4 keeps the stream's headers in the file's index, not in each packet.
  c->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
  if ((size.width() % 2) != 0 || (size.height() % 2) != 0 || size.width() < 2 || size.height() < 2) {
    *error = QStringLiteral("the encoder takes only even sizes, not %1x%2").arg(size.width()).arg(size.height());
    return OpenResult::SizeRefused;
  }
  if (const int r = avcodec_open2(c, h264, nullptr); r < 0) {
    *error = QStringLiteral("the encoder refuses a movie of %1x%2 at %3 frames a second (%4)")
                 .arg(size.width())
                 .arg(size.height())
                 .arg(fps)
                 .arg(AvError(r));
    d->codec.reset();
    return OpenResult::SizeRefused;
  }

  // A name of its own beside the movie, in the movie's folder so that the
  // final rename stays on one file system; first, what killed writers of
  // this movie left there.
  const QFileInfo target(path);
  const QString prefix = target.fileName() + QLatin1Char('.');
  RemoveAbandonedTemporaries(target.absolutePath(), prefix, QStringLiteral(".part"));
  if (!d->part.Create(target.absolutePath(), prefix, QStringLiteral(".part"))) {
    *error = QStringLiteral("cannot write \"%1\" (%2)").arg(path, QString::fromLocal8Bit(std::strerror(errno)));
    return OpenResult::CannotWrite;
  }
  AVFormatContext* f = nullptr;
  if (avformat_alloc_output_context2(&f, nullptr, "mp4", nullptr) < 0 || !f) {
    *error = QStringLiteral("this system's video libraries cannot write MP4");
    return OpenResult::CannotWrite;
  }
  d->format.reset(f);
  d->stream = avformat_new_stream(f, nullptr);
  if (!d->stream) {
    *error = QStringLiteral("out of memory");
    return OpenResult::CannotWrite;
  }
  d->stream->time_base = c->time_base;
  avcodec_parameters_from_context(d->stream->codecpar, c);
  // "file:" always: a name with a colon in it is a file, never another of
  // the libraries' protocols.
  const QByteArray url = QByteArrayLiteral("file:") + QFile::encodeName(d->part.Path());
  if (const int r = avio_open(&f->pb, url.constData(), AVIO_FLAG_WRITE); r < 0) {
    *error = QStringLiteral("cannot write \"%1\" (%2)").arg(path, AvError(r));
    return OpenResult::CannotWrite;
  }
  if (const int r = avformat_write_header(f, nullptr); r < 0) {
    *error = QStringLiteral("cannot write \"%1\" (%2)").arg(path, AvError(r));
    Abandon();
    return OpenResult::CannotWrite;
  }
  d->headerWritten = true;
  d->frame.reset(av_frame_alloc());
  d->packet.reset(av_packet_alloc());
  d->frame->format = c->pix_fmt;
  d->frame->width = c->width;
  d->frame->height = c->height;
  if (av_frame_get_buffer(d->frame.get(), 0) < 0) {
    *error = QStringLiteral("out of memory");
    Abandon();
    return OpenResult::CannotWrite;
  }
  return OpenResult::Ok;
}

bool CMovieEncoder::AddFrame(const QImage& image, QString* error) {
  if (!d->headerWritten) {
    *error = QStringLiteral("no movie is open");
    return false;
  }
  const QImage rgb = image.format() == QImage::Format_RGB32 || image.format() == QImage::Format_ARGB32
                         ? image
                         : image.convertToFormat(QImage::Format_RGB32);
  if (!d->scale || d->scaleFrom != rgb.size()) {
    // AV_PIX_FMT_RGB32 is the native-endian 0xAARRGGBB word, as QImage holds it.
    d->scale.reset(sws_getContext(rgb.width(), rgb.height(), AV_PIX_FMT_RGB32, d->size.width(), d->size.height(),
                                  AV_PIX_FMT_YUV420P, SWS_BICUBIC, nullptr, nullptr, nullptr));
    d->scaleFrom = rgb.size();
    if (!d->scale) {
      *error = QStringLiteral("cannot convert a %1x%2 picture").arg(rgb.width()).arg(rgb.height());
      return false;
    }
  }
  if (av_frame_make_writable(d->frame.get()) < 0) {
    *error = QStringLiteral("out of memory");
    return false;
  }
  const uint8_t* src[1] = {rgb.constBits()};
  const int srcStride[1] = {static_cast<int>(rgb.bytesPerLine())};
  sws_scale(d->scale.get(), src, srcStride, 0, rgb.height(), d->frame->data, d->frame->linesize);
  d->frame->pts = d->nextPts++;
  if (!d->Encode(d->frame.get(), error)) {
    return false;
  }
  ++d->written;
  return true;
}

bool CMovieEncoder::Finish(QString* error) {
  if (!d->headerWritten) {
    *error = QStringLiteral("no movie is open");
    return false;
  }
  if (!d->Encode(nullptr, error)) {
    Abandon();
    return false;
  }
  if (const int r = av_write_trailer(d->format.get()); r < 0) {
    *error = QStringLiteral("cannot write \"%1\" (%2)").arg(d->path, AvError(r));
    Abandon();
    return false;
  }
  const int closed = avio_closep(&d->format->pb);
  // To the disk, then renamed: an old movie of that name is replaced in one
  // step, and a link there is replaced itself.
  if (closed < 0 || !d->part.CommitTo(d->path)) {
    *error = QStringLiteral("cannot write \"%1\"").arg(d->path);
    Abandon();
    return false;
  }
  d->headerWritten = false;
  d->format.reset();
  d->codec.reset();
  return true;
}

void CMovieEncoder::Abandon() {
  if (!d) {
    return;
  }
  d->format.reset();  // closes the file
  d->codec.reset();
  d->part.Discard();
  d->headerWritten = false;
}
