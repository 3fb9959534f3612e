// The calculation run behind the two calculation buttons: reads n, k and m
// from their box texts and writes the list of counts for n .. n + m.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "exact_counts.h"
#include "number_text.h"

namespace partition {

// CountDistinct or CountRepeated.
using Counter = Long (*)(Long n, Long k);

// How a run counts: in Longs, as the program was made, a count above
// 2147483647 ending the list with the overflow error; or exactly, as whole
// numbers of any size, the option "Große Anzahlen genau, ohne Überlauf".
enum class Counting { Longs, Exact };

// Calculation 1 for CountDistinct, 2 for any other counter.
[[nodiscard]] Calculation CalculationOf(Counter counter);

// The largest n + m of a list with exact counts, which needs every count from
// 0 to n + m: in the window and the page, where such a list reaches the
// list's 64 MiB, and on the command line.
inline constexpr Long kLastExactNumberInWindow = 200000;
inline constexpr Long kLastExactNumberInStream = 1000000;

// Longest list, in bytes, the run writes (64 MiB): a million lines fit many
// times over.
inline constexpr std::size_t kMaxListBytes = std::size_t{64} << 20;
// No bound: a list written piece by piece to a stream, not kept whole.
inline constexpr std::size_t kNoListLimit = static_cast<std::size_t>(-1);

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

// The same run written out a piece at a time, so that a window can show the
// top of a long list while the rest is still being written. The pieces, joined,
// are the list RunCalculation writes.
class CalculationRun {
 public:
  // Reads n and k. The list may grow to `maxListBytes` (kNoListLimit: as
  // long as the numbers go). Errors: the overflow error for n or k beyond the
  // double range; the list is not touched then.
  CalculationRun(Counter counter, std::string_view n, std::string_view k, std::string_view m,
                 std::size_t maxListBytes = kMaxListBytes);
  // The same for calculation 1 or 2 counted as asked: with Counting::Exact
  // each count is the whole number in decimal, behind a blank as
  // FormatNumber writes a Long, and no count overflows; k < 0 with j > 0
  // still ends the list with the overflow error, as the counters do.
  CalculationRun(Calculation calculation, Counting counting, std::string_view n, std::string_view k,
                 std::string_view m, std::size_t maxListBytes = kMaxListBytes);

  // Empty unless the run counts exactly and its list would end past
  // `lastNumber`; then the German sentence that says so and what was asked.
  // Where n + m itself raises an error, empty: the run raises it.
  [[nodiscard]] std::string BeyondExactBound(Long lastNumber) const;

  // The same run from its start again, sharing the exact counts this one
  // computed: writes the same list without computing them anew.
  [[nodiscard]] CalculationRun Restarted() const;

  // For exact counts: told now and then, while they are computed before the
  // first line that needs one, how much of them is done; returning false
  // stops the run (Continue throws ExactCounts::Stopped).
  void OnCounting(ExactCounts::Progress progress);

  // Appends the next piece of the list to `piece`: the first call writes the
  // header and up to `lines` lines, every later call up to `lines` lines.
  // Returns whether lines remain. Errors: those of RunCalculation that come
  // after the header, with `piece` ending in what was written before the error
  // (part of a line, too); a run that raised an error is over.
  bool Continue(std::string& piece, std::size_t lines);

  // Lines of the list without the header, known once the header is written:
  // those asked for (m + 1 for whole n and m >= 0, 0 for m < 0) and those
  // written so far. Before the header both are 0.
  [[nodiscard]] std::int64_t LinesAsked() const;
  [[nodiscard]] std::int64_t LinesWritten() const;

 private:
  // Appends count(current_, k) in the way of the run.
  void AppendCount(std::string& piece, Long k);

  Counter counter_;
  Calculation calculation_ = Calculation::Repeated;
  Counting counting_ = Counting::Longs;
  std::shared_ptr<const ExactCounts> exact_;  // shared by copies of the run
  ExactCounts::Progress progress_;
  Number valueN_;
  Number valueK_;
  std::string mText_;
  bool started_ = false;
  Long firstNumber_ = 0;
  Long current_ = 0;
  Long lastNumber_ = 0;
  std::size_t maxListBytes_;
  std::size_t written_ = 0;  // bytes of the list in the pieces before this one
};

// The list ends its lines with CR LF; a text box and a terminal with LF.
enum class LineEnds { CrLf, LineFeed };

// Takes the CR out of every CR LF of `text`, in place, and returns the text.
std::string_view ToLineFeeds(std::string& text);
// `text` with every LF turned into CR LF.
std::string ToCrLf(std::string_view text);

// What a screen reader is told when a list stands: how many lines it has
// and its first one, "Liste fertig: 16 Zeilen, die erste: 0  ( 10):   1".
[[nodiscard]] std::string ListReadyAnnouncement(std::int64_t lines, std::string_view firstLine);

// How far a list has come, for its progress bar: "1.200 von 100.001 Zeilen",
// and before that, while exact counts are computed: "Anzahlen werden
// berechnet: 45 %".
[[nodiscard]] std::string ListProgress(std::int64_t written, std::int64_t asked);
[[nodiscard]] std::string CountingProgress(double done);

// Takes one piece of a list; returns false to stop the list there.
using PieceTaker = std::function<bool(std::string_view piece)>;

// Lines a piece of a list holds on its way to a terminal, a file or the
// clipboard: a few hundred kilobytes.
inline constexpr std::size_t kLinesPerStreamPiece = 10000;

// Writes the rest of `run`'s list and hands it to `take` a piece of up to
// `lines` lines at a time, with the line ends asked for. The first piece a
// run hands on begins with the header: whoever shows the pieces keeps the old
// list until it comes, and so keeps it when the run fails before its header.
// Returns false as soon as `take` returns false, true at the list's end.
// Errors: those of Continue, after the piece written up to the error went to
// `take`.
bool WritePieces(CalculationRun& run, std::size_t lines, LineEnds ends, const PieceTaker& take);

}  // namespace partition
