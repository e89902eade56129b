// What Corvane writes is what the files wrote: every exported value, read
// back, is the double nearest the file's decimal, on every shape printf
// writes, whatever order the rows came in; and a file changed since the load
// is said, never mixed in.

#include <gtest/gtest.h>

#include <QFile>
#include <QStringList>
#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdlib>
#include <initializer_list>
#include <map>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "DataCsv.h"
#include "ExactFields.h"
#include "Probe.h"
#include "Profile.h"
#include "RunFolder.h"
#include "ScanLine.h"
#include "ScienceLogic.h"
#include "StudySummary.h"

namespace {

std::string Printf(const char* shape, double v) {
  char buf[64];
  std::snprintf(buf, sizeof buf, shape, v);
  return buf;
}

// Appends fields parted by tabs (led by one, after others on the line).
// (Appends, not "a" + b: GCC 12 warns falsely about those.)
void Fields(std::string& line, std::initializer_list<std::string> fields, bool after = false) {
  for (const std::string& f : fields) {
    if (after || &f != fields.begin()) {
      line += '\t';
    }
    line += f;
  }
}

// A run of `samples` body samples 0.1 min apart from minute 2, its values
// written with `shape`, and a Trunk fabric of 2 layers x 3 nodes; each
// file's value texts in the order written, by file.
struct ShapedRun {
  CRunFolder folder;
  std::vector<std::string> body;                                 // the body's nine values a row, in file order
  std::map<std::tuple<int, int, int>, std::string> temperature;  // the fabric's, by step, layer and node
};

void WriteShapedRun(ShapedRun& run, const char* shape, bool shuffleSteps) {
  std::mt19937 rng(7);
  std::uniform_real_distribution<double> skin(30, 38), tiny(-1e-6, 1e-6), big(0, 5000);
  auto value = [&](int k) { return Printf(shape, k % 3 == 0 ? skin(rng) : k % 3 == 1 ? tiny(rng) : big(rng)); };
  run.folder.Write(QStringLiteral("configure.dat"),
                   "Selected model:2\n1\t25\t0.5\t0.1\t0\t1\t0\t0\t0\t0\t10\t58\t25\n");
  std::string body, comfort, fabric;
  std::vector<std::string> steps;  // the fabric's, each whole
  for (int s = 0; s < 4; ++s) {
    const std::string t = Printf(shape, 2.0 + 0.1 * s);
    for (int p = 0; p < 6; ++p) {
      Fields(body, {t, std::to_string(p)});
      for (int k = 0; k < 9; ++k) {
        run.body.push_back(value(k));
        Fields(body, {run.body.back()}, true);
      }
      body += "\t\n";
      Fields(comfort, {t, std::to_string(p), value(0), value(0), value(0), "\n"});
    }
    std::string step;
    for (int layer = 1; layer <= 2; ++layer) {
      for (int n = 0; n < 3; ++n) {
        Fields(step, {t, Printf(shape, 0.0125 * (3 * layer + n)), std::to_string(layer)});
        for (int k = 0; k < 5; ++k) {
          Fields(step, {value(k)}, true);
        }
        run.temperature[{s, layer, n}] = step.substr(step.rfind('\t') + 1);
        step += "\t\n";
      }
    }
    steps.push_back(step);
  }
  // The steps in time order, or the middle two swapped: placing puts them
  // back, and each value must follow its own row.
  if (shuffleSteps) {
    std::swap(steps[1], steps[2]);
  }
  for (const std::string& step : steps) {
    fabric += step;
  }
  run.folder.Write(QStringLiteral("bodyProperty.dat"), body);
  run.folder.Write(QStringLiteral("BodyDataforComfort.dat"), comfort);
  run.folder.Write(QStringLiteral("fabricsTrunk.dat"), fabric);
  run.folder.Write(QStringLiteral("id.dat"), "model id:M1\n");
}

// The values of one CSV column (from 0), as numbers.
std::vector<double> Column(const QString& csv, int column) {
  std::vector<double> out;
  const QStringList lines = csv.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
  for (qsizetype i = 1; i < lines.size(); ++i) {
    out.push_back(std::strtod(lines[i].split(QLatin1Char(','))[column].toLatin1().constData(), nullptr));
  }
  return out;
}

double Decimal(const std::string& text) { return std::strtod(text.c_str(), nullptr); }

// A line's values at full precision, read both ways: after the float parser
// (AppendExactFields) and in its own pass (ScanLineExact), which must agree
// bit for bit, and on the floats and ints too.
std::vector<double> BothWays(const std::string& line, DataFormat which) {
  const ScanSpec& format = FormatOf(which);
  struct Field {
    float f = 0;
    int i = 0;
  };
  Field first[kMaxConversions], second[kMaxConversions];
  void* outs1[kMaxConversions];
  void* outs2[kMaxConversions];
  for (int i = 0; i < format.count; ++i) {
    const bool isFloat = format.convs[i] == Conv::Float;
    outs1[i] = isFloat ? static_cast<void*>(&first[i].f) : &first[i].i;
    outs2[i] = isFloat ? static_cast<void*>(&second[i].f) : &second[i].i;
  }
  const ScanResult scan = ScanLine(line.data(), line.data() + line.size(), format, outs1);
  std::vector<double> after;
  AppendExactFields(line.data(), line.data() + line.size(), format, scan, after);
  double same[kMaxConversions];
  const ScanResult again = ScanLineExact(line.data(), line.data() + line.size(), format, outs2, same);
  EXPECT_EQ(again.fields, scan.fields);
  EXPECT_EQ(again.bad, scan.bad);
  for (int i = 0; i < format.count; ++i) {
    EXPECT_EQ(std::bit_cast<std::uint64_t>(same[i]), std::bit_cast<std::uint64_t>(after[static_cast<std::size_t>(i)]))
        << line << ", field " << i;
    EXPECT_EQ(std::bit_cast<std::uint32_t>(first[i].f), std::bit_cast<std::uint32_t>(second[i].f)) << line << i;
    EXPECT_EQ(first[i].i, second[i].i) << line << ", field " << i;
  }
  return after;
}

}  // namespace

