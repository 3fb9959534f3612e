#include "wrapping_button.h"

#include <QStyleOptionButton>
#include <QStylePainter>

WrappingButton::WrappingButton(QWidget* parent) : QPushButton(parent) {}

void WrappingButton::paintEvent(QPaintEvent* /*event*/) {
  QStylePainter painter(this);
  QStyleOptionButton option;
  initStyleOption(&option);
  const QString caption = option.text;
  option.text.clear();
  painter.drawControl(QStyle::CE_PushButton, option);

  const int margin = style()->pixelMetric(QStyle::PM_ButtonMargin, &option, this);
  const QRect area = option.rect.adjusted(margin, margin, -margin, -margin);
  painter.drawItemText(area, Qt::AlignCenter | Qt::TextWordWrap, option.palette, isEnabled(),
                       caption, QPalette::ButtonText);
}
