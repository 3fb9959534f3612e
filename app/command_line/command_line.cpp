#include "command_line.h"

#include <QCommandLineParser>
#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <new>
#include <string>

#include "counters.h"

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
// after windows.h
#include <fcntl.h>
#include <io.h>
#include <shellapi.h>
#endif

namespace {

const char kUsage[] =
    "Aufruf: partitionen [-g] [-n N] [-k K] [-m M]\n"
    "        partitionen -b 1|2 [-g] [-n N] [-k K] [-m M]\n"
    "\n"
    "Zählt für jede Zahl von n bis n + m, auf wie viele Arten sie als Summe von\n"
    "Summanden aus 1 bis k geschrieben werden kann. Ohne -b öffnet sich das\n"
    "Fenster, mit den angegebenen Werten in seinen Feldern; mit -b kommt die Liste\n"
    "ohne Fenster auf die Standardausgabe, so wie das Fenster sie zeigt.\n"
    "\n"
    "Optionen:\n"
    "  -b, --berechnung 1|2  Berechnung 1: jede Zahl darf nur einmal verwendet\n"
    "                        werden; Berechnung 2: jede Zahl darf beliebig oft\n"
    "                        verwendet werden\n"
    "  -n, --summe N         die erste Zahl n (ohne Angabe 0)\n"
    "  -k, --bis K           der größte Summand k (ohne Angabe 4)\n"
    "  -m, --anzahl M        wie viele Zahlen nach n folgen (ohne Angabe 15)\n"
    "  -g, --genau           große Anzahlen genau, ohne Überlauf, bis n + m =\n"
    "                        1.000.000 (im Fenster 200.000)\n"
    "  -h, --help            diese Hilfe\n"
    "      --version         die Version des Programms\n"
    "\n"
    "N, K und M werden gelesen wie die Felder des Fensters: \" 12,5\" ist 12, \"&H10\"\n"
    "ist 16, \"1E3\" ist 1000, ein leerer Text ist 0. Ein Wert darf mit einem\n"
    "Minuszeichen beginnen: -n -5.\n"
    "\n"
    "Beispiel:\n"
    "  partitionen -b 2 -k 3 -m 5\n"
    "\n"
    "Rückgabewert: 0, wenn alles gelang; 1 nach einem Laufzeitfehler (etwa einem\n"
    "Überlauf), dessen Meldung auf der Standardfehlerausgabe steht; 2 bei einem\n"
    "falschen Aufruf und bei einer genauen Liste über ihre Grenze.\n";

// Qt's own options, which QApplication takes from the command line (the
// desktop restarts a session's programs with -session): those that take a
// value, as "-style fusion", "-style=fusion" or "--style fusion", and those
// that take none.
const char* const kQtOptionsWithValue[] = {"platform",        "platformpluginpath",
                                           "platformtheme",   "plugin",
                                           "qwindowgeometry", "qwindowicon",
                                           "qwindowtitle",    "session",
                                           "style",           "stylesheet",
                                           "qmljsdebugger",   "display",
                                           "geometry",        "name",
                                           "title",           "visual",
                                           "ncols",           "im"};
const char* const kQtOptionsAlone[] = {"reverse", "widgetcount", "nograb",
                                       "dograb",  "sync",        "cmap"};

// The arguments without Qt's own options and their values, up to "--".
QStringList WithoutQtOptions(const QStringList& arguments) {
  QStringList kept;
  for (qsizetype i = 0; i < arguments.size(); ++i) {
    const QString& argument = arguments[i];
    if (argument == QLatin1String("--")) {
      kept += arguments.mid(i);
      break;
    }
    QString name = argument;
    if (i == 0 || !name.startsWith(QLatin1Char('-'))) {
      kept << argument;
      continue;
    }
    name.remove(0, name.startsWith(QLatin1String("--")) ? 2 : 1);
    const bool withEquals = name.contains(QLatin1Char('='));
    name = name.section(QLatin1Char('='), 0, 0);
    const auto named = [&name](const char* option) { return name == QLatin1String(option); };
    if (std::any_of(std::begin(kQtOptionsWithValue), std::end(kQtOptionsWithValue), named)) {
      if (!withEquals) {
        ++i;  // the value
      }
    } else if (withEquals ||
               std::none_of(std::begin(kQtOptionsAlone), std::end(kQtOptionsAlone), named)) {
      kept << argument;
    }
  }
  return kept;
}

// The argument that a short option, given as one letter, came in: "-p" of
// "-platfrom".
QString ArgumentOf(const QString& letter, const QStringList& arguments) {
  for (const QString& argument : arguments.mid(1)) {
    if (argument == QLatin1String("--")) {
      break;
    }
    if (argument.startsWith(QLatin1Char('-')) && !argument.startsWith(QLatin1String("--")) &&
        argument.mid(1).contains(letter)) {
      return argument;
    }
  }
  return QLatin1Char('-') + letter;
}

// Why QCommandLineParser refused the arguments, in German.
QString ParserError(const QCommandLineParser& parser, const QStringList& arguments) {
  const QStringList unknown = parser.unknownOptionNames();
  if (!unknown.isEmpty()) {
    const QString& first = unknown.first();
    if (first.size() > 1) {
      return QStringLiteral("unbekannte Option \u201e--%1\u201c").arg(first);
    }
    const QString given = ArgumentOf(first, arguments);
    return given.size() == 2 ? QStringLiteral("unbekannte Option \u201e%1\u201c").arg(given)
                             : QStringLiteral("unbekannte Option \u201e-%1\u201c in \u201e%2\u201c")
                                   .arg(first, given);
  }
  // The parser's other complaints: a value given to an option that takes
  // none ("--help=1"), or an option at the end that lacks its value.
  for (const QString& argument : arguments.mid(1)) {
    if (argument == QLatin1String("--")) {
      break;
    }
    const QString option = argument.section(QLatin1Char('='), 0, 0);
    if (argument.contains(QLatin1Char('=')) &&
        (option == QLatin1String("--help") || option == QLatin1String("-h") ||
         option == QLatin1String("--version") || option == QLatin1String("--genau") ||
         option == QLatin1String("-g"))) {
      return QStringLiteral("die Option \u201e%1\u201c nimmt keinen Wert").arg(option);
    }
  }
  // A value is missing only at the end; of short options given together
  // ("-hb"), the last one lacks it.
  const QString& last = arguments.last();
  const bool together = !last.startsWith(QLatin1String("--")) && last.size() > 2;
  return QStringLiteral("der Option \u201e%1\u201c fehlt ihr Wert")
      .arg(together ? QLatin1Char('-') + last.back() : last);
}

// Says, in German where the reason is a common one, that `what` ("Die
// Liste") could not be written, and returns the exit status 1. A closed
// pipe is no news to the one who closed it.
int WriteFailed(const char* what, std::FILE* err) {
  const int error = errno;
  if (error == EPIPE) {
    return 1;
  }
  const char* reason = nullptr;
  switch (error) {
    case ENOSPC:
      reason = "auf dem Datentr\u00e4ger ist kein Platz mehr";
      break;
    case EBADF:
      reason = "die Ausgabe ist geschlossen";
      break;
    case EIO:
      reason = "Ein-/Ausgabefehler";
      break;
    case EFBIG:
      reason = "die Datei w\u00fcrde zu gro\u00df";
      break;
    default:
      reason = std::strerror(error);
      break;
  }
  std::fprintf(err, "partitionen: %s kann nicht geschrieben werden: %s.\n", what, reason);
  return 1;
}

// Writes `text` to `out`; 0, or 1 after saying why it failed.
int WriteAll(const char* text, const char* what, std::FILE* out, std::FILE* err) {
  errno = 0;
  if (std::fputs(text, out) < 0 || std::fflush(out) != 0) {
    return WriteFailed(what, err);
  }
  return 0;
}

}  // namespace

