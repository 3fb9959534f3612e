#include "list_box.h"

#include <QApplication>
#include <QMimeData>
#include <QMouseEvent>
#include <QStringEncoder>
#include <QTextCursor>
#include <algorithm>
#include <memory>

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
  connect(document(), &QTextDocument::contentsChange, this, [this] { wholeText_ = nullptr; });
}

void ListBox::SetWholeTextSource(WholeText wholeText) { wholeText_ = std::move(wholeText); }

QMimeData* ListBox::createMimeDataFromSelection() const {
  // A megabyte of characters at a time: the UTF-8 text grows, the rest stays
  // small.
  constexpr int kCharactersAtATime = 1 << 20;
  QTextCursor cursor = textCursor();
  const int start = cursor.selectionStart();
  const int end = cursor.selectionEnd();
  if (wholeText_ && start == 0 && end == document()->characterCount() - 1) {
    return new WrittenWhenAsked(wholeText_, end);
  }
  QStringEncoder toUtf8(QStringEncoder::Utf8);
  QByteArray text;
  text.reserve(end - start);
  for (int from = start; from < end; from += kCharactersAtATime) {
    cursor.setPosition(from);
    cursor.setPosition(std::min(end, from + kCharactersAtATime), QTextCursor::KeepAnchor);
    QString part = cursor.selectedText();
    // What a plain copy makes of the line breaks, and of the spaces a user
    // may type.
    part.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    part.replace(QChar::LineSeparator, QLatin1Char('\n'));
    part.replace(QChar::Nbsp, QLatin1Char(' '));
    text.append(toUtf8.encode(part));
  }
  auto* mime = new QMimeData;
  mime->setData(QStringLiteral("text/plain"), text);
  return mime;
}

void ListBox::insertFromMimeData(const QMimeData* source) {
  if (isReadOnly() || !source->hasText()) {
    QPlainTextEdit::insertFromMimeData(source);
    return;
  }
  textCursor().insertText(source->text());
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
