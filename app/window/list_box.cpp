#include "list_box.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QTextBlock>
#include <QTextCursor>
#include <string>
#include <string_view>
#include <utility>

namespace {

// The whole list on the clipboard, written when it is first asked for.
class WrittenWhenAsked : public QMimeData {
 public:
  WrittenWhenAsked(ListBox::WholeText write, qsizetype size)
      : write_(std::move(write)), size_(size) {}

  [[nodiscard]] QStringList formats() const override { return {PlainText()}; }
  [[nodiscard]] bool hasFormat(const QString& type) const override { return type == PlainText(); }

 protected:
  [[nodiscard]] QVariant retrieveData(const QString& type, QMetaType /*preferred*/) const override {
    if (type != PlainText()) {
      return {};
    }
    if (write_) {
      text_ = write_(size_);
      write_ = nullptr;
    }
    return text_;
  }

 private:
  static QString PlainText() { return QStringLiteral("text/plain"); }

  mutable ListBox::WholeText write_;
  qsizetype size_;
  mutable QByteArray text_;
};

// `text` with whatever ends a line in it made one LF.
QString WithListLineBreaks(QString text) {
  auto* characters = reinterpret_cast<char16_t*>(text.data());
  text.truncate(static_cast<qsizetype>(
      partition::ToListLineBreaks(characters, static_cast<std::size_t>(text.size()))));
  return text;
}

// The characters of the selection, a line break counted twice, as CR LF.
qsizetype SelectedWithCrLf(const QTextCursor& cursor) {
  const QTextDocument* document = cursor.document();
  return cursor.selectionEnd() - cursor.selectionStart() +
         document->findBlock(cursor.selectionEnd()).blockNumber() -
         document->findBlock(cursor.selectionStart()).blockNumber();
}

// Whether a key would change the text of a box.
bool Edits(const QKeyEvent* event) {
  for (const auto edit :
       {QKeySequence::Paste, QKeySequence::Cut, QKeySequence::Undo, QKeySequence::Redo}) {
    if (event->matches(edit)) {
      return true;
    }
  }
  switch (event->key()) {
    case Qt::Key_Backspace:
    case Qt::Key_Delete:
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return true;
    default:
      break;
  }
  const QString text = event->text();
  return !text.isEmpty() && text.front().isPrint() &&
         (event->modifiers() & Qt::ControlModifier) == 0;
}

}  // namespace

ListBox::ListBox(QWidget* parent) : QPlainTextEdit(parent) {
  connect(document(), &QTextDocument::contentsChange, this, [this] {
    wholeText_ = nullptr;
    if (noticeStanding_) {
      noticeStanding_ = false;
      emit NoticeChanged(QString());
    }
  });
}

void ListBox::SetWholeTextSource(WholeText wholeText) { wholeText_ = std::move(wholeText); }

QMimeData* ListBox::createMimeDataFromSelection() const {
  const QTextCursor cursor = textCursor();
  const int start = cursor.selectionStart();
  const int end = cursor.selectionEnd();
  if (wholeText_ && start == 0 && end == document()->characterCount() - 1) {
    return new WrittenWhenAsked(wholeText_, end);
  }
  // The document's text, read in one pass, holds one character per cursor
  // position; a cursor reads a long selection fragment by fragment, some
  // ten times slower.
  constexpr int kShortSelection = 1 << 16;
  const bool shortSelection = end - start <= kShortSelection;
  QString text = shortSelection ? cursor.selectedText() : document()->toRawText();
  const QStringView selected = QStringView(text).mid(shortSelection ? 0 : start, end - start);
  // UTF-8, with what a plain copy makes of the line breaks and of the spaces
  // a user may type; a list is ASCII, written a byte per character.
  QByteArray utf8(selected.size(), Qt::Uninitialized);
  char* out = utf8.data();
  qsizetype i = 0;
  for (; i < selected.size(); ++i) {
    const char16_t c = selected[i].unicode();
    if (c < 0x80) {
      *out++ = static_cast<char>(c);
    } else if (c == QChar::ParagraphSeparator || c == QChar::LineSeparator) {
      *out++ = '\n';
    } else if (c == QChar::Nbsp) {
      *out++ = ' ';
    } else {
      break;
    }
  }
  utf8.truncate(out - utf8.data());
  if (i < selected.size()) {
    QString rest = selected.mid(i).toString();
    rest.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    rest.replace(QChar::LineSeparator, QLatin1Char('\n'));
    rest.replace(QChar::Nbsp, QLatin1Char(' '));
    utf8.append(rest.toUtf8());
  }
  auto* mime = new QMimeData;
  mime->setData(QStringLiteral("text/plain"), utf8);
  return mime;
}

