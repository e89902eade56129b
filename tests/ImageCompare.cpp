// compare_image ACTUAL BASELINE DIFF [TOLERANCE]: compares a rendered picture
// with its stored baseline. Pixels whose channels differ by more than 24 (of
// 255) count as different; the pictures match when at most TOLERANCE of all
// pixels (default 0.002) differ. On a mismatch a difference picture goes to
// DIFF: the baseline darkened, the differing pixels in full red. Exit 0 on a
// match, 1 on a mismatch, 2 when a picture cannot be read.

#include <QColor>
#include <QImage>
#include <algorithm>
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
  if (argc < 4) {
    std::fprintf(stderr, "usage: compare_image ACTUAL BASELINE DIFF [TOLERANCE]\n");
    return 2;
  }
  const QImage actual = QImage(QString::fromLocal8Bit(argv[1])).convertToFormat(QImage::Format_RGB32);
  const QImage baseline = QImage(QString::fromLocal8Bit(argv[2])).convertToFormat(QImage::Format_RGB32);
  const double tolerance = argc > 4 ? std::atof(argv[4]) : 0.002;
  if (actual.isNull() || baseline.isNull()) {
    std::fprintf(stderr, "compare_image: cannot read %s\n", actual.isNull() ? argv[1] : argv[2]);
    return 2;
  }
  if (actual.size() != baseline.size()) {
    std::fprintf(stderr, "compare_image: %dx%d against a baseline of %dx%d\n", actual.width(), actual.height(),
                 baseline.width(), baseline.height());
    return 1;
  }
  QImage diff(baseline.size(), QImage::Format_RGB32);
  long long differing = 0;
  for (int y = 0; y < baseline.height(); ++y) {
    const QRgb* a = reinterpret_cast<const QRgb*>(actual.constScanLine(y));
    const QRgb* b = reinterpret_cast<const QRgb*>(baseline.constScanLine(y));
    QRgb* d = reinterpret_cast<QRgb*>(diff.scanLine(y));
    for (int x = 0; x < baseline.width(); ++x) {
      const int delta = std::max({std::abs(qRed(a[x]) - qRed(b[x])), std::abs(qGreen(a[x]) - qGreen(b[x])),
                                  std::abs(qBlue(a[x]) - qBlue(b[x]))});
      const bool off = delta > 24;
      differing += off;
      d[x] = off ? qRgb(255, 0, 0) : qRgb(qRed(b[x]) / 4, qGreen(b[x]) / 4, qBlue(b[x]) / 4);
    }
  }
  const double share = static_cast<double>(differing) / (static_cast<double>(baseline.width()) * baseline.height());
  std::printf("compare_image: %lld pixels (%.4f%%) differ; tolerance %.4f%%\n", differing, 100 * share,
              100 * tolerance);
  if (share <= tolerance) {
    return 0;
  }
  if (!diff.save(QString::fromLocal8Bit(argv[3]))) {
    std::fprintf(stderr, "compare_image: cannot write %s\n", argv[3]);
  } else {
    std::fprintf(stderr, "compare_image: difference picture saved as %s\n", argv[3]);
  }
  return 1;
}
