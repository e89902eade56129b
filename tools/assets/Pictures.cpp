// The pictures Corvane ships, drawn here: the moon scene's backdrop, the
// body-part pictures of the option panels, and the application icon.

#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <cmath>
#include <cstdio>
#include <random>

#include "Scenes.h"

namespace assets {

namespace {
bool Save(const QImage& image, const std::string& path, const char* format) {
  const bool ok = image.save(QString::fromStdString(path), format);
  if (!ok) {
    std::fprintf(stderr, "make_assets: cannot write %s\n", path.c_str());
  }
  return ok;
}

// Smooth value noise for continents and clouds.
double Noise(double x, double y, unsigned seed) {
  auto hash = [seed](int i, int j) {
    unsigned h = static_cast<unsigned>(i) * 374761393u + static_cast<unsigned>(j) * 668265263u + seed * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    return ((h ^ (h >> 16)) & 0xffff) / 65535.0;
  };
  double sum = 0, amp = 0.5;
  for (int o = 0; o < 5; ++o) {
    const int i = static_cast<int>(std::floor(x)), j = static_cast<int>(std::floor(y));
    const double fx = x - i, fy = y - j;
    const double sx = fx * fx * (3 - 2 * fx), sy = fy * fy * (3 - 2 * fy);
    const double a = hash(i, j), b = hash(i + 1, j), c = hash(i, j + 1), d = hash(i + 1, j + 1);
    sum += amp * (a + (b - a) * sx + (c - a) * sy + (a - b - c + d) * sx * sy);
    x *= 2.03;
    y *= 2.03;
    amp *= 0.5;
  }
  return sum;
}

const QColor kSkin(228, 182, 150);
}  // namespace

bool WriteBackdrop(const std::string& dir) {
  const int size = 512;
  QImage image(size, size, QImage::Format_RGB888);
  image.fill(QColor(2, 3, 10));
  std::mt19937 rng(1969);
  // Stars: many faint, a few bright with a soft halo.
  for (int i = 0; i < 1400; ++i) {
    const int x = static_cast<int>(rng() % size), y = static_cast<int>(rng() % size);
    const int v = 60 + static_cast<int>(rng() % 150);
    const int tint = static_cast<int>(rng() % 3);
    image.setPixelColor(x, y, QColor(std::min(255, v + (tint == 0) * 30), v, std::min(255, v + (tint == 2) * 40)));
  }
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  for (int i = 0; i < 40; ++i) {
    // One draw a statement: the order of a call's arguments is the
    // compiler's to choose, and every compiler must draw the same sky.
    const auto x = static_cast<double>(rng() % size);
    const auto y = static_cast<double>(rng() % size);
    const QPointF c(x, y);
    QRadialGradient halo(c, 3.5);
    halo.setColorAt(0, QColor(255, 255, 245, 255));
    halo.setColorAt(1, QColor(255, 255, 245, 0));
    p.setBrush(halo);
    p.setPen(Qt::NoPen);
    p.drawEllipse(c, 3.5, 3.5);
  }
  // A blue planet, lit from the left, with continents, clouds and an
  // atmosphere.
  const QPointF centre(360, 150);
  const double radius = 88;
  QRadialGradient glow(centre, radius * 1.18);
  glow.setColorAt(0.82, QColor(90, 150, 255, 110));
  glow.setColorAt(1.0, QColor(90, 150, 255, 0));
  p.setBrush(glow);
  p.drawEllipse(centre, radius * 1.18, radius * 1.18);
  p.end();
  for (int y = static_cast<int>(centre.y() - radius); y <= centre.y() + radius; ++y) {
    for (int x = static_cast<int>(centre.x() - radius); x <= centre.x() + radius; ++x) {
      const double dx = (x - centre.x()) / radius, dy = (y - centre.y()) / radius;
      const double rr = dx * dx + dy * dy;
      if (rr > 1.0) {
        continue;
      }
      const double dz = std::sqrt(1.0 - rr);
      const double light = std::clamp(-0.62 * dx - 0.35 * dy + 0.7 * dz, 0.0, 1.0) * 0.95 + 0.05;
      const double u = std::atan2(dx, dz) * 1.6 + 4.0, v = std::asin(dy) * 1.6 + 2.0;
      const double land = Noise(u * 1.7, v * 1.7, 7);
      const double cloud = Noise(u * 3.1 + 9, v * 3.1, 11);
      double r = 25, g = 70, b = 160;  // ocean
      if (land > 0.55) {
        r = 60 + 90 * (land - 0.55);
        g = 115 + 60 * (land - 0.55);
        b = 55;
      }
      if (std::fabs(dy) > 0.86) {
        r = g = b = 235;  // ice caps
      }
      const double c = std::clamp((cloud - 0.52) * 3.0, 0.0, 0.85);
      r = r + (245 - r) * c;
      g = g + (248 - g) * c;
      b = b + (255 - b) * c;
      const double rim = std::pow(1.0 - dz, 3.0) * 0.6;
      image.setPixelColor(x, y,
                          QColor(static_cast<int>(std::clamp((r + 80 * rim) * light, 0.0, 255.0)),
                                 static_cast<int>(std::clamp((g + 120 * rim) * light, 0.0, 255.0)),
                                 static_cast<int>(std::clamp((b + 200 * rim) * light, 0.0, 255.0))));
    }
  }
  return Save(image, dir + "1.bmp", "BMP");
}

bool WritePartPictures(const std::string& dir) {
  struct Picture {
    const char* name;
    int size;
    void (*draw)(QPainter&, double s);
  };
  const Picture pictures[] = {
      {"part_head.png", 50,
       [](QPainter& p, double s) {
         p.drawRoundedRect(QRectF(s * 0.40, s * 0.70, s * 0.20, s * 0.28), s * 0.05, s * 0.05);  // neck
         p.drawEllipse(QRectF(s * 0.24, s * 0.08, s * 0.52, s * 0.66));
       }},
      {"part_trunk.png", 40,
       [](QPainter& p, double s) {
         QPainterPath path;
         path.moveTo(s * 0.18, s * 0.12);
         path.quadTo(s * 0.5, s * 0.02, s * 0.82, s * 0.12);
         path.quadTo(s * 0.74, s * 0.5, s * 0.76, s * 0.92);
         path.lineTo(s * 0.24, s * 0.92);
         path.quadTo(s * 0.26, s * 0.5, s * 0.18, s * 0.12);
         p.drawPath(path);
       }},
      {"part_arm.png", 40,
       [](QPainter& p, double s) {
         QPen pen(kSkin, s * 0.2, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
         p.setPen(pen);
         p.setBrush(Qt::NoBrush);
         p.drawPolyline(
             QPolygonF{QPointF(s * 0.25, s * 0.15), QPointF(s * 0.35, s * 0.55), QPointF(s * 0.75, s * 0.8)});
       }},
      {"part_hand.png", 40,
       [](QPainter& p, double s) {
         p.drawRoundedRect(QRectF(s * 0.28, s * 0.42, s * 0.44, s * 0.46), s * 0.12, s * 0.12);
         for (int f = 0; f < 4; ++f) {
           p.drawRoundedRect(QRectF(s * (0.29 + f * 0.11), s * 0.1, s * 0.09, s * 0.4), s * 0.045, s * 0.045);
         }
         p.save();
         p.translate(s * 0.28, s * 0.62);
         p.rotate(-40);
         p.drawRoundedRect(QRectF(-s * 0.05, -s * 0.3, s * 0.1, s * 0.3), s * 0.05, s * 0.05);
         p.restore();
       }},
      {"part_leg.png", 40,
       [](QPainter& p, double s) {
         QPen pen(kSkin, s * 0.22, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
         p.setPen(pen);
         p.setBrush(Qt::NoBrush);
         p.drawPolyline(QPolygonF{QPointF(s * 0.45, s * 0.1), QPointF(s * 0.52, s * 0.5), QPointF(s * 0.48, s * 0.9)});
       }},
      {"part_foot.png", 40,
       [](QPainter& p, double s) {
         QPainterPath path;
         path.moveTo(s * 0.22, s * 0.15);
         path.lineTo(s * 0.42, s * 0.15);
         path.lineTo(s * 0.44, s * 0.55);
         path.quadTo(s * 0.9, s * 0.6, s * 0.88, s * 0.8);
         path.lineTo(s * 0.18, s * 0.82);
         path.closeSubpath();
         p.drawPath(path);
       }},
  };
  bool ok = true;
  for (const Picture& pic : pictures) {
    QImage image(pic.size, pic.size, QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(kSkin);
    pic.draw(p, pic.size);
    p.end();
    ok = Save(image, dir + pic.name, "PNG") && ok;
  }
  return ok;
}

bool WriteIcon(const std::string& dir) {
  const int s = 256;
  QImage image(s, s, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter p(&image);
  p.setRenderHint(QPainter::Antialiasing);
  // The colour scale, blue to red, behind a figure.
  QLinearGradient scale(0, s, 0, 0);
  scale.setColorAt(0.0, QColor(20, 60, 220));
  scale.setColorAt(0.25, QColor(0, 200, 220));
  scale.setColorAt(0.5, QColor(40, 200, 60));
  scale.setColorAt(0.75, QColor(240, 210, 30));
  scale.setColorAt(1.0, QColor(220, 40, 30));
  p.setPen(Qt::NoPen);
  p.setBrush(scale);
  p.drawRoundedRect(QRectF(8, 8, s - 16, s - 16), 44, 44);
  p.setBrush(QColor(255, 255, 255, 235));
  p.drawEllipse(QPointF(s * 0.5, s * 0.2), s * 0.085, s * 0.1);
  QPainterPath body;
  body.moveTo(s * 0.34, s * 0.33);
  body.quadTo(s * 0.5, s * 0.29, s * 0.66, s * 0.33);
  body.lineTo(s * 0.78, s * 0.58);
  body.lineTo(s * 0.70, s * 0.61);
  body.lineTo(s * 0.62, s * 0.45);
  body.lineTo(s * 0.62, s * 0.88);
  body.lineTo(s * 0.53, s * 0.88);
  body.lineTo(s * 0.5, s * 0.62);
  body.lineTo(s * 0.47, s * 0.88);
  body.lineTo(s * 0.38, s * 0.88);
  body.lineTo(s * 0.38, s * 0.45);
  body.lineTo(s * 0.30, s * 0.61);
  body.lineTo(s * 0.22, s * 0.58);
  body.closeSubpath();
  p.drawPath(body);
  p.end();
  // The desktop's icon at full size; the windows carry a small one, which
  // the window system takes as it is instead of a big one to convert.
  const QImage small = image.scaled(48, 48, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  return Save(image, dir + "corvane.png", "PNG") && Save(small, dir + "corvane-48.png", "PNG");
}

}  // namespace assets