QStringList ProgramArguments(int argc, char* argv[]) {
  QStringList arguments;
#ifdef _WIN32
  // Windows hands the program its command line as UTF-16, argv in the
  // system's code page.
  (void)argv;
  int count = 0;
  wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
  for (int i = 0; wide != nullptr && i < count; ++i) {
    arguments << QString::fromWCharArray(wide[i]);
  }
  LocalFree(wide);
#else
  for (int i = 0; i < argc; ++i) {
    arguments << QString::fromLocal8Bit(argv[i]);
  }
#endif
  if (arguments.isEmpty()) {
    arguments << QStringLiteral("partitionen");
  }
  return arguments;
}

#ifdef _WIN32
namespace {

// The console's output code page before the program switched it to UTF-8.
UINT codePageBefore = 0;

void GiveBackCodePage() {
  std::fflush(nullptr);
  SetConsoleOutputCP(codePageBefore);
}

}  // namespace
#endif

void UseParentConsole() {
#ifdef _WIN32
  // The console program has its console already (the attach is refused
  // with ERROR_ACCESS_DENIED); the window program borrows its parent's.
  if (AttachConsole(ATTACH_PARENT_PROCESS) || GetLastError() == ERROR_ACCESS_DENIED) {
    const auto reach = [](DWORD handle, std::FILE* stream) {
      if (GetFileType(GetStdHandle(handle)) == FILE_TYPE_UNKNOWN) {
        (void)std::freopen("CONOUT$", "w", stream);
      }
    };
    reach(STD_OUTPUT_HANDLE, stdout);
    reach(STD_ERROR_HANDLE, stderr);
    codePageBefore = GetConsoleOutputCP();
    if (codePageBefore != 0 && codePageBefore != CP_UTF8 && SetConsoleOutputCP(CP_UTF8)) {
      std::atexit(GiveBackCodePage);
    }
  }
#endif
}

