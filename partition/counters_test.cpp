#include "counters.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <limits>
#include <optional>
#include <vector>

#include "test_support/expect_error.h"
#include "test_support/recursive_counters.h"

namespace partition {
namespace {

using test_support::EndsWithOverflow;
using test_support::RecursiveCountDistinct;
using test_support::RecursiveCountRepeated;

constexpr Long kMax = std::numeric_limits<Long>::max();
constexpr Long kMin = std::numeric_limits<Long>::min();

// The count, or nothing for the overflow error.
template <typename Count>
std::optional<Long> Outcome(Count count, Long n, Long k) {
  try {
    return count(n, k);
  } catch (const RuntimeError& error) {
    EXPECT_EQ(error.number(), kOverflowError);
    return std::nullopt;
  }
}

TEST(Counters, EqualTheRecursionOnSmallArguments) {
  for (Long n = -3; n <= 40; ++n) {
    for (Long k = -3; k <= 40; ++k) {
      if (n > 0 && k < 0) {
        continue;  // the recursion never ends there; see NegativeK below
      }
      SCOPED_TRACE(testing::Message() << "n=" << n << " k=" << k);
      EXPECT_EQ(CountDistinct(n, k), RecursiveCountDistinct(n, k));
      EXPECT_EQ(CountRepeated(n, k), RecursiveCountRepeated(n, k));
    }
  }
}

TEST(Counters, GiveTheCountsForKFour) {
  const Long distinct[] = {1, 1, 1, 2, 2, 2, 2, 2, 1, 1, 1, 0, 0, 0, 0, 0};
  const Long repeated[] = {1, 1, 2, 3, 5, 6, 9, 11, 15, 18, 23, 27, 34, 39, 47, 54};
  for (Long n = 0; n < 16; ++n) {
    EXPECT_EQ(CountDistinct(n, 4), distinct[n]) << n;
    EXPECT_EQ(CountRepeated(n, 4), repeated[n]) << n;
  }
}

struct FarCase {
  const char* name;
  Long n;
  Long k;
  std::optional<Long> expected;  // nothing: the overflow error
};

constexpr Long kTriangle65535 = 2147450880;  // 1 + 2 + ... + 65535

void ExpectFarCases(Long (*count)(Long, Long), std::initializer_list<FarCase> cases) {
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(Outcome(count, c.n, c.k), c.expected);
  }
}

TEST(CountDistinct, OverflowsExactlyWhereTheCountPassesALong) {
  ExpectFarCases(CountDistinct,
                 {
                     {"n = 0 with the smallest k", 0, kMin, 1},
                     {"negative n", -5, kMax, 0},
                     {"smallest n", kMin, 5, 0},
                     {"last that fits, k = n", 225, 225, 2114965120},
                     {"last that fits, largest k", 225, kMax, 2114965120},
                     {"first too large, k = n", 226, 226, std::nullopt},
                     {"first too large, k = n + 1", 226, 227, std::nullopt},
                     {"226 without the summand 226", 226, 225, std::nullopt},
                     {"largest n and k", kMax, kMax, std::nullopt},
                     {"largest n, k = 1", kMax, 1, 0},
                     {"one, largest k", 1, kMax, 1},
                     {"three, largest k", 3, kMax, 2},
                     {"all of 1..65535", kTriangle65535, 65535, 1},
                     {"all but 1", kTriangle65535 - 1, 65535, 1},
                     {"all but 3 or 1 and 2", kTriangle65535 - 3, 65535, 2},
                     {"all but a set summing to 10", kTriangle65535 - 10, 65535, 10},
                     {"all but a set summing to 225", kTriangle65535 - 225, 65535, 2114965120},
                     {"all but a set summing to 226", kTriangle65535 - 226, 65535, std::nullopt},
                     {"more than all of 1..65535", kTriangle65535 + 1, 65535, 0},
                     {"middle of 1..65535", kTriangle65535 / 2, 65535, std::nullopt},
                     {"largest n, k = 65536", kMax, 65536, std::nullopt},
                     {"largest n, k = 65535", kMax, 65535, 0},
                 });
}

TEST(CountRepeated, OverflowsExactlyWhereTheCountPassesALong) {
  ExpectFarCases(CountRepeated, {
                                    {"n = 0 with the smallest k", 0, kMin, 1},
                                    {"negative n", -5, kMax, 0},
                                    {"smallest n", kMin, 5, 0},
                                    {"last that fits, k = n", 121, 121, 2056148051},
                                    {"last that fits, largest k", 121, kMax, 2056148051},
                                    {"first too large, k = n", 122, 122, std::nullopt},
                                    {"first too large, k = n + 1", 122, 123, std::nullopt},
                                    {"122 without the summand 122", 122, 121, std::nullopt},
                                    {"five, largest k", 5, kMax, 7},
                                    {"largest n, k = 1", kMax, 1, 1},
                                    {"largest n, k = 2", kMax, 2, 1073741824},
                                    {"second largest n, k = 2", kMax - 1, 2, 1073741824},
                                    // with 1, 2 and 3: ((n + 3)^2 + 6) / 12
                                    {"last that fits, k = 3", 160526, 3, 2147463320},
                                    {"first too large, k = 3", 160527, 3, std::nullopt},
                                    {"largest n, k = 3", kMax, 3, std::nullopt},
                                    {"largest n and k", kMax, kMax, std::nullopt},
                                });
}

// The recursion never reaches a base case for n > 0 and k < 0; it ends with
// the overflow error once n - k or k - 1 leaves the Long range.
TEST(Counters, NegativeKWithPositiveNEndsInOverflow) {
  const std::pair<Long, Long> cases[] = {{1, -1},    {5, -3},      {1, kMin},
                                         {kMax, -1}, {kMax, kMin}, {100, -100000}};
  for (const auto& [n, k] : cases) {
    SCOPED_TRACE(testing::Message() << "n=" << n << " k=" << k);
    EXPECT_TRUE(EndsWithOverflow([n = n, k = k] { (void)CountDistinct(n, k); }));
    EXPECT_TRUE(EndsWithOverflow([n = n, k = k] { (void)CountRepeated(n, k); }));
  }
}

constexpr std::uint64_t kSaturated = std::uint64_t{1} << 40;

std::uint64_t SaturatingSum(std::uint64_t a, std::uint64_t b) {
  return std::min(a + b, kSaturated);
}

std::optional<Long> Fitting(std::uint64_t reference) {
  return reference > static_cast<std::uint64_t>(kMax)
             ? std::nullopt
             : std::optional<Long>(static_cast<Long>(reference));
}

// Checks one column of counts against the reference: every count that fits,
// every n next to a change between fitting and overflowing, and a sample of
// the rest (each overflow throws, which is slow in bulk).
void ExpectColumn(Long (*count)(Long, Long), Long k, const std::vector<std::uint64_t>& reference) {
  const auto last = static_cast<Long>(reference.size()) - 1;
  for (Long n = 0; n <= last; ++n) {
    const std::optional<Long> expected = Fitting(reference[n]);
    const bool edge = (n > 0 && Fitting(reference[n - 1]).has_value() != expected.has_value()) ||
                      (n < last && Fitting(reference[n + 1]).has_value() != expected.has_value());
    if (expected || edge || n % 101 == 0) {
      ASSERT_EQ(Outcome(count, n, k), expected) << "n=" << n << " k=" << k;
    }
  }
}

// Counts of n with distinct summands 1..k rise to the middle, n = k(k+1)/4,
// and fall after it; so once a count is too large for a Long, all are up to
// the middle. The counter relies on this.
void ExpectOverflowRunsToTheMiddle(Long k, const std::vector<std::uint64_t>& counts) {
  const Long middle = k * (k + 1) / 4;
  const auto first = std::find_if(counts.begin(), counts.begin() + middle + 1,
                                  [](std::uint64_t c) { return !Fitting(c); });
  EXPECT_TRUE(
      std::all_of(first, counts.begin() + middle + 1, [](std::uint64_t c) { return !Fitting(c); }))
      << "k=" << k;
}

// Compares every n up to and past where even the middle counts overflow,
// against a plain table of saturated counts, built k by k. This covers every
// k the counters keep tables for, and some beyond.
TEST(CountDistinct, EqualsAFullTableForAllKUpTo260) {
  constexpr Long kLastK = 260;
  constexpr Long kLastN = kLastK * (kLastK + 1) / 2 + 1;
  std::vector<std::uint64_t> counts(kLastN + 1, 0);
  counts[0] = 1;
  for (Long k = 1; k <= kLastK; ++k) {
    for (Long n = kLastN; n >= k; --n) {
      counts[n] = SaturatingSum(counts[n], counts[n - k]);
    }
    ExpectOverflowRunsToTheMiddle(k, counts);
    ExpectColumn(CountDistinct, k, counts);
  }
}

TEST(CountRepeated, EqualsAFullTableForAllKUpTo125) {
  constexpr Long kLastK = 125;
  constexpr Long kLastN = 170000;
  std::vector<std::uint64_t> counts(kLastN + 1, 0);
  counts[0] = 1;
  for (Long k = 1; k <= kLastK; ++k) {
    for (Long n = k; n <= kLastN; ++n) {
      counts[n] = SaturatingSum(counts[n], counts[n - k]);
    }
    ExpectColumn(CountRepeated, k, counts);
  }
}

}  // namespace
}  // namespace partition
