// The box that holds the list: a plain text box whose copy (Ctrl+C, the
// context menu, a drag, a selection) carries the selection as plain UTF-8
// text alone, read from the box in one pass, so that copying a list of
// millions of lines takes a moment. A paste or drop is taken whole or
// refused whole, with a notice, by the core's rule for the list (no line
// past 10,000 characters, the list within 64 MiB with CR LF line ends);
// whatever ends a line in the text goes in as a line break of the box. While
// the program writes a list into it, the box takes no typing, paste or drop
// and beeps instead; selecting, scrolling and copying go on.
#pragma once

#include <QByteArray>
#include <QPlainTextEdit>
#include <functional>

#include "paste_bounds.h"

class ListBox : public QPlainTextEdit {
  Q_OBJECT

 public:
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

  // Whether the program is writing a list into the box.
  void SetBeingWritten(bool beingWritten);

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
  void keyPressEvent(QKeyEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  // Where text put at `at` (in place of its selection) goes; `removed`
  // characters of the list, CR LF counted twice, leave it meanwhile.
  [[nodiscard]] partition::ListPlace PlaceAt(const QTextCursor& at, qsizetype removed) const;
  // Whether the list takes `text` (its line breaks made LF) at `place`; if
  // not, beeps and says why.
  bool Takes(const QString& text, const partition::ListPlace& place);

  WholeText wholeText_;
  bool beingWritten_ = false;
  bool noticeStanding_ = false;
  // A drop whose text has been checked at its place is being inserted.
  bool checkedDrop_ = false;
};
