// The window's notice line: says, in German, why something the user asked
// for was not done (a paste refused), and stands until the box it concerns
// has changed. Screen readers are told of it as an alert.
#pragma once

#include <QLabel>

class Notice : public QLabel {
  Q_OBJECT

 public:
  explicit Notice(QWidget* parent = nullptr);

  // Shows `text`; an empty text takes the notice away.
  void Show(const QString& text);
};
