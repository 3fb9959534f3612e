// Partitionen: with -b the list on standard output, otherwise the window.
#include <QApplication>
#include <cstdio>

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
  UseQtGermanTexts(*app);
  Form1 form;
  form.PresetInputs(line.n, line.k, line.m, line.exact);
  form.show();
  return LeaveDisplay(QApplication::exec());
}
