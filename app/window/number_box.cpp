#include "number_box.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMimeData>
#include <QStyleHints>
#include <string>

#include "paste_bounds.h"

namespace {

// From this length on the cursor stands still: laying out a line of ten
// thousand characters takes about a millisecond.
constexpr qsizetype kSteadyCursorLength = 10000;

// Whether the program's cursor stands still for a box.
bool steadyCursor = false;

}  // namespace

NumberBox::NumberBox(QWidget* parent) : QLineEdit(parent) {
  setMaxLength(static_cast<int>(partition::kLongestBoxText));
  connect(this, &QLineEdit::textChanged, this, [this] {
    if (noticeStanding_) {
      noticeStanding_ = false;
      emit NoticeChanged(QString());
    }
    UpdateBlinking();
  });
}

bool NumberBox::Takes(const QString& incoming) {
  const std::string refused = partition::RefusedBoxPaste(
      static_cast<std::size_t>(text().size()), static_cast<std::size_t>(selectedText().size()),
      static_cast<std::size_t>(incoming.size()));
  if (refused.empty()) {
    return true;
  }
  QApplication::beep();
  noticeStanding_ = true;
  emit NoticeChanged(QString::fromStdString(refused));
  return false;
}

void NumberBox::PasteText(const QString& incoming) {
  if (Takes(incoming)) {
    insert(incoming);
  }
}

void NumberBox::keyPressEvent(QKeyEvent* event) {
  if (event->matches(QKeySequence::Paste) && !isReadOnly()) {
    PasteText(QGuiApplication::clipboard()->text());
    event->accept();
    return;
  }
  QLineEdit::keyPressEvent(event);
}

void NumberBox::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::MiddleButton && QGuiApplication::clipboard()->supportsSelection() &&
      !isReadOnly() && rect().contains(event->position().toPoint())) {
    deselect();
    PasteText(QGuiApplication::clipboard()->text(QClipboard::Selection));
    event->accept();
    return;
  }
  QLineEdit::mouseReleaseEvent(event);
}

void NumberBox::contextMenuEvent(QContextMenuEvent* event) {
  QMenu* menu = createStandardContextMenu();
  menu->setAttribute(Qt::WA_DeleteOnClose);
  // The paste action: named "edit-paste" by newer Qt, and captioned with
  // the line edit's own translated "&Paste" by every Qt 6.
  const QString pasteCaption = QCoreApplication::translate("QLineEdit", "&Paste");
  for (QAction* action : menu->actions()) {
    if (action->objectName() == QLatin1String("edit-paste") ||
        action->text().section(QLatin1Char('\t'), 0, 0) == pasteCaption) {
      disconnect(action, &QAction::triggered, nullptr, nullptr);
      connect(action, &QAction::triggered, this,
              [this] { PasteText(QGuiApplication::clipboard()->text()); });
    }
  }
  menu->popup(event->globalPos());
}

void NumberBox::dropEvent(QDropEvent* event) {
  if (event->mimeData()->hasText() && !Takes(event->mimeData()->text())) {
    event->ignore();
    return;
  }
  QLineEdit::dropEvent(event);
}

void NumberBox::focusInEvent(QFocusEvent* event) {
  QLineEdit::focusInEvent(event);
  UpdateBlinking();
}

void NumberBox::focusOutEvent(QFocusEvent* event) {
  QLineEdit::focusOutEvent(event);
  UpdateBlinking();
}

// The flash time is the program's; only the box with the focus blinks, so
// the still cursor is this box's alone. -1 gives the desktop's back.
void NumberBox::UpdateBlinking() {
  const bool steady = hasFocus() && text().size() >= kSteadyCursorLength;
  if (steady != steadyCursor) {
    steadyCursor = steady;
    QGuiApplication::styleHints()->setCursorFlashTime(steady ? 0 : -1);
  }
}
