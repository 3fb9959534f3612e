// How much text the window's boxes and its list take, and what a paste or
// drop beyond that is told: it is refused whole, with a German notice, never
// cut. Lengths count UTF-16 code units, the characters of the window's boxes
// and of the page's.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace partition {

// The longest text of a box for n, k or m: far beyond any number, and short
// enough that a box never stalls the window.
inline constexpr std::size_t kLongestBoxText = 1000000;
// The longest line the list takes from a paste: a text box lays a line out in
// time that grows with the square of its length.
inline constexpr std::size_t kLongestListLine = 10000;
// The list itself takes at most kMaxListBytes (calculation.h), counted with
// CR LF line ends.

// `count` with a point between groups of three digits: "1.000.001".
[[nodiscard]] std::string GermanCount(std::size_t count);

// Empty when a box of `boxLength` characters, `selected` of them selected,
// takes `incoming` characters in place of its selection; otherwise why not.
[[nodiscard]] std::string RefusedBoxPaste(std::size_t boxLength, std::size_t selected,
                                          std::size_t incoming);

// Turns every character or pair that ends a line into one LF, in place: CR LF,
// CR, NEL, vertical tab, form feed, the Unicode line and paragraph separators
// and the two frame marks a Qt text box breaks at. Returns the new length.
// The list then breaks where its text says and nowhere else.
std::size_t ToListLineBreaks(char16_t* text, std::size_t size);

// Where a paste goes into the list: the characters of the line before and
// after the selection it replaces, and the list's length without the
// selection, with CR LF line ends.
struct ListPlace {
  std::size_t lineBefore = 0;
  std::size_t lineAfter = 0;
  std::size_t listLength = 0;
};

// Empty when the list takes `text` (line breaks made LF by ToListLineBreaks)
// at `place`: no line longer than kLongestListLine, the list no longer than
// kMaxListBytes. Otherwise why not.
[[nodiscard]] std::string RefusedListPaste(std::u16string_view text, const ListPlace& place);

}  // namespace partition
