// The box that holds the list: a plain text box whose copy (Ctrl+C, the
// context menu, a drag) carries the selection as plain UTF-8 text alone,
// taken line by line from the box, so that copying a list of millions of
// lines takes a moment and no more memory than its text.
#pragma once

#include <QByteArray>
#include <QPlainTextEdit>
#include <functional>

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

 protected:
  // The selection as "text/plain", lines separated by line feeds, as
  // QPlainTextEdit's own copy writes it.
  QMimeData* createMimeDataFromSelection() const override;
  // Pastes the text of `source`, as QPlainTextEdit does, without building a
  // second document for it first.
  void insertFromMimeData(const QMimeData* source) override;

 private:
  WholeText wholeText_;
};
