// The counts are coefficients of power series up to x^last:
//   calculation 2, summands 1..k:  P_k = 1 / ((1 - x)(1 - x^2)...(1 - x^k))
//   calculation 1, summands 1..k:  Q_k = (1 + x)(1 + x^2)...(1 + x^k)
// Three ways to them, the cheapest taken (counted in limb operations):
// - rows: starting from 1, each factor in turn, in place: dividing by
//   (1 - x^i) adds a[j - i] to a[j] upwards, multiplying by (1 + x^i) does
//   it downwards. k rows over the list.
// - pentagonal, for k >= last, where P_k = P and Q_k = Q: Euler's
//   pentagonal theorem E = (1 - x)(1 - x^2)... = sum over all whole m of
//   (-1)^m x^(m(3m-1)/2) gives P = 1 / E, a recurrence over the about
//   2 sqrt(2j/3) pentagonal numbers up to j, and, as distinct parts are as
//   many as odd parts, Q = E(x^2) / E, the same recurrence with E(x^2) added.
// - corrected, for k between them: P_k = P * prod_{i>k} (1 - x^i) and
//   Q_k = Q / prod_{i>k} (1 + x^i), where Euler's identities give
//     prod_{i>k} (1 - x^i)   = sum_m (-1)^m x^(km + m(m+1)/2) / ((1 - x)...(1 - x^m))
//     1 / prod_{i>k} (1 + x^i) = sum_m (-1)^m x^((k+1)m)      / ((1 - x)...(1 - x^m)).
//   Only the terms with an exponent up to last count, about last / k of
//   them, and the sum folds from the inside out, each term a row that
//   divides by (1 - x^m) and one that shifts and subtracts from P or Q.
//   Those rows work modulo 2^(64 W) for the width W of the last count: their
//   values may be negative or larger than any count, but the counts they end
//   in lie between 0 and 2^(64 W), and so come out exact.
// Every count of calculation 2 is at most p(j) < e^(pi sqrt(2j/3)), every
// count of calculation 1 at most q(j) < e^(pi sqrt(j/3)), which sets the
// width of each count.
#include "exact_counts.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <numbers>

// The hot loops of each step live in a function of their own, called once a
// block, row or term, and never inlined into the step: WebAssembly engines
// compile a function for speed only after it has run for a while, and a call
// that runs on for seconds keeps the first, quick compilation.
#if defined(__GNUC__)
#define PARTITION_STEP [[gnu::noinline]]
#else
#define PARTITION_STEP
#endif

namespace partition {
namespace {

using limbs::Limb;

std::size_t LimbsFor(Calculation calculation, std::size_t j) {
  const double share = calculation == Calculation::Repeated ? 2.0 / 3.0 : 1.0 / 3.0;
  const double bits =
      std::numbers::pi * std::sqrt(share * static_cast<double>(j)) / std::numbers::ln2 + 8;
  return static_cast<std::size_t>(bits / 64) + 1;
}

// Counts the work done and now and then tells the progress callback.
class Work {
 public:
  Work(const ExactCounts::Progress& progress, double total)
      : progress_(progress), total_(std::max(total, 1.0)), next_(total_ / 100) {}

  void Did(double units) {
    done_ += units;
    if (progress_ && done_ >= next_) {
      next_ = done_ + total_ / 100;
      if (!progress_(std::min(1.0, done_ / total_))) {
        throw ExactCounts::Stopped{};
      }
    }
  }

 private:
  const ExactCounts::Progress& progress_;
  double total_;
  double next_;
  double done_ = 0;
};

// Counts for j = 0..last, each in its own number of limbs.
struct Series {
  Limb* limbs;
  const std::size_t* offsets;
  std::size_t last;

