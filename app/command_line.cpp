#include "command_line.h"

#include <QCommandLineParser>
#include <cerrno>
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

// Lines written to the stream at a time: a few hundred kilobytes.
constexpr std::size_t kLinesPerPiece = 10000;

const char kUsage[] =
    "Aufruf: partitionen [-n N] [-k K] [-m M]\n"
    "        partitionen -b 1|2 [-n N] [-k K] [-m M]\n"
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
    "falschen Aufruf.\n";

// Why QCommandLineParser refused the arguments, in German.
QString ParserError(const QCommandLineParser& parser, const QStringList& arguments) {
  const QStringList unknown = parser.unknownOptionNames();
  if (!unknown.isEmpty()) {
    return QStringLiteral("unbekannte Option \u201e%1%2\u201c")
        .arg(unknown.first().size() == 1 ? QStringLiteral("-") : QStringLiteral("--"),
             unknown.first());
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
         option == QLatin1String("--version"))) {
      return QStringLiteral("die Option \u201e%1\u201c nimmt keinen Wert").arg(option);
    }
  }
  return QStringLiteral("der Option \u201e%1\u201c fehlt ihr Wert").arg(arguments.last());
}

int WriteFailed(std::FILE* err) {
  if (errno != EPIPE) {
    std::fputs("partitionen: Die Liste kann nicht geschrieben werden.\n", err);
  }
  return 1;
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

void UseParentConsole() {
#ifdef _WIN32
  if (AttachConsole(ATTACH_PARENT_PROCESS)) {
    const auto reach = [](DWORD handle, std::FILE* stream) {
      if (GetFileType(GetStdHandle(handle)) == FILE_TYPE_UNKNOWN) {
        (void)std::freopen("CONOUT$", "w", stream);
      }
    };
    reach(STD_OUTPUT_HANDLE, stdout);
    reach(STD_ERROR_HANDLE, stderr);
    SetConsoleOutputCP(CP_UTF8);
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
  const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
  const QCommandLineOption version(QStringLiteral("version"));
  parser.addOptions({calculation, n, k, m, help, version});

  CommandLine line;
  const auto usageError = [&line](const QString& error) {
    line.action = CommandLine::Action::UsageError;
    line.error = error;
    return line;
  };
  if (!parser.parse(arguments)) {
    return usageError(ParserError(parser, arguments));
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
  if (parser.isSet(calculation)) {
    const QString which = parser.value(calculation);
    if (which == QLatin1String("1")) {
      line.counter = partition::CountDistinct;
    } else if (which == QLatin1String("2")) {
      line.counter = partition::CountRepeated;
    } else {
      return usageError(
          QStringLiteral("-b nimmt 1 oder 2 f\u00fcr die Berechnung, nicht \u201e%1\u201c")
              .arg(which));
    }
    line.action = CommandLine::Action::List;
  }
  return line;
}

int RunWithoutWindow(const CommandLine& line, std::FILE* out, std::FILE* err) {
  switch (line.action) {
    case CommandLine::Action::Help:
      std::fputs(kUsage, out);
      return std::fflush(out) == 0 ? 0 : 1;
    case CommandLine::Action::Version:
      std::fputs("partitionen " PARTITIONEN_VERSION "\n", out);
      return std::fflush(out) == 0 ? 0 : 1;
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
                       text(line.m, kInitialM), out, err);
    }
    case CommandLine::Action::Window:
      break;
  }
  return 2;
}

int PrintList(partition::Counter counter, std::string_view n, std::string_view k,
              std::string_view m, std::FILE* out, std::FILE* err) {
#ifdef _WIN32
  // Line feeds as they are, not turned into CR LF.
  _setmode(_fileno(out), _O_BINARY);
#endif
  const auto write = [out](std::string_view piece) {
    return std::fwrite(piece.data(), 1, piece.size(), out) == piece.size();
  };
  int number = 0;
  std::string message;
  try {
    partition::CalculationRun run(counter, n, k, m, partition::kNoListLimit);
    if (!partition::WriteWithLineFeeds(run, kLinesPerPiece, write)) {
      return WriteFailed(err);
    }
    return std::fflush(out) == 0 ? 0 : WriteFailed(err);
  } catch (const partition::RuntimeError& error) {
    number = error.number();
    message = error.what();
  } catch (const std::bad_alloc&) {
    number = partition::kOutOfMemoryError;
    message = partition::kOutOfMemoryMessage;
  }
  if (std::fflush(out) != 0 || std::ferror(out) != 0) {
    return WriteFailed(err);
  }
  std::fprintf(err, "Laufzeitfehler '%d': %s\n", number, message.c_str());
  return 1;
}
