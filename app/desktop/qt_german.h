// Qt's own texts in German: the context menus of the boxes and the scroll
// bar, the buttons of message boxes.
#pragma once

class QCoreApplication;

// Installs Qt's German catalogue (qtbase_de from Qt's translations folder,
// else from the program's resources) in `app`, which owns it from then on.
// Returns false, leaving Qt's texts English, when the catalogue is not
// installed; the program runs all the same.
bool UseQtGermanTexts(QCoreApplication& app);
