#include "calculation.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "counters.h"
#include "paste_bounds.h"

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

Calculation CalculationOf(Counter counter) {
  return counter == CountDistinct ? Calculation::Distinct : Calculation::Repeated;
}

CalculationRun::CalculationRun(Counter counter, std::string_view n, std::string_view k,
                               std::string_view m, std::size_t maxListBytes)
    : counter_(counter),
      valueN_(ReadNumber(n)),
      valueK_(ReadNumber(k)),
      mText_(m),
      maxListBytes_(maxListBytes) {}

CalculationRun::CalculationRun(Calculation calculation, Counting counting, std::string_view n,
                               std::string_view k, std::string_view m, std::size_t maxListBytes)
    : CalculationRun(calculation == Calculation::Distinct ? CountDistinct : CountRepeated, n, k, m,
                     maxListBytes) {
  calculation_ = calculation;
  counting_ = counting;
}

std::string CalculationRun::BeyondExactBound(Long lastNumber) const {
  if (counting_ != Counting::Exact) {
    return {};
  }
  Long last = 0;
  try {
    last = ToLong(Finite(ReadNumber(mText_) + valueN_));
  } catch (const RuntimeError&) {
    return {};
  }
  if (last <= lastNumber) {
    return {};
  }
  return "Nicht berechnet: mit genauen gro\u00dfen Anzahlen reicht eine Liste bis n + m = " +
         GermanCount(static_cast<std::size_t>(lastNumber)) +
         ", verlangt ist n + m = " + GermanCount(static_cast<std::size_t>(last)) + ".";
}

CalculationRun CalculationRun::Restarted() const {
  CalculationRun again = *this;
  again.started_ = false;
  again.current_ = 0;
  again.lastNumber_ = 0;
  again.firstNumber_ = 0;
  again.written_ = 0;
  again.progress_ = nullptr;
  return again;
}

void CalculationRun::OnCounting(ExactCounts::Progress progress) { progress_ = std::move(progress); }

void CalculationRun::AppendCount(std::string& piece, Long k) {
  if (counting_ == Counting::Longs) {
    AppendNumber(piece, counter_(current_, k));
    return;
  }
  if (current_ <= 0) {
    AppendNumber(piece, Long{current_ == 0 ? 1 : 0});
    return;
  }
  if (k < 0) {
    RaiseOverflow();  // as the counters: no summand ever ends the count
  }
  if (!exact_) {
    exact_ = std::make_shared<const ExactCounts>(calculation_, lastNumber_, k, progress_);
  }
  piece.push_back(' ');
  exact_->AppendDecimal(piece, current_);
}

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
    piece.append(kHeader);
    AppendNumber(piece, valueK_);
    piece.append(kLineEnd);
    lastNumber_ = ToLong(Finite(ReadNumber(mText_) + valueN_));
    current_ = ToLong(valueN_);
    firstNumber_ = current_;
    started_ = true;
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

    const Long k = ToLong(valueK_);
    const std::size_t countStart = piece.size();
    AppendCount(piece, k);
    piece.append(kLineEnd);
    fits(countStart);
    current_ = CheckedAdd(current_, 1);
  }
  written_ += piece.size() - pieceStart;
  return lastNumber_ >= current_;
}

std::int64_t CalculationRun::LinesAsked() const {
  return started_ ? std::max<std::int64_t>(0, std::int64_t{lastNumber_} - firstNumber_ + 1) : 0;
}

std::int64_t CalculationRun::LinesWritten() const {
  return started_ ? std::int64_t{current_} - firstNumber_ : 0;
}

std::string_view ToLineFeeds(std::string& text) {
  std::size_t kept = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\r' || i + 1 == text.size() || text[i + 1] != '\n') {
      text[kept++] = text[i];
    }
  }
  text.resize(kept);
  return text;
}

std::string ToCrLf(std::string_view text) {
  std::string withCrLf;
  withCrLf.reserve(text.size() + text.size() / 8);
  for (const char c : text) {
    if (c == '\n') {
      withCrLf.push_back('\r');
    }
    withCrLf.push_back(c);
  }
  return withCrLf;
}

std::string ListReadyAnnouncement(std::int64_t lines, std::string_view firstLine) {
  std::string said =
      "Liste fertig: " + GermanCount(static_cast<std::size_t>(std::max<std::int64_t>(lines, 0))) +
      (lines == 1 ? " Zeile" : " Zeilen");
  const std::size_t start = firstLine.find_first_not_of(' ');
  if (lines > 0 && start != std::string_view::npos) {
    said += ", die erste: ";
    said += firstLine.substr(start, firstLine.find_last_not_of(" \r\n") + 1 - start);
  }
  return said;
}

std::string ListProgress(std::int64_t written, std::int64_t asked) {
  return GermanCount(static_cast<std::size_t>(std::max<std::int64_t>(written, 0))) + " von " +
         GermanCount(static_cast<std::size_t>(std::max<std::int64_t>(asked, 0))) + " Zeilen";
}

std::string CountingProgress(double done) {
  return "Anzahlen werden berechnet: " +
         std::to_string(static_cast<int>(std::clamp(done, 0.0, 1.0) * 100)) + " %";
}

bool WritePieces(CalculationRun& run, std::size_t lines, LineEnds ends, const PieceTaker& take) {
  std::string piece;
  const auto hand = [&] {
    return take(ends == LineEnds::LineFeed ? ToLineFeeds(piece) : std::string_view(piece));
  };
  for (bool more = true; more;) {
    piece.clear();
    try {
      more = run.Continue(piece, lines);
    } catch (...) {
      hand();
      throw;
    }
    if (!hand()) {
      return false;
    }
  }
  return true;
}

void RunCalculation(Counter counter, std::string_view n, std::string_view k, std::string_view m,
                    std::string& list) {
  CalculationRun run(counter, n, k, m);
  bool first = true;
  WritePieces(run, kLinesPerStreamPiece, LineEnds::CrLf, [&](std::string_view piece) {
    if (first) {
      list.assign(piece);
      first = false;
    } else {
      list.append(piece);
    }
    return true;
  });
}

}  // namespace partition
