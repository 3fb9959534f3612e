#include "exact_counts.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "counters.h"

namespace partition {
namespace {

using Way = ExactCounts::Way;

std::string Decimal(const ExactCounts& counts, Long j) {
  std::string text;
  counts.AppendDecimal(text, j);
  return text;
}

TEST(ExactCounts, GiveThePublishedValues) {
  const ExactCounts repeated(Calculation::Repeated, 1000, 1000);
  EXPECT_EQ(Decimal(repeated, 200), "3972999029388");
  EXPECT_EQ(Decimal(repeated, 1000), "24061467864032622473692149727991");
  const ExactCounts distinct(Calculation::Distinct, 200, 200);
  EXPECT_EQ(Decimal(distinct, 200), "487067746");
  // With k below n: partitions of 100 into at most... parts from 1..10.
  EXPECT_EQ(Decimal(ExactCounts(Calculation::Repeated, 100, 10), 100), "6292069");
}

struct KCase {
  Calculation calculation;
  Long last;
  std::vector<Long> ks;
};

// Wherever a count fits in a Long, every way gives the counters' count.
TEST(ExactCounts, AgreeWithTheCountersWhereACountFits) {
  const KCase cases[] = {
      {Calculation::Repeated, 130, {0, 1, 2, 3, 5, 10, 50, 121, 130, 500}},
      {Calculation::Distinct, 240, {0, 1, 4, 20, 100, 225, 240, 1000}},
  };
  for (const auto& c : cases) {
    Long (*const counter)(Long, Long) =
        c.calculation == Calculation::Distinct ? CountDistinct : CountRepeated;
    for (const Long k : c.ks) {
      for (const Way way : {Way::Cheapest, Way::Rows, Way::Corrected}) {
        SCOPED_TRACE(testing::Message() << "k " << k << ", way " << static_cast<int>(way));
        const ExactCounts counts(c.calculation, c.last, k, {}, way);
        for (Long j = 0; j <= c.last; ++j) {
          try {
            ASSERT_EQ(Decimal(counts, j), std::to_string(counter(j, k))) << "j " << j;
          } catch (const RuntimeError&) {
            ASSERT_GT(Decimal(counts, j).size(), 9U) << "j " << j;  // past a Long
          }
        }
      }
    }
  }
}

// Past a Long the rows and the corrected recurrences hold each other.
TEST(ExactCounts, WaysAgreeOnLargeCounts) {
  for (const auto calculation : {Calculation::Repeated, Calculation::Distinct}) {
    for (const Long k : {1, 7, 55, 300, 2999, 3000, 5000}) {
      SCOPED_TRACE(testing::Message() << "k " << k);
      const ExactCounts rows(calculation, 3000, k, {}, Way::Rows);
      const ExactCounts corrected(calculation, 3000, k, {}, Way::Corrected);
      for (Long j = 0; j <= 3000; j += 7) {
        ASSERT_EQ(Decimal(rows, j), Decimal(corrected, j)) << "j " << j;
      }
    }
  }
}

// Each count has its room: never within 8 bits of its top.
TEST(ExactCounts, EveryCountHasRoomToSpare) {
  for (const auto calculation : {Calculation::Repeated, Calculation::Distinct}) {
    const ExactCounts counts(calculation, 20000, 20000);
    for (Long j = 0; j <= 20000; ++j) {
      ASSERT_LT(counts.Count(j)[counts.Width(j) - 1], limbs::Limb{1} << 56) << "j " << j;
    }
  }
}

TEST(ExactCounts, TellTheirProgressAndStopWhenAsked) {
  std::vector<double> told;
  const ExactCounts counts(Calculation::Repeated, 5000, 5000, [&](double done) {
    told.push_back(done);
    return true;
  });
  ASSERT_GT(told.size(), 50U);
  EXPECT_TRUE(std::is_sorted(told.begin(), told.end()));
  EXPECT_LE(told.back(), 1.0);
  int calls = 0;
  EXPECT_THROW(ExactCounts(Calculation::Distinct, 5000, 100, [&](double) { return ++calls < 3; }),
               ExactCounts::Stopped);
  EXPECT_EQ(calls, 3);
}

struct DivisionCase {
  const char* name;
  std::vector<limbs::Limb> number;  // least significant limb first
  std::vector<limbs::Limb> quotient;
  limbs::Limb remainder;
};

// The fast and the portable forms, on the numbers around 10^19 and 2^64.
TEST(Limbs, DivideBy1e19BothWays) {
  const DivisionCase cases[] = {
      {"zero", {0}, {0}, 0},
      {"10^19 - 1", {0x8ac7230489e7ffff}, {0}, 9999999999999999999ULL},
      {"10^19", {0x8ac7230489e80000}, {1}, 0},
      {"2^64 - 1", {0xffffffffffffffff}, {1}, 8446744073709551615ULL},
      {"2^64", {0, 1}, {1, 0}, 8446744073709551616ULL},
      {"2^128 - 1",
       {0xffffffffffffffff, 0xffffffffffffffff},
       {0xd83c94fb6d2ac34a, 1},
       3374607431768211455ULL},
      {"three limbs",
       {1, 0x8ac7230489e7ffff, 7},
       {0xe9a812dffc2b5706, 0xd, 0},
       5175507948667928577ULL},
      {"a zero limb inside",
       {0xffffffffffffffff, 0, 0xffffffffffffffff},
       {0x7e273ecc33ada281, 0xd83c94fb6d2ac348, 1},
       7427581105975853055ULL},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<limbs::Limb> fast = c.number;
    std::vector<limbs::Limb> portable = c.number;
    EXPECT_EQ(limbs::DivideBy1e19(fast.data(), fast.size()), c.remainder);
    EXPECT_EQ(limbs::DivideBy1e19Portable(portable.data(), portable.size()), c.remainder);
    EXPECT_EQ(fast, c.quotient);
    EXPECT_EQ(portable, c.quotient);
  }
}

// Carries and borrows through every limb, and dropped past the top.
TEST(Limbs, AddAndSubtractBothWays) {
  constexpr limbs::Limb kMax = ~limbs::Limb{0};
  const std::vector<limbs::Limb> one = {1};
  for (const bool portable : {false, true}) {
    SCOPED_TRACE(portable ? "portable" : "fast");
    const auto add = portable ? limbs::AddPortable : limbs::Add;
    const auto subtract = portable ? limbs::SubtractPortable : limbs::Subtract;
    std::vector<limbs::Limb> a = {kMax, kMax, 5};
    add(a.data(), a.size(), one.data(), one.size());
    EXPECT_EQ(a, (std::vector<limbs::Limb>{0, 0, 6}));
    subtract(a.data(), a.size(), one.data(), one.size());
    EXPECT_EQ(a, (std::vector<limbs::Limb>{kMax, kMax, 5}));
    std::vector<limbs::Limb> b = {kMax, 1};
    add(a.data(), a.size(), b.data(), b.size());
    EXPECT_EQ(a, (std::vector<limbs::Limb>{kMax - 1, 1, 6}));
    std::vector<limbs::Limb> top = {kMax, kMax};
    add(top.data(), top.size(), one.data(), one.size());
    EXPECT_EQ(top, (std::vector<limbs::Limb>{0, 0}));  // modulo 2^128
    subtract(top.data(), top.size(), one.data(), one.size());
    EXPECT_EQ(top, (std::vector<limbs::Limb>{kMax, kMax}));
  }
}

}  // namespace
}  // namespace partition
