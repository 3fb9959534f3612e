#include "number_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <string>

#include "test_support/expect_error.h"

namespace partition {
namespace {

using test_support::EndsWithOverflow;

constexpr Long kMax = std::numeric_limits<Long>::max();
constexpr Long kMin = std::numeric_limits<Long>::min();

struct ReadCase {
  const char* name;
  std::string text;
  Number expected;
};

std::string Repeat(char c, std::size_t count) { return std::string(count, c); }

TEST(ReadNumber, ReadsTheNumberAtTheStartOfTheText) {
  const ReadCase cases[] = {
      {"empty", "", 0},
      {"sign alone", "-", 0},
      {"point alone", ".", 0},
      {"no digits", "abc", 0},
      {"exponent without mantissa", "e5", 0},
      {"two signs", "--5", 0},
      {"zero", "0", 0},
      {"trailing letters", "12abc", 12},
      {"leading blank", " 7", 7},
      {"blanks between digits", "1 2 3", 123},
      {"tab and line feed skipped", "\t7\n1", 71},
      {"carriage return ends", "7\r8", 7},
      {"blank after sign", "- 5", -5},
      {"plus sign", "+5", 5},
      {"comma ends", "2,5", 2},
      {"fraction", "2.5", 2.5},
      {"second point ends", "1.2.3", 1.2},
      {"point first", ".5", 0.5},
      {"negative point first", "-.625", -0.625},
      {"point last", "7.", 7},
      {"exponent", "1E3", 1000},
      {"small e", "1e3", 1000},
      {"exponent with plus", "1e+2", 100},
      {"negative exponent", "25E-2", 0.25},
      {"blanks in exponent", "1 E 3", 1000},
      {"exponent without digits", "1E", 1},
      {"exponent sign without digits", "1E+x", 1},
      {"exponent then text", "2e1x5", 20},
      {"D is no exponent", "1D3", 1},
      {"leading zeros", "000123", 123},
      {"fraction leading zeros", "0.000123", 0.000123},
      {"largest double", "1.7976931348623157E308", 1.7976931348623157E308},
      {"smallest double", "4.9406564584124654E-324", std::numeric_limits<double>::denorm_min()},
      {"below the smallest double", "1E-400", 0},
      {"zero with huge exponent", "0E999999999999999999999", 0},
      {"huge negative exponent", "1E-99999999999999999999", 0},
      {"308 zeros", "1" + Repeat('0', 308), 1e308},
      {"401 zeros after the point", "0." + Repeat('0', 400) + "1", 0},
      {"long fraction rounds up", "0." + Repeat('9', 100000), 1},
      {"halfway rounds to even", "9007199254740993", 9007199254740992.0},
      {"digit past 800 breaks the tie", "9007199254740993." + Repeat('0', 1000) + "1",
       9007199254740994.0},
      {"hex", "&H10", 16},
      {"hex small letters", "&hff", 255},
      {"octal", "&O17", 15},
      {"octal small letter", "&o17", 15},
      {"hex with blanks", " & H 1 0", 16},
      {"hex stops at non-digit", "&H1G", 1},
      {"octal stops at 8", "&O18", 1},
      {"hex without digits", "&H", 0},
      {"unknown radix", "&X1", 0},
      {"ampersand then digits", "&17", 0},
      {"sign before hex", "-&H10", 0},
      {"hex largest Long", "&H7FFFFFFF", 2147483647},
      {"hex all bits set", "&HFFFFFFFF", -1},
      {"hex sign bit", "&H80000000", -2147483648.0},
      {"hex leading zeros", "&H0000000000010", 16},
      {"octal all bits set", "&O37777777777", -1},
      {"Arabic digit", "\u0663", 0},
      {"full-width digits", "\uff11\uff12", 0},
      {"euro sign ends", "12\u20ac", 12},
      {"invalid UTF-8",
       "\xff\xfe"
       "1",
       0},
      {"NUL ends",
       std::string("1\0"
                   "2",
                   3),
       1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const Number value = ReadNumber(c.text);
    EXPECT_EQ(value, c.expected);
    EXPECT_FALSE(std::signbit(value) && value == 0) << "negative zero";
  }
}

TEST(ReadNumber, RaisesOverflowBeyondTheDoubleRange) {
  const std::pair<const char*, std::string> cases[] = {
      {"exponent 400", "1E400"},
      {"negative exponent 400", "-1E400"},
      {"just past the largest double", "1.7976931348623159E308"},
      {"309 zeros", "1" + Repeat('0', 309)},
      {"a million nines", Repeat('9', 1000000)},
      {"huge exponent", "1E99999999999999999999"},
      {"hex past 32 bits", "&H100000000"},
      {"octal past 32 bits", "&O40000000000"},
  };
  for (const auto& [name, text] : cases) {
    SCOPED_TRACE(name);
    EXPECT_TRUE(EndsWithOverflow([&text = text] { (void)ReadNumber(text); }));
  }
}

TEST(ReadNumber, AnyBytesGiveANumberOrTheOverflowError) {
  std::mt19937 random(20261208);
  const std::string alphabet = "0123456789+-.eEdDhHoO&, \t\n\r\xc3\xa4x";
  for (int round = 0; round < 20000; ++round) {
    std::string text(random() % 40, ' ');
    for (char& c : text) {
      c = round % 2 == 0 ? static_cast<char>(random()) : alphabet[random() % alphabet.size()];
    }
    try {
      EXPECT_FALSE(std::isnan(ReadNumber(text))) << text;
    } catch (const RuntimeError& error) {
      EXPECT_EQ(error.number(), kOverflowError) << text;
    }
  }
}

TEST(FormatNumber, WritesLongsWithBlankOrMinus) {
  const std::pair<Long, const char*> cases[] = {
      {kMin, "-2147483648"}, {-1, "-1"}, {0, " 0"}, {15, " 15"}, {kMax, " 2147483647"},
  };
  for (const auto& [value, expected] : cases) {
    EXPECT_EQ(FormatNumber(value), expected);
  }
}

struct FormatCase {
  const char* name;
  Number value;
  const char* expected;
};

TEST(FormatNumber, WritesNumbersInTheShortestFormOf15Digits) {
  const FormatCase cases[] = {
      {"zero", 0.0, " 0"},
      {"negative zero", -0.0, " 0"},
      {"integral", 4, " 4"},
      {"ten", 10, " 10"},
      {"negative integral", -4, "-4"},
      {"fraction", 4.5, " 4.5"},
      {"no zero before the point", 0.375, " .375"},
      {"half", 0.5, " .5"},
      {"negative below one", -0.625, "-.625"},
      {"negative fraction", -1.625, "-1.625"},
      {"binary noise rounded away", 0.1 + 0.2, " .3"},
      {"third", 1.0 / 3, " .333333333333333"},
      {"two thirds rounds up", 2.0 / 3, " .666666666666667"},
      {"15 digits", 123456789.123456789, " 123456789.123457"},
      {"largest fixed integer", 999999999999999, " 999999999999999"},
      {"fraction rounds to an integer", 1e14 + 0.75, " 100000000000001"},
      {"rounds up to 1E+15", 999999999999999.9, " 1E+15"},
      {"1E+15", 1e15, " 1E+15"},
      {"exponent form mantissa", 5000000050000000, " 5.00000005E+15"},
      {"negative exponent form", -1e100, "-1E+100"},
      {"largest double", std::numeric_limits<double>::max(), " 1.79769313486232E+308"},
      {"smallest fixed", 1e-10, " .0000000001"},
      {"fixed with digits", 1.25e-9, " .00000000125"},
      {"below 1E-10", 1.5e-11, " 1.5E-11"},
      {"tiny negative", -2.5e-100, "-2.5E-100"},
      {"smallest double", std::numeric_limits<double>::denorm_min(), " 4.94065645841247E-324"},
      {"half past the Long range", 2147483647.5, " 2147483647.5"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(FormatNumber(c.value), c.expected);
  }
}

TEST(FormatNumber, RaisesOverflowForValuesThatAreNotFinite) {
  for (const Number value :
       {std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity(),
        std::numeric_limits<double>::quiet_NaN()}) {
    EXPECT_TRUE(EndsWithOverflow([&] { (void)FormatNumber(value); }));
  }
}

// What is written reads back as the value rounded to 15 digits, which in turn
// writes the same text.
TEST(FormatNumber, ReadsBackToTheSameText) {
  std::mt19937_64 random(7);
  for (int round = 0; round < 100000; ++round) {
    Number value = 0;
    const std::uint64_t bits = random();
    std::memcpy(&value, &bits, sizeof value);
    if (!std::isfinite(value)) {
      continue;
    }
    const std::string text = FormatNumber(value);
    const Number back = ReadNumber(text);
    ASSERT_EQ(FormatNumber(back), text) << value;
    ASSERT_LE(std::fabs(back - value), std::fabs(value) * 1e-14) << text;
  }
}

TEST(ToLong, RoundsHalvesToEven) {
  const std::pair<Number, Long> cases[] = {
      {-2147483648.5, kMin},
      {-2.5, -2},
      {-1.5, -2},
      {-0.5, 0},
      {0.49999999999999994, 0},
      {0.5, 0},
      {1.5, 2},
      {2.5, 2},
      {3.5, 4},
      {17.5, 18},
      {2.4, 2},
      {2.6, 3},
      {2147483646.5, 2147483646},
      {2147483647.4, kMax},
  };
  for (const auto& [value, expected] : cases) {
    EXPECT_EQ(ToLong(value), expected) << value;
  }
}

TEST(ToLong, RaisesOverflowOutsideTheLongRange) {
  for (const Number value :
       {2147483647.5, 2147483648.0, -2147483648.6, -2147483649.0, 1e300, -1e300,
        std::numeric_limits<double>::infinity(), std::numeric_limits<double>::quiet_NaN()}) {
    EXPECT_TRUE(EndsWithOverflow([&] { (void)ToLong(value); })) << value;
  }
}

TEST(CheckedArithmetic, StaysInsideTheLongRange) {
  EXPECT_EQ(CheckedAdd(kMax - 1, 1), kMax);
  EXPECT_EQ(CheckedAdd(kMin, kMax), -1);
  EXPECT_EQ(CheckedSubtract(-1, kMin), kMax);
  EXPECT_EQ(CheckedSubtract(kMin + 1, 1), kMin);
  EXPECT_TRUE(EndsWithOverflow([] { (void)CheckedAdd(kMax, 1); }));
  EXPECT_TRUE(EndsWithOverflow([] { (void)CheckedAdd(kMin, -1); }));
  EXPECT_TRUE(EndsWithOverflow([] { (void)CheckedSubtract(kMin, 1); }));
  EXPECT_TRUE(EndsWithOverflow([] { (void)CheckedSubtract(0, kMin); }));
}

}  // namespace
}  // namespace partition
