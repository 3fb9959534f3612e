// Correctly rounded conversions between doubles and decimal digits, the two
// steps of the number text rules that need exact arithmetic. They go through
// std::to_chars/std::from_chars where the standard library has them for
// floating point, and through the C library's snprintf/strtod elsewhere (the
// WebAssembly build's libc++); both ways give the same results, bit for bit.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <version>

namespace partition::decimal_conversion {

// A finite magnitude (>= 0) rounded to `significant` digits (1..17),
// half to even on the exact binary value: the digits without a point, and
// the power of ten of the first one (0.5 -> "5", -1).
struct Rounded {
  std::array<char, 17> digits{};
  std::size_t count = 0;
  int exponent = 0;
  [[nodiscard]] std::string_view Digits() const { return {digits.data(), count}; }
};
[[nodiscard]] Rounded Round(double magnitude, int significant);

// The double nearest to `digits` * 10^`exponent`, `digits` being 1 to 800
// decimal digits with no sign and no point. nullopt when the value passes the
// largest double; a value below the smallest one is 0.
[[nodiscard]] std::optional<double> Parse(std::string_view digits, std::int64_t exponent);

// The same two conversions, each one way only, so that tests can hold them
// against each other. The standard library's way exists only where
// HasStandardWay is true.
[[nodiscard]] Rounded RoundWithC(double magnitude, int significant);
[[nodiscard]] std::optional<double> ParseWithC(std::string_view digits, std::int64_t exponent);
#if defined(__cpp_lib_to_chars)
inline constexpr bool HasStandardWay = true;
[[nodiscard]] Rounded RoundWithStandard(double magnitude, int significant);
[[nodiscard]] std::optional<double> ParseWithStandard(std::string_view digits,
                                                      std::int64_t exponent);
#else
inline constexpr bool HasStandardWay = false;
#endif

}  // namespace partition::decimal_conversion
