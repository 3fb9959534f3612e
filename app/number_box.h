// A box for n, k or m: a line edit that takes what is typed or pasted up to
// its maximum length (a million characters, far beyond any number), and
// refuses a paste or drop that would go past it whole, with a notice,
// instead of cutting it off unseen. Longer texts would stall the window for
// seconds in the line edit's own bookkeeping.
#pragma once

#include <QLineEdit>

class NumberBox : public QLineEdit {
  Q_OBJECT

 public:
  explicit NumberBox(QWidget* parent = nullptr);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  // Whether `incoming`, put in place of the selection, keeps the text within
  // the maximum length; if not, says so beside the box.
  bool Takes(const QString& incoming);
};
