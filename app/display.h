// Opening the window's display.
#pragma once

#include <QApplication>
#include <memory>

// Starts the widget application on the desktop's display. Where none can be
// opened (DISPLAY and WAYLAND_DISPLAY unset, wrong, unreachable or refusing
// the connection, or a QT_QPA_PLATFORM naming a platform that is missing,
// cannot start or has no screen), it writes one German sentence to standard
// error naming the display or platform, then what Qt and the display
// libraries said, and ends the program with exit status 1, in place of Qt's
// abort. Those messages are passed on, in their order, once the display is
// open.
std::unique_ptr<QApplication> OpenDisplay(int& argc, char** argv);

// For a program that owns the clipboard as it ends: lets transfers that
// other programs have begun finish (a long list is handed over in parts,
// each part asked for by the other program), waiting until the display has
// been quiet for a moment, at most a few seconds.
void LetClipboardTransfersFinish();
