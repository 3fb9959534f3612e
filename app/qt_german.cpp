#include "qt_german.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

bool UseQtGermanTexts(QCoreApplication& app) {
  auto* catalogue = new QTranslator(&app);
  if (!catalogue->load(QStringLiteral("qtbase_de"),
                       QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    delete catalogue;
    return false;
  }
  return QCoreApplication::installTranslator(catalogue);
}
