#include <QApplication>

#include "form1.h"
#include "qt_german.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  // Lets a Wayland desktop find the program's entry, and with it the icon.
  QGuiApplication::setDesktopFileName(QStringLiteral("invalid.partitionen.Partitionen"));
  UseQtGermanTexts(app);
  Form1 form;
  form.show();
  return QApplication::exec();
}
