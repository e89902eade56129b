// The fast line parser against the plainly written reference: same fields,
// same verdicts, same bits; and the strict rules at the values files hold.

#include <gtest/gtest.h>

#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <bit>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "LineReader.h"
#include "ScanLine.h"
#include "SimulationData.h"

namespace {

const ScanSpec* const kAllFormats[] = {&FormatOf(DataFormat::Environment), &FormatOf(DataFormat::Fabric),
                                       &FormatOf(DataFormat::FabricPlain), &FormatOf(DataFormat::Fiber),
                                       &FormatOf(DataFormat::Body),        &FormatOf(DataFormat::Comfort)};

struct Result {
  ScanResult scan;
  union {
    float f;
    int i;
  } v[kMaxConversions] = {};
};

// Runs both parsers on one line; EXPECTs identical results.
void ExpectSame(const std::string& line, const ScanSpec& format) {
  Result fast{}, ref{};
  void* fo[kMaxConversions];
  void* ro[kMaxConversions];
  for (int i = 0; i < kMaxConversions; ++i) {
    fo[i] = &fast.v[i];
    ro[i] = &ref.v[i];
  }
  fast.scan = ScanLine(line.data(), line.data() + line.size(), format, fo);
  ref.scan = ScanLineReference(line.data(), line.data() + line.size(), format, ro);
  ASSERT_EQ(fast.scan.fields, ref.scan.fields) << "line [" << line << "] format " << format.name;
  ASSERT_EQ(fast.scan.bad, ref.scan.bad) << "line [" << line << "] format " << format.name;
  for (int i = 0; i < ref.scan.fields; ++i) {
    const bool intField = format.convs[i] == Conv::Int;
    if ((ref.scan.bad >> i) & 1u) {
      if (!intField) {
        ASSERT_TRUE(std::isnan(fast.v[i].f)) << "field " << i << " of [" << line << "]";
      }
      continue;
    }
    std::uint32_t a, b;
    std::memcpy(&a, &fast.v[i], 4);
    std::memcpy(&b, &ref.v[i], 4);
    ASSERT_EQ(a, b) << "field " << i << " of [" << line << "] format " << format.name;
  }
}

std::string RandomToken(std::mt19937& rng) {
  static const char* const kOdd[] = {"inf",
                                     "-inf",
                                     "nan",
                                     "NaN",
                                     "INFINITY",
                                     "0x1p3",
                                     "0X1.8P-2",
                                     "1e",
                                     "1e+",
                                     "-",
                                     "+",
                                     ".",
                                     "-.",
                                     "+.5",
                                     "1.5.3",
                                     "1,5",
                                     "12abc",
                                     "e5",
                                     "--1",
                                     "0x",
                                     "1e-50",
                                     "3.4e38",
                                     "3.5e38",
                                     "1e39",
                                     "-0",
                                     "0.0000000000000000000000000000000000000000000001",
                                     "2147483647",
                                     "2147483648",
                                     "-2147483649",
                                     "99999999999",
                                     "007",
                                     "1.",
                                     ".5e3",
                                     "1E+05",
                                     "4.9406564584124654e-324",
                                     "1.17549435e-38",
                                     "16777217",
                                     "0.1"};
  std::uniform_int_distribution<int> kind(0, 9);
  switch (kind(rng)) {
    case 0:
      return kOdd[rng() % (sizeof kOdd / sizeof *kOdd)];
    case 1:
      return std::to_string(static_cast<int>(rng()));
    case 2: {
      std::string s = (rng() % 2) ? "-" : "";
      int n = 1 + static_cast<int>(rng() % 25);
      for (int i = 0; i < n; ++i) {
        s += static_cast<char>('0' + rng() % 10);
      }
      if (rng() % 2) {
        s.insert(s.size() - rng() % (n + 1 > 1 ? static_cast<unsigned>(n) : 1u), 1, '.');
      }
      return s;
    }
    case 3: {
      char b[64];
      std::snprintf(b, sizeof b, "%.*e", static_cast<int>(rng() % 12),
                    std::ldexp(static_cast<double>(rng()) / 4294967296.0, static_cast<int>(rng() % 300) - 150));
      return b;
    }
    default: {
      char b[64];
      std::snprintf(b, sizeof b, "%.*f", static_cast<int>(rng() % 8), (static_cast<double>(rng()) / 1e6) - 2000.0);
      return b;
    }
  }
}

std::string RandomSeparator(std::mt19937& rng) {
  static const char* const kSep[] = {"\t", "\t", "\t", " ", "  \t", "", ",", ";", "\v", "\r", "x", "\t\t", "\f"};
  return kSep[rng() % (sizeof kSep / sizeof *kSep)];
}

}  // namespace

