#include <QApplication>

#include "form1.h"
#include "qt_german.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  UseQtGermanTexts(app);
  Form1 form;
  form.show();
  return QApplication::exec();
}
