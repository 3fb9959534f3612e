// Opening the window's display.
#pragma once

#include <QApplication>
#include <memory>

// Starts the widget application on the desktop's display. Where none can be
// reached (DISPLAY and WAYLAND_DISPLAY unset, wrong or unreachable, or a
// QT_QPA_PLATFORM naming a platform that is missing or cannot start), it
// writes one German sentence saying so to standard error and ends the
// program with exit status 1, in place of Qt's abort. Qt's messages from the
// start are passed on once the display is open.
std::unique_ptr<QApplication> OpenDisplay(int& argc, char** argv);
