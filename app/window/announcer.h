// Tells screen readers the news of the window as it happens (a list that
// stands, the new text of a box after a step, a notice), without moving the
// focus: as an announcement where Qt has them (6.8 on), elsewhere as an
// alert that shows up with the words as its name, which AT-SPI readers speak.
#pragma once

#include <QWidget>

class Announcer : public QWidget {
  Q_OBJECT

 public:
  // An announcer that takes no room and no focus.
  explicit Announcer(QWidget* parent = nullptr);

  // Says `text` politely, after what is being said; `urgent` at once.
  void Say(const QString& text, bool urgent = false);

  // Lets `widget`, an Announcer or the window's notice line, be an alert
  // for screen readers. Installed once per program.
  static void BeAnAlert();
};
