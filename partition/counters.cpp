// Every count that fits in a Long is either given by a closed form or found in
// a table built once per process (about 290 KiB, in a fraction of a
// millisecond, on the first call); everything past the tables is known to
// exceed 2147483647. So no call recurses or loops over n or k: each one is a
// few comparisons and one lookup.
//
// Both counts can only grow along the ways the tables are cut off:
// - with repeats, the count for (n, k) is at most that for (n + 1, k) (add a
//   summand 1) and at most that for (n, k + 1);
// - with distinct summands, the counts for fixed k are symmetric about the
//   middle k(k+1)/4 (take the complement within 1..k) and rise towards it
//   (the product (1+x)(1+x^2)...(1+x^k) has unimodal coefficients, a theorem
//   of Hughes and Stanley, which the tests confirm for every k the table has).
#include "counters.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <optional>
#include <vector>

namespace partition {
namespace {

constexpr std::int64_t kLongMax = std::numeric_limits<Long>::max();
// Stands for "more than a Long holds".
constexpr std::int64_t kTooLarge = kLongMax + 1;

// Columns of counts, one per k, each cut off before its first count that
// exceeds a Long.
struct Columns {
  std::vector<Long> values;
  std::vector<std::size_t> offsets;

  void Open() { offsets.push_back(values.size()); }
  void Push(std::int64_t value) { values.push_back(static_cast<Long>(value)); }
  // Count at index i of column c, or kTooLarge past the column's end.
  [[nodiscard]] std::int64_t At(std::size_t c, std::int64_t i) const {
    const std::size_t end = c + 1 < offsets.size() ? offsets[c + 1] : values.size();
    return i < static_cast<std::int64_t>(end - offsets[c])
               ? values[offsets[c] + static_cast<std::size_t>(i)]
               : kTooLarge;
  }
};

[[nodiscard]] Long Checked(std::int64_t count) {
  if (count > kLongMax) {
    RaiseOverflow();
  }
  return static_cast<Long>(count);
}

// Distinct summands: column k = 0..225 holds the counts for
// j = 0..min(middle, last j that fits). From k = n = 226 on every count past
// j = 225 is too large, and up to it the count is that of k = 225.
constexpr std::int64_t kDistinctLastK = 225;

constexpr std::int64_t Triangle(std::int64_t k) { return k * (k + 1) / 2; }

Columns BuildDistinct() {
  Columns columns;
  columns.Open();
  columns.Push(1);
  for (std::int64_t k = 1; k <= kDistinctLastK; ++k) {
    columns.Open();
    const auto previous = static_cast<std::size_t>(k - 1);
    const std::int64_t previousTotal = Triangle(k - 1);
    const auto before = [&](std::int64_t j) -> std::int64_t {
      if (j < 0 || j > previousTotal) {
        return 0;
      }
      return columns.At(previous, std::min(j, previousTotal - j));
    };
    for (std::int64_t j = 0; j <= Triangle(k) / 2; ++j) {
      const std::int64_t count = before(j) + before(j - k);
      if (count > kLongMax) {
        break;
      }
      columns.Push(count);
    }
  }
  return columns;
}

const Columns& Distinct() {
  static const Columns columns = BuildDistinct();
  return columns;
}

// Summands with repeats: column k - 4 for k = 4..121 holds the counts for
// n = 0 up to the last n that fits. From k = n = 122 on every count is too
// large. Below k = 4 closed forms serve.
constexpr std::int64_t kRepeatedFirstK = 4;
constexpr std::int64_t kRepeatedLastK = 121;

// k = 1, 2 or 3 (round((n+3)^2 / 12) for k = 3), any n >= 0.
constexpr std::int64_t CountRepeatedSmall(std::int64_t n, std::int64_t k) {
  if (k == 1) {
    return 1;
  }
  if (k == 2) {
    return n / 2 + 1;
  }
  const auto shifted = static_cast<std::uint64_t>(n + 3);
  const std::uint64_t count = (shifted * shifted + 6) / 12;
  return count > static_cast<std::uint64_t>(kLongMax) ? kTooLarge
                                                      : static_cast<std::int64_t>(count);
}

Columns BuildRepeated() {
  Columns columns;
  for (std::int64_t k = kRepeatedFirstK; k <= kRepeatedLastK; ++k) {
    columns.Open();
    const auto column = static_cast<std::size_t>(k - kRepeatedFirstK);
    for (std::int64_t n = 0;; ++n) {
      const std::int64_t without =
          k == kRepeatedFirstK ? CountRepeatedSmall(n, k - 1) : columns.At(column - 1, n);
      const std::int64_t with = n >= k ? columns.At(column, n - k) : 0;
      if (without + with > kLongMax) {
        break;
      }
      columns.Push(without + with);
    }
  }
  return columns;
}

const Columns& Repeated() {
  static const Columns columns = BuildRepeated();
  return columns;
}

// The answers both counters give before any summand counts: 1 for n = 0
// (whatever k), 0 for n < 0 or k = 0, and the overflow error for n > 0 with
// k < 0, where the recursion never reaches an end. Nothing for n, k > 0.
std::optional<Long> CountWithoutSummands(Long n, Long k) {
  if (n == 0) {
    return 1;
  }
  if (k == 0 || n < 0) {
    return 0;
  }
  if (k < 0) {
    RaiseOverflow();
  }
  return std::nullopt;
}

}  // namespace

Long CountDistinct(Long n, Long k) {
  if (const std::optional<Long> count = CountWithoutSummands(n, k)) {
    return *count;
  }
  const std::int64_t top = std::min(k, n);
  const std::int64_t total = Triangle(top);
  if (n > total) {
    return 0;
  }
  const std::int64_t j = std::min<std::int64_t>(n, total - n);
  return Checked(Distinct().At(static_cast<std::size_t>(std::min(top, kDistinctLastK)), j));
}

Long CountRepeated(Long n, Long k) {
  if (const std::optional<Long> count = CountWithoutSummands(n, k)) {
    return *count;
  }
  const std::int64_t top = std::min(k, n);
  if (top < kRepeatedFirstK) {
    return Checked(CountRepeatedSmall(n, top));
  }
  if (top > kRepeatedLastK) {
    RaiseOverflow();
  }
  return Checked(Repeated().At(static_cast<std::size_t>(top - kRepeatedFirstK), n));
}

}  // namespace partition
