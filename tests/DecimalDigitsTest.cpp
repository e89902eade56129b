// The shared fast path of our number readers against strtof: every float it
// gives is strtof's, bit for bit, and it declines exactly where a double
// could not tell which way the decimal rounds.

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "DecimalDigits.h"

namespace {
// The token read the fast way: whether it could, and what it gave.
bool Fast(const std::string& token, float& out) {
  // Padded, as a line of a file is: the eight-at-a-time reader may look ahead.
  const std::string padded = token + "\t                ";
  const char* s = padded.data();
  std::uint64_t mantissa = 0;
  int scale = 0;
  const std::ptrdiff_t count = decimal::ReadDigits(s, padded.data() + padded.size(), mantissa, scale);
  EXPECT_EQ(s - padded.data(), static_cast<std::ptrdiff_t>(token.size())) << token;
  return count > 0 && count <= 19 && decimal::ExactFloat(mantissa, scale, out);
}
}  // namespace

TEST(DecimalDigits, FloatsAreStrtofsAndHalfwaysAreDeclined) {
  std::vector<std::string> tokens = {"0",
                                     "74.998438",
                                     "1.000000",
                                     "16777216",
                                     "16777217",
                                     "16777217.000000",
                                     "16777217.00000001",
                                     "16777216.99999999",
                                     "33554434",
                                     "33554434.5",
                                     "0.000001",
                                     "123456789.123456",
                                     "9007199254740993",
                                     "3.4028234",
                                     "0.30000001192092896"};
  // Floats apart by one or more, from 2^23 to 2^29: their halfway points are
  // short decimals ("10000000.5"), which a double holds exactly and so
  // cannot say which float is nearer. A hair above or below each (a 1 in the
  // seventh decimal) the double can, and the fast way must read it.
  std::mt19937 rng(11);
  for (int i = 0; i < 4000; ++i) {
    const int power = 23 + static_cast<int>(rng() % 6);
    const float f = std::ldexp(1.0f + static_cast<float>(rng() % (1u << 23)) / (1u << 23), power);
    const double half = (static_cast<double>(f) + static_cast<double>(std::nextafter(f, INFINITY))) / 2;
    const auto tenths = static_cast<unsigned long long>(half * 10);  // exact: half is a multiple of 0.5
    char text[64];
    std::snprintf(text, sizeof text, "%llu.%llu", tenths / 10, tenths % 10);
    tokens.emplace_back(text);
    for (const long long hair : {1LL, -1LL}) {
      const unsigned long long tiny = tenths * 1000000 + static_cast<unsigned long long>(hair);
      std::snprintf(text, sizeof text, "%llu.%07llu", tiny / 10000000, tiny % 10000000);
      tokens.emplace_back(text);
    }
  }
  int declinedHalfways = 0, fastShort = 0;
  for (const std::string& t : tokens) {
    float fast = 0;
    const float reference = std::strtof(t.c_str(), nullptr);
    const auto digits = std::count_if(t.begin(), t.end(), [](char c) { return decimal::IsDigit(c); });
    if (Fast(t, fast)) {
      ASSERT_EQ(std::bit_cast<std::uint32_t>(fast), std::bit_cast<std::uint32_t>(reference)) << t;
      fastShort += digits > 8;
      continue;
    }
    // Declined: a mantissa beyond a double's, or a decimal exactly halfway.
    const double exact = std::strtod(t.c_str(), nullptr);
    const float near = static_cast<float>(exact);
    const float other = std::nextafter(near, exact > static_cast<double>(near) ? INFINITY : 0.0f);
    const bool halfway = std::fabs(exact - static_cast<double>(near)) == std::fabs(static_cast<double>(other) - exact);
    EXPECT_TRUE(halfway || digits > 15) << t << " was declined";
    declinedHalfways += halfway;
  }
  EXPECT_GE(declinedHalfways, 4000) << "each \"%.1f\" of a halfway point";
  EXPECT_GE(fastShort, 8000) << "the hairs either side are read the fast way";
  float v = 0;
  EXPECT_TRUE(Fast("74.998438", v)) << "the usual \"%f\" is read the fast way";
  EXPECT_FALSE(Fast("10000000.5", v)) << "exactly halfway between two floats";
  EXPECT_TRUE(Fast("10000000.5000001", v));
  EXPECT_EQ(v, 10000001.0f);
}
