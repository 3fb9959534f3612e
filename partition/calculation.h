// The calculation run behind the two calculation buttons: reads n, k and m
// from their box texts and writes the list of counts for n .. n + m.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "number_text.h"

namespace partition {

// CountDistinct or CountRepeated.
using Counter = Long (*)(Long n, Long k);

// Longest list, in bytes, the run writes (64 MiB): a million lines fit many
// times over.
inline constexpr std::size_t kMaxListBytes = std::size_t{64} << 20;

// Replaces `list` by the header "Summanden von 1 bis " + FormatNumber(k) + CR LF
// and one line per whole number j from ToLong(n) to ToLong(m + n):
// FormatNumber(j) "  (" FormatNumber(k(k+1)/2 - 2j) ")" ":  "
// FormatNumber(counter(j, ToLong(k))) CR LF. n, k and m are read with
// ReadNumber from the texts of the n, k and count boxes.
// Errors: the overflow error (a number beyond the double range, n or n + m or
// k outside the Long range, a count above 2147483647, the line for
// 2147483647) and the out-of-string-space error (14) when the list would pass
// kMaxListBytes. On an error, `list` holds exactly what the window shows then:
// the old text if the header was not yet written, otherwise the part of the
// new list written so far.
void RunCalculation(Counter counter, std::string_view n, std::string_view k, std::string_view m,
                    std::string& list);

}  // namespace partition
