#include "number_text.h"

#include "decimal_conversion.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <optional>

namespace partition {

RuntimeError::RuntimeError(int number, const std::string& message)
    : std::runtime_error(message), number_(number) {}

void RaiseOverflow() { throw RuntimeError(kOverflowError, std::string(kOverflowMessage)); }

namespace {

constexpr int kEnd = -1;

// Walks a text character by character, stepping over the blanks, tabs and
// line feeds that may stand anywhere inside a number.
class Scanner {
 public:
  explicit Scanner(std::string_view text) : text_(text) {}

  // The next character that counts, as 0..255, or kEnd.
  int Peek() {
    while (pos_ < text_.size() && IsSkipped(text_[pos_])) {
      ++pos_;
    }
    return pos_ < text_.size() ? static_cast<unsigned char>(text_[pos_]) : kEnd;
  }
  void Advance() { ++pos_; }

  bool Accept(char wanted) {
    if (Peek() != static_cast<unsigned char>(wanted)) {
      return false;
    }
    Advance();
    return true;
  }
  bool AcceptEither(char upper, char lower) { return Accept(upper) || Accept(lower); }
  // Digit of the given radix (8, 10 or 16) at the current position, or -1.
  int PeekDigit(int radix) {
    const int c = Peek();
    int value = -1;
    if (c >= '0' && c <= '9') {
      value = c - '0';
    } else if (c >= 'a' && c <= 'f') {
      value = c - 'a' + 10;
    } else if (c >= 'A' && c <= 'F') {
      value = c - 'A' + 10;
    }
    return value < radix ? value : -1;
  }

 private:
  static bool IsSkipped(char c) { return c == ' ' || c == '\t' || c == '\n'; }

  std::string_view text_;
  std::size_t pos_ = 0;
};

// Hexadecimal (shift 4) or octal (shift 3) digits, as a Long's bit pattern.
Number ReadRadixInteger(Scanner& scanner, int shift) {
  const int radix = 1 << shift;
  std::uint64_t value = 0;
  for (int digit = scanner.PeekDigit(radix); digit >= 0; digit = scanner.PeekDigit(radix)) {
    scanner.Advance();
    value = (value << shift) | static_cast<std::uint64_t>(digit);
    if (value > 0xFFFFFFFFU) {
      RaiseOverflow();
    }
  }
  return static_cast<Long>(static_cast<std::uint32_t>(value));
}

// More significant digits than any double needs for correct rounding (at most
// 767); digits beyond are folded into one sticky digit.
constexpr std::size_t kKeptDigits = 800;
// Exponents are clamped far beyond the double range, so that no text of any
// length can overflow the bookkeeping.
constexpr std::int64_t kExponentClamp = 1'000'000'000;

Number ReadDecimal(Scanner& scanner) {
  const bool negative = scanner.Accept('-');
  if (!negative) {
    scanner.Accept('+');
  }
  std::string digits;         // significant digits, no leading zeros
  std::int64_t exponent = 0;  // value = digits * 10^exponent
  bool sawDigit = false;
  bool sticky = false;
  auto take = [&](int digit, bool fraction) {
    sawDigit = true;
    if (digits.empty() && digit == 0) {
      exponent -= fraction ? 1 : 0;
    } else if (digits.size() < kKeptDigits) {
      digits.push_back(static_cast<char>('0' + digit));
      exponent -= fraction ? 1 : 0;
    } else {
      exponent += fraction ? 0 : 1;
      sticky = sticky || digit != 0;
    }
    scanner.Advance();
  };
  for (int d = scanner.PeekDigit(10); d >= 0; d = scanner.PeekDigit(10)) {
    take(d, false);
  }
  if (scanner.Accept('.')) {
    for (int d = scanner.PeekDigit(10); d >= 0; d = scanner.PeekDigit(10)) {
      take(d, true);
    }
  }
  if (!sawDigit) {
    return 0.0;
  }
  if (scanner.AcceptEither('E', 'e')) {
    const bool negativeExponent = scanner.Accept('-');
    if (!negativeExponent) {
      scanner.Accept('+');
    }
    std::int64_t written = 0;
    for (int d = scanner.PeekDigit(10); d >= 0; d = scanner.PeekDigit(10)) {
      scanner.Advance();
      written = std::min(written * 10 + d, kExponentClamp);
    }
    exponent += negativeExponent ? -written : written;
  }
  if (digits.empty()) {
    return 0.0;
  }
  if (sticky) {
    digits.push_back('1');
    exponent -= 1;
  }
  const std::int64_t leading = exponent + static_cast<std::int64_t>(digits.size()) - 1;
  if (leading > 400) {
    RaiseOverflow();
  }
  if (leading < -400) {
    return 0.0;
  }
  const std::optional<double> value = decimal_conversion::Parse(digits, exponent);
  if (!value) {
    RaiseOverflow();
  }
  return negative ? -*value : *value;
}

void AppendDigits(std::string& out, std::uint64_t magnitude) {
  std::array<char, 24> buffer{};
  const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), magnitude);
  out.append(buffer.data(), result.ptr);
}

}  // namespace

