// A fabric file read straight into columns is read as the loader reads it:
// the same doubles, layers, step times and shape on every number shape; and
// any file the loader would place or speak of is left to it.

#include <gtest/gtest.h>

#include <array>
#include <bit>
#include <cstdio>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "ExactTables.h"
#include "FabricGridFile.h"
#include "RunFolder.h"

namespace {

std::string Printf(const char* shape, double v) {
  char buf[64];
  std::snprintf(buf, sizeof buf, shape, v);
  return buf;
}

// A Trunk fabric of `steps` steps 0.1 min apart from minute 3, 2 layers x
// 3 nodes, its values written with `shape`; lines of `fields` numbers (8 or
// 9), every third line of 8 when `mixed`.
std::string FabricText(const char* shape, int steps, int fields = 9, bool mixed = false) {
  std::mt19937 rng(11);
  std::uniform_real_distribution<double> skin(30, 38), tiny(-1e-6, 1e-6), big(0, 5000);
  std::string out;
  int line = 0;
  for (int s = 0; s < steps; ++s) {
    for (int layer = 1; layer <= 2; ++layer) {
      for (int n = 0; n < 3; ++n, ++line) {
        out += Printf(shape, 3.0 + 0.1 * s) + '\t' + Printf(shape, 0.0125 * (3 * layer + n)) + '\t';
        out += std::to_string(layer);
        const int count = mixed && line % 3 == 0 ? 8 : fields;
        for (int k = 3; k < count; ++k) {
          out += '\t';
          out += Printf(shape, k % 3 == 0 ? skin(rng) : k % 3 == 1 ? tiny(rng) : big(rng));
        }
        out += "\t\n";
      }
    }
  }
  return out;
}

// A run whose only clothed part is the Trunk, with `fabric` as its file.
void WriteRun(CRunFolder& folder, const std::string& fabric) {
  folder.WriteMinimal(2, "0\t1\t0\t0\t0\t0");
  folder.Write(QStringLiteral("fabricsTrunk.dat"), fabric);
}

constexpr int kTrunk = 1;

// `fabric` as the Trunk's file of a run: the reader gives what the loader
// keeps, bit for bit, and the loader says nothing of it.
void ExpectAsTheLoaderReadsIt(const std::string& fabric, std::size_t steps) {
  CRunFolder folder;
  WriteRun(folder, fabric);
  LoadedRun loaded(folder.Dir());
  ASSERT_TRUE(loaded.ok);
  ASSERT_TRUE(loaded.messages.Entries().empty());
  const RunTables& run = loaded.data.Run();
  const CExactTable* exact = ExactFabricOf(loaded.data.Exact(), run, kTrunk);
  ASSERT_NE(exact, nullptr);

  const std::optional<CFabricGridColumns> grid = ReadFabricGrid(folder.Dir() + QStringLiteral("fabricsTrunk.dat"));
  ASSERT_TRUE(grid.has_value());
  ASSERT_EQ(grid->Rows(), run.m_fabric[kTrunk].size());
  EXPECT_EQ(grid->Layout().layers, run.m_nLayers[kTrunk]);
  EXPECT_EQ(grid->Layout().nodes, run.m_nNodesPerLayer[kTrunk]);
  EXPECT_EQ(grid->Layout().interval, run.m_fFabricInterval);
  EXPECT_EQ(grid->NinthColumn(), run.m_bLiquidFraction[kTrunk]);
  const std::size_t perStep = 6;
  ASSERT_EQ(grid->StepTimes().size(), steps);
  for (std::size_t k = 0; k < grid->StepTimes().size(); ++k) {
    EXPECT_EQ(grid->StepTimes()[k], run.m_fabric[kTrunk][k * perStep].m_fTime);
  }
  const std::vector<double>& values = grid->Values();
  for (std::size_t r = 0; r < grid->Rows(); ++r) {
    EXPECT_EQ(grid->Layers()[r], run.m_fabric[kTrunk][r].m_nLayer);
    const double* row = values.data() + r * CFabricGridColumns::kWidth;
    const int from[CFabricGridColumns::kWidth] = {0, 1, 3, 4, 5, 6, 7, 8};
    for (int i = 0; i < CFabricGridColumns::kWidth; ++i) {
      ASSERT_EQ(std::bit_cast<std::uint64_t>(row[i]), std::bit_cast<std::uint64_t>(exact->At(r, from[i])))
          << "row " << r << ", column " << i;
    }
  }
}

TEST(FabricGridFile, ReadsWhatTheLoaderKeepsOnEveryShape) {
  struct Case {
    const char* shape;
    int fields;
    bool mixed;
  };
  // (19 digits and a plus sign each with "%+.18e"; "-0.0000" among "%.4f"'s.)
  for (const Case c : {Case{"%f", 9, false}, Case{"%e", 9, false}, Case{"%g", 9, false}, Case{"%.9g", 8, false},
                       Case{"%.17g", 9, false}, Case{"%+.18e", 9, false}, Case{"%.4f", 9, true}}) {
    SCOPED_TRACE(c.shape);
    ExpectAsTheLoaderReadsIt(FabricText(c.shape, 5, c.fields, c.mixed), 5);
  }
}

TEST(FabricGridFile, LeavesEveryOtherFileToTheLoader) {
  const std::string good = FabricText("%f", 3);
  const std::size_t second = good.find('\n') + 1;  // where the second line starts
  auto withLine = [&](const std::string& line) { return good.substr(0, second) + line + good.substr(second); };
  auto replaced = [&](const std::string& from, const std::string& to) {
    std::string s = good;
    s.replace(s.find(from), from.size(), to);
    return s;
  };
  // The first line with its field `k` (from 0) made `text`.
  auto field = [&](int k, const std::string& text) {
    std::string s = good;
    std::size_t from = 0;
    for (int i = 0; i < k; ++i) {
      from = s.find('\t', from) + 1;
    }
    s.replace(from, s.find('\t', from) - from, text);
    return s;
  };
  std::size_t firstStep = 0;  // where the second step starts: six lines in
  for (int line = 0; line < 6; ++line) {
    firstStep = good.find('\n', firstStep) + 1;
  }
  struct Case {
    const char* what;
    std::string text;
  };
  const Case cases[] = {
      {"an empty file", ""},
      {"a header", "Time\tPosition\tLayer\tA\tB\tC\tD\tE\tF\n" + good},
      {"a blank line", withLine("\n")},
      {"a line of seven numbers", withLine("3\t0.1\t1\t1\t1\t1\t1\n")},
      {"a row too many", withLine(good.substr(0, second))},
      {"a row missing", good.substr(second)},
      {"a field that is no number", replaced("3.000000", "3.0O0000")},
      {"a layer that is no whole number", replaced("\t1\t", "\t1.0\t")},
      {"a time beyond a float's range", field(0, "3e39")},
      {"a value beyond a float's range", field(4, "-3.5e38")},
      {"a NUL early in a line (a line the loader skips)", field(0, std::string("3\0", 2))},
      {"steps out of order", good.substr(firstStep) + good.substr(0, firstStep)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    CRunFolder folder;
    folder.Write(QStringLiteral("fabricsTrunk.dat"), c.text);
    EXPECT_FALSE(ReadFabricGrid(folder.Dir() + QStringLiteral("fabricsTrunk.dat")).has_value());
  }
  CRunFolder folder;
  EXPECT_FALSE(ReadFabricGrid(folder.Dir() + QStringLiteral("fabricsTrunk.dat")).has_value()) << "no file";
  // What the loader reads alike, without a word: CR LF line ends, spaces for
  // tabs, a last line without its break, words after the ninth number, a
  // NUL there, a number of twenty digits.
  for (const std::string& alike :
       {replaced("\t\n", "\t\r\n"), replaced("\t1\t", " 1  "), good.substr(0, good.size() - 1),
        replaced("\t\n", "\tend\n"), replaced("\t\n", std::string("\t\0x\n", 4)),
        replaced("3.000000", "3.0000000000000000000")}) {
    ExpectAsTheLoaderReadsIt(alike, 3);
  }
}

// A run's files are read side by side, each part's that is there.
TEST(FabricGridFile, ARunsFilesReadSideBySide) {
  CRunFolder folder;
  WriteRun(folder, FabricText("%g", 4));
  std::array<QString, kBodyPartCount> names;
  for (int p = 0; p < kBodyPartCount; ++p) {
    names[static_cast<std::size_t>(p)] = QStringLiteral("fabrics") + QLatin1String(kBodyPartNames[p]) + ".dat";
  }
  FabricGrids grids = ReadFabricGrids(folder.Dir(), names, 2);
  for (int p = 0; p < kBodyPartCount; ++p) {
    EXPECT_EQ(grids[static_cast<std::size_t>(p)].has_value(), p == kTrunk) << kBodyPartNames[p];
  }
  ASSERT_TRUE(grids[kTrunk].has_value());
  EXPECT_EQ(grids[kTrunk]->Rows(), 24u);
}

}  // namespace
