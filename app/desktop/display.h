// The program on the desktop's display: opening it, and leaving it with the
// clipboard handed over.
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
// open. The application names the program's desktop entry, so that a Wayland
// desktop finds its icon.
std::unique_ptr<QApplication> OpenDisplay(int& argc, char** argv);

// What the program's main returns once its event loop has ended with
// `exitCode`. On X11 the clipboard transfers that other programs have begun
// (a long list goes over in parts, each asked for by the other program) are
// finished first, as long as they go on. A program that owns the clipboard
// then leaves through Qt's teardown, which hands the clipboard over (to a
// clipboard manager on X11, to the system on Windows); any other ends at
// once, without taking its window apart.
int LeaveDisplay(int exitCode);
