#include "decimal_conversion.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#if defined(__cpp_lib_to_chars)
#include <charconv>
#include <system_error>
#endif

namespace partition::decimal_conversion {
namespace {

// "d.ddde±x" (any decimal point, as the C library's locale may write one)
// into digits and exponent.
Rounded FromScientific(std::string_view text) {
  Rounded rounded;
  const std::size_t e = text.find_first_of("eE");
  for (const char c : text.substr(0, e)) {
    if (c >= '0' && c <= '9') {
      rounded.digits[rounded.count++] = c;
    }
  }
  while (rounded.count > 1 && rounded.digits[rounded.count - 1] == '0') {
    --rounded.count;
  }
  rounded.exponent = std::atoi(std::string(text.substr(e + 1)).c_str());
  return rounded;
}

std::string ScientificText(std::string_view digits, std::int64_t exponent) {
  std::string text(digits);
  text.push_back('e');
  text += std::to_string(exponent);
  return text;
}

}  // namespace

Rounded RoundWithC(double magnitude, int significant) {
  std::array<char, 40> buffer{};
  const int length =
      std::snprintf(buffer.data(), buffer.size(), "%.*e", significant - 1, magnitude);
  return FromScientific(std::string_view(buffer.data(), static_cast<std::size_t>(length)));
}

std::optional<double> ParseWithC(std::string_view digits, std::int64_t exponent) {
  const std::string text = ScientificText(digits, exponent);
  errno = 0;
  const double value = std::strtod(text.c_str(), nullptr);
  if (errno == ERANGE && std::isinf(value)) {
    return std::nullopt;
  }
  return value;
}

#if defined(__cpp_lib_to_chars)
Rounded RoundWithStandard(double magnitude, int significant) {
  std::array<char, 40> buffer{};
  const auto end = std::to_chars(buffer.data(), buffer.data() + buffer.size(), magnitude,
                                 std::chars_format::scientific, significant - 1)
                       .ptr;
  return FromScientific(
      std::string_view(buffer.data(), static_cast<std::size_t>(end - buffer.data())));
}

std::optional<double> ParseWithStandard(std::string_view digits, std::int64_t exponent) {
  const std::string text = ScientificText(digits, exponent);
  double value = 0.0;
  const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
  if (result.ec == std::errc::result_out_of_range) {
    const std::int64_t leading = exponent + static_cast<std::int64_t>(digits.size()) - 1;
    if (leading >= 0) {
      return std::nullopt;
    }
    return 0.0;
  }
  return value;
}

Rounded Round(double magnitude, int significant) {
  return RoundWithStandard(magnitude, significant);
}
std::optional<double> Parse(std::string_view digits, std::int64_t exponent) {
  return ParseWithStandard(digits, exponent);
}
#else
Rounded Round(double magnitude, int significant) { return RoundWithC(magnitude, significant); }
std::optional<double> Parse(std::string_view digits, std::int64_t exponent) {
  return ParseWithC(digits, exponent);
}
#endif

}  // namespace partition::decimal_conversion
