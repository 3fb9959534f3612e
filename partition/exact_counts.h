// Exact partition counts, without the 32-bit ceiling, for a whole list at
// once: the count of every j from 0 to a last number, with summands from
// 1..k, each at most once (calculation 1) or any number of times
// (calculation 2). They are held as binary whole numbers of 64-bit limbs and
// written in decimal only when a line asks for one.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "limbs.h"
#include "number_text.h"

namespace partition {

// The two calculations: 1, each summand at most once; 2, any number of times.
enum class Calculation { Distinct, Repeated };

class ExactCounts {
 public:
  // Thrown when the progress callback asks the computation to stop.
  struct Stopped {};
  // Called now and then with the share of the work done, 0 to 1; returns
  // false to stop.
  using Progress = std::function<bool(double done)>;

  // How the counts are found: the cheapest way for last and k, or one of
  // them, to hold one against the other.
  enum class Way {
    Cheapest,
    // The rows of the plain recurrence, one per summand.
    Rows,
    // Euler's pentagonal recurrences for the counts without a bound on k,
    // corrected by Euler's identities for the summands above k.
    Corrected,
  };

  // The counts of `calculation` for j = 0..last with summands from 1..k, for
  // last >= 0 and k >= 0 (k = 0: 1 for j = 0, else 0). The cheapest way takes
  // the rows for a small k, the pentagonal recurrences alone for k >= last,
  // and the corrected ones between them. Errors: std::bad_alloc where memory
  // is missing; Stopped.
  ExactCounts(Calculation calculation, Long last, Long k, const Progress& progress = {},
              Way way = Way::Cheapest);

  [[nodiscard]] Long Last() const { return static_cast<Long>(offsets_.size()) - 2; }

  // Appends the decimal digits of count(j), for j in 0..Last().
  void AppendDecimal(std::string& out, Long j) const;

  // The limbs of count(j), least significant first, with room to spare.
  [[nodiscard]] const limbs::Limb* Count(Long j) const {
    return limbs_.data() + offsets_[static_cast<std::size_t>(j)];
  }
  [[nodiscard]] std::size_t Width(Long j) const {
    return offsets_[static_cast<std::size_t>(j) + 1] - offsets_[static_cast<std::size_t>(j)];
  }

 private:
  std::vector<limbs::Limb> limbs_;
  std::vector<std::size_t> offsets_;  // count j in limbs_[offsets_[j], offsets_[j + 1])
};

}  // namespace partition
