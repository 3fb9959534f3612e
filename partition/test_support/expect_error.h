// Checks that a call ends with one of the program's runtime errors.
#pragma once

#include <gtest/gtest.h>

#include <string_view>

#include "number_text.h"

namespace partition::test_support {

template <typename Call>
testing::AssertionResult EndsWithError(Call&& call, int number, std::string_view message) {
  try {
    call();
  } catch (const RuntimeError& error) {
    if (error.number() == number && error.what() == message) {
      return testing::AssertionSuccess();
    }
    return testing::AssertionFailure()
           << "error " << error.number() << " \"" << error.what() << "\"";
  }
  return testing::AssertionFailure() << "no error";
}

template <typename Call>
testing::AssertionResult EndsWithOverflow(Call&& call) {
  return EndsWithError(call, kOverflowError, kOverflowMessage);
}

}  // namespace partition::test_support
