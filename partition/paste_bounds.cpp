#include "paste_bounds.h"

#include <algorithm>

#include "calculation.h"

namespace partition {

std::string GermanCount(std::size_t count) {
  std::string digits = std::to_string(count);
  for (std::size_t at = digits.size(); at > 3; at -= 3) {
    digits.insert(at - 3, 1, '.');
  }
  return digits;
}

std::string RefusedBoxPaste(std::size_t boxLength, std::size_t selected, std::size_t incoming) {
  if (boxLength - std::min(selected, boxLength) + incoming <= kLongestBoxText) {
    return {};
  }
  return "Nicht eingef\u00fcgt: " + GermanCount(incoming) +
         " Zeichen, ein Feld nimmt h\u00f6chstens " + GermanCount(kLongestBoxText) + ".";
}

std::size_t ToListLineBreaks(char16_t* text, std::size_t size) {
  std::size_t kept = 0;
  for (std::size_t i = 0; i < size; ++i) {
    const char16_t c = text[i];
    switch (c) {
      case u'\r':
        if (i + 1 < size && text[i + 1] == u'\n') {
          ++i;
        }
        [[fallthrough]];
      case u'\v':
      case u'\f':
      case u'\u0085':
      case u'\u2028':
      case u'\u2029':
      case u'\uFDD0':
      case u'\uFDD1':
        text[kept++] = u'\n';
        break;
      default:
        text[kept++] = c;
        break;
    }
  }
  return kept;
}

std::string RefusedListPaste(std::u16string_view text, const ListPlace& place) {
  const std::size_t breaks = static_cast<std::size_t>(std::count(text.begin(), text.end(), u'\n'));
  std::size_t longest = 0;
  if (breaks == 0) {
    longest = place.lineBefore + text.size() + place.lineAfter;
  } else {
    const std::size_t first = text.find(u'\n');
    const std::size_t last = text.size() - 1 - text.rfind(u'\n');
    longest = std::max(place.lineBefore + first, last + place.lineAfter);
    for (std::size_t start = first + 1; start < text.size();) {
      const std::size_t end = std::min(text.find(u'\n', start), text.size());
      longest = std::max(longest, end - start);
      start = end + 1;
    }
  }
  if (longest > kLongestListLine) {
    return "Nicht eingef\u00fcgt: eine Zeile von " + GermanCount(longest) +
           " Zeichen, eine Zeile der Liste hat h\u00f6chstens " + GermanCount(kLongestListLine) +
           ".";
  }
  // A line break counts twice, as CR LF.
  const std::size_t length = place.listLength + text.size() + breaks;
  if (length > kMaxListBytes) {
    return "Nicht eingef\u00fcgt: die Liste h\u00e4tte " + GermanCount(length) +
           " Zeichen, sie nimmt h\u00f6chstens " + GermanCount(kMaxListBytes) + ".";
  }
  return {};
}

}  // namespace partition
