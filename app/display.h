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
