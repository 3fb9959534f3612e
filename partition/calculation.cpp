#include "calculation.h"

#include <cmath>
#include <utility>

namespace partition {
namespace {

constexpr std::string_view kHeader = "Summanden von 1 bis ";
constexpr std::string_view kLineEnd = "\r\n";

// Number arithmetic of the run: a result that is not finite is an overflow.
[[nodiscard]] Number Finite(Number value) {
  if (!std::isfinite(value)) {
    RaiseOverflow();
  }
  return value;
}

// FormatNumber never writes more than this, e.g. "-1.23456789012345E-308".
constexpr std::size_t kLongestNumber = 24;

// Raises the out-of-string-space error when `extra` more bytes would pass
// kMaxListBytes; the list is left as it stands.
void EnsureRoom(const std::string& list, std::size_t extra) {
  if (list.size() + extra > kMaxListBytes) {
    throw RuntimeError(kOutOfStringSpaceError, std::string(kOutOfStringSpaceMessage));
  }
}

}  // namespace

void RunCalculation(Counter counter, std::string_view n, std::string_view k, std::string_view m,
                    std::string& list) {
  const Number valueN = ReadNumber(n);
  const Number valueK = ReadNumber(k);

  // Built aside and swapped in, so that a failure leaves the old list intact
  // until the header stands; from then on `list` is the list being written.
  std::string header(kHeader);
  AppendNumber(header, valueK);
  header.append(kLineEnd);
  std::swap(list, header);

  const Long lastNumber = ToLong(Finite(ReadNumber(m) + valueN));
  Long current = ToLong(valueN);
  while (lastNumber >= current) {
    Number t = Finite(valueK + 1);
    t = Finite(valueK * t);
    t = Finite(t / 2);
    t = Finite(t - current);
    const Number bracketed = Finite(t - current);

    EnsureRoom(list, 2 * kLongestNumber + 7);
    AppendNumber(list, current);
    list.append("  (");
    AppendNumber(list, bracketed);
    list.append("):  ");

    const Long count = counter(current, ToLong(valueK));
    EnsureRoom(list, kLongestNumber + kLineEnd.size());
    AppendNumber(list, count);
    list.append(kLineEnd);
    current = CheckedAdd(current, 1);
  }
}

}  // namespace partition
