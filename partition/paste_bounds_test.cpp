#include "paste_bounds.h"

#include <gtest/gtest.h>

#include <string>

#include "calculation.h"

namespace partition {
namespace {

std::u16string Normalized(std::u16string text) {
  text.resize(ToListLineBreaks(text.data(), text.size()));
  return text;
}

TEST(ListPaste, MakesEveryLineBreakOneLineFeed) {
  EXPECT_EQ(Normalized(u"a\r\nb\rc\nd\u2028e\u2029f\vg\fh\u0085i\uFDD0j\uFDD1k"),
            u"a\nb\nc\nd\ne\nf\ng\nh\ni\nj\nk");
  EXPECT_EQ(Normalized(u"\r\n\r\n\r"), u"\n\n\n");
}

struct PasteCase {
  const char* name;
  std::u16string text;  // line breaks already LF
  ListPlace place;
  const char* refused;  // empty: taken
};

TEST(ListPaste, RefusesALineOrAListPastItsBound) {
  const std::u16string line(kLongestListLine, u'x');
  const PasteCase cases[] = {
      {"a line of the longest length", line, {}, ""},
      {"one more character", line + u'x', {}, "eine Zeile von 10.001 Zeichen"},
      {"the line before counts", u"xx", {kLongestListLine - 1, 0, 0}, "eine Zeile von 10.001"},
      {"the line after counts, after the last break",
       u"a\nxx",
       {0, kLongestListLine - 1, 0},
       "eine Zeile von 10.001"},
      {"a long line inside", u"a\n" + line + u"x\nb", {}, "eine Zeile von 10.001"},
      {"broken lines fit", u"xx\nxx", {kLongestListLine - 2, kLongestListLine - 2, 0}, ""},
      {"the list up to its bound, breaks as CR LF", u"x\nx", {0, 0, kMaxListBytes - 4}, ""},
      {"one character past it",
       u"x\nx",
       {0, 0, kMaxListBytes - 3},
       "die Liste h\u00e4tte 67.108.865 Zeichen, sie nimmt h\u00f6chstens 67.108.864."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string refused = RefusedListPaste(c.text, c.place);
    if (std::string(c.refused).empty()) {
      EXPECT_EQ(refused, "");
    } else {
      EXPECT_NE(refused.find(c.refused), std::string::npos) << refused;
      EXPECT_TRUE(refused.starts_with("Nicht eingef\u00fcgt: ")) << refused;
    }
  }
}

TEST(BoxPaste, TakesUpToTheBoxBoundInPlaceOfTheSelection) {
  EXPECT_EQ(RefusedBoxPaste(10, 10, kLongestBoxText), "");
  EXPECT_EQ(RefusedBoxPaste(10, 9, kLongestBoxText),
            "Nicht eingef\u00fcgt: 1.000.000 Zeichen, ein Feld nimmt h\u00f6chstens 1.000.000.");
  EXPECT_EQ(GermanCount(0), "0");
  EXPECT_EQ(GermanCount(999), "999");
  EXPECT_EQ(GermanCount(1000), "1.000");
  EXPECT_EQ(GermanCount(67108865), "67.108.865");
}

}  // namespace
}  // namespace partition
