#include "display.h"

#include <QAbstractNativeEventFilter>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QGuiApplication>
#include <QScreen>
#include <QStringList>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#ifndef _WIN32
#include <unistd.h>
#endif

namespace {

void WriteToStandardError(std::string_view text) {
  if (!text.empty()) {
    std::fwrite(text.data(), 1, text.size(), stderr);
  }
}

// What libraries write to standard error themselves while the display opens
// (libwayland-client does), held in a file until the outcome is known.
class HeldStandardError {
 public:
  HeldStandardError() {
#ifndef _WIN32
    std::fflush(stderr);
    file_ = std::tmpfile();
    saved_ = file_ != nullptr ? dup(STDERR_FILENO) : -1;
    if (saved_ >= 0) {
      dup2(fileno(file_), STDERR_FILENO);
    }
#endif
  }
  HeldStandardError(const HeldStandardError&) = delete;
  HeldStandardError& operator=(const HeldStandardError&) = delete;
  ~HeldStandardError() { Release(); }

  // Gives standard error back, writes `first` to it, and then what was held.
  void Release(std::string_view first = {}) {
    std::fflush(stderr);
#ifndef _WIN32
    if (saved_ < 0) {
      WriteToStandardError(first);
      return;
    }
    dup2(saved_, STDERR_FILENO);
    close(saved_);
    saved_ = -1;
    WriteToStandardError(first);
    std::rewind(file_);
    char buffer[4096];
    for (std::size_t read = 0; (read = std::fread(buffer, 1, sizeof buffer, file_)) > 0;) {
      std::fwrite(buffer, 1, read, stderr);
    }
    std::fclose(file_);
#else
    WriteToStandardError(first);
#endif
  }

 private:
  std::FILE* file_ = nullptr;
  int saved_ = -1;
};

HeldStandardError* heldStandardError = nullptr;
QtMessageHandler qtHandler = nullptr;

// Where the window was to appear: the platform asked for, and the displays
// named, as the sentence says them.
QString WhereTheWindowWasToAppear() {
  const QString platform = qEnvironmentVariable("QT_QPA_PLATFORM");
  QStringList displays;
  for (const char* variable : {"DISPLAY", "WAYLAND_DISPLAY"}) {
    if (!qEnvironmentVariableIsEmpty(variable)) {
      displays << QStringLiteral("\u201e%1\u201c (%2)")
                      .arg(qEnvironmentVariable(variable), QLatin1String(variable));
    }
  }
  if (!platform.isEmpty()) {
    return QStringLiteral("die Plattform \u201e%1\u201c aus QT_QPA_PLATFORM fehlt oder %2")
        .arg(platform,
             displays.isEmpty()
                 ? QStringLiteral("keine Anzeige erreicht (DISPLAY und WAYLAND_DISPLAY sind "
                                  "nicht gesetzt)")
                 : QStringLiteral("die Anzeige %1 nicht erreicht")
                       .arg(displays.join(QStringLiteral(" oder "))));
  }
  if (displays.isEmpty()) {
    return QStringLiteral(
        "keine Anzeige genannt ist (weder DISPLAY noch WAYLAND_DISPLAY ist gesetzt)");
  }
  return QStringLiteral("sich die Anzeige %1 nicht \u00f6ffnen l\u00e4sst")
      .arg(displays.join(QStringLiteral(" oder ")));
}

// The program's sentence, then what the libraries said while the display
// was being opened, and the end with exit status 1.
[[noreturn]] void NoWindow() {
  const QByteArray sentence =
      QStringLiteral(
          "partitionen: Das Fenster kann nicht ge\u00f6ffnet werden, weil %1; die "
          "Liste allein gibt \u201epartitionen -b 1\u201c oder \u201e-b 2\u201c "
          "aus.\n")
          .arg(WhereTheWindowWasToAppear())
          .toUtf8();
  const std::string_view first(sentence.constData(), static_cast<std::size_t>(sentence.size()));
  if (heldStandardError != nullptr) {
    heldStandardError->Release(first);
  } else {
    WriteToStandardError(first);
  }
  std::fflush(stderr);
  std::_Exit(1);
}

// Qt's messages while the display opens go where the libraries' own lines
// go, in the order they come. Qt's last word when no platform could start
// is a fatal message, after which it aborts; the program ends before that,
// with its own sentence.
void HoldMessages(QtMsgType type, const QMessageLogContext& context, const QString& text) {
  if (type == QtFatalMsg) {
    NoWindow();
  }
  std::fprintf(stderr, "%s\n", qFormatLogMessage(type, context, text).toUtf8().constData());
}

}  // namespace

std::unique_ptr<QApplication> OpenDisplay(int& argc, char** argv) {
  std::unique_ptr<QApplication> app;
  {
    HeldStandardError standardError;
    heldStandardError = &standardError;
    qtHandler = qInstallMessageHandler(HoldMessages);
    app = std::make_unique<QApplication>(argc, argv);
    // A platform that started without a screen (linuxfb without a frame
    // buffer) could show no window.
    if (QGuiApplication::primaryScreen() == nullptr) {
      NoWindow();
    }
    qInstallMessageHandler(qtHandler);
    heldStandardError = nullptr;
  }
  return app;
}

void LetClipboardTransfersFinish() {
  // Every event from the display counts as a sign of a transfer going on.
  class Watch : public QAbstractNativeEventFilter {
   public:
    explicit Watch(QElapsedTimer& quiet) : quiet_(quiet) {}
    bool nativeEventFilter(const QByteArray& /*type*/, void* /*message*/,
                           qintptr* /*result*/) override {
      quiet_.start();
      return false;
    }

   private:
    QElapsedTimer& quiet_;
  };
  constexpr qint64 kQuietMilliseconds = 300;
  constexpr qint64 kLongestMilliseconds = 5000;
  QElapsedTimer quiet;
  quiet.start();
  QElapsedTimer waited;
  waited.start();
  Watch watch(quiet);
  QCoreApplication::instance()->installNativeEventFilter(&watch);
  QEventLoop loop;
  QTimer look;
  QObject::connect(&look, &QTimer::timeout, &loop, [&] {
    if (quiet.elapsed() >= kQuietMilliseconds || waited.elapsed() >= kLongestMilliseconds) {
      loop.quit();
    }
  });
  look.start(50);
  loop.exec();
  QCoreApplication::instance()->removeNativeEventFilter(&watch);
}