TEST(ExactValues, EveryWrittenValueIsTheFilesDecimalOnEveryShape) {
  for (const char* shape : {"%f", "%e", "%g", "%.9g", "%.4f"}) {
    for (const bool shuffled : {false, true}) {
      SCOPED_TRACE(std::string(shape) + (shuffled ? ", fabric steps out of order" : ""));
      ShapedRun run;
      WriteShapedRun(run, shape, shuffled);
      LoadedRun loaded(run.folder.Dir());
      ASSERT_TRUE(loaded.ok);
      ASSERT_NE(loaded.data.Exact(), nullptr);
      // The Arm's skin temperature (option 3100, quantity 0) over time.
      const QString chart = ExportCsv(loaded.data, 3100, 0);
      const std::vector<double> skin = Column(chart, 1), times = Column(chart, 0);
      ASSERT_EQ(skin.size(), 4u);
      for (std::size_t s = 0; s < 4; ++s) {
        EXPECT_EQ(skin[s], Decimal(run.body[(s * 6 + 2) * 9])) << chart.toStdString();
        EXPECT_EQ(times[s], Decimal(Printf(shape, 2.0 + 0.1 * static_cast<double>(s))));
      }
      // Every temperature of the fabric's first layer, node by node over
      // time, against the text the file wrote for it, wherever its row stood.
      const std::vector<double> temperature = Column(ExportCsv(loaded.data, 2300, 4), 3);
      ASSERT_EQ(temperature.size(), 12u);
      for (int node = 0; node < 3; ++node) {
        for (int step = 0; step < 4; ++step) {
          EXPECT_EQ(temperature[static_cast<std::size_t>(node * 4 + step)],
                    Decimal(run.temperature.at({step, 1, node})))
              << "node " << node << " at step " << step;
        }
      }
      // The study's figures: the Head's skin temperature at the end.
      const QStringList study = StudyRow(loaded.data.Run(), QStringLiteral("run"), loaded.data.Exact());
      EXPECT_EQ(std::strtod(study[1].toLatin1().constData(), nullptr), Decimal(run.body[std::size_t{3 * 6 + 0} * 9]));
    }
  }
}

