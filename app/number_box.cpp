#include "number_box.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QLocale>
#include <QMenu>
#include <QMimeData>
#include <QToolTip>

NumberBox::NumberBox(QWidget* parent) : QLineEdit(parent) {}

bool NumberBox::Takes(const QString& incoming) {
  const qsizetype length = text().size() - selectedText().size() + incoming.size();
  if (length <= maxLength()) {
    return true;
  }
  QApplication::beep();
  const QLocale german(QLocale::German);
  QToolTip::showText(mapToGlobal(QPoint(0, height())),
                     QStringLiteral("Nicht eingef\u00fcgt: %1 Zeichen, ein Feld nimmt "
                                    "h\u00f6chstens %2.")
                         .arg(german.toString(incoming.size()), german.toString(maxLength())),
                     this);
  return false;
}

void NumberBox::keyPressEvent(QKeyEvent* event) {
  if (event->matches(QKeySequence::Paste) && !isReadOnly() &&
      !Takes(QGuiApplication::clipboard()->text())) {
    event->accept();
    return;
  }
  QLineEdit::keyPressEvent(event);
}

void NumberBox::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::MiddleButton && QGuiApplication::clipboard()->supportsSelection() &&
      !isReadOnly() && !Takes(QGuiApplication::clipboard()->text(QClipboard::Selection))) {
    event->accept();
    return;
  }
  QLineEdit::mouseReleaseEvent(event);
}

void NumberBox::contextMenuEvent(QContextMenuEvent* event) {
  QMenu* menu = createStandardContextMenu();
  menu->setAttribute(Qt::WA_DeleteOnClose);
  // The menu's paste action, told apart by what it is connected to (Qt
  // connects it one way or the other, depending on its version).
  for (QAction* action : menu->actions()) {
    if (disconnect(action, &QAction::triggered, this, &QLineEdit::paste) ||
        disconnect(action, SIGNAL(triggered()), this, SLOT(paste()))) {
      connect(action, &QAction::triggered, this, [this] {
        if (Takes(QGuiApplication::clipboard()->text())) {
          paste();
        }
      });
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
