// The core as the page calls it: plain C functions over UTF-8 texts in the
// WebAssembly module's memory, compiled by emscripten. Every number the page
// shows comes from here.
#include <emscripten/emscripten.h>

#include <cstddef>
#include <string>
#include <string_view>

#include "calculation.h"
#include "counters.h"
#include "step_value.h"

namespace {

// Lines handed to the page at a time: a piece the page lays out in a few
// milliseconds.
constexpr std::size_t kLinesPerPiece = 1000;

std::string errorMessage;
std::string stepped;

// Runs `action`; returns 0, or the number of the runtime error it raised,
// whose message is kept for partitionen_error_message. Anything but a
// runtime error is a string or list that found no memory (7).
template <typename Action>
int Guarded(Action action) {
  try {
    action();
    return 0;
  } catch (const partition::RuntimeError& error) {
    errorMessage = error.what();
    return error.number();
  } catch (...) {
    errorMessage = partition::kOutOfMemoryMessage;
    return partition::kOutOfMemoryError;
  }
}

}  // namespace

// Hands one piece of the list (UTF-8, lines ending in LF) to the page.
EM_JS(void, TakePiece, (const char* text, std::size_t size),
      { Module["takePiece"](UTF8ToString(text, size)); });

extern "C" {

// Writes the list of calculation 1 (each summand once) or 2 (repeats) for the
// texts of the n, k and m boxes, handing it to Module.takePiece a piece at a
// time, within the window's 64 MiB bound. Returns 0 when the list is
// complete, otherwise the runtime error's number; the pieces handed on are
// then the list as far as it got (none: the old list stays).
EMSCRIPTEN_KEEPALIVE int partitionen_write_list(int calculation, const char* n, const char* k,
                                                const char* m) {
  return Guarded([&] {
    partition::CalculationRun run(
        calculation == 1 ? partition::CountDistinct : partition::CountRepeated, n, k, m);
    partition::WriteWithLineFeeds(run, kLinesPerPiece, [](std::string_view piece) {
      TakePiece(piece.data(), piece.size());
      return true;
    });
  });
}

// Steps the text of a box by `delta`, clamped at zero for the buttons that
// lower k. Returns 0 and keeps the new text for partitionen_stepped, or the
// runtime error's number.
EMSCRIPTEN_KEEPALIVE int partitionen_step(const char* text, double delta, int clampAtZero) {
  return Guarded([&] { stepped = partition::StepValue(text, delta, clampAtZero != 0); });
}

// The text of the last successful step, UTF-8.
EMSCRIPTEN_KEEPALIVE const char* partitionen_stepped() { return stepped.c_str(); }

// The message of the last runtime error, German, UTF-8.
EMSCRIPTEN_KEEPALIVE const char* partitionen_error_message() { return errorMessage.c_str(); }
}