TEST(ExactValues, AFileChangedSinceTheLoadIsSaidAndTheStoresValuesAreWritten) {
  // Each file changed after the load, and what a writer of its values gets:
  // the store's floats, written as floats, and the change said once.
  struct Change {
    const char* file;
    std::string content;
    int option, quantity, column;  // an export that reads the file
  };
  const Change changes[] = {
      {"bodyProperty.dat", "", 1100, 0, 1},
      {"fabricsTrunk.dat", "2.000000\t0.1\t1\t1\t1\t1\t1\t1\t\n", 2300, 4, 3},
  };
  for (const Change& c : changes) {
    SCOPED_TRACE(c.file);
    ShapedRun run;
    WriteShapedRun(run, "%f", false);
    LoadedRun loaded(run.folder.Dir());
    ASSERT_TRUE(loaded.ok);
    const QString before = ExportCsv(loaded.data, c.option, c.quantity);
    ShapedRun other;  // the same run again (the same values), changed before its writer reads it
    WriteShapedRun(other, "%f", false);
    run.folder.Write(QString::fromLatin1(c.file), c.content);
    const QString after = ExportCsv(loaded.data, c.option, c.quantity);
    ExportCsv(loaded.data, c.option, c.quantity);
    EXPECT_EQ(loaded.Count(QStringLiteral("Export")), 0) << "a table once read stays: " << after.toStdString();
    EXPECT_EQ(after, before);

    LoadedRun late(other.folder.Dir());
    ASSERT_TRUE(late.ok);
    other.folder.Write(QString::fromLatin1(c.file), c.content);
    const QString fallback = ExportCsv(late.data, c.option, c.quantity);
    ExportCsv(late.data, c.option, c.quantity);
    EXPECT_EQ(late.Count(QStringLiteral("Export"),
                         QString::fromLatin1(c.file) +
                             QStringLiteral(" has changed since the run was loaded; load the run again to write "
                                            "its values.")),
              1)
        << "said once";
    // Each cell the float's own shortest text ("33.235382"), never a float
    // widened to a double's 17 digits.
    const std::vector<double> exact = Column(before, c.column);
    const QStringList lines = fallback.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(static_cast<std::size_t>(lines.size()), exact.size() + 1) << "the store's rows, not the file's";
    for (std::size_t i = 0; i < exact.size(); ++i) {
      EXPECT_EQ(lines[static_cast<qsizetype>(i + 1)].split(QLatin1Char(','))[c.column],
                CsvNumber(static_cast<float>(exact[i])))
          << i;
    }
  }
  // configure.dat is read by the writers that need it alone.
  ShapedRun run;
  WriteShapedRun(run, "%f", false);
  LoadedRun loaded(run.folder.Dir());
  run.folder.Write(QStringLiteral("configure.dat"),
                   "Selected model:2\n1\t26\t0.5\t0.1\t0\t1\t0\t0\t0\t0\t10\t58\t25\n");
  EXPECT_EQ(loaded.data.Exact()->Environment(), nullptr);
  EXPECT_NE(loaded.data.Exact()->Body(), nullptr);
  EXPECT_TRUE(loaded.Says(QStringLiteral("Export"),
                          QStringLiteral("configure.dat has changed since the run was loaded; load the run again to "
                                         "write its values.")));
}

TEST(ExactValues, FieldsAreReadAsTheFloatParserTookThem) {
  struct Case {
    const char* line;
    std::vector<double> want;  // NaN: no number
  };
  const double nan = std::nan("");
  const Case cases[] = {
      {"+1.5\t.5\t1.\t-0.000001\t", {1.5, 0.5, 1.0, -0.000001}},
      {"33.235381\t1e-07\t4.9e-46\t1e39", {33.235381, 1e-07, 4.9e-46, nan}},  // a float's range decides
      {"1\tinf\t0x1p3\t2", {1.0, nan, nan, 2.0}},
      {"7", {7.0, nan, nan, nan}},  // fields the line lacks
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    const std::vector<double> got = BothWays(c.line, DataFormat::Fiber);
    ASSERT_EQ(got.size(), 4u);
    for (std::size_t i = 0; i < 4; ++i) {
      if (std::isnan(c.want[i])) {
        EXPECT_TRUE(std::isnan(got[i])) << i;
      } else {
        EXPECT_EQ(got[i], c.want[i]) << i;
      }
    }
  }
  // An int field is its whole number.
  const std::vector<double> got = BothWays("0.5\t-3\t1\t2\t3\t4\t5\t6\t7\t8\t9", DataFormat::Body);
  ASSERT_EQ(got.size(), 11u);
  EXPECT_EQ(got[1], -3.0);
  // A bad int, a number too long for the fast scanner, a line cut short.
  BothWays("1.5\t2.5\tx\t123456789012345678901234\t-0.5", DataFormat::Fabric);
  BothWays("0.25\t3000000000\t1", DataFormat::Comfort);
  BothWays("+0.25\t-0\t+1\t-0.0\t+5", DataFormat::Comfort);
}

