#include <gtest/gtest.h>

#include "IdFile.h"

TEST(IdFile, BlocksUntilTheFirstMismatch) {
  auto ids = ParseIdFile("model id:M-1\nthe garment list:2\ngarment id:G-1\ngarment id:G 2\n");
  EXPECT_EQ(ids.modelId, QStringLiteral("M-1"));
  EXPECT_EQ(ids.garmentIds, (QStringList{QStringLiteral("G-1"), QStringLiteral("G 2")}));

  // A second block replaces the model id and appends garments.
  ids = ParseIdFile("model id:A\nthe garment list:1\ngarment id:X\nmodel id:B\nthe garment list:1\ngarment id:Y\n");
  EXPECT_EQ(ids.modelId, QStringLiteral("B"));
  EXPECT_EQ(ids.garmentIds.size(), 2);

  // Fewer garments than announced: what was read stays.
  ids = ParseIdFile("model id:A\nthe garment list:3\ngarment id:X\nsomething else\n");
  EXPECT_EQ(ids.modelId, QStringLiteral("A"));
  EXPECT_EQ(ids.garmentIds, QStringList{QStringLiteral("X")});

  ids = ParseIdFile("nothing here");
  EXPECT_FALSE(ids.hasModelId);
  EXPECT_TRUE(ids.garmentIds.isEmpty());
}

TEST(IdFile, CrLfAndScanfBlanks) {
  auto ids = ParseIdFile("model id:M-7\r\nthe garment list: 1\r\n\r\ngarment id:G-9\r\n");
  EXPECT_EQ(ids.modelId, QStringLiteral("M-7"));
  EXPECT_EQ(ids.garmentIds, QStringList{QStringLiteral("G-9")});
  // A blank in the pattern matches any run of white space, none included.
  ids = ParseIdFile("modelid:Z\nthe  garment\tlist:0\n");
  EXPECT_EQ(ids.modelId, QStringLiteral("Z"));
  // An empty id does not match.
  ids = ParseIdFile("model id:\nthe garment list:0\n");
  EXPECT_FALSE(ids.hasModelId);
}

TEST(IdFile, LongIdIsCutAt255AndNegativeCountReadsNothing) {
  const std::string longId(300, 'k');
  auto ids = ParseIdFile("model id:" + longId + "\n");
  EXPECT_EQ(ids.modelId.size(), 255);
  ids = ParseIdFile("model id:M\nthe garment list:-4\ngarment id:G\n");
  EXPECT_TRUE(ids.garmentIds.isEmpty());
}
