#include "step_value.h"

#include <gtest/gtest.h>

#include "test_support/expect_error.h"

namespace partition {
namespace {

struct StepCase {
  const char* name;
  const char* button;
  const char* box;     // the box the button changes
  const char* before;  // its text before the click
  const char* after;   // and after
};

TEST(StepButtons, ChangeTheirBoxAsTheTableSays) {
  const StepCase cases[] = {
      {"k -10 from 4 clamps to a bare 0", "Command7", "Text2", "4", "0"},
      {"k -1 to zero keeps the blank", "Command8", "Text2", " 1", " 0"},
      {"k -1 below zero clamps", "Command8", "Text2", " 0", "0"},
      {"k fraction below zero clamps", "Command8", "Text2", "0.5", "0"},
      {"k +1", "Command10", "Text2", "0", " 1"},
      {"k +10", "Command9", "Text2", "7", " 17"},
      {"n -1 goes below zero", "Command4", "Text1", "0", "-1"},
      {"n -10 does not clamp", "Command3", "Text1", "-1", "-11"},
      {"n +1 from a text that is no number", "Command6", "Text1", "abc", " 1"},
      {"n +10 from a fraction", "Command5", "Text1", "2.5", " 12.5"},
      {"n +10 into exponent form", "Command5", "Text1", "999999999999999", " 1.00000000000001E+15"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const StepButton* button = FindStepButton(c.button);
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->box, c.box);
    EXPECT_EQ(Step(*button, c.before), c.after);
  }
  EXPECT_EQ(FindStepButton("Command1"), nullptr);
  EXPECT_TRUE(
      test_support::EndsWithOverflow([] { (void)Step(*FindStepButton("Command6"), "1E400"); }));
}

}  // namespace
}  // namespace partition
