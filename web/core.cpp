// The core as the page calls it: plain C functions over UTF-8 texts in the
// WebAssembly module's memory, compiled by emscripten. Every number, rule,
// bound and message the page shows comes from here.
#include <emscripten/emscripten.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "calculation.h"
#include "counters.h"
#include "paste_bounds.h"
#include "step_value.h"

namespace {

// Lines of a piece the page lays out at a time: a few milliseconds of its
// work between two turns of its event loop.
constexpr std::size_t kLinesPerPagePiece = 1000;

std::string errorMessage;
std::string text;
std::size_t pastedSize = 0;

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

// Hands one piece of the list (UTF-8, lines ending in LF) to the page, with
// the list's lines written up to its end and the lines asked for.
EM_JS(void, TakePiece, (const char* piece, std::size_t size, double written, double asked),
      { Module["takePiece"](UTF8ToString(piece, size), written, asked); });

extern "C" {

// While exact counts are computed: the share of them done, 0 to 1.
EM_JS(void, TakeCounting, (double done), {
  if (Module["takeCounting"]) Module["takeCounting"](done);
});

// Writes the list of calculation 1 (each summand once) or 2 (repeats) for the
// texts of the n, k and m boxes, with exact counts when `exact`, handing it
// to Module.takePiece a piece at a time, within the window's 64 MiB bound.
// Returns 0 when the list is complete, otherwise the runtime error's number;
// the pieces handed on are then the list as far as it got (none: the old
// list stays). An exact list past its bound writes nothing and returns -1,
// its German sentence kept for partitionen_error_message.
EMSCRIPTEN_KEEPALIVE int partitionen_write_list(int calculation, const char* n, const char* k,
                                                const char* m, int exact) {
  int beyond = 0;
  const int error = Guarded([&] {
    partition::CalculationRun run(
        calculation == 1 ? partition::Calculation::Distinct : partition::Calculation::Repeated,
        exact != 0 ? partition::Counting::Exact : partition::Counting::Longs, n, k, m);
    errorMessage = run.BeyondExactBound(partition::kLastExactNumberInWindow);
    if (!errorMessage.empty()) {
      beyond = -1;
      return;
    }
    run.OnCounting([](double done) {
      TakeCounting(done);
      return true;
    });
    partition::WritePieces(
        run, kLinesPerPagePiece, partition::LineEnds::LineFeed, [&run](std::string_view piece) {
          TakePiece(piece.data(), piece.size(), static_cast<double>(run.LinesWritten()),
                    static_cast<double>(run.LinesAsked()));
          return true;
        });
  });
  return error != 0 ? error : beyond;
}

// Runs each way to exact counts once on a short list, so that the engine
// has compiled their loops for speed before a long list needs them: it
// compiles a function so only after it has run for a while.
EMSCRIPTEN_KEEPALIVE void partitionen_warm_up() {
  for (const auto calculation :
       {partition::Calculation::Distinct, partition::Calculation::Repeated}) {
    for (const partition::Long k : {3000, 300, 30}) {
      const partition::ExactCounts counts(calculation, 3000, k);
      std::string digits;
      for (partition::Long j = 0; j <= counts.Last(); ++j) {
        counts.AppendDecimal(digits, j);
      }
    }
  }
}

// The number of step buttons, and the control names of step button `index`
// and of the box it changes.
EMSCRIPTEN_KEEPALIVE int partitionen_step_buttons() {
  return static_cast<int>(partition::kStepButtons.size());
}
EMSCRIPTEN_KEEPALIVE const char* partitionen_step_button(int index) {
  text = partition::kStepButtons.at(static_cast<std::size_t>(index)).button;
  return text.c_str();
}
EMSCRIPTEN_KEEPALIVE const char* partitionen_step_box(int index) {
  text = partition::kStepButtons.at(static_cast<std::size_t>(index)).box;
  return text.c_str();
}

// The text of the box of step button `button` after a click on it, from its
// text before. Returns 0 and keeps the new text for partitionen_text, or the
// runtime error's number.
EMSCRIPTEN_KEEPALIVE int partitionen_step(const char* button, const char* before) {
  return Guarded([&] { text = partition::Step(*partition::FindStepButton(button), before); });
}

// Why a box of `length` characters, `selected` of them selected, refuses
// `incoming` characters in place of its selection; empty when it takes them.
EMSCRIPTEN_KEEPALIVE const char* partitionen_refused_box_paste(double length, double selected,
                                                               double incoming) {
  text = partition::RefusedBoxPaste(static_cast<std::size_t>(length),
                                    static_cast<std::size_t>(selected),
                                    static_cast<std::size_t>(incoming));
  return text.c_str();
}

// For `size` UTF-16 characters at `pasted` going into the list: turns their
// line breaks into LF in place (partitionen_pasted_size gives the new
// length) and says why the list refuses them at that place, or nothing.
EMSCRIPTEN_KEEPALIVE const char* partitionen_refused_list_paste(char16_t* pasted, double size,
                                                                double lineBefore, double lineAfter,
                                                                double listLength) {
  pastedSize = partition::ToListLineBreaks(pasted, static_cast<std::size_t>(size));
  text = partition::RefusedListPaste(
      std::u16string_view(pasted, pastedSize),
      {static_cast<std::size_t>(lineBefore), static_cast<std::size_t>(lineAfter),
       static_cast<std::size_t>(listLength)});
  return text.c_str();
}
EMSCRIPTEN_KEEPALIVE double partitionen_pasted_size() { return static_cast<double>(pastedSize); }

// The words a screen reader hears when a list of `lines` lines stands, and
// after a step, UTF-8.
EMSCRIPTEN_KEEPALIVE const char* partitionen_list_ready(double lines, const char* firstLine) {
  text = partition::ListReadyAnnouncement(static_cast<std::int64_t>(lines), firstLine);
  return text.c_str();
}
EMSCRIPTEN_KEEPALIVE const char* partitionen_step_said(const char* boxName, const char* boxText) {
  text = partition::StepAnnouncement(boxName, boxText);
  return text.c_str();
}

// How far a list has come, for its progress bar, UTF-8.
EMSCRIPTEN_KEEPALIVE const char* partitionen_list_progress(double written, double asked) {
  text =
      partition::ListProgress(static_cast<std::int64_t>(written), static_cast<std::int64_t>(asked));
  return text.c_str();
}
EMSCRIPTEN_KEEPALIVE const char* partitionen_counting_progress(double done) {
  text = partition::CountingProgress(done);
  return text.c_str();
}

// The longest text of a box.
EMSCRIPTEN_KEEPALIVE double partitionen_longest_box_text() {
  return static_cast<double>(partition::kLongestBoxText);
}

// The text of the last successful step, UTF-8.
EMSCRIPTEN_KEEPALIVE const char* partitionen_text() { return text.c_str(); }

// The message of the last runtime error, German, UTF-8.
EMSCRIPTEN_KEEPALIVE const char* partitionen_error_message() { return errorMessage.c_str(); }

// The number and German message of the error a list that finds no memory
// ends with.
EMSCRIPTEN_KEEPALIVE int partitionen_out_of_memory() {
  errorMessage = partition::kOutOfMemoryMessage;
  return partition::kOutOfMemoryError;
}
}
