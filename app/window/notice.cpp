#include "notice.h"

#include <QAccessible>
#include <algorithm>

Notice::Notice(QWidget* parent) : QLabel(parent) {
  setWordWrap(true);
  setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  hide();
}

void Notice::Show(const QObject* box, const QString& text) {
  std::erase_if(standing_, [box](const auto& notice) { return notice.first == box; });
  if (!text.isEmpty()) {
    standing_.emplace_back(box, text);
  }
  const QString shown = standing_.empty() ? QString() : standing_.back().second;
  setText(shown);
  setAccessibleName(shown);
  setVisible(!shown.isEmpty());
  if (!text.isEmpty()) {
    QAccessibleEvent alert(this, QAccessible::Alert);
    QAccessible::updateAccessibility(&alert);
  }
}
