// Line rules: whole lines up to 255 characters, one unreadable line for a
// longer one, CR LF like LF, no phantom last line.

#include <gtest/gtest.h>

#include <atomic>
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "LineReader.h"
#include "LoadCancel.h"
#include "RunFolder.h"
#include "TableFiles.h"

namespace {
struct Read {
  std::string text;
  bool tooLong;
  bool hasBreak;
};

std::vector<Read> ReadAll(const std::string& content) {
  CRunFolder folder;
  folder.Write(QStringLiteral("f.dat"), content);
  CLineReader reader;
  EXPECT_TRUE(reader.Open(folder.Dir() + QStringLiteral("f.dat")));
  std::vector<Read> out;
  TextLine line{};
  while (reader.Next(line)) {
    out.push_back({std::string(line.text, line.length), line.tooLong, line.hasBreak});
  }
  return out;
}
}  // namespace

TEST(LineReader, SplitsLinesAndNeverRepeatsTheLast) {
  auto lines = ReadAll("a\nbb\n\nccc\n");
  ASSERT_EQ(lines.size(), 4u);
  EXPECT_EQ(lines[0].text, "a");
  EXPECT_EQ(lines[2].text, "");
  EXPECT_EQ(lines[3].text, "ccc");

  lines = ReadAll("a\nlast");
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_EQ(lines[1].text, "last");
  EXPECT_FALSE(lines[1].hasBreak);

  EXPECT_TRUE(ReadAll("").empty());
}

TEST(LineReader, CrLfReadsLikeLf) {
  auto lines = ReadAll("1\t2\r\n3\t4\r\nend\r");
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0].text, "1\t2");
  EXPECT_EQ(lines[1].text, "3\t4");
  EXPECT_EQ(lines[2].text, "end");

  // Breaks found past the first 16 characters of a line, where the search
  // looks at 16 at a time: a lone CR, then CR LF, then LF.
  lines = ReadAll(std::string(40, 'w') + "\r" + std::string(20, 'v') + "\r\n" + std::string(33, 'u') + "\n");
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0].text, std::string(40, 'w'));
  EXPECT_EQ(lines[1].text, std::string(20, 'v'));
  EXPECT_EQ(lines[2].text, std::string(33, 'u'));
}

TEST(LineReader, LongLinesKeepTheirHeadAndTheRestIsOneUnreadableLine) {
  const std::string huge(std::size_t{3} * 1024 * 1024, '7');  // spans several buffer fills
  struct Case {
    std::string text;
    std::vector<std::pair<std::size_t, bool>> lines;  // (length, too long) of each line read
  } cases[] = {
      {std::string(254, 'x') + "\n", {{254, false}}},             // 254 + line break = 255: whole
      {std::string(254, 'x') + "\r\n", {{254, false}}},           // CR LF counts as one break
      {std::string(255, 'y') + "\n", {{255, false}, {0, true}}},  // the row kept, the break left over
      {std::string(255, 'y') + "\r\nnext\n", {{255, false}, {0, true}, {4, false}}},
      {huge + "\nafter\n", {{255, false}, {0, true}, {5, false}}},  // no piece of the tail is a row
      {std::string(255, 'q'), {{255, false}}},                      // at the end of the file, no break: fits
      {std::string(256, 'z'), {{255, false}, {0, true}}},
  };
  for (const Case& c : cases) {
    const auto lines = ReadAll(c.text);
    ASSERT_EQ(lines.size(), c.lines.size()) << c.text.size();
    for (std::size_t i = 0; i < lines.size(); ++i) {
      EXPECT_EQ(lines[i].text.size(), c.lines[i].first) << c.text.size() << " line " << i;
      EXPECT_EQ(lines[i].tooLong, c.lines[i].second) << c.text.size() << " line " << i;
    }
  }
  EXPECT_EQ(ReadAll(huge + "\n")[0].text, huge.substr(0, 255));
}

TEST(LineReader, LinesAcrossBufferBoundaries) {
  std::string content;
  for (int i = 0; i < 200000; ++i) {
    content += std::to_string(i) + "\t" + std::to_string(i * 3) + (i % 3 ? "\n" : "\r\n");
  }
  auto lines = ReadAll(content);
  ASSERT_EQ(lines.size(), 200000u);
  for (int i = 0; i < 200000; i += 997) {
    EXPECT_EQ(lines[static_cast<std::size_t>(i)].text, std::to_string(i) + "\t" + std::to_string(i * 3));
  }
}

TEST(LineReader, MissingFileAndFolderDoNotOpen) {
  CRunFolder folder;
  CLineReader reader;
  EXPECT_FALSE(reader.Open(folder.Dir() + QStringLiteral("missing.dat")));
  EXPECT_FALSE(reader.Open(folder.Dir()));
  TextLine line{};
  EXPECT_FALSE(reader.Next(line));
}

// An abandoned load stops at the next buffer: the rest of a big file is not
// read, on the loading thread and on the helpers it starts, and the flag
// governs only the scope it was set in.
TEST(LineReader, AnAbandonedLoadStopsReadingOnEveryThreadItStarted) {
  CRunFolder folder;
  std::string big;
  for (int i = 0; i < 400000; ++i) {
    big += "0.5\t1.5\t2.5\n";  // 4.8 MB: several buffers
  }
  folder.Write(QStringLiteral("f.dat"), big);
  const QString path = folder.Dir() + QStringLiteral("f.dat");
  auto countLines = [&](const std::atomic<bool>* cancelAfterFirst) {
    CLineReader reader;
    EXPECT_TRUE(reader.Open(path));
    TextLine line{};
    int n = 0;
    while (reader.Next(line)) {
      if (n++ == 0 && cancelAfterFirst) {
        const_cast<std::atomic<bool>*>(cancelAfterFirst)->store(true);
      }
    }
    return n;
  };
  std::atomic<bool> cancel{false};
  {
    const CLoadCancelScope scope(&cancel);
    std::vector<int> counts(3, -1);
    std::vector<std::function<void()>> tasks;
    tasks.reserve(3);
    for (int t = 0; t < 3; ++t) {
      tasks.push_back([&, t] { counts[static_cast<std::size_t>(t)] = countLines(t == 0 ? &cancel : nullptr); });
    }
    tasks[0]();  // the first sets the flag after one line
    tasks.erase(tasks.begin());
    RunTasks(tasks, 3);
    EXPECT_GT(counts[0], 0);
    EXPECT_LT(counts[0], 400000);
    EXPECT_EQ(counts[1], 0);
    EXPECT_EQ(counts[2], 0);
  }
  EXPECT_FALSE(CLoadCancelScope::Cancelled());
  EXPECT_EQ(countLines(nullptr), 400000);  // outside the scope, the whole file
}
