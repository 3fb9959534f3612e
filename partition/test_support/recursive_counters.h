// The counters as their definition states them: a direct recursion, every
// call recomputing its subtree, each Long step checked in the order the
// definition gives. Exponential in k and as deep as n + k, so only for tests
// and benchmarks that compare the real counters against it on small arguments.
#pragma once

#include "number_text.h"

namespace partition::test_support {

inline Long RecursiveCountDistinct(Long n, Long k) {
  if (n == 0) {
    return 1;
  }
  if (k == 0 || n < 0) {
    return 0;
  }
  Long smaller = CheckedSubtract(k, 1);
  const Long rest = CheckedSubtract(n, k);
  const Long with = RecursiveCountDistinct(rest, smaller);
  smaller = CheckedSubtract(k, 1);
  const Long without = RecursiveCountDistinct(n, smaller);
  return CheckedAdd(with, without);
}

inline Long RecursiveCountRepeated(Long n, Long k) {
  if (n == 0) {
    return 1;
  }
  if (k == 0 || n < 0) {
    return 0;
  }
  const Long rest = CheckedSubtract(n, k);
  const Long with = RecursiveCountRepeated(rest, k);
  const Long smaller = CheckedSubtract(k, 1);
  const Long without = RecursiveCountRepeated(n, smaller);
  return CheckedAdd(with, without);
}

}  // namespace partition::test_support
