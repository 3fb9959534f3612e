// Any three texts into the calculation run. The first byte picks the counter;
// the rest is n, k and m separated by NUL bytes, with m cut to 200 so that a
// run stays short. What must hold: only the program's own runtime errors come
// out; once the header is reached the list starts with it, and every line has
// the list's form, a last unfinished line only after an error. Where n + m is
// at most 3000, the run with exact counts must write the same list up to the
// first count past a Long, and end where the Long run ends for another reason.
#include <cctype>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "calculation.h"
#include "counters.h"

namespace {

// A number as FormatNumber writes it: " " or "-", then digits with an
// optional point (or a point and digits), then an optional exponent.
bool TakeNumber(std::string_view& text) {
  if (text.empty() || (text[0] != ' ' && text[0] != '-')) {
    return false;
  }
  std::size_t i = 1;
  std::size_t digits = 0;
  while (i < text.size() && (std::isdigit(static_cast<unsigned char>(text[i])) || text[i] == '.')) {
    digits += text[i] == '.' ? 0 : 1;
    ++i;
  }
  if (digits == 0) {
    return false;
  }
  if (i + 1 < text.size() && text[i] == 'E' && (text[i + 1] == '+' || text[i + 1] == '-')) {
    i += 2;
    std::size_t exponentDigits = 0;
    while (i < text.size() && std::isdigit(static_cast<unsigned char>(text[i]))) {
      ++i;
      ++exponentDigits;
    }
    if (exponentDigits < 2) {
      return false;
    }
  }
  text.remove_prefix(i);
  return true;
}

bool Take(std::string_view& text, std::string_view literal) {
  if (!text.starts_with(literal)) {
    return false;
  }
  text.remove_prefix(literal.size());
  return true;
}

// Checks the list after the header; `finished` when the run ended normally.
bool LinesHaveTheListForm(std::string_view lines, bool finished) {
  while (!lines.empty()) {
    if (!TakeNumber(lines) || !Take(lines, "  (") || !TakeNumber(lines) || !Take(lines, "):  ")) {
      return false;
    }
    if (lines.empty()) {
      return !finished;  // the count of this line raised the error
    }
    if (!TakeNumber(lines) || !Take(lines, "\r\n")) {
      return false;
    }
  }
  return true;
}

// The exact run's list begins with the Long run's whole: the same up to where
// the Long run stopped, which is an overflow of a count only where the exact
// one goes on.
void ExactListAgrees(partition::Counter counter, const std::string_view (&texts)[3],
                     const std::string& longs, bool finished) {
  try {
    const partition::CalculationRun probe(partition::CalculationOf(counter),
                                          partition::Counting::Exact, texts[0], texts[1], texts[2]);
    if (!probe.BeyondExactBound(3000).empty()) {
      return;
    }
  } catch (const partition::RuntimeError&) {
    return;  // the Long run raised the same before its header
  }
  std::string exact;
  bool exactFinished = true;
  try {
    partition::CalculationRun run(partition::CalculationOf(counter), partition::Counting::Exact,
                                  texts[0], texts[1], texts[2]);
    partition::WritePieces(run, 100, partition::LineEnds::CrLf, [&exact](std::string_view piece) {
      exact += piece;
      return true;
    });
  } catch (const partition::RuntimeError&) {
    exactFinished = false;
  }
  if (!exact.starts_with(longs) || (finished && (!exactFinished || exact != longs)) ||
      (exactFinished &&
       !LinesHaveTheListForm(std::string_view(exact).substr(exact.find('\n') + 1), true))) {
    std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) {
    return 0;
  }
  const partition::Counter counter =
      data[0] % 2 == 0 ? partition::CountDistinct : partition::CountRepeated;
  std::string_view rest(reinterpret_cast<const char*>(data + 1), size - 1);
  std::string_view texts[3];
  for (std::string_view& text : texts) {
    const std::size_t end = rest.find('\0');
    text = rest.substr(0, end);
    rest.remove_prefix(end == std::string_view::npos ? rest.size() : end + 1);
  }
  try {
    if (partition::ReadNumber(texts[2]) > 200) {
      texts[2] = "200";
    }
  } catch (const partition::RuntimeError&) {
  }

  std::string list;
  bool finished = true;
  try {
    partition::RunCalculation(counter, texts[0], texts[1], texts[2], list);
  } catch (const partition::RuntimeError& error) {
    if (error.number() != partition::kOverflowError) {
      std::abort();
    }
    finished = false;
  }
  if (list.empty()) {
    if (finished) {
      std::abort();  // a finished run always writes its header
    }
    return 0;
  }
  std::string_view view(list);
  const std::size_t headerEnd = view.find("\r\n");
  if (!view.starts_with("Summanden von 1 bis ") || headerEnd == std::string_view::npos) {
    std::abort();
  }
  std::string_view header = view.substr(20, headerEnd - 20);
  if (!TakeNumber(header) || !header.empty() ||
      !LinesHaveTheListForm(view.substr(headerEnd + 2), finished)) {
    std::abort();
  }
  ExactListAgrees(counter, texts, list, finished);
  return 0;
}
