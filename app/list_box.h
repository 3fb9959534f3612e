// The box that holds the list: a plain text box whose copy (Ctrl+C, the
// context menu, a drag, a selection) carries the selection as plain UTF-8
// text alone, read from the box in one pass, so that copying a list of
// millions of lines takes a moment. A paste or drop is taken whole or refused whole,
// with a notice: refused when it would make a line longer than
// kLongestPastedLine characters (the box lays a line out in time that grows
// with the square of its length) or the list longer than the window's list
// holds, 64 MiB with CR LF line ends. A drag of selected
// text made while the program was busy, and handed on afterwards, is carried
// out without the drag and drop loop, which would wait for a release that
// has already been made: the text is dropped into the control of this
// window under the release (a drop outside the window is lost), and moved
// unless Ctrl was held, as the drag and drop loop would.
#pragma once

#include <QByteArray>
#include <QPlainTextEdit>
#include <functional>
#include <optional>

class ListBox : public QPlainTextEdit {
  Q_OBJECT

 public:
  static constexpr qsizetype kLongestPastedLine = 10000;

  explicit ListBox(QWidget* parent = nullptr);

  // Writes the box's whole text (UTF-8, line feeds) anew, into a byte array
  // that has room for `size` bytes already.
  using WholeText = std::function<QByteArray(qsizetype size)>;

  // Until the box's text next changes, a copy of all of it takes its text
  // from `wholeText`, which must write exactly the box's text, and only when
  // another program or box asks for it: a long list the program can write
  // again is copied at once and handed over quicker than the box could read
  // it out.
  void SetWholeTextSource(WholeText wholeText);

 signals:
  // A German notice that a paste or drop was refused; an empty one once the
  // list has changed since.
  void NoticeChanged(const QString& notice);

 protected:
  // The selection as "text/plain", lines separated by line feeds, as
  // QPlainTextEdit's own copy writes it.
  QMimeData* createMimeDataFromSelection() const override;
  // Pastes the text of `source`, as QPlainTextEdit does, without building a
  // second document for it first.
  void insertFromMimeData(const QMimeData* source) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  // Drops the selection on what lies under `position` in this window.
  void DropSelection(QPointF position, Qt::KeyboardModifiers modifiers);
  // Whether `incoming`, put in place of the selection, keeps every line and
  // the list within their bounds; if not, says so.
  bool Takes(const QString& incoming);

  WholeText wholeText_;
  // Where a press on the selection that may begin a drag without the loop
  // was made, and whether the pointer has moved far enough for a drag.
  std::optional<QPointF> dragFrom_;
  bool dragging_ = false;
  bool noticeStanding_ = false;
};
