#include "notice.h"

#include <QAccessible>

Notice::Notice(QWidget* parent) : QLabel(parent) {
  setObjectName(QStringLiteral("Notice"));
  setWordWrap(true);
  setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  hide();
}

void Notice::Show(const QString& text) {
  setText(text);
  setAccessibleName(text);
  setVisible(!text.isEmpty());
  if (!text.isEmpty()) {
    QAccessibleEvent alert(this, QAccessible::Alert);
    QAccessible::updateAccessibility(&alert);
  }
}
