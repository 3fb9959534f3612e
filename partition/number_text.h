// Number text rules: how the text of a box becomes a number, how a number
// becomes text, how a Number becomes a Long, and which arithmetic faults are
// runtime errors. Texts are UTF-8; every function here is locale-independent.
#pragma once

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace partition {

// Every value read from a text box.
using Number = double;
// All counting; 32-bit two's complement.
using Long = std::int32_t;

// A runtime error as the user sees it: a number and a German message.
// No code of the program catches one; it ends the running click.
class RuntimeError : public std::runtime_error {
 public:
  RuntimeError(int number, const std::string& message);
  [[nodiscard]] int number() const noexcept { return number_; }

 private:
  int number_;
};

// Runtime error numbers and their messages.
inline constexpr int kOverflowError = 6;
inline constexpr std::string_view kOverflowMessage = "Überlauf";
inline constexpr int kOutOfMemoryError = 7;
inline constexpr std::string_view kOutOfMemoryMessage = "Nicht genügend Speicher";
inline constexpr int kOutOfStringSpaceError = 14;
inline constexpr std::string_view kOutOfStringSpaceMessage = "Nicht genügend Zeichenfolgenspeicher";

// Throw the overflow error (6).
[[noreturn]] void RaiseOverflow();

// Reads as much of `text` as forms a number and ignores the rest.
// Blanks, tabs and line feeds are skipped wherever they stand ("1 5" is 15).
// Decimal: optional "+"/"-", digits with at most one ".", optional exponent
// "E"/"e" with optional sign and digits; "," or any other character ends it.
// A text without digits ("", "abc", "-") is 0.
// "&H"/"&O" (any case) start a hexadecimal/octal integer, read as the bit
// pattern of a Long: "&HFFFFFFFF" is -1. More than 32 bits of value raise the
// overflow error.
// The decimal value is correctly rounded to the nearest double. A magnitude
// beyond the double range raises the overflow error; one below the smallest
// double reads as 0.
// Errors: only the overflow error, for texts of any length or content.
[[nodiscard]] Number ReadNumber(std::string_view text);

// " " then the digits for 0 and above, "-" then the digits below 0.
[[nodiscard]] std::string FormatNumber(Long value);

// How FormatNumber writes a Number: rounded to kSignificantDigits digits, in
// fixed form while 10^kSmallestFixedExponent <= |x| < 10^kSignificantDigits.
inline constexpr int kSignificantDigits = 15;
inline constexpr int kSmallestFixedExponent = -10;

// Rounded to 15 significant digits and written in the shortest form, behind a
// blank (0 and above, -0 included) or "-". Fixed form without "0" before the
// point (" .5") and without trailing zeros while 1E-10 <= |x| < 1E+15 after
// rounding; exponent form outside it: shortest mantissa, "E", sign, at least
// two exponent digits (" 1E+15", " 5.00000005E+15", "-2.5E-11").
// Errors: a value that is not finite raises the overflow error.
[[nodiscard]] std::string FormatNumber(Number value);

// Rounds to the nearest integer, halves to the even one (2.5 -> 2, 3.5 -> 4).
// Errors: a result outside -2147483648..2147483647 (or NaN) raises the
// overflow error.
[[nodiscard]] Long ToLong(Number value);

// Exact a + b and a - b. Errors: a result outside the Long range raises the
// overflow error.
[[nodiscard]] Long CheckedAdd(Long a, Long b);
[[nodiscard]] Long CheckedSubtract(Long a, Long b);

// Appends FormatNumber(value) to `out` without a temporary string.
void AppendNumber(std::string& out, Long value);
void AppendNumber(std::string& out, Number value);

}  // namespace partition
