#include "decimal_conversion.h"

#include <gtest/gtest.h>

#include <bit>
#include <clocale>
#include <cmath>
#include <cstdint>
#include <random>
#include <string>

namespace partition::decimal_conversion {
namespace {

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
