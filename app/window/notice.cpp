#include "notice.h"

#include <QAccessible>
#include <algorithm>

#include "announcer.h"

Notice::Notice(QWidget* parent) : QLabel(parent) {
  setWordWrap(true);
  setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
  Announcer::BeAnAlert();
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
  if (!text.isEmpty()) {
    hide();  // shown anew: a screen reader reads the alert again
  }
  setVisible(!shown.isEmpty());
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
  if (!text.isEmpty()) {
    QAccessibleAnnouncementEvent announcement(this, text);
    announcement.setPoliteness(QAccessible::AnnouncementPoliteness::Assertive);
    QAccessible::updateAccessibility(&announcement);
  }
#endif
}
