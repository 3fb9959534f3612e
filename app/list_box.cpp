#include "list_box.h"

#include <QApplication>
#include <QLocale>
#include <QMimeData>
#include <QMouseEvent>
#include <QTextBlock>
#include <QTextCursor>
#include <algorithm>
#include <memory>

#include "calculation.h"
#include "input_hold.h"

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

bool ListBox::Takes(const QString& incoming) {
  // The lines the paste makes, and its length with CR LF line ends.
  qsizetype first = -1;
  qsizetype line = 0;
  qsizetype longest = 0;
  qsizetype breaks = 0;
  qsizetype characters = 0;
  for (qsizetype i = 0; i < incoming.size(); ++i) {
    const QChar c = incoming[i];
    if (c == QLatin1Char('\r') && i + 1 < incoming.size() && incoming[i + 1] == QLatin1Char('\n')) {
      continue;
    }
    if (c == QLatin1Char('\n') || c == QLatin1Char('\r') || c == QChar::ParagraphSeparator ||
        c == QChar::LineSeparator) {
      first = first < 0 ? line : first;
      longest = std::max(longest, line);
      line = 0;
      ++breaks;
    } else {
      ++line;
      ++characters;
    }
  }
  const QTextCursor cursor = textCursor();
  const QTextBlock startBlock = document()->findBlock(cursor.selectionStart());
  const QTextBlock endBlock = document()->findBlock(cursor.selectionEnd());
  const qsizetype before = cursor.selectionStart() - startBlock.position();
  const qsizetype after = endBlock.position() + endBlock.length() - 1 - cursor.selectionEnd();
  longest = breaks == 0 ? before + line + after : std::max({longest, before + first, line + after});
  // A line break counts twice, as CR LF.
  const qsizetype shown = document()->characterCount() - 1 + document()->blockCount() - 1;
  const qsizetype selected = cursor.selectionEnd() - cursor.selectionStart() +
                             endBlock.blockNumber() - startBlock.blockNumber();
  const qsizetype length = shown - selected + characters + 2 * breaks;
  const QLocale german(QLocale::German);
  QString notice;
  if (longest > kLongestPastedLine) {
    notice = QStringLiteral(
                 "Nicht eingef\u00fcgt: eine Zeile von %1 Zeichen, eine Zeile der Liste "
                 "hat h\u00f6chstens %2.")
                 .arg(german.toString(longest), german.toString(kLongestPastedLine));
  } else if (static_cast<std::size_t>(length) > partition::kMaxListBytes) {
    notice = QStringLiteral(
                 "Nicht eingef\u00fcgt: die Liste h\u00e4tte %1 Zeichen, sie "
                 "nimmt h\u00f6chstens %2.")
                 .arg(german.toString(length),
                      german.toString(static_cast<qulonglong>(partition::kMaxListBytes)));
  } else {
    return true;
  }
  QApplication::beep();
  noticeStanding_ = true;
  emit NoticeChanged(notice);
  return false;
}

void ListBox::insertFromMimeData(const QMimeData* source) {
  if (isReadOnly() || !source->hasText()) {
    QPlainTextEdit::insertFromMimeData(source);
    return;
  }
  const QString text = source->text();
  if (!Takes(text)) {
    return;
  }
  textCursor().insertText(text);
  ensureCursorVisible();
}

void ListBox::mousePressEvent(QMouseEvent* event) {
  dragFrom_.reset();
  dragging_ = false;
  const QTextCursor selection = textCursor();
  if (InputHold::HandingOn() && event->button() == Qt::LeftButton &&
      event->modifiers() == Qt::NoModifier && selection.hasSelection()) {
    const int at = cursorForPosition(event->position().toPoint()).position();
    if (at >= selection.selectionStart() && at < selection.selectionEnd()) {
      dragFrom_ = event->position();
      event->accept();
      return;
    }
  }
  QPlainTextEdit::mousePressEvent(event);
}

void ListBox::mouseMoveEvent(QMouseEvent* event) {
  if (!dragFrom_) {
    QPlainTextEdit::mouseMoveEvent(event);
    return;
  }
  dragging_ = dragging_ || (event->position() - *dragFrom_).manhattanLength() >=
                               QApplication::startDragDistance();
  event->accept();
}

void ListBox::mouseReleaseEvent(QMouseEvent* event) {
  if (!dragFrom_) {
    QPlainTextEdit::mouseReleaseEvent(event);
    return;
  }
  const QPointF from = *dragFrom_;
  dragFrom_.reset();
  if (dragging_) {
    dragging_ = false;
    DropSelection(viewport()->mapTo(window(), event->position().toPoint()), event->modifiers());
    event->accept();
    return;
  }
  // No drag after all: the press and release of a click.
  QMouseEvent press(QEvent::MouseButtonPress, from, viewport()->mapToGlobal(from), Qt::LeftButton,
                    Qt::LeftButton, Qt::NoModifier, event->pointingDevice());
  QPlainTextEdit::mousePressEvent(&press);
  QPlainTextEdit::mouseReleaseEvent(event);
}

void ListBox::DropSelection(QPointF position, Qt::KeyboardModifiers modifiers) {
  QWidget* target = window()->childAt(position.toPoint());
  while (target != nullptr && !target->acceptDrops()) {
    target = target->parentWidget();
  }
  if (target == nullptr) {
    return;  // outside the window, or nothing there takes drops
  }
  const bool move = (modifiers & Qt::ControlModifier) == 0;
  const std::unique_ptr<QMimeData> text(createMimeDataFromSelection());
  const QPoint at = target->mapFrom(window(), position.toPoint());
  if (target == viewport() || target == this) {
    QTextCursor selection = textCursor();
    QTextCursor drop = cursorForPosition(at);
    if (drop.position() >= selection.selectionStart() &&
        drop.position() <= selection.selectionEnd()) {
      return;
    }
    selection.beginEditBlock();
    if (move) {
      selection.removeSelectedText();
    }
    const int start = drop.position();
    drop.insertText(text->text());
    selection.endEditBlock();
    drop.setPosition(start, QTextCursor::KeepAnchor);
    setTextCursor(drop);
    return;
  }
  const Qt::DropActions actions = Qt::CopyAction | Qt::MoveAction;
  QDragEnterEvent enter(at, actions, text.get(), Qt::LeftButton, modifiers);
  QCoreApplication::sendEvent(target, &enter);
  if (!enter.isAccepted()) {
    return;
  }
  QDragMoveEvent over(at, actions, text.get(), Qt::LeftButton, modifiers);
  QCoreApplication::sendEvent(target, &over);
  QDropEvent drop(at, actions, text.get(), Qt::LeftButton, modifiers);
  QCoreApplication::sendEvent(target, &drop);
  if (drop.isAccepted() && move) {
    textCursor().removeSelectedText();
  }
}