Number ReadNumber(std::string_view text) {
  Scanner scanner(text);
  if (scanner.Accept('&')) {
    if (scanner.AcceptEither('H', 'h')) {
      return ReadRadixInteger(scanner, 4);
    }
    if (scanner.AcceptEither('O', 'o')) {
      return ReadRadixInteger(scanner, 3);
    }
    return 0.0;
  }
  return ReadDecimal(scanner);
}

void AppendNumber(std::string& out, Long value) {
  out.push_back(value < 0 ? '-' : ' ');
  const auto wide = static_cast<std::int64_t>(value);
  AppendDigits(out, static_cast<std::uint64_t>(wide < 0 ? -wide : wide));
}

static_assert(kSignificantDigits == 15, "1e15 below is 10^kSignificantDigits");

void AppendNumber(std::string& out, Number value) {
  if (!std::isfinite(value)) {
    RaiseOverflow();
  }
  out.push_back(value < 0 ? '-' : ' ');
  const double magnitude = std::fabs(value);
  if (magnitude < 1e15 && magnitude == std::floor(magnitude)) {
    AppendDigits(out, static_cast<std::uint64_t>(magnitude));
    return;
  }
  const decimal_conversion::Rounded rounded =
      decimal_conversion::Round(magnitude, kSignificantDigits);
  const std::string_view digits = rounded.Digits();
  const int exponent = rounded.exponent;

  if (exponent >= kSignificantDigits || exponent < kSmallestFixedExponent) {
    out.push_back(digits[0]);
    if (digits.size() > 1) {
      out.push_back('.');
      out.append(digits.substr(1));
    }
    out.push_back('E');
    out.push_back(exponent < 0 ? '-' : '+');
    const int absolute = exponent < 0 ? -exponent : exponent;
    if (absolute < 10) {
      out.push_back('0');
    }
    AppendDigits(out, static_cast<std::uint64_t>(absolute));
  } else if (exponent >= 0) {
    const auto integerDigits = static_cast<std::size_t>(exponent) + 1;
    out.append(digits.substr(0, integerDigits));
    if (digits.size() > integerDigits) {
      out.push_back('.');
      out.append(digits.substr(integerDigits));
    } else {
      out.append(integerDigits - digits.size(), '0');
    }
  } else {
    out.push_back('.');
    out.append(static_cast<std::size_t>(-exponent - 1), '0');
    out.append(digits);
  }
}

std::string FormatNumber(Long value) {
  std::string text;
  AppendNumber(text, value);
  return text;
}

std::string FormatNumber(Number value) {
  std::string text;
  AppendNumber(text, value);
  return text;
}

Long ToLong(Number value) {
  const double lower = std::floor(value);
  const double fraction = value - lower;
  double rounded = lower;
  if (fraction > 0.5 || (fraction == 0.5 && std::fmod(lower, 2.0) != 0.0)) {
    rounded = lower + 1.0;
  }
  if (!(rounded >= -2147483648.0 && rounded <= 2147483647.0)) {
    RaiseOverflow();
  }
  return static_cast<Long>(rounded);
}

namespace {

// The exact result of a Long operation, computed in 64 bits, back as a Long.
Long CheckedLong(std::int64_t exact) {
  if (exact < std::numeric_limits<Long>::min() || exact > std::numeric_limits<Long>::max()) {
    RaiseOverflow();
  }
  return static_cast<Long>(exact);
}

}  // namespace

Long CheckedAdd(Long a, Long b) { return CheckedLong(std::int64_t{a} + std::int64_t{b}); }

Long CheckedSubtract(Long a, Long b) { return CheckedLong(std::int64_t{a} - std::int64_t{b}); }

}  // namespace partition
