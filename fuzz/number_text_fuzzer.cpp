// Any bytes into ReadNumber. What must hold: the only error is the overflow
// error; a value read is a number; written with FormatNumber and read back it
// is the same value to 15 digits, and writes the same text again.
#include <cmath>
#include <cstddef>
#include <cstdint>
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
      __builtin_trap();
    }
    return 0;
  }
  if (!std::isfinite(value)) {
    __builtin_trap();
  }
  const std::string written = partition::FormatNumber(value);
  const partition::Number back = partition::ReadNumber(written);
  if (std::fabs(back - value) > std::fabs(value) * 1e-14 ||
      partition::FormatNumber(back) != written) {
    __builtin_trap();
  }
  return 0;
}
