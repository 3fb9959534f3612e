// The rule of the step buttons, which change n or k by 1 or 10.
#pragma once

#include <string>
#include <string_view>

#include "number_text.h"

namespace partition {

// The text a box holds after a step: ReadNumber(text) + delta, written with
// FormatNumber ("0" + 1 is " 1", "2.5" + 10 is " 12.5"); with clampAtZero (the
// buttons that lower k) a negative result becomes a bare "0".
// Errors: the overflow error for a text beyond the double range.
[[nodiscard]] std::string StepValue(std::string_view text, Number delta, bool clampAtZero);

}  // namespace partition
