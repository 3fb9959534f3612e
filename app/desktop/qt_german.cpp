#include "qt_german.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

bool UseQtGermanTexts(QCoreApplication& app) {
  auto* catalogue = new QTranslator(&app);
  // Qt's translations folder, or the copy built into the program where Qt
  // has none (Windows).
  if (!catalogue->load(QStringLiteral("qtbase_de"),
                       QLibraryInfo::path(QLibraryInfo::TranslationsPath)) &&
      !catalogue->load(QStringLiteral("qtbase_de"), QStringLiteral(":/translations"))) {
    delete catalogue;
    return false;
  }
  return QCoreApplication::installTranslator(catalogue);
}
