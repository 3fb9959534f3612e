#include "calculation.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>
#include <string>

#include "counters.h"
#include "test_support/expect_error.h"

namespace partition {
namespace {

constexpr const char* kOldList = "alte Liste\r\n";

std::string ListOf(Counter counter, std::string_view n, std::string_view k, std::string_view m) {
  std::string list = kOldList;
  RunCalculation(counter, n, k, m, list);
  return list;
}

struct Failure {
  int number = 0;
  std::string list;  // what the list box shows after the error
};

Failure RunUntilError(Counter counter, std::string_view n, std::string_view k, std::string_view m) {
  Failure failure{0, kOldList};
  try {
    RunCalculation(counter, n, k, m, failure.list);
  } catch (const RuntimeError& error) {
    failure.number = error.number();
  }
  return failure;
}

std::size_t LineCount(const std::string& list) {
  return static_cast<std::size_t>(std::count(list.begin(), list.end(), '\n'));
}

TEST(RunCalculation, WritesTheDefaultListWithDistinctSummands) {
  EXPECT_EQ(ListOf(CountDistinct, "0", "4", "15"),
            "Summanden von 1 bis  4\r\n"
            " 0  ( 10):   1\r\n"
            " 1  ( 8):   1\r\n"
            " 2  ( 6):   1\r\n"
            " 3  ( 4):   2\r\n"
            " 4  ( 2):   2\r\n"
            " 5  ( 0):   2\r\n"
            " 6  (-2):   2\r\n"
            " 7  (-4):   2\r\n"
            " 8  (-6):   1\r\n"
            " 9  (-8):   1\r\n"
            " 10  (-10):   1\r\n"
            " 11  (-12):   0\r\n"
            " 12  (-14):   0\r\n"
            " 13  (-16):   0\r\n"
            " 14  (-18):   0\r\n"
            " 15  (-20):   0\r\n");
}

TEST(RunCalculation, WritesTheDefaultListWithRepeatedSummands) {
  const std::string list = ListOf(CountRepeated, "0", "4", "15");
  EXPECT_EQ(list.substr(0, 40),
            "Summanden von 1 bis  4\r\n"
            " 0  ( 10):   1\r\n");
  EXPECT_TRUE(list.ends_with(" 14  (-18):   47\r\n 15  (-20):   54\r\n"));
  EXPECT_EQ(LineCount(list), 17U);
}

struct ListCase {
  const char* name;
  const char* n;
  const char* k;
  const char* m;
  std::size_t lines;       // header included
  const char* firstLines;  // the list starts with these
  const char* lastLine;    // the list ends with this line
};

TEST(RunCalculation, ReadsTheBoxesAsNumbers) {
  const ListCase cases[] = {
      {"m = -1: the header alone", "0", "4", "-1", 1, "Summanden von 1 bis  4\r\n",
       "Summanden von 1 bis  4\r\n"},
      {"m = 0: one line", "7", "4", "0", 2, "Summanden von 1 bis  4\r\n", " 7  (-4):   2\r\n"},
      {"empty n and m read as 0", "", "4", "", 2, "Summanden von 1 bis  4\r\n",
       " 0  ( 10):   1\r\n"},
      {"text that is no number reads as 0", "abc", "x", "2", 4,
       "Summanden von 1 bis  0\r\n 0  ( 0):   1\r\n", " 2  (-4):   0\r\n"},
      {"negative n: count 0 below zero", "-2", "4", "3", 5,
       "Summanden von 1 bis  4\r\n-2  ( 14):   0\r\n-1  ( 12):   0\r\n"
       " 0  ( 10):   1\r\n",
       " 1  ( 8):   1\r\n"},
      {"fractional k: unrounded in text, rounded for the count", "0", "4.5", "7", 9,
       "Summanden von 1 bis  4.5\r\n 0  ( 12.375):   1\r\n"
       " 1  ( 10.375):   1\r\n",
       " 7  (-1.625):   2\r\n"},
      {"fractional n rounds both ends apart", "2.5", "4", "15", 18,
       "Summanden von 1 bis  4\r\n 2  ( 6):   1\r\n", " 18  (-26):   0\r\n"},
      {"negative k shows, n <= 0 still counts", "-1", "-3", "1", 3,
       "Summanden von 1 bis -3\r\n-1  ( 5):   0\r\n", " 0  ( 3):   1\r\n"},
      {"bracketed value in exponent form", "0", "1E9", "0", 2,
       "Summanden von 1 bis  1000000000\r\n", " 0  ( 5.000000005E+17):   1\r\n"},
      {"the largest Long ends the list", "2147483646", "1", "0", 2, "Summanden von 1 bis  1\r\n",
       " 2147483646  (-4294967291):   0\r\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string list = ListOf(CountDistinct, c.n, c.k, c.m);
    EXPECT_EQ(LineCount(list), c.lines);
    EXPECT_TRUE(list.starts_with(c.firstLines)) << list;
    EXPECT_TRUE(list.ends_with(c.lastLine)) << list;
  }
}

Long RecordingCounter(Long n, Long k) { return n * 1000 + k; }

TEST(RunCalculation, PassesEachNumberAndRoundedKToTheCounter) {
  EXPECT_EQ(ListOf(RecordingCounter, "3", "2.5", "1"),
            "Summanden von 1 bis  2.5\r\n"
            " 3  (-1.625):   3002\r\n"
            " 4  (-3.625):   4002\r\n");
}

TEST(RunCalculation, ReplacesTheWholePreviousList) {
  std::string list;
  RunCalculation(CountRepeated, "0", "4", "15", list);
  RunCalculation(CountDistinct, "3", "2", "0", list);
  EXPECT_EQ(list, "Summanden von 1 bis  2\r\n 3  (-3):   1\r\n");
}

TEST(RunCalculation, WritesAMillionLinesInOneList) {
  const std::string list = ListOf(CountRepeated, "0", "2", "999999");
  EXPECT_EQ(LineCount(list), 1000001U);
  EXPECT_TRUE(list.ends_with("\n 999999  (-1999995):   500000\r\n"));
}

struct FailureCase {
  const char* name;
  Counter counter;
  const char* n;
  const char* k;
  const char* m;
  int number;
  std::string list;  // the list when the error ends the run
};

TEST(RunCalculation, StopsAtTheFirstErrorLeavingWhatItWrote) {
  const std::string header4 = "Summanden von 1 bis  4\r\n";
  const FailureCase cases[] = {
      {"n beyond the double range", CountDistinct, "1E400", "4", "15", 6, kOldList},
      {"k beyond the double range", CountDistinct, "0", "-1E400", "15", 6, kOldList},
      {"m beyond the double range", CountDistinct, "0", "4", "1E400", 6, header4},
      {"n + m beyond the double range", CountDistinct, "1.7E308", "4", "1.7E308", 6, header4},
      {"n + m beyond a Long", CountDistinct, "2147483647", "4", "1", 6, header4},
      {"n beyond a Long", CountDistinct, "-2147483649", "4", "10", 6, header4},
      {"bracketed value beyond the double range", CountDistinct, "0", "1E200", "3", 6,
       "Summanden von 1 bis  1E+200\r\n"},
      {"k beyond a Long after the first part", CountRepeated, "0", "3E9", "3", 6,
       "Summanden von 1 bis  3000000000\r\n 0  ( 4.5000000015E+18):  "},
      {"negative k after the first part", CountRepeated, "1", "-1", "3", 6,
       "Summanden von 1 bis -1\r\n 1  (-2):  "},
      {"distinct count past a Long", CountDistinct, "225", "300", "5", 6,
       "Summanden von 1 bis  300\r\n 225  ( 44700):   2114965120\r\n"
       " 226  ( 44698):  "},
      {"repeated count past a Long", CountRepeated, "121", "121", "5", 6,
       "Summanden von 1 bis  121\r\n 121  ( 7139):   2056148051\r\n"
       " 122  ( 7137):  "},
      {"no number after the largest Long", CountRepeated, "2147483647", "1", "0", 6,
       "Summanden von 1 bis  1\r\n 2147483647  (-4294967293):   1\r\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const Failure failure = RunUntilError(c.counter, c.n, c.k, c.m);
    EXPECT_EQ(failure.number, c.number);
    EXPECT_EQ(failure.list, c.list);
  }
}

TEST(RunCalculation, RefusesAListPastTheSizeBound) {
  const Failure failure = RunUntilError(CountRepeated, "-2147483648", "2", "4294967295");
  EXPECT_EQ(failure.number, kOutOfStringSpaceError);
  EXPECT_LE(failure.list.size(), kMaxListBytes);
  EXPECT_GT(failure.list.size(), kMaxListBytes - 100);
  EXPECT_TRUE(test_support::EndsWithError(
      [] {
        std::string list;
        RunCalculation(CountDistinct, "0", "2", "1E9", list);
      },
      kOutOfStringSpaceError, kOutOfStringSpaceMessage));
  // Exact: a list of just the bound's length (CR LF counted) is written
  // whole; a byte less and its last part is refused.
  std::string whole;
  CalculationRun(CountRepeated, "0", "4", "15", kNoListLimit).Continue(whole, 100);
  ASSERT_TRUE(whole.ends_with("):   54\r\n"));
  std::string exact;
  CalculationRun(CountRepeated, "0", "4", "15", whole.size()).Continue(exact, 100);
  EXPECT_EQ(exact, whole);
  std::string cut;
  CalculationRun over(CountRepeated, "0", "4", "15", whole.size() - 1);
  EXPECT_TRUE(test_support::EndsWithError([&] { over.Continue(cut, 100); }, kOutOfStringSpaceError,
                                          kOutOfStringSpaceMessage));
  EXPECT_EQ(cut, whole.substr(0, whole.size() - std::string_view(" 54\r\n").size()));
}

std::string ExactListOf(Calculation calculation, std::string_view n, std::string_view k,
                        std::string_view m) {
  std::string list;
  CalculationRun run(calculation, Counting::Exact, n, k, m);
  WritePieces(run, 1000, LineEnds::CrLf, [&list](std::string_view piece) {
    list += piece;
    return true;
  });
  return list;
}

struct ExactCase {
  const char* name;
  Calculation calculation;
  const char* n;
  const char* k;
  const char* m;
  std::size_t lines;      // header included
  const char* firstLine;  // after the header
  const char* lastLine;
};

// The list of the option "Große Anzahlen genau": the same lines, each count
// the whole number; the number rules as always.
TEST(ExactCounting, WritesTheListWithWholeCounts) {
  const ExactCase cases[] = {
      {"p(200) with k = 200", Calculation::Repeated, "200", "200", "0", 2,
       " 200  ( 19700):   3972999029388\r\n", " 200  ( 19700):   3972999029388\r\n"},
      {"p(1000)", Calculation::Repeated, "1000", "1000", "0", 2, "",
       " 1000  ( 498500):   24061467864032622473692149727991\r\n"},
      {"q(200)", Calculation::Distinct, "199", "300", "1", 3, " 199  ( 44752):   458482688\r\n",
       " 200  ( 44750):   487067746\r\n"},
      {"past the Long where the counters stop", Calculation::Distinct, "226", "300", "0", 2, "",
       " 226  ( 44698):   2239229960\r\n"},
      {"negative n counts 0, n = 0 counts 1", Calculation::Repeated, "-2", "3", "3", 5,
       "-2  ( 10):   0\r\n", " 1  ( 4):   1\r\n"},
      {"k = 0", Calculation::Distinct, "0", "0", "2", 4, " 0  ( 0):   1\r\n", " 2  (-4):   0\r\n"},
      {"fractional k: unrounded in text, rounded for the count", Calculation::Repeated, "7", "4.5",
       "0", 2, " 7  (-1.625):   11\r\n", " 7  (-1.625):   11\r\n"},
      {"m negative: the header alone", Calculation::Repeated, "5", "5", "-1", 1, "", ""},
      {"the defaults as the counters give them", Calculation::Repeated, "0", "4", "15", 17,
       " 0  ( 10):   1\r\n", " 15  (-20):   54\r\n"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string list = ExactListOf(c.calculation, c.n, c.k, c.m);
    EXPECT_EQ(LineCount(list), c.lines);
    EXPECT_EQ(list.substr(list.find('\n') + 1).substr(0, std::string_view(c.firstLine).size()),
              c.firstLine);
    EXPECT_TRUE(list.ends_with(c.lastLine)) << list;
  }
  EXPECT_EQ(ExactListOf(Calculation::Repeated, "0", "4", "15"),
            ListOf(CountRepeated, "0", "4", "15"));
}

// A copy of a whole exact list writes it again from the counts computed.
TEST(ExactCounting, ARestartedRunWritesTheSameList) {
  CalculationRun run(Calculation::Repeated, Counting::Exact, "190", "200", "20");
  const auto all = [](CalculationRun& from) {
    std::string list;
    WritePieces(from, 7, LineEnds::CrLf, [&list](std::string_view piece) {
      list += piece;
      return true;
    });
    return list;
  };
  const std::string first = all(run);
  CalculationRun again = run.Restarted();
  again.OnCounting([](double) -> bool { throw std::logic_error("counted anew"); });
  EXPECT_EQ(all(again), first);
  EXPECT_EQ(first, ExactListOf(Calculation::Repeated, "190", "200", "20"));
}

TEST(ExactCounting, RaisesTheErrorsThatDoNotComeFromACount) {
  const auto failure = [](const char* n, const char* k, const char* m) {
    Failure failed{0, ""};
    try {
      failed.list = ExactListOf(Calculation::Repeated, n, k, m);
    } catch (const RuntimeError& error) {
      failed.number = error.number();
    }
    return failed.number;
  };
  EXPECT_EQ(failure("1E400", "4", "1"), kOverflowError);
  EXPECT_EQ(failure("2147483647", "4", "1"), kOverflowError);
  EXPECT_EQ(failure("0", "3E9", "1"), kOverflowError);
  EXPECT_EQ(failure("1", "-1", "1"), kOverflowError);  // no summand ends the count
  EXPECT_EQ(failure("-1", "-1", "1"), 0);
}

TEST(ExactCounting, SaysWhereTheBoundIs) {
  const auto beyond = [](const char* n, const char* m, Long bound) {
    return CalculationRun(Calculation::Distinct, Counting::Exact, n, "4", m)
        .BeyondExactBound(bound);
  };
  EXPECT_EQ(beyond("100000", "100000", kLastExactNumberInWindow), "");
  EXPECT_EQ(beyond("100000", "100001", kLastExactNumberInWindow),
            "Nicht berechnet: mit genauen gro\u00dfen Anzahlen reicht eine Liste bis n + m = "
            "200.000, verlangt ist n + m = 200.001.");
  EXPECT_TRUE(beyond("1E9", "0", kLastExactNumberInStream)
                  .ends_with("bis n + m = 1.000.000, verlangt ist n + m = 1.000.000.000."));
  EXPECT_EQ(beyond("2147483647", "1", kLastExactNumberInStream), "");  // the run raises it
  EXPECT_EQ(CalculationRun(CountDistinct, "0", "4", "1E9").BeyondExactBound(0), "");
  CalculationRun stopped(Calculation::Repeated, Counting::Exact, "0", "1000", "20000");
  stopped.OnCounting([](double) { return false; });
  std::string piece;
  EXPECT_THROW(stopped.Continue(piece, 10), ExactCounts::Stopped);
}

// The window shows a long list piece by piece; joined, the pieces must be the
// list, up to and including an error, and the first one holds the header.
TEST(WritePieces, PiecesJoinedAreTheList) {
  const FailureCase cases[] = {
      {"default list", CountRepeated, "0", "4", "15", 0, ""},
      {"header alone", CountDistinct, "0", "4", "-1", 0, ""},
      {"error after the header", CountDistinct, "2147483647", "4", "1", 6, ""},
      {"error inside a line", CountDistinct, "220", "300", "9", 6, ""},
      {"error after the largest Long", CountRepeated, "2147483640", "1", "7", 6, ""},
  };
  for (const auto& c : cases) {
    for (const std::size_t lines : {std::size_t{1}, std::size_t{3}, std::size_t{100}}) {
      SCOPED_TRACE(testing::Message() << c.name << ", " << lines << " lines a piece");
      const Failure whole = RunUntilError(c.counter, c.n, c.k, c.m);
      Failure joined{0, ""};
      CalculationRun run(c.counter, c.n, c.k, c.m);
      try {
        WritePieces(run, lines, LineEnds::CrLf, [&](std::string_view piece) {
          EXPECT_EQ(joined.list.empty(), piece.starts_with("Summanden von 1 bis "));
          EXPECT_LE(LineCount(std::string(piece)), lines + (joined.list.empty() ? 1 : 0));
          joined.list += piece;
          return true;
        });
      } catch (const RuntimeError& error) {
        joined.number = error.number();
      }
      EXPECT_EQ(joined.number, c.number);
      EXPECT_EQ(joined.list, whole.list);
      if (c.number == 0) {
        EXPECT_EQ(run.LinesWritten(), run.LinesAsked());
        EXPECT_EQ(static_cast<std::size_t>(run.LinesAsked()), LineCount(whole.list) - 1);
      }
    }
  }
}

// With line feeds for a terminal, and stopped where the taker stops.
TEST(WritePieces, EndsLinesWithLineFeedsAndStopsWhenAsked) {
  CalculationRun run(CountRepeated, "0", "4", "15");
  std::string taken;
  EXPECT_FALSE(WritePieces(run, 4, LineEnds::LineFeed, [&](std::string_view piece) {
    taken += piece;
    return taken.size() < 100;
  }));
  EXPECT_EQ(taken,
            "Summanden von 1 bis  4\n 0  ( 10):   1\n 1  ( 8):   1\n 2  ( 6):   2\n"
            " 3  ( 4):   3\n 4  ( 2):   5\n 5  ( 0):   6\n 6  (-2):   9\n 7  (-4):   11\n");
  EXPECT_EQ(run.LinesWritten(), 8);
  EXPECT_EQ(run.LinesAsked(), 16);
}

}  // namespace
}  // namespace partition