TEST(ScanLine, SameAsTheReferenceOnHandPickedLines) {
  const char* lines[] = {"",
                         "   ",
                         "\t\n",
                         "0\t0.024\t1\t1.2e-02\t1.2e-02\t0\t50\t30\t0\t",
                         "0.5 1 2 3",
                         "1.5-2.5\t3\t4",
                         "1.5.3 4 5 6",
                         "1e5 1E-5 -1e+5 +.5",
                         "1\t2\t3.7\t4",
                         "inf 1 2 3",
                         "0x10 1 2 3",
                         "1 2 3 4abc",
                         "12345678901 1 2 3 4",
                         "a 1 2 3",
                         "1\t2\0\t3\t4",
                         "-.\t1\t2\t3",
                         "0\t4294967296\t1\t2\t3\t4\t5\t6\t7\t8\t9",
                         "0\t0\t-2147483649\t1\t2\t3\t4\t5\t6",
                         "0x1p0\t99999999999999999999999\t1\t2\t3\t4\t5\t6\t7\t8"};
  for (const char* l : lines) {
    for (const ScanSpec* f : kAllFormats) {
      ExpectSame(l, *f);
    }
  }
  // A NUL ends the line for both.
  const std::string withNul("1\t2\0\t3\t4", 8);
  for (const ScanSpec* f : kAllFormats) {
    ExpectSame(withNul, *f);
  }
}

TEST(ScanLine, SameAsTheReferenceOnFuzzedLines) {
  std::mt19937 rng(20261207);
  for (int n = 0; n < 60000; ++n) {
    std::string line;
    const int tokens = 1 + static_cast<int>(rng() % 14);
    if (rng() % 8 == 0) {
      line += RandomSeparator(rng);
    }
    for (int t = 0; t < tokens; ++t) {
      line += RandomToken(rng);
      line += (rng() % 6 == 0) ? RandomSeparator(rng) : "\t";
    }
    for (const ScanSpec* f : kAllFormats) {
      ExpectSame(line, *f);
      if (HasFatalFailure()) {
        return;
      }
    }
  }
}

TEST(ScanLine, SameAsTheReferenceOnTheSampleRun) {
  const QString dir = qEnvironmentVariable("CORVANE_SAMPLE_RUN");
  ASSERT_FALSE(dir.isEmpty()) << "CORVANE_SAMPLE_RUN is not set";
  const QStringList files = QDir(dir).entryList({QStringLiteral("*.dat")}, QDir::Files);
  ASSERT_GE(files.size(), 8);
  long lines = 0;
  for (const QString& name : files) {
    CLineReader reader;
    ASSERT_TRUE(reader.Open(dir + QLatin1Char('/') + name));
    TextLine line{};
    while (reader.Next(line)) {
      const std::string text(line.text, line.length);
      for (const ScanSpec* f : kAllFormats) {
        ExpectSame(text, *f);
      }
      ++lines;
    }
  }
  EXPECT_GT(lines, 5000);
}

// A value is a decimal that ends at its separator, within a float's range;
// anything else leaves NaN in its field alone, and the fields after it read.
TEST(ScanLine, AFieldIsADecimalNumberOrNoNumber) {
  const float nan = NAN;
  struct Case {
    const char* token;
    float value;  // NaN: no number
  } cases[] = {
      {"12.5", 12.5f},   {"-3e-2", -0.03f},   {"+7", 7.0f},
      {".25", 0.25f},    {"1.", 1.0f},        {"2.5E+03", 2500.0f},
      {"1e-50", 0.0f},   {"-1e-50", -0.0f},   {"3.4e38", 3.4e38f},
      {"1e39", nan},     {"-1e39", nan},      {"inf", nan},
      {"-inf", nan},     {"nan", nan},        {"NaN", nan},
      {"INFINITY", nan}, {"0x1p3", nan},      {"1e", nan},
      {"1e+", nan},      {"30.6O49", nan},    {"1.5.3", nan},
      {"1,5", nan},      {"-", nan},          {".", nan},
      {"e5", nan},       {"--1", nan},        {"12abc", nan},
      {"1.5-2.5", nan},  {"1e99999999", nan}, {"000000000000000000000000000001.5", 1.5f},
  };
  // What may follow a field: its tab, the trailing tab and CR, the line's
  // end, spaces, and a NUL (which ends the line).
  const std::string afters[] = {"\t", "\t\r", "", " \t", std::string("\0junk", 5)};
  for (const Case& c : cases) {
    for (const std::string& after : afters) {
      const bool ended = after.size() == 5;
      const std::string line = std::string("0\t") + c.token + after + "\t4\t5";
      float v[4] = {-1, -1, -1, -1};
      void* o[4] = {&v[0], &v[1], &v[2], &v[3]};
      const ScanResult r = ScanLine(line.data(), line.data() + line.size(), FormatOf(DataFormat::Fiber), o);
      // A NUL ends the line: the fields after it are not there.
      EXPECT_EQ(r.fields, ended ? 2 : 4) << c.token << " then " << after;
      EXPECT_EQ(r.bad, std::isnan(c.value) ? 2u : 0u) << c.token << " then " << after;
      if (std::isnan(c.value)) {
        EXPECT_TRUE(std::isnan(v[1])) << c.token;
      } else {
        EXPECT_EQ(v[1], c.value) << c.token;
        EXPECT_EQ(std::signbit(v[1]), std::signbit(c.value)) << c.token;
      }
      if (!ended) {
        EXPECT_EQ(v[3], 5.0f) << "the field after " << c.token;
      }
      ExpectSame(line, FormatOf(DataFormat::Fiber));
    }
  }
}

