#include "display.h"

#include <QByteArray>
#include <cstdio>
#include <cstdlib>
#include <vector>

#ifndef _WIN32
#include <unistd.h>
#endif

namespace {

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
  ~HeldStandardError() { Release(true); }

  // Gives standard error back; with `passOn`, with what was held written to it.
  void Release(bool passOn) {
#ifndef _WIN32
    if (saved_ < 0) {
      return;
    }
    std::fflush(stderr);
    dup2(saved_, STDERR_FILENO);
    close(saved_);
    saved_ = -1;
    std::rewind(file_);
    char buffer[4096];
    for (std::size_t read = 0;
         passOn && (read = std::fread(buffer, 1, sizeof buffer, file_)) > 0;) {
      std::fwrite(buffer, 1, read, stderr);
    }
    std::fclose(file_);
#else
    (void)passOn;
#endif
  }

 private:
  std::FILE* file_ = nullptr;
  int saved_ = -1;
};

HeldStandardError* heldStandardError = nullptr;

struct HeldMessage {
  QtMsgType type;
  const char* file;
  int line;
  const char* function;
  const char* category;
  QString text;
};

QtMessageHandler qtHandler = nullptr;
std::vector<HeldMessage> held;

// Qt's last word when no platform could start is a fatal message, after
// which it aborts; the program ends before that, with its own sentence.
void HoldMessages(QtMsgType type, const QMessageLogContext& context, const QString& text) {
  if (type != QtFatalMsg) {
    held.push_back({type, context.file, context.line, context.function, context.category, text});
    return;
  }
  if (heldStandardError != nullptr) {
    heldStandardError->Release(false);
  }
  const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
  if (platform.isEmpty()) {
    std::fputs(
        "partitionen: Das Fenster kann nicht ge\u00f6ffnet werden, weil keine Anzeige "
        "erreichbar ist (weder DISPLAY noch WAYLAND_DISPLAY nennt eine laufende Anzeige); "
        "die Liste allein gibt \u201epartitionen -b 1\u201c oder \u201e-b 2\u201c aus.\n",
        stderr);
  } else {
    std::fprintf(stderr,
                 "partitionen: Das Fenster kann nicht ge\u00f6ffnet werden, weil die Plattform "
                 "\u201e%s\u201c aus QT_QPA_PLATFORM fehlt oder keine Anzeige erreicht (DISPLAY, "
                 "WAYLAND_DISPLAY); die Liste allein gibt \u201epartitionen -b 1\u201c oder "
                 "\u201e-b 2\u201c aus.\n",
                 platform.constData());
  }
  std::fflush(stderr);
  std::_Exit(1);
}

}  // namespace

std::unique_ptr<QApplication> OpenDisplay(int& argc, char** argv) {
  std::unique_ptr<QApplication> app;
  {
    HeldStandardError standardError;
    heldStandardError = &standardError;
    qtHandler = qInstallMessageHandler(HoldMessages);
    app = std::make_unique<QApplication>(argc, argv);
    qInstallMessageHandler(qtHandler);
    heldStandardError = nullptr;
  }
  for (const HeldMessage& message : held) {
    const QMessageLogContext context(message.file, message.line, message.function,
                                     message.category);
    qtHandler(message.type, context, message.text);
  }
  held.clear();
  return app;
}