TEST(ExactValues, ShortestTextThatReadsBack) {
  const std::pair<double, const char*> cases[] = {{0.1, "0.1"}, {33.235381, "33.235381"}, {1e-07, "1e-07"},
                                                  {-0.0, "-0"}, {2.5e+300, "2.5e+300"},   {1500, "1500"}};
  for (const auto& [v, text] : cases) {
    EXPECT_EQ(CsvNumber(v), QString::fromLatin1(text));
  }
  EXPECT_EQ(CsvNumber(std::nan("")), QString());
  EXPECT_EQ(CsvNumber(33.235381f), QStringLiteral("33.235382")) << "a float is written as the float it is";
}

TEST(ExactValues, TheProbesCopyIsTheFilesValues) {
  ShapedRun run;
  WriteShapedRun(run, "%f", true);
  LoadedRun loaded(run.folder.Dir());
  ASSERT_TRUE(loaded.ok);
  loaded.data.State().SeekStep(3);
  const QStringList lines = ProbeTsv(loaded.data, Trunk).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
  ASSERT_EQ(lines.size(), 5) << "a header, the core, the skin and two layers";
  auto cell = [&](int line, int column) {
    return std::strtod(lines[line].split(QLatin1Char('\t'))[column].toLatin1().constData(), nullptr);
  };
  const std::size_t trunk = std::size_t{3 * 6 + 1} * 9;  // the Trunk's values at the fourth sample
  EXPECT_EQ(cell(1, 0), Decimal(Printf("%f", 2.3)));
  EXPECT_EQ(cell(1, 3), Decimal(run.body[trunk + 1])) << "core";
  EXPECT_EQ(cell(2, 3), Decimal(run.body[trunk])) << "skin";
  // Each layer's outermost node, at the step the body is drawn at.
  EXPECT_EQ(cell(3, 3), Decimal(run.temperature.at({3, 1, 2})));
  EXPECT_EQ(cell(4, 3), Decimal(run.temperature.at({3, 2, 2})));
}

// A hole's time is its neighbours': the same decimal the file wrote for the
// other parts of its sample, not the shortest text of its float.
TEST(ExactValues, AHoleStandsAtTheTimeItsNeighboursWrote) {
  CRunFolder run;
  run.WriteMinimal(1);
  std::string body;
  for (int s = 0; s < 4; ++s) {
    char time[32];
    std::snprintf(time, sizeof time, "%f", 123.0 + s / 60.0);  // 123.016667: no float's shortest text
    for (int p = 0; p < 6; ++p) {
      if (s == 2 && p == Arm) {
        continue;
      }
      Fields(body, {time, std::to_string(p), "33.1", "37", "58", "40", "6.3", "0", "0", "20", "1500", "\n"});
    }
  }
  run.Write(QStringLiteral("bodyProperty.dat"), body);
  LoadedRun loaded(run.Dir());
  ASSERT_TRUE(loaded.ok);
  const CExactTable* table = ExactBodyOf(loaded.data.Exact(), loaded.data.Run());
  ASSERT_NE(table, nullptr);
  ASSERT_EQ(table->Rows(), 24u);
  const std::size_t hole = 2 * 6 + Arm;
  EXPECT_TRUE(std::isnan(table->At(hole, ExactColumn::kBodyFirstValue)));
  EXPECT_EQ(table->At(hole, ExactColumn::kBodyTime), table->At(hole - 1, ExactColumn::kBodyTime));
  EXPECT_EQ(table->At(hole, ExactColumn::kBodyTime), 123.033333);
}

