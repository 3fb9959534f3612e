#include "step_value.h"

#include <algorithm>

namespace partition {

// ReadNumber returns at most the largest double, which plus 10 is still
// finite: the sum needs no check. The written text reads back with the sign
// of `value`, so the clamp can look at `value` itself.
std::string StepValue(std::string_view text, Number delta, bool clampAtZero) {
  const Number value = ReadNumber(text) + delta;
  if (clampAtZero && value < 0) {
    return "0";
  }
  return FormatNumber(value);
}

const StepButton* FindStepButton(std::string_view button) {
  const auto* found =
      std::find_if(kStepButtons.begin(), kStepButtons.end(),
                   [button](const StepButton& step) { return step.button == button; });
  return found == kStepButtons.end() ? nullptr : found;
}

std::string Step(const StepButton& button, std::string_view text) {
  return StepValue(text, button.delta, button.clampAtZero);
}

std::string StepAnnouncement(std::string_view boxName, std::string_view text) {
  const std::size_t start = text.find_first_not_of(' ');
  return std::string(boxName) + ": " +
         std::string(start == std::string_view::npos ? std::string_view() : text.substr(start));
}

}  // namespace partition
