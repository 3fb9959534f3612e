#include <QApplication>
#include <QClipboard>
#include <cstdio>
#include <cstdlib>

#include "command_line.h"
#include "display.h"
#include "form1.h"
#include "qt_german.h"

int main(int argc, char* argv[]) {
  const CommandLine line = ParseCommandLine(ProgramArguments(argc, argv));
  if (line.action != CommandLine::Action::Window) {
    UseParentConsole();
    return RunWithoutWindow(line, stdout, stderr);
  }
  const std::unique_ptr<QApplication> app = OpenDisplay(argc, argv);
  // Lets a Wayland desktop find the program's entry, and with it the icon.
  QGuiApplication::setDesktopFileName(QStringLiteral("invalid.partitionen.Partitionen"));
  UseQtGermanTexts(*app);
  Form1 form;
  form.PresetInputs(line.n, line.k, line.m);
  form.show();
  const int exitCode = QApplication::exec();
  // Taking apart the window of a long list takes a moment after it is gone.
  // Unless the program still owns the clipboard, which Qt hands over to the
  // desktop on the way out, the program ends without it.
  const QClipboard* clipboard = QGuiApplication::clipboard();
  if (clipboard->ownsClipboard() || clipboard->ownsSelection()) {
    LetClipboardTransfersFinish();
  }
  if (!clipboard->ownsClipboard()) {
    std::fflush(nullptr);
    std::_Exit(exitCode);
  }
  return exitCode;
}
