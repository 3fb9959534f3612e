// A push button whose caption wraps at word boundaries inside the button,
// centred, as long captions of the calculation buttons need.
#pragma once

#include <QPushButton>

class WrappingButton : public QPushButton {
  Q_OBJECT

 public:
  explicit WrappingButton(QWidget* parent = nullptr);

 protected:
  void paintEvent(QPaintEvent* event) override;
};
