#include "announcer.h"

#include <QAccessible>
#include <QAccessibleWidget>

Announcer::Announcer(QWidget* parent) : QWidget(parent) {
  setFocusPolicy(Qt::NoFocus);
  setAttribute(Qt::WA_TransparentForMouseEvents);
  resize(0, 0);
  BeAnAlert();
}

void Announcer::BeAnAlert() {
  static const bool installed = [] {
    QAccessible::installFactory(
        [](const QString& className, QObject* object) -> QAccessibleInterface* {
          auto* widget = qobject_cast<QWidget*>(object);
          if (widget == nullptr ||
              (className != QLatin1String("Announcer") && className != QLatin1String("Notice"))) {
            return nullptr;
          }
          return new QAccessibleWidget(widget, QAccessible::AlertMessage);
        });
    return true;
  }();
  (void)installed;
}

void Announcer::Say(const QString& text, bool urgent) {
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
  setAccessibleName(text);
  QAccessibleAnnouncementEvent announcement(this, text);
  announcement.setPoliteness(urgent ? QAccessible::AnnouncementPoliteness::Assertive
                                    : QAccessible::AnnouncementPoliteness::Polite);
  QAccessible::updateAccessibility(&announcement);
#else
  (void)urgent;
  // Hidden, named and shown anew, so that a reader that keeps the alert's
  // name hears the new words when it shows.
  hide();
  setAccessibleName(text);
  show();
#endif
}
