#include "decimal_conversion.h"

#include <gtest/gtest.h>

#include <bit>
#include <clocale>
#include <cstdint>
#include <limits>
#include <random>
#include <string>

namespace partition::decimal_conversion {
namespace {

constexpr double kMaxDouble = std::numeric_limits<double>::max();
constexpr double kSmallestDouble = std::numeric_limits<double>::denorm_min();

TEST(DecimalConversion, RoundsTheExactBinaryValueHalfToEven) {
  const struct {
    const char* name;
    double magnitude;
    int significant;
    std::string digits;
    int exponent;
  } cases[] = {
      {"zero", 0.0, 15, "0", 0},
      {"smallest double", kSmallestDouble, 15, "494065645841247", -324},
      {"largest double", kMaxDouble, 15, "179769313486232", 308},
      {"exact half goes to even", 2.5, 1, "2", 0},
      {"exact half goes up to even", 3.5, 1, "4", 0},
      {"0.15 lies below its half", 0.15, 1, "1", -1},
      {"carry into a new digit", 9.9999999999999999e14, 15, "1", 15},
      {"trailing zeros dropped", 1.5e-11, 15, "15", -11},
      {"a tenth to 17 digits", 0.1, 17, "10000000000000001", -1},
  };
  for (const auto& c : cases) {
    const Rounded rounded = Round(c.magnitude, c.significant);
    EXPECT_EQ(rounded.Digits(), c.digits) << c.name;
    EXPECT_EQ(rounded.exponent, c.exponent) << c.name;
  }
}

TEST(DecimalConversion, ParsesToTheNearestDoubleAndReportsOverflow) {
  const struct {
    const char* name;
    std::string digits;
    std::int64_t exponent;
    std::optional<double> expected;
  } cases[] = {
      {"largest double", "17976931348623157", 292, kMaxDouble},
      {"just past the largest double", "17976931348623159", 292, std::nullopt},
      {"far past", "1", 400, std::nullopt},
      {"smallest double", "5", -324, kSmallestDouble},
      {"below half the smallest", "2", -324, 0.0},
      {"halfway rounds to even", "9007199254740993", 0, 9007199254740992.0},
      {"a tenth", "1", -1, 0.1},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Parse(c.digits, c.exponent), c.expected) << c.name;
  }
}

// The C library's way must give the bytes of the standard library's, in a
// locale whose decimal point is a comma as much as in "C".
TEST(DecimalConversion, TheCLibrarysWayEqualsTheStandardOne) {
  if constexpr (!HasStandardWay) {
    GTEST_SKIP() << "this standard library has only one way";
  } else {
    // A locale with a decimal comma where one is installed; "C" otherwise.
    std::setlocale(LC_ALL, "de_DE.UTF-8");
    std::mt19937_64 random(20261209);
    for (int i = 0; i < 200000; ++i) {
      const auto bits = random() & 0x7FFFFFFFFFFFFFFFULL;
      const double magnitude = std::bit_cast<double>(bits);
      if (!std::isfinite(magnitude)) {
        continue;
      }
      const int significant = 1 + static_cast<int>(random() % 17);
      const Rounded standard = RoundWithStandard(magnitude, significant);
      const Rounded c = RoundWithC(magnitude, significant);
      ASSERT_EQ(c.Digits(), standard.Digits()) << magnitude << " to " << significant;
      ASSERT_EQ(c.exponent, standard.exponent) << magnitude << " to " << significant;

      const std::string digits = std::to_string(random() % 1000000000000000000ULL + 1);
      const auto exponent = static_cast<std::int64_t>(random() % 700) - 350;
      ASSERT_EQ(ParseWithC(digits, exponent), ParseWithStandard(digits, exponent))
          << digits << "e" << exponent;
    }
    std::setlocale(LC_ALL, "C");
  }
}

}  // namespace
}  // namespace partition::decimal_conversion
