// The two partition counters behind the calculation buttons.
#pragma once

#include "number_text.h"

namespace partition {

// Number of ways to write n as a sum of distinct summands from 1..k, order not
// counted. n = 0 gives 1 for every k; n < 0 gives 0; n > 0 with k = 0 gives 0.
// Errors: the overflow error when the count exceeds 2147483647 (first at
// n = 226 for k >= n), and for every n > 0 with k < 0.
// Any arguments answer in constant time after a one-time table set-up of well
// under a millisecond (about 290 KiB, shared by all calls and threads).
[[nodiscard]] Long CountDistinct(Long n, Long k);

// Number of ways to write n as a sum of summands from 1..k, each any number of
// times, order not counted. n = 0 gives 1 for every k; n < 0 gives 0; n > 0
// with k = 0 gives 0.
// Errors: the overflow error when the count exceeds 2147483647 (first at
// n = 122 for k >= n), and for every n > 0 with k < 0.
// Same cost as CountDistinct.
[[nodiscard]] Long CountRepeated(Long n, Long k);

}  // namespace partition