void ListBox::SetBeingWritten(bool beingWritten) {
  beingWritten_ = beingWritten;
  setReadOnly(beingWritten);
  if (beingWritten) {
    setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
  }
}

partition::ListPlace ListBox::PlaceAt(const QTextCursor& at, qsizetype removed) const {
  const QTextBlock startBlock = document()->findBlock(at.selectionStart());
  const QTextBlock endBlock = document()->findBlock(at.selectionEnd());
  // The list with CR LF line ends: every block but the last ends in one.
  const qsizetype shown = document()->characterCount() - 1 + document()->blockCount() - 1;
  return {static_cast<std::size_t>(at.selectionStart() - startBlock.position()),
          static_cast<std::size_t>(endBlock.position() + endBlock.length() - 1 - at.selectionEnd()),
          static_cast<std::size_t>(shown - removed)};
}

bool ListBox::Takes(const QString& text, const partition::ListPlace& place) {
  const std::string refused = partition::RefusedListPaste(
      std::u16string_view(reinterpret_cast<const char16_t*>(text.utf16()),
                          static_cast<std::size_t>(text.size())),
      place);
  if (refused.empty()) {
    return true;
  }
  QApplication::beep();
  noticeStanding_ = true;
  emit NoticeChanged(QString::fromStdString(refused));
  return false;
}

void ListBox::insertFromMimeData(const QMimeData* source) {
  if (isReadOnly() || !source->hasText()) {
    QPlainTextEdit::insertFromMimeData(source);
    return;
  }
  const QString text = WithListLineBreaks(source->text());
  const QTextCursor at = textCursor();
  if (!checkedDrop_ && !Takes(text, PlaceAt(at, SelectedWithCrLf(at)))) {
    return;
  }
  textCursor().insertText(text);
  ensureCursorVisible();
}

void ListBox::keyPressEvent(QKeyEvent* event) {
  if (beingWritten_ && Edits(event)) {
    QApplication::beep();
    event->accept();
    return;
  }
  QPlainTextEdit::keyPressEvent(event);
}

void ListBox::mouseReleaseEvent(QMouseEvent* event) {
  if (beingWritten_ && event->button() == Qt::MiddleButton &&
      QGuiApplication::clipboard()->supportsSelection()) {
    QApplication::beep();
    event->accept();
    return;
  }
  QPlainTextEdit::mouseReleaseEvent(event);
}

// While a list is written a drop is taken in only to be refused with a beep.
void ListBox::dragEnterEvent(QDragEnterEvent* event) {
  if (beingWritten_ && event->mimeData()->hasText()) {
    event->acceptProposedAction();
    return;
  }
  QPlainTextEdit::dragEnterEvent(event);
}

void ListBox::dragMoveEvent(QDragMoveEvent* event) {
  if (beingWritten_ && event->mimeData()->hasText()) {
    event->acceptProposedAction();
    return;
  }
  QPlainTextEdit::dragMoveEvent(event);
}

// Checked before Qt takes anything out for a move within the list, so that a
// refused drop leaves the list as it was.
void ListBox::dropEvent(QDropEvent* event) {
  if (beingWritten_) {
    QApplication::beep();
    event->setDropAction(Qt::IgnoreAction);
    event->accept();
    return;
  }
  if (!isReadOnly() && event->mimeData()->hasText()) {
    const QTextCursor at = cursorForPosition(event->position().toPoint());
    const bool movedWithin = event->source() == this && event->dropAction() == Qt::MoveAction;
    if (!Takes(WithListLineBreaks(event->mimeData()->text()),
               PlaceAt(at, movedWithin ? SelectedWithCrLf(textCursor()) : 0))) {
      event->ignore();
      return;
    }
  }
  checkedDrop_ = true;
  QPlainTextEdit::dropEvent(event);
  checkedDrop_ = false;
}
