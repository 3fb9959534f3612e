// How the window copes with one long list: the time from the click until the
// list stands, the longest stretch in which the event loop handled nothing,
// and the peak resident memory of the process; then the time to copy the
// whole list, to hand it to another program and to paste it back. One list per process, so that
// the peak is this list's.
//   window_bench N K M [distinct|repeated]
// e.g. 0 2 99999 and 0 2 999999 for 10^5 and 10^6 lines, and
// -1300000 0 2608966 distinct for the largest list the run accepts
// (2,608,967 lines, just under its 64 MiB).
// Run it on the platform to be measured (QT_QPA_PLATFORM=xcb under a display,
// with QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 and an accessibility bus for the
// screen reader case).
#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>
#include <cstdio>

#include "form1.h"

namespace {

long PeakResidentKiB() {
  QFile status(QStringLiteral("/proc/self/status"));
  if (!status.open(QIODevice::ReadOnly)) {
    return -1;
  }
  for (const QByteArray& line : status.readAll().split('\n')) {
    if (line.startsWith("VmHWM:")) {
      return line.mid(6).trimmed().split(' ').first().toLong();
    }
  }
  return -1;
}

}  // namespace

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  if (argc < 4) {
    std::fprintf(stderr, "usage: window_bench N K M [distinct|repeated]\n");
    return 2;
  }
  Form1 form;
  form.show();
  // Lets the window map and an accessibility bus connect before the click.
  QElapsedTimer settle;
  settle.start();
  while (settle.elapsed() < 1000) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
  }
  form.findChild<QLineEdit*>(QStringLiteral("Text1"))->setText(QString::fromLocal8Bit(argv[1]));
  form.findChild<QLineEdit*>(QStringLiteral("Text2"))->setText(QString::fromLocal8Bit(argv[2]));
  form.findChild<QLineEdit*>(QStringLiteral("Text4"))->setText(QString::fromLocal8Bit(argv[3]));
  const bool distinct = argc > 4 && QByteArray(argv[4]) == "distinct";
  auto* button = form.findChild<QPushButton*>(distinct ? QStringLiteral("Command1")
                                                       : QStringLiteral("Command2"));
  auto* list = form.findChild<QPlainTextEdit*>(QStringLiteral("Text3"));

  QElapsedTimer clock;
  qint64 lastTurn = 0;
  qint64 longestStall = 0;
  QTimer turns;
  QObject::connect(&turns, &QTimer::timeout, [&] {
    longestStall = std::max(longestStall, clock.elapsed() - lastTurn);
    lastTurn = clock.elapsed();
  });
  turns.start(0);
  clock.start();
  button->click();
  while (form.Busy()) {
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  }
  list->viewport()->repaint();
  const qint64 shown = clock.elapsed();
  longestStall = std::max(longestStall, shown - lastTurn);

  std::printf(
      "%d lines shown after %lld ms; longest stall %lld ms; peak resident %ld MiB; "
      "accessibility %s\n",
      list->document()->blockCount() - 2, shown, longestStall, PeakResidentKiB() / 1024,
      QAccessible::isActive() ? "on" : "off");
  std::fflush(stdout);

  // Ctrl+A and Ctrl+C in the list, then another program reading the
  // clipboard (xclip, where the window runs on X11), then the list pasted
  // back into the emptied box.
  list->setFocus();
  clock.restart();
  QTest::keyClick(list, Qt::Key_A, Qt::ControlModifier);
  QTest::keyClick(list, Qt::Key_C, Qt::ControlModifier);
  const qint64 copied = clock.elapsed();
  const long copyPeak = PeakResidentKiB() / 1024;
  qint64 transferred = -1;
  qsizetype bytes = 0;
  if (QGuiApplication::platformName() == QLatin1String("xcb") &&
      !QStandardPaths::findExecutable(QStringLiteral("xclip")).isEmpty()) {
    QProcess reader;
    clock.restart();
    reader.start(QStringLiteral("xclip"),
                 {QStringLiteral("-selection"), QStringLiteral("clipboard"), QStringLiteral("-o")});
    QObject::connect(&reader, &QProcess::readyReadStandardOutput,
                     [&] { bytes += reader.readAllStandardOutput().size(); });
    while (reader.state() != QProcess::NotRunning || reader.bytesAvailable() > 0) {
      QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
      bytes += reader.readAllStandardOutput().size();
    }
    transferred = clock.elapsed();
  } else {
    clock.restart();
    bytes = QGuiApplication::clipboard()->mimeData()->data(QStringLiteral("text/plain")).size();
    transferred = clock.elapsed();
  }
  const long transferPeak = PeakResidentKiB() / 1024;
  list->clear();
  clock.restart();
  QTest::keyClick(list, Qt::Key_V, Qt::ControlModifier);
  list->viewport()->repaint();
  const qint64 pasted = clock.elapsed();
  std::printf(
      "copy %lld ms (peak %ld MiB); transfer of %lld bytes %lld ms%s (peak %ld MiB); "
      "paste back %lld ms (peak %ld MiB)\n",
      copied, copyPeak, static_cast<long long>(bytes), transferred,
      transferred >= 0 && QGuiApplication::platformName() == QLatin1String("xcb") ? " to xclip"
                                                                                  : "",
      transferPeak, pasted, PeakResidentKiB() / 1024);
  return 0;
}