  [[nodiscard]] Limb* At(std::size_t j) const { return limbs + offsets[j]; }
  [[nodiscard]] std::size_t Width(std::size_t j) const { return offsets[j + 1] - offsets[j]; }
  [[nodiscard]] std::size_t Last() const { return last; }
};

// The pentagonal numbers m(3m-1)/2 for m = 1, -1, 2, -2, ... up to `last`,
// each with the sign (-1)^m, in increasing order.
std::vector<std::pair<std::size_t, bool>> Pentagonal(std::size_t last) {
  std::vector<std::pair<std::size_t, bool>> numbers;
  for (std::size_t m = 1;; ++m) {
    const std::size_t first = m * (3 * m - 1) / 2;
    if (first > last) {
      break;
    }
    numbers.emplace_back(first, m % 2 == 0);
    if (first + m <= last) {
      numbers.emplace_back(first + m, m % 2 == 0);
    }
  }
  return numbers;
}

struct Cost {
  double rows;
  double pentagonal;
  double corrected;
};

Cost Estimate(Calculation calculation, const Series& series, std::size_t k) {
  const std::size_t last = series.Last();
  std::vector<double> widths(last + 2, 0);  // widths[j + 1]: the widths of 0..j
  for (std::size_t j = 0; j <= last; ++j) {
    widths[j + 1] = widths[j] + static_cast<double>(series.Width(j));
  }
  Cost cost{0, 0, 0};
  const std::size_t rows = std::min(k, last);
  for (std::size_t i = 1; i <= rows; ++i) {
    const std::size_t top =
        calculation == Calculation::Repeated ? last : std::min(last, i * (i + 1) / 2);
    cost.rows += widths[top + 1] - widths[i];
  }
  std::size_t below = 0;  // pentagonal numbers up to j
  const auto numbers = Pentagonal(last);
  for (std::size_t j = 1; j <= last; ++j) {
    while (below < numbers.size() && numbers[below].first <= j) {
      ++below;
    }
    cost.pentagonal += static_cast<double>(below) * static_cast<double>(series.Width(j));
  }
  std::size_t terms = 0;
  while (true) {
    const std::size_t m = terms + 1;
    const std::size_t exponent =
        calculation == Calculation::Repeated ? k * m + m * (m + 1) / 2 : (k + 1) * m;
    if (exponent > last) {
      break;
    }
    terms = m;
  }
  cost.corrected = cost.pentagonal + 2.0 * static_cast<double>(terms) *
                                         static_cast<double>(last + 1) *
                                         static_cast<double>(series.Width(last));
  return cost;
}

// The limbs the largest count of the rows needs, with room to spare, found
// by the same rows in doubles (whose rounding stays far inside the room); 0
// where the counts pass the range of doubles.
std::size_t RowsWidth(Calculation calculation, std::size_t last, std::size_t k) {
  std::vector<double> counts(last + 1, 0);
  counts[0] = 1;
  for (std::size_t i = 1; i <= std::min(k, last); ++i) {
    if (calculation == Calculation::Repeated) {
      for (std::size_t j = i; j <= last; ++j) {
        counts[j] += counts[j - i];
      }
    } else {
      for (std::size_t j = std::min(last, i * (i + 1) / 2); j >= i; --j) {
        counts[j] += counts[j - i];
      }
    }
  }
  const double largest = *std::max_element(counts.begin(), counts.end());
  if (!(largest < 1e300)) {
    return 0;
  }
  return static_cast<std::size_t>((std::log2(largest) + 8) / 64) + 1;
}

// a += b over a fixed number of limbs, the carry in the flags throughout.
template <std::size_t width>
void AddFixed(Limb* a, const Limb* b) {
  limbs::AddTo(a, a, b, width);
}

// Row i, for j from `top` to i: upwards for calculation 2, downwards for 1.
template <std::size_t width>
PARTITION_STEP void RowOfWidth(Calculation calculation, Limb* counts, std::size_t i,
                               std::size_t top) {
  if (calculation == Calculation::Repeated) {
    for (std::size_t j = i; j <= top; ++j) {
      AddFixed<width>(counts + j * width, counts + (j - i) * width);
    }
  } else {
    for (std::size_t j = top; j >= i; --j) {
      AddFixed<width>(counts + j * width, counts + (j - i) * width);
    }
  }
}

PARTITION_STEP void Row(Calculation calculation, Limb* counts, std::size_t width, std::size_t i,
                        std::size_t top) {
  if (calculation == Calculation::Repeated) {
    for (std::size_t j = i; j <= top; ++j) {
      limbs::Add(counts + j * width, width, counts + (j - i) * width, width);
    }
  } else {
    for (std::size_t j = top; j >= i; --j) {
      limbs::Add(counts + j * width, width, counts + (j - i) * width, width);
    }
  }
}

// The rows, every count in the same number of limbs.
void Rows(Calculation calculation, const Series& series, std::size_t k, Work& work) {
  const std::size_t last = series.Last();
  const std::size_t width = series.Width(0);
  Limb* const counts = series.At(0);
  counts[0] = 1;
  for (std::size_t i = 1; i <= std::min(k, last); ++i) {
    const std::size_t top =
        calculation == Calculation::Repeated ? last : std::min(last, i * (i + 1) / 2);
    switch (width) {
      case 1:
        RowOfWidth<1>(calculation, counts, i, top);
        break;
      case 2:
        RowOfWidth<2>(calculation, counts, i, top);
        break;
      case 3:
        RowOfWidth<3>(calculation, counts, i, top);
        break;
      case 4:
        RowOfWidth<4>(calculation, counts, i, top);
        break;
      case 5:
        RowOfWidth<5>(calculation, counts, i, top);
        break;
      case 6:
        RowOfWidth<6>(calculation, counts, i, top);
        break;
      case 7:
        RowOfWidth<7>(calculation, counts, i, top);
        break;
      case 8:
        RowOfWidth<8>(calculation, counts, i, top);
        break;
      default:
        Row(calculation, counts, width, i, top);
        break;
    }
    work.Did(static_cast<double>((top - i + 1) * width));
  }
}

constexpr std::size_t kPentagonalBlock = 64;

// The pentagonal recurrence for j from `first` to before `end`; returns the
// terms added.
PARTITION_STEP std::size_t PentagonalBlock(const Series& series,
                                           const std::vector<std::pair<std::size_t, bool>>& numbers,
                                           const std::vector<signed char>& twice, std::size_t first,
                                           std::size_t end) {
  constexpr Limb kOne = 1;
  const auto term = [&](std::size_t j, std::size_t number, bool even) {
    if (even) {
      limbs::Subtract(series.At(j), series.Width(j), series.At(j - number),
                      series.Width(j - number));
    } else {
      limbs::Add(series.At(j), series.Width(j), series.At(j - number), series.Width(j - number));
    }
  };
  std::size_t terms = 0;
  for (const auto& [number, even] : numbers) {
    if (number > end - 1) {
      break;
    }
    if (number < kPentagonalBlock) {
      continue;
    }
    for (std::size_t j = std::max(first, number); j < end; ++j) {
      term(j, number, even);
    }
    terms += end - std::max(first, number);
  }
  for (std::size_t j = first; j < end; ++j) {
    for (const auto& [number, even] : numbers) {
      if (number >= kPentagonalBlock || number > j) {
        break;
      }
      term(j, number, even);
      ++terms;
    }
    if (!twice.empty() && twice[j] > 0) {
      limbs::Add(series.At(j), series.Width(j), &kOne, 1);
    } else if (!twice.empty() && twice[j] < 0) {
      limbs::Subtract(series.At(j), series.Width(j), &kOne, 1);
    }
  }
  return terms;
}

void PentagonalRecurrence(Calculation calculation, const Series& series, Work& work) {
  const std::size_t last = series.Last();
  const auto numbers = Pentagonal(last);
  // Q = E(x^2) / E: E(x^2) has (-1)^m at x^(2 g) for each pentagonal g.
  std::vector<signed char> twice(calculation == Calculation::Distinct ? last + 1 : 0, 0);
  for (const auto& [number, even] : numbers) {
    if (2 * number <= last && !twice.empty()) {
      twice[2 * number] = static_cast<signed char>(even ? 1 : -1);
    }
  }
  // count(j) = sum over the pentagonal g_m of -(-1)^m count(j - g_m), in
  // blocks of j: the terms of a pentagonal number no smaller than the block
  // read counts written before it, for all j of the block at once, from one
  // stretch of memory; the few smaller ones go j by j.
  series.At(0)[0] = 1;
  for (std::size_t first = 1; first <= last; first += kPentagonalBlock) {
    const std::size_t end = std::min(last + 1, first + kPentagonalBlock);
    const std::size_t terms = PentagonalBlock(series, numbers, twice, first, end);
    work.Did(static_cast<double>(terms * series.Width(end - 1)));
  }
}

// Term m of the folded sum: sum becomes unbounded - x^shift (sum / (1 - x^m)),
// in one pass upwards, the quotient kept for the last `span` j only.
PARTITION_STEP void CorrectionTerm(const Series& series, Limb* sum, std::size_t width,
                                   Limb* quotients, std::size_t span, std::size_t m,
                                   std::size_t shift) {
  const auto at = [sum, width](std::size_t j) { return sum + j * width; };
  const auto quotient = [&](std::size_t j) { return quotients + (j % span) * width; };
  for (std::size_t j = 0; j <= series.Last(); ++j) {
    Limb* kept = quotient(j);
    if (j >= m) {
      limbs::AddTo(kept, at(j), quotient(j - m), width);
    } else {
      std::copy_n(at(j), width, kept);
    }
    if (j >= shift) {
      limbs::SubtractTo(at(j), series.At(j), series.Width(j), quotient(j - shift), width);
    } else {
      std::copy_n(series.At(j), series.Width(j), at(j));
      std::fill(at(j) + series.Width(j), at(j) + width, 0);
    }
  }
}

void Corrected(Calculation calculation, const Series& series, std::size_t k, Work& work) {
  PentagonalRecurrence(calculation, series, work);
  const std::size_t last = series.Last();
  const std::size_t width = series.Width(last);
  std::size_t terms = 0;
  for (std::size_t m = 1;; ++m) {
    const std::size_t exponent =
        calculation == Calculation::Repeated ? k * m + m * (m + 1) / 2 : (k + 1) * m;
    if (exponent > last) {
      break;
    }
    terms = m;
  }
  // The sum folded so far, at one width for all j, starting as the counts
  // without a bound on k.
  std::vector<Limb> sum((last + 1) * width, 0);
  const auto at = [&sum, width](std::size_t j) { return sum.data() + j * width; };
  const auto unbounded = [&](std::size_t j, Limb* into) {
    std::copy_n(series.At(j), series.Width(j), into);
    std::fill(into + series.Width(j), into + width, 0);
  };
  for (std::size_t j = 0; j <= last; ++j) {
    unbounded(j, at(j));
  }
  // Term by term from the inside out; shift is the exponent of term m over
  // that of term m - 1.
  std::vector<Limb> quotients;
  for (std::size_t m = terms; m >= 1; --m) {
    const std::size_t shift = calculation == Calculation::Repeated ? k + m : k + 1;
    const std::size_t span = std::max(m, shift) + 1;
    quotients.assign(span * width, 0);
    CorrectionTerm(series, sum.data(), width, quotients.data(), span, m, shift);
    work.Did(2.0 * static_cast<double>((last + 1) * width));
  }
  for (std::size_t j = 0; j <= last; ++j) {
    std::copy_n(at(j), series.Width(j), series.At(j));
  }
}

}  // namespace

ExactCounts::ExactCounts(Calculation calculation, Long last, Long k, const Progress& progress,
                         Way way) {
  const auto top = static_cast<std::size_t>(std::max<Long>(last, 0));
  const auto summands = std::min(static_cast<std::size_t>(std::max<Long>(k, 0)), top);
  // Each count in the limbs its bound asks, for the recurrences.
  offsets_.resize(top + 2);
  for (std::size_t j = 0; j <= top; ++j) {
    offsets_[j + 1] = offsets_[j] + LimbsFor(calculation, j);
  }
  const Cost cost = Estimate(calculation, Series{nullptr, offsets_.data(), top}, summands);
  // The rows at the width of their largest count, which for a small k lies
  // far below the bound.
  double rowsCost = cost.rows;
  std::size_t rowsWidth = 0;
  if (way == Way::Rows ||
      (way == Way::Cheapest && summands < top && cost.rows < 4 * cost.corrected)) {
    rowsWidth = RowsWidth(calculation, top, summands);
    if (rowsWidth == 0) {
      rowsWidth = offsets_[top + 1] - offsets_[top];
    }
    rowsCost *= static_cast<double>(rowsWidth * (top + 1)) / static_cast<double>(offsets_.back());
  }
  if (way == Way::Rows || (way == Way::Cheapest && summands < top && rowsCost <= cost.corrected)) {
    for (std::size_t j = 0; j <= top + 1; ++j) {
      offsets_[j] = j * rowsWidth;
    }
    limbs_.assign(offsets_.back(), 0);
    Series series{limbs_.data(), offsets_.data(), top};
    Work work(progress, rowsCost);
    Rows(calculation, series, summands, work);
    return;
  }
  limbs_.assign(offsets_.back(), 0);
  Series series{limbs_.data(), offsets_.data(), top};
  if (summands >= top) {
    Work work(progress, cost.pentagonal);
    PentagonalRecurrence(calculation, series, work);
  } else {
    Work work(progress, cost.corrected);
    Corrected(calculation, series, summands, work);
  }
}

void ExactCounts::AppendDecimal(std::string& out, Long j) const {
  const Limb* count = Count(j);
  std::size_t size = Width(j);
  while (size > 0 && count[size - 1] == 0) {
    --size;
  }
  if (size == 0) {
    out.push_back('0');
    return;
  }
  // Digits of 10^19 from the lowest up, a limb giving at most one more.
  constexpr std::size_t kShort = 64;
  std::array<Limb, kShort>
      shortNumber;  // NOLINT(cppcoreguidelines-pro-type-member-init): written before read
  std::array<Limb, kShort + 1> shortDigits;  // NOLINT(cppcoreguidelines-pro-type-member-init)
  std::vector<Limb> longNumber;
  std::vector<Limb> longDigits;
  Limb* number = shortNumber.data();
  Limb* digits = shortDigits.data();
  if (size > kShort) {
    longNumber.assign(count, count + size);
    longDigits.resize(size + 1);
    number = longNumber.data();
    digits = longDigits.data();
  } else {
    std::copy_n(count, size, number);
  }
  std::size_t written = 0;
  while (size > 0) {
    digits[written++] = limbs::DivideBy1e19(number, size);
    while (size > 0 && number[size - 1] == 0) {
      --size;
    }
  }
  std::array<char, 24> text{};
  const auto [end, error] =
      std::to_chars(text.data(), text.data() + text.size(), digits[written - 1]);
  out.append(text.data(), end);
  // The others with all 19 digits, two at a time.
  static constexpr auto kPairs = [] {
    std::array<char, 200> pairs{};
    for (std::size_t i = 0; i < 100; ++i) {
      pairs[2 * i] = static_cast<char>('0' + i / 10);
      pairs[2 * i + 1] = static_cast<char>('0' + i % 10);
    }
    return pairs;
  }();
  const std::size_t start = out.size();
  out.resize(start + (written - 1) * limbs::kDecimalBaseDigits);
  char* at = out.data() + start;
  // 19 digits: one, then two groups of nine, each group in 32 bits.
  const auto nine = [](std::uint32_t group, char* into) {
    for (std::size_t place = 8; place > 0; place -= 2) {
      const std::size_t pair = std::size_t{group % 100} * 2;
      group /= 100;
      into[place - 1] = kPairs[pair];
      into[place] = kPairs[pair + 1];
    }
    into[0] = static_cast<char>('0' + group);
  };
  constexpr Limb kBillion = 1000000000;
  for (std::size_t i = written - 1; i-- > 0; at += limbs::kDecimalBaseDigits) {
    const Limb digit = digits[i];
    const Limb high = digit / kBillion;
    at[0] = static_cast<char>('0' + high / kBillion);
    nine(static_cast<std::uint32_t>(high % kBillion), at + 1);
    nine(static_cast<std::uint32_t>(digit % kBillion), at + 10);
  }
}

}  // namespace partition
