#include "display.h"

#include <QAbstractNativeEventFilter>
#include <QClipboard>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QGuiApplication>
#include <QScreen>
#include <QStringList>
#include <QTimer>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <map>
#include <string_view>

#ifdef PARTITIONEN_X11
#include <xcb/xcb.h>
#endif

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

#ifdef PARTITIONEN_X11
// The clipboard transfers other programs have begun on X11. A program asks
// for the text with a selection request on a window of its own; a long text
// then goes over in parts, Qt watching that window's properties until the
// program has taken the last part (or until Qt gives up, five seconds after
// the last part it took), and no longer.
class ClipboardTransfers : public QAbstractNativeEventFilter {
 public:
  bool nativeEventFilter(const QByteArray& type, void* message, qintptr* /*result*/) override {
    if (type != "xcb_generic_event_t") {
      return false;
    }
    const auto* event = static_cast<const xcb_generic_event_t*>(message);
    const auto kind = static_cast<std::uint8_t>(event->response_type & 0x7F);
    if (kind == XCB_SELECTION_REQUEST) {
      requestors_[reinterpret_cast<const xcb_selection_request_event_t*>(event)->requestor].start();
    } else if (kind == XCB_PROPERTY_NOTIFY) {
      const auto* notify = reinterpret_cast<const xcb_property_notify_event_t*>(event);
      const auto requestor = requestors_.find(notify->window);
      if (requestor != requestors_.end() && notify->state == XCB_PROPERTY_DELETE) {
        requestor->second.start();  // the last part taken, the next asked for
      }
    }
    return false;
  }

  // Whether a transfer is still going on.
  bool Going(xcb_connection_t* connection) {
    constexpr qint64 kQtGivesUpMilliseconds = 5000;
    for (auto requestor = requestors_.begin(); requestor != requestors_.end();) {
      bool watched = false;
      if (requestor->second.elapsed() < kQtGivesUpMilliseconds + 500) {
        xcb_get_window_attributes_reply_t* attributes = xcb_get_window_attributes_reply(
            connection, xcb_get_window_attributes(connection, requestor->first), nullptr);
        watched = attributes != nullptr &&
                  (attributes->your_event_mask & XCB_EVENT_MASK_PROPERTY_CHANGE) != 0;
        std::free(attributes);
      }
      requestor = watched ? std::next(requestor) : requestors_.erase(requestor);
    }
    return !requestors_.empty();
  }

 private:
  std::map<xcb_window_t, QElapsedTimer> requestors_;
};

ClipboardTransfers* clipboardTransfers = nullptr;

// Turns the event loop until no transfer is going on any more, a minute at
// most.
void FinishClipboardTransfers() {
  auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
  if (clipboardTransfers == nullptr || x11 == nullptr) {
    return;
  }
  constexpr qint64 kLongestMilliseconds = 60000;
  QElapsedTimer waited;
  waited.start();
  QEventLoop loop;
  QTimer look;
  QObject::connect(&look, &QTimer::timeout, &loop, [&] {
    if (!clipboardTransfers->Going(x11->connection()) || waited.elapsed() >= kLongestMilliseconds) {
      loop.quit();
    }
  });
  look.start(20);
  loop.exec();
}
#endif
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
  QGuiApplication::setDesktopFileName(QStringLiteral("invalid.partitionen.Partitionen"));
#ifdef PARTITIONEN_X11
  if (QGuiApplication::platformName() == QLatin1String("xcb")) {
    clipboardTransfers = new ClipboardTransfers;
    app->installNativeEventFilter(clipboardTransfers);
  }
#endif
  return app;
}

int LeaveDisplay(int exitCode) {
  const QClipboard* clipboard = QGuiApplication::clipboard();
#ifdef PARTITIONEN_X11
  if (clipboard->ownsClipboard() || clipboard->ownsSelection()) {
    FinishClipboardTransfers();
  }
#endif
  // Taking apart the window of a long list takes a moment after it is gone.
  if (!clipboard->ownsClipboard()) {
    std::fflush(nullptr);
    std::_Exit(exitCode);
  }
  return exitCode;
}