// Every shape a simulator's printf writes reads as sscanf reads it, bit for
// bit: "%f", "%e", "%g", "%.4f", nine and more significant digits, exponents
// of every size, subnormals, and values that round one way as a float and
// another as a double. Beyond a float's range it is no number.
TEST(ScanLine, EveryPrintfShapeReadsAsSscanfDoes) {
  std::mt19937 rng(7);
  std::uniform_real_distribution<double> unit(-1, 1);
  std::uniform_int_distribution<int> power(-46, 39);
  const char* const shapes[] = {"%f", "%e", "%g", "%.4f", "%.9g", "%.12e", "%.17g", "%.1f", "%.3f"};
  std::vector<double> values = {1.401298464e-45, 1.17549435e-38, 1.1754942e-38, 3.4028234e38,           16777217.0, 0.1,
                                74.998438,       1e-5,           9.999999e-5,   2.2250738585072014e-308};
  // Halfway between two floats, a hair either side: double and float round differently.
  for (float f : {1.0f, 36.75f, 1e-20f, 123456.7f}) {
    const double up = std::nextafter(f, INFINITY);
    values.push_back((f + up) / 2);
    values.push_back(std::nextafter((f + up) / 2, 0.0));
  }
  for (int i = 0; i < 20000; ++i) {
    values.push_back(unit(rng) * std::pow(10.0, power(rng)));
  }
  for (double v : values) {
    for (const char* shape : shapes) {
      char token[128];
      std::snprintf(token, sizeof token, shape, v);
      const std::string line = std::string(token) + "\t" + token + "\t" + token + "\t" + token + "\n";
      ExpectSame(line, FormatOf(DataFormat::Fiber));
      float got[4], want = 0;
      void* o[4] = {&got[0], &got[1], &got[2], &got[3]};
      const ScanResult r = ScanLine(line.data(), line.data() + line.size(), FormatOf(DataFormat::Fiber), o);
      ASSERT_EQ(std::sscanf(token, "%f", &want), 1);
      if (std::isinf(want)) {
        ASSERT_EQ(r.bad, 0xfu) << token;
      } else {
        ASSERT_EQ(r.bad, 0u) << token;
        ASSERT_EQ(std::bit_cast<std::uint32_t>(got[2]), std::bit_cast<std::uint32_t>(want)) << token;
      }
    }
  }
}

// A run written in each shape a simulator's printf may use loads into the
// same tables, and every line of it reads as the reference reads it.
TEST(ScanLine, ARunInEveryPrintfShapeReadsAsTheReferenceDoes) {
  const QString generator = qEnvironmentVariable("CORVANE_MAKE_SAMPLE_RUN");
  ASSERT_FALSE(generator.isEmpty()) << "CORVANE_MAKE_SAMPLE_RUN is not set";
  for (const char* shape : {"%f", "%e", "%g", "%.4f"}) {
    QTemporaryDir dir;
    ASSERT_EQ(QProcess::execute(generator, {"--duration", "6", "--interval", "0.1", "--number-format",
                                            QLatin1String(shape), dir.path()}),
              0)
        << shape;
    const QStringList files = QDir(dir.path()).entryList({QStringLiteral("*.dat")}, QDir::Files);
    ASSERT_GE(files.size(), 8) << shape;
    for (const QString& name : files) {
      CLineReader reader;
      ASSERT_TRUE(reader.Open(dir.filePath(name)));
      TextLine line{};
      while (reader.Next(line)) {
        const std::string text(line.text, line.length);
        for (const ScanSpec* f : kAllFormats) {
          ExpectSame(text, *f);
        }
        if (HasFatalFailure()) {
          return;
        }
      }
    }
    CSimulationData data;
    ASSERT_TRUE(data.Load(dir.path() + QLatin1Char('/'))) << shape;
    EXPECT_EQ(data.Run().m_nSamples, 61) << shape;
    EXPECT_FLOAT_EQ(data.Run().m_fSampleInterval, 0.1f) << shape;
    EXPECT_EQ(data.Run().m_nLayers[Trunk], 3) << shape;
  }
}
