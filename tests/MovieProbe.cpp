#include "MovieProbe.h"

#include <QFile>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libswscale/swscale.h>
}

namespace {
struct Input {
  AVFormatContext* format = nullptr;
  int stream = -1;
  explicit Input(const QString& path) {
    const QByteArray url = QByteArrayLiteral("file:") + QFile::encodeName(path);
    if (avformat_open_input(&format, url.constData(), nullptr, nullptr) < 0) {
      format = nullptr;
      return;
    }
    if (avformat_find_stream_info(format, nullptr) < 0) {
      return;
    }
    stream = av_find_best_stream(format, AVMEDIA_TYPE_VIDEO, -1, -1, nullptr, 0);
  }
  ~Input() {
    if (format) {
      avformat_close_input(&format);
    }
  }
  Input(const Input&) = delete;
  Input& operator=(const Input&) = delete;
  bool Ok() const { return format && stream >= 0; }
  AVCodecParameters* Parameters() const { return format->streams[stream]->codecpar; }
};
}  // namespace

MovieFacts ProbeMovie(const QString& path) {
  MovieFacts facts;
  Input in(path);
  if (!in.Ok()) {
    return facts;
  }
  facts.opened = true;
  facts.codec = QString::fromLatin1(avcodec_get_name(in.Parameters()->codec_id));
  facts.container = QString::fromLatin1(in.format->iformat->name);
  facts.width = in.Parameters()->width;
  facts.height = in.Parameters()->height;
  facts.fps = av_q2d(in.format->streams[in.stream]->avg_frame_rate);
  AVPacket* packet = av_packet_alloc();
  while (av_read_frame(in.format, packet) >= 0) {
    facts.frames += packet->stream_index == in.stream;
    av_packet_unref(packet);
  }
  av_packet_free(&packet);
  return facts;
}

QImage DecodeMovieFrame(const QString& path, int index) {
  Input in(path);
  if (!in.Ok()) {
    return {};
  }
  const AVCodec* decoder = avcodec_find_decoder(in.Parameters()->codec_id);
  AVCodecContext* codec = avcodec_alloc_context3(decoder);
  avcodec_parameters_to_context(codec, in.Parameters());
  QImage result;
  if (avcodec_open2(codec, decoder, nullptr) >= 0) {
    AVPacket* packet = av_packet_alloc();
    AVFrame* frame = av_frame_alloc();
    int seen = 0;
    bool more = true;
    while (result.isNull() && more) {
      more = av_read_frame(in.format, packet) >= 0;
      if (more && packet->stream_index != in.stream) {
        av_packet_unref(packet);
        continue;
      }
      avcodec_send_packet(codec, more ? packet : nullptr);  // null: drain what is held
      av_packet_unref(packet);
      while (result.isNull() && avcodec_receive_frame(codec, frame) >= 0) {
        if (seen++ == index) {
          result = QImage(frame->width, frame->height, QImage::Format_RGB32);
          SwsContext* sws =
              sws_getContext(frame->width, frame->height, static_cast<AVPixelFormat>(frame->format), frame->width,
                             frame->height, AV_PIX_FMT_RGB32, SWS_BICUBIC, nullptr, nullptr, nullptr);
          uint8_t* dst[1] = {result.bits()};
          const int stride[1] = {static_cast<int>(result.bytesPerLine())};
          sws_scale(sws, frame->data, frame->linesize, 0, frame->height, dst, stride);
          sws_freeContext(sws);
        }
      }
    }
    av_frame_free(&frame);
    av_packet_free(&packet);
  }
  avcodec_free_context(&codec);
  return result;
}