CommandLine ParseCommandLine(const QStringList& arguments) {
  QCommandLineParser parser;
  parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsCompactedShortOptions);
  const QCommandLineOption calculation({QStringLiteral("b"), QStringLiteral("berechnung")},
                                       QString(), QStringLiteral("1|2"));
  const QCommandLineOption n({QStringLiteral("n"), QStringLiteral("summe")}, QString(),
                             QStringLiteral("N"));
  const QCommandLineOption k({QStringLiteral("k"), QStringLiteral("bis")}, QString(),
                             QStringLiteral("K"));
  const QCommandLineOption m({QStringLiteral("m"), QStringLiteral("anzahl")}, QString(),
                             QStringLiteral("M"));
  const QCommandLineOption exact(QStringList{QStringLiteral("g"), QStringLiteral("genau")});
  const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
  const QCommandLineOption version(QStringLiteral("version"));
  parser.addOptions({calculation, n, k, m, exact, help, version});

  CommandLine line;
  const auto usageError = [&line](const QString& error) {
    line.action = CommandLine::Action::UsageError;
    line.error = error;
    return line;
  };
  const QStringList ours = WithoutQtOptions(arguments);
  if (!parser.parse(ours)) {
    return usageError(ParserError(parser, ours));
  }
  // -b's value first: "-bn 2" gives -b the value "n".
  const QStringList calculations = parser.values(calculation);
  for (const QString& which : calculations) {
    if (which != QLatin1String("1") && which != QLatin1String("2")) {
      return usageError(
          QStringLiteral("-b nimmt 1 oder 2 f\u00fcr die Berechnung, nicht \u201e%1\u201c")
              .arg(which));
    }
    if (which != calculations.first()) {
      return usageError(
          QStringLiteral("-b ist zweimal angegeben, mit \u201e%1\u201c und \u201e%2\u201c")
              .arg(calculations.first(), which));
    }
  }
  if (!parser.positionalArguments().isEmpty()) {
    return usageError(QStringLiteral("\u00fcberz\u00e4hliges Argument \u201e%1\u201c")
                          .arg(parser.positionalArguments().first()));
  }
  if (parser.isSet(help)) {
    line.action = CommandLine::Action::Help;
    return line;
  }
  if (parser.isSet(version)) {
    line.action = CommandLine::Action::Version;
    return line;
  }
  if (parser.isSet(n)) {
    line.n = parser.value(n);
  }
  if (parser.isSet(k)) {
    line.k = parser.value(k);
  }
  if (parser.isSet(m)) {
    line.m = parser.value(m);
  }
  line.exact = parser.isSet(exact);
  if (!calculations.isEmpty()) {
    line.counter = calculations.first() == QLatin1String("1") ? partition::CountDistinct
                                                              : partition::CountRepeated;
    line.action = CommandLine::Action::List;
  }
  return line;
}

