// A box for n, k or m: a line edit that takes what is typed or pasted up to
// the core's bound for a box (a million characters, far beyond any number),
// and refuses a paste or drop that would go past it whole, with a notice,
// instead of cutting it off unseen. Longer texts would stall the window for
// seconds in the line edit's own bookkeeping. While it holds a long text and
// has the focus, its cursor stands still: each blink would lay the whole
// line out again.
#pragma once

#include <QLineEdit>

class NumberBox : public QLineEdit {
  Q_OBJECT

 public:
  explicit NumberBox(QWidget* parent = nullptr);

 signals:
  // A German notice that a paste or drop was refused; an empty one once the
  // box has changed since.
  void NoticeChanged(const QString& notice);

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void contextMenuEvent(QContextMenuEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  // Whether `incoming`, put in place of the selection, keeps the text within
  // the maximum length; if not, says so.
  bool Takes(const QString& incoming);
  // Puts `incoming` (the clipboard's text, read once) in place of the
  // selection, if it fits.
  void PasteText(const QString& incoming);
  // Lets the cursor blink, or stand still while the text is long.
  void UpdateBlinking();

  bool noticeStanding_ = false;
};
