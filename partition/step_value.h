// The rule of the step buttons, which change n or k by 1 or 10.
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "number_text.h"

namespace partition {

// The text a box holds after a step: ReadNumber(text) + delta, written with
// FormatNumber ("0" + 1 is " 1", "2.5" + 10 is " 12.5"); with clampAtZero (the
// buttons that lower k) a negative result becomes a bare "0".
// Errors: the overflow error for a text beyond the double range.
[[nodiscard]] std::string StepValue(std::string_view text, Number delta, bool clampAtZero);

// One of the eight step buttons: its control, the box it changes and how.
struct StepButton {
  std::string_view button;
  std::string_view box;
  Number delta;
  bool clampAtZero;
};

// The step buttons under n (Text1) and under k (Text2), each row from left
// to right: -10, -1, +1, +10. Only the two that lower k clamp at zero.
inline constexpr std::array<StepButton, 8> kStepButtons = {{
    {"Command3", "Text1", -10, false},
    {"Command4", "Text1", -1, false},
    {"Command6", "Text1", 1, false},
    {"Command5", "Text1", 10, false},
    {"Command7", "Text2", -10, true},
    {"Command8", "Text2", -1, true},
    {"Command10", "Text2", 1, false},
    {"Command9", "Text2", 10, false},
}};

// The step button of that control name, or nullptr.
[[nodiscard]] const StepButton* FindStepButton(std::string_view button);

// The text the button's box holds after a click on it, from its text
// before. Errors: those of StepValue.
[[nodiscard]] std::string Step(const StepButton& button, std::string_view text);

// What a screen reader is told after a step: the box's name and its new
// text, "Summe n: 5".
[[nodiscard]] std::string StepAnnouncement(std::string_view boxName, std::string_view text);

}  // namespace partition