int RunWithoutWindow(const CommandLine& line, std::FILE* out, std::FILE* err) {
  switch (line.action) {
    case CommandLine::Action::Help:
      return WriteAll(kUsage, "Die Hilfe", out, err);
    case CommandLine::Action::Version:
      return WriteAll("partitionen " PARTITIONEN_VERSION "\n", "Die Versionsangabe", out, err);
    case CommandLine::Action::UsageError:
      std::fprintf(err,
                   "partitionen: %s\n"
                   "\u201epartitionen --help\u201c zeigt, wie das Programm aufgerufen wird.\n",
                   line.error.toUtf8().constData());
      return 2;
    case CommandLine::Action::List: {
      const auto text = [](const std::optional<QString>& given, std::string_view initial) {
        return given ? given->toStdString() : std::string(initial);
      };
      return PrintList(line.counter, text(line.n, kInitialN), text(line.k, kInitialK),
                       text(line.m, kInitialM), out, err, line.exact);
    }
    case CommandLine::Action::Window:
      break;
  }
  return 2;
}

int PrintList(partition::Counter counter, std::string_view n, std::string_view k,
              std::string_view m, std::FILE* out, std::FILE* err, bool exact) {
#ifdef _WIN32
  // Line feeds as they are, not turned into CR LF.
  _setmode(_fileno(out), _O_BINARY);
#endif
  const auto write = [out](std::string_view piece) {
    return std::fwrite(piece.data(), 1, piece.size(), out) == piece.size();
  };
  int number = 0;
  std::string message;
  errno = 0;
  try {
    partition::CalculationRun run =
        exact ? partition::CalculationRun(partition::CalculationOf(counter),
                                          partition::Counting::Exact, n, k, m,
                                          partition::kNoListLimit)
              : partition::CalculationRun(counter, n, k, m, partition::kNoListLimit);
    const std::string beyond = run.BeyondExactBound(partition::kLastExactNumberInStream);
    if (!beyond.empty()) {
      std::fprintf(err, "partitionen: %s\n", beyond.c_str());
      return 2;
    }
    if (!partition::WritePieces(run, partition::kLinesPerStreamPiece, partition::LineEnds::LineFeed,
                                write)) {
      return WriteFailed("Die Liste", err);
    }
    return std::fflush(out) == 0 ? 0 : WriteFailed("Die Liste", err);
  } catch (const partition::RuntimeError& error) {
    number = error.number();
    message = error.what();
  } catch (const std::bad_alloc&) {
    number = partition::kOutOfMemoryError;
    message = partition::kOutOfMemoryMessage;
  }
  const bool written = std::fflush(out) == 0 && std::ferror(out) == 0;
  const int writeError = errno;
  std::fprintf(err, "Laufzeitfehler '%d': %s\n", number, message.c_str());
  if (!written) {
    errno = writeError;
    return WriteFailed("Die Liste", err);
  }
  return 1;
}
