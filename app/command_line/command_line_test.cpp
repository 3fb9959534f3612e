#include "command_line.h"

#include <gtest/gtest.h>

#include "counters.h"

namespace {

using Action = CommandLine::Action;

struct ParseCase {
  const char* name;
  QStringList arguments;  // after the program's name
  Action action;
  partition::Counter counter = nullptr;
  std::optional<QString> n = std::nullopt;
  std::optional<QString> k = std::nullopt;
  std::optional<QString> m = std::nullopt;
  const char* error = "";  // part of the message of a usage error
  bool exact = false;
};

TEST(ParseCommandLine, ReadsOptionsAndRefusesWhatItDoesNotKnow) {
  const ParseCase cases[] = {
      {"nothing: the window", {}, Action::Window},
      {"-b alone: the list from the initial texts",
       {"-b", "2"},
       Action::List,
       partition::CountRepeated},
      {"values that start with a minus sign",
       {"-b", "1", "-n", "-5", "--bis=-1", "-m-3"},
       Action::List,
       partition::CountDistinct,
       "-5",
       "-1",
       "-3"},
      {"long forms, texts read later as the boxes read them",
       {"--berechnung", "2", "--summe", " 12,5", "--anzahl", ""},
       Action::List,
       partition::CountRepeated,
       " 12,5",
       std::nullopt,
       ""},
      {"texts for the window",
       {"-k", "&H10", "-m", "1E3"},
       Action::Window,
       nullptr,
       std::nullopt,
       "&H10",
       "1E3"},
      {"-g: exact counts, for a list or the window",
       {"-g", "-b", "2"},
       Action::List,
       partition::CountRepeated,
       {},
       {},
       {},
       "",
       true},
      {"--genau takes no value",
       {"--genau=1"},
       Action::UsageError,
       nullptr,
       {},
       {},
       {},
       "die Option \u201e--genau\u201c nimmt keinen Wert"},
      {"-h", {"-h"}, Action::Help},
      {"--help wins over a list", {"-b", "2", "--help"}, Action::Help},
      {"--version", {"--version"}, Action::Version},
      {"unknown short option",
       {"-x"},
       Action::UsageError,
       nullptr,
       {},
       {},
       {},
       "unbekannte Option \u201e-x\u201c"},
      {"unknown long option",
       {"--summen", "3"},
       Action::UsageError,
       nullptr,
       {},
       {},
       {},
       "unbekannte Option \u201e--summen\u201c"},
      {"no third calculation",
       {"-b", "3"},
       Action::UsageError,
       nullptr,
       {},
       {},
       {},
       "nicht \u201e3\u201c"},
      {"missing value",
       {"-b", "1", "-n"},
       Action::UsageError,
       nullptr,
       {},
       {},
       {},
       "der Option \u201e-n\u201c fehlt ihr Wert"},
      {"value for an option without one",
       {"--help=1"},
       Action::UsageError,
       nullptr,
       {},
       {},
       {},
       "\u201e--help\u201c nimmt keinen Wert"},
      {"stray argument",
       {"-b", "2", "15"},
       Action::UsageError,
       nullptr,
       {},
       {},
       {},
       "\u00fcberz\u00e4hliges Argument \u201e15\u201c"},
      {"Qt's own options, with their values, go to Qt",
       {"-session", "1a2b", "-platform", "offscreen", "--style=fusion", "-reverse", "-b", "2"},
       Action::List,
       partition::CountRepeated},
      {"an unknown letter named with its argument",
       {"-platfrom", "xcb"},
       Action::UsageError,
       nullptr,
       {},
       {},
       {},
       "unbekannte Option \u201e-p\u201c in \u201e-platfrom\u201c"},
      {"of short options given together, the last lacks its value",
       {"-hb"},
       Action::UsageError,
       nullptr,
       {},
       {},
       {},
       "der Option \u201e-b\u201c fehlt ihr Wert"},
      {"-b's value is read before stray arguments",
       {"-bn", "2"},
       Action::UsageError,
       nullptr,
       {},
       {},
       {},
       "nicht \u201en\u201c"},
      {"-b twice with different values",
       {"-b", "1", "-b", "2"},
       Action::UsageError,
       nullptr,
       {},
       {},
       {},
       "\u201e1\u201c und \u201e2\u201c"},
      {"an option after -- is an argument",
       {"--", "-n"},
       Action::UsageError,
       nullptr,
       {},
       {},
       {},
       "Argument \u201e-n\u201c"},
  };
  for (const ParseCase& c : cases) {
    SCOPED_TRACE(c.name);
    const CommandLine line = ParseCommandLine(QStringList{"partitionen"} + c.arguments);
    EXPECT_EQ(line.action, c.action);
    EXPECT_EQ(line.counter, c.counter);
    EXPECT_EQ(line.n, c.n);
    EXPECT_EQ(line.k, c.k);
    EXPECT_EQ(line.m, c.m);
    EXPECT_EQ(line.exact, c.exact);
    EXPECT_TRUE(line.error.contains(QString::fromUtf8(c.error))) << line.error.toStdString();
  }
}

}  // namespace
