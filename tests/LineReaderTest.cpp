// Line rules: whole lines up to 255 characters, one unreadable line for a
// longer one, CR LF like LF, no phantom last line.

#include "LineReader.h"
#include "RunFolder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

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
  while (reader.Next(line)) out.push_back({std::string(line.text, line.length), line.tooLong, line.hasBreak});
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
}

TEST(LineReader, LongLinesAreOneUnreadableLine) {
  const std::string ok(254, 'x');           // 254 + line break = 255: whole
  const std::string tooLong(255, 'y');      // 255 + line break: too long
  const std::string huge(3 * 1024 * 1024, '7');  // spans several buffer fills
  auto lines = ReadAll(ok + "\n" + tooLong + "\n" + huge + "\nafter\n" + std::string(256, 'z'));
  ASSERT_EQ(lines.size(), 5u);
  EXPECT_FALSE(lines[0].tooLong);
  EXPECT_EQ(lines[0].text.size(), 254u);
  EXPECT_TRUE(lines[1].tooLong);
  EXPECT_TRUE(lines[2].tooLong);
  EXPECT_TRUE(lines[2].text.empty());
  EXPECT_EQ(lines[3].text, "after");
  EXPECT_TRUE(lines[4].tooLong);
  // 255 characters without a line break at the end of the file fit.
  lines = ReadAll(std::string(255, 'q'));
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_FALSE(lines[0].tooLong);
}

TEST(LineReader, LinesAcrossBufferBoundaries) {
  std::string content;
  for (int i = 0; i < 200000; ++i) content += std::to_string(i) + "\t" + std::to_string(i * 3) + (i % 3 ? "\n" : "\r\n");
  auto lines = ReadAll(content);
  ASSERT_EQ(lines.size(), 200000u);
  for (int i = 0; i < 200000; i += 997) EXPECT_EQ(lines[static_cast<std::size_t>(i)].text, std::to_string(i) + "\t" + std::to_string(i * 3));
}

TEST(LineReader, MissingFileAndFolderDoNotOpen) {
  CRunFolder folder;
  CLineReader reader;
  EXPECT_FALSE(reader.Open(folder.Dir() + QStringLiteral("missing.dat")));
  EXPECT_FALSE(reader.Open(folder.Dir()));
  TextLine line{};
  EXPECT_FALSE(reader.Next(line));
}
