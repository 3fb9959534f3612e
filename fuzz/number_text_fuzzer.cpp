// Any bytes into ReadNumber. What must hold: the only error is the overflow
// error; a value read is a number; written with FormatNumber and read back it
// is the same value to 15 digits, writes the same text again, and is no longer
// than the longest text the list makes room for.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <string>
#include <string_view>

#include "number_text.h"

namespace {

// The longest text FormatNumber writes, for any Long or Number.
constexpr std::size_t kLongestNumberText = std::max({
    // "-2147483648"
    std::size_t{1} + std::numeric_limits<partition::Long>::digits10 + 1,
    // "-.000000000123456789012345": point, zeros, all digits
    std::size_t{1 + 1 + (-partition::kSmallestFixedExponent - 1) + partition::kSignificantDigits},
    // "-12345678901234.5": all digits and a point
    std::size_t{1 + partition::kSignificantDigits + 1},
    // "-1.23456789012345E-308": digit, point, digits, "E", sign, three digits
    std::size_t{1 + 1 + 1 + (partition::kSignificantDigits - 1) + 1 + 1 + 3},
});

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  partition::Number value = 0;
  try {
    value = partition::ReadNumber(text);
  } catch (const partition::RuntimeError& error) {
    if (error.number() != partition::kOverflowError) {
      std::abort();
    }
    return 0;
  }
  if (!std::isfinite(value)) {
    std::abort();
  }
  const std::string written = partition::FormatNumber(value);
  const partition::Number back = partition::ReadNumber(written);
  if (std::fabs(back - value) > std::fabs(value) * 1e-14 ||
      partition::FormatNumber(back) != written || written.size() > kLongestNumberText) {
    std::abort();
  }
  return 0;
}
