// The window's notice line: says, in German, why something the user asked
// for was not done (a paste refused). Each box's notice stands until that
// box has changed; the latest one standing shows. It is an alert for screen
// readers, which read each new notice at once.
#pragma once

#include <QLabel>
#include <utility>
#include <vector>

class Notice : public QLabel {
  Q_OBJECT

 public:
  explicit Notice(QWidget* parent = nullptr);

  // Shows `text` as the notice of `box`; an empty text takes that box's
  // notice away and leaves the others'.
  void Show(const QObject* box, const QString& text);

 private:
  std::vector<std::pair<const QObject*, QString>> standing_;
};
