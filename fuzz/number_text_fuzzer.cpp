// Any bytes into ReadNumber. What must hold: the only error is the overflow
// error; a value read is a number; written with FormatNumber and read back it
// is the same value to 15 digits, writes the same text again, and is no longer
// than the longest text the list makes room for.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "number_text.h"

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
      partition::FormatNumber(back) != written || written.size() > partition::kLongestNumberText) {
    std::abort();
  }
  return 0;
}