// Every number text printf writes reads as strtod reads it, the double
// nearest the decimal: the one-operation path (a mantissa to 2^53, a power
// of ten to 10^22) and the others alike.
TEST(ExactValues, EveryShapeReadsAsStrtodReadsIt) {
  std::mt19937_64 rng(11);
  std::uniform_real_distribution<double> unit(0, 1);
  std::uniform_int_distribution<int> power(-30, 30);
  std::vector<std::string> texts = {"9007199254740993",
                                    "9007199254740992.5",
                                    "123456789012345678",
                                    "1e-30",
                                    "4.9e-46",
                                    "0.1",
                                    "2.2250738585072014e-308",
                                    "7e22",
                                    "1.7976931348623157e+38"};
  for (int i = 0; i < 20000; ++i) {
    const double magnitude = unit(rng);
    const int exponent = power(rng);
    const double v = magnitude * std::pow(10.0, exponent);
    const char* shape = i % 4 == 0 ? "%f" : i % 4 == 1 ? "%e" : i % 4 == 2 ? "%g" : "%.17g";
    texts.push_back(Printf(shape, v));
  }
  int checked = 0;
  for (const std::string& text : texts) {
    std::string line = text;
    line.append("\t0\t-").append(text).append("\t0");
    const std::vector<double> got = BothWays(line, DataFormat::Fiber);
    if (std::isnan(got[0])) {
      continue;  // beyond a float's range: no number, as the store has it
    }
    EXPECT_EQ(got[0], std::strtod(text.c_str(), nullptr)) << text;
    EXPECT_EQ(got[2], -got[0]) << text;
    ++checked;
  }
  EXPECT_GT(checked, 19000) << "the texts are numbers the float parser takes";
}

// A load that reads the files' values in its own pass (as the Python module
// asks) holds the very tables a writer reads afterwards, holes and all.
TEST(ExactValues, ReadInTheLoadsPassOrAfterwardsTheTablesAreTheSame) {
  for (const bool shuffled : {false, true}) {
    ShapedRun run;
    WriteShapedRun(run, "%.9g", shuffled);
    std::string fabric;
    {
      QFile f(run.folder.Dir() + QStringLiteral("fabricsTrunk.dat"));
      ASSERT_TRUE(f.open(QIODevice::ReadOnly));
      fabric = f.readAll().toStdString();
    }
    // Two nodes of the second step left out: holes, which both fill alike.
    for (int k = 0; k < 2; ++k) {
      std::size_t at = 0;
      for (int line = 0; line < 7; ++line) {
        at = fabric.find('\n', at) + 1;
      }
      fabric.erase(at, fabric.find('\n', at) + 1 - at);
    }
    run.folder.Write(QStringLiteral("fabricsTrunk.dat"), fabric);
    run.folder.Write(QStringLiteral("FiberTrunk_Cotton.dat"), "0\t0\t1.25\t2.5\n0\t0.001\t3.75\t5\n");
    LoadedRun lazy(run.folder.Dir());
    CRecordingMessageSink said;
    CSimulationData ahead;
    ahead.SetMessageSink(&said);
    ahead.SetReadExact(true);
    ASSERT_TRUE(lazy.ok);
    ASSERT_TRUE(ahead.Load(run.folder.Dir()));
    auto same = [](const CExactTable* a, const CExactTable* b) {
      if (a == nullptr || b == nullptr) {
        return a == b;
      }
      if (a->Rows() != b->Rows() || a->Width() != b->Width()) {
        return false;
      }
      for (std::size_t r = 0; r < a->Rows(); ++r) {
        for (int c = 0; c < a->Width(); ++c) {
          const double x = a->At(r, c), y = b->At(r, c);
          if (!(x == y || (std::isnan(x) && std::isnan(y)))) {
            return false;
          }
        }
      }
      return true;
    };
    const CExactTables& l = *lazy.data.Exact();
    const CExactTables& a = *ahead.Exact();
    EXPECT_TRUE(same(l.Environment(), a.Environment()));
    EXPECT_TRUE(same(l.Body(), a.Body()));
    for (int p = 0; p < kBodyPartCount; ++p) {
      EXPECT_TRUE(same(l.Comfort(p), a.Comfort(p))) << p;
      EXPECT_TRUE(same(l.Fabric(p), a.Fabric(p))) << p;
    }
    ASSERT_NE(a.Fiber(0), nullptr);
    EXPECT_TRUE(same(l.Fiber(0), a.Fiber(0)));
    EXPECT_EQ(a.Fiber(0)->At(1, 2), 3.75);
    EXPECT_EQ(a.Fabric(Trunk)->Rows(), 24u) << "the missing rows are holes";
    EXPECT_TRUE(said.Entries().size() == lazy.messages.Entries().size()) << "the same load, the same words";
  }
}
