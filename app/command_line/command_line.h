// The program's options: without -b it opens the window (with the texts of
// -n, -k and -m in its boxes); with -b it writes the list of calculation 1 or
// 2 to standard output and needs no display.
#pragma once

#include <QString>
#include <QStringList>
#include <cstdio>
#include <optional>
#include <string_view>

#include "calculation.h"

struct CommandLine {
  enum class Action { Window, List, Help, Version, UsageError };

  Action action = Action::Window;
  // CountDistinct (-b 1) or CountRepeated (-b 2), for Action::List.
  partition::Counter counter = nullptr;
  // The texts for the boxes n, k and m, where given.
  std::optional<QString> n = std::nullopt;
  std::optional<QString> k = std::nullopt;
  std::optional<QString> m = std::nullopt;
  // What is wrong, in German, for Action::UsageError.
  QString error = QString();
  // -g: the counts as whole numbers of any size.
  bool exact = false;
};

// The texts a freshly opened window shows in its boxes n, k and m.
inline constexpr std::string_view kInitialN = "0";
inline constexpr std::string_view kInitialK = "4";
inline constexpr std::string_view kInitialM = "15";

// The program's arguments as Unicode texts, the program's name first.
QStringList ProgramArguments(int argc, char* argv[]);

// Reads the arguments in the GNU form: -b/--berechnung 1|2, -n/--summe N,
// -k/--bis K, -m/--anzahl M (a value may start with "-": "-n -5", also
// "-n-5" and "--summe=-5"), -g/--genau, -h/--help, --version. With -g the
// window opens with its check box "Große Anzahlen genau" set. arguments[0] is the
// program's name. Qt's own options (-session ID, -platform NAME, -style,
// -reverse, ...) are left to QApplication. An unknown option, a missing or
// unexpected value, a -b other than 1 or 2, -b given twice with different
// values and any argument that is no option are usage errors, named with
// the option and value at fault.
CommandLine ParseCommandLine(const QStringList& arguments);

// On Windows, lets standard output and error that are not redirected reach
// the console: its own for partitionen.com, the one it was started from for
// the window program partitionen.exe. Text is written in UTF-8; the
// console's code page is given back as the program ends. Nothing elsewhere.
void UseParentConsole();

// Does what a command line without the window asks for: the German usage
// (exit status 0), the version (0), a usage error with a hint to --help on
// `err` (2), or the list. Returns the program's exit status; 1 where `out`
// cannot be written, with a German line on `err` that says why.
int RunWithoutWindow(const CommandLine& line, std::FILE* out, std::FILE* err);

// Writes the list that the window shows for these box texts to `out`, a
// piece at a time, with LF for the list's CR LF and without the window's
// length bound; with `exact` each count the whole number, up to n + m =
// 1,000,000: past that nothing is written, `err` says why in one German
// line, and the result is 2. A runtime error ends it: `out` holds the list as far as it
// was written (an unfinished line too), `err` one line such as
// "Laufzeitfehler '6': Überlauf", and the result is 1; otherwise 0. A write
// that fails ends it at once with 1 and a line on `err` that says why (after
// the runtime error's line where both happen). A closed pipe is silent: it
// ends the program by SIGPIPE, or, where SIGPIPE is ignored, with 1.
int PrintList(partition::Counter counter, std::string_view n, std::string_view k,
              std::string_view m, std::FILE* out, std::FILE* err, bool exact = false);
