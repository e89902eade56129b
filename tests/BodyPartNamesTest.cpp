#include <gtest/gtest.h>

#include "BodyPartNames.h"

TEST(BodyPartNames, TableAndNormalisation) {
  EXPECT_EQ(BodyPartOfName(NormaliseGroupName(" HEAD", false)), 0);
  EXPECT_EQ(BodyPartOfName(NormaliseGroupName("\tTORSO \r\n", false)), 1);
  EXPECT_EQ(BodyPartOfName("TRUNK1"), 1);
  EXPECT_EQ(BodyPartOfName("RIGHTHAND"), 3);
  EXPECT_EQ(BodyPartOfName("LEFTFOOT"), 5);
  EXPECT_EQ(BodyPartOfName("head"), -1);
  EXPECT_EQ(BodyPartOfName(NormaliseGroupName(" head", true)), 0);
  EXPECT_EQ(BodyPartOfName("LEFTARMS"), -1);
  EXPECT_EQ(BodyPartOfName(""), -1);
}

TEST(BodyPartNames, AnimationFrames) {
  EXPECT_EQ(AnimationFramePart("H3_TRUNK", 3).part, 1);
  EXPECT_FALSE(AnimationFramePart("H3_TRUNK", 3).garment);
  EXPECT_EQ(AnimationFramePart("H13_TRUNK", 3).part, -1);
  EXPECT_EQ(AnimationFramePart("H2_TRUNK", 3).part, -1);
  EXPECT_EQ(AnimationFramePart("H13_TRUNK", 13).part, 1);
  EXPECT_EQ(AnimationFramePart("H3_HEAD_TOP", 3).part, 0);
  EXPECT_EQ(AnimationFramePart("X_H3_HEAD", 3).part, 0);
  EXPECT_EQ(AnimationFramePart("C3_LEFTLEG", 3).part, 4);
  EXPECT_TRUE(AnimationFramePart("C3_LEFTLEG", 3).garment);
  EXPECT_EQ(AnimationFramePart("C3_LEFTLEG_X", 3).part, -1);
  EXPECT_EQ(AnimationFramePart("H0_FOOT", 0).part, -1);
  EXPECT_EQ(AnimationFramePart("H0_RIGHTFOOT", 0).part, 5);
}
