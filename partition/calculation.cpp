#include "calculation.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace partition {
namespace {

constexpr std::string_view kHeader = "Summanden von 1 bis ";
constexpr std::string_view kOpenBracket = "  (";
constexpr std::string_view kCloseBracket = "):  ";
constexpr std::string_view kLineEnd = "\r\n";

// Number arithmetic of the run: a result that is not finite is an overflow.
[[nodiscard]] Number Finite(Number value) {
  if (!std::isfinite(value)) {
    RaiseOverflow();
  }
  return value;
}

}  // namespace

CalculationRun::CalculationRun(Counter counter, std::string_view n, std::string_view k,
                               std::string_view m, std::size_t maxListBytes)
    : counter_(counter),
      valueN_(ReadNumber(n)),
      valueK_(ReadNumber(k)),
      mText_(m),
      maxListBytes_(maxListBytes) {}

bool CalculationRun::Continue(std::string& piece, std::size_t lines) {
  const std::size_t pieceStart = piece.size();
  // Raises the out-of-string-space error when what was appended to the
  // piece from `partStart` on took the list past its bound, with that part
  // taken back: the list never holds more than its bound.
  const auto fits = [&](std::size_t partStart) {
    if (written_ + (piece.size() - pieceStart) > maxListBytes_) {
      piece.resize(partStart);
      throw RuntimeError(kOutOfStringSpaceError, std::string(kOutOfStringSpaceMessage));
    }
  };

  if (!started_) {
    started_ = true;
    piece.append(kHeader);
    AppendNumber(piece, valueK_);
    piece.append(kLineEnd);
    lastNumber_ = ToLong(Finite(ReadNumber(mText_) + valueN_));
    current_ = ToLong(valueN_);
  }
  for (std::size_t line = 0; line < lines && lastNumber_ >= current_; ++line) {
    Number t = Finite(valueK_ + 1);
    t = Finite(valueK_ * t);
    t = Finite(t / 2);
    t = Finite(t - current_);
    const Number bracketed = Finite(t - current_);

    const std::size_t lineStart = piece.size();
    AppendNumber(piece, current_);
    piece.append(kOpenBracket);
    AppendNumber(piece, bracketed);
    piece.append(kCloseBracket);
    fits(lineStart);

    const Long count = counter_(current_, ToLong(valueK_));
    const std::size_t countStart = piece.size();
    AppendNumber(piece, count);
    piece.append(kLineEnd);
    fits(countStart);
    current_ = CheckedAdd(current_, 1);
  }
  written_ += piece.size() - pieceStart;
  return lastNumber_ >= current_;
}

bool WriteWithLineFeeds(CalculationRun& run, std::size_t lines,
                        const std::function<bool(std::string_view piece)>& take) {
  std::string piece;
  const auto withLineFeeds = [&piece] {
    return std::string_view(
        piece.data(),
        static_cast<std::size_t>(std::remove(piece.begin(), piece.end(), '\r') - piece.begin()));
  };
  for (bool more = true; more;) {
    piece.clear();
    try {
      more = run.Continue(piece, lines);
    } catch (...) {
      take(withLineFeeds());
      throw;
    }
    if (!take(withLineFeeds())) {
      return false;
    }
  }
  return true;
}

void RunCalculation(Counter counter, std::string_view n, std::string_view k, std::string_view m,
                    std::string& list) {
  CalculationRun run(counter, n, k, m);
  // The old list stays until the run has written its header; from then on
  // `list` is the list being written.
  std::string header;
  bool more = false;
  try {
    more = run.Continue(header, 0);
  } catch (const RuntimeError&) {
    list = std::move(header);
    throw;
  }
  list = std::move(header);
  while (more) {
    more = run.Continue(list, std::size_t{1} << 16);
  }
}

}  // namespace partition
