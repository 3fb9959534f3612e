// Input held while a window is busy. While the program handles a click (a
// list is written, the event loop turning between its pieces so that the
// window keeps painting), and until what came meanwhile has been handed on,
// the mouse, wheel, pointer-entry, key, context menu and input method events
// meant for the window are kept in the order they came. Afterwards they are
// handed to the window one by one, each handled to its end before the next,
// so that the window ends as it would have for a patient user who waited:
// keys and input method text go to the control that has the focus at their
// turn, a press moves the focus as a click does, a double click is a double
// click. Only the end of the program does not wait.
#pragma once

#include <QObject>
#include <QPointer>
#include <deque>
#include <functional>
#include <memory>

class QAbstractButton;
class QEvent;
class QPoint;
class QWidget;

class InputHold : public QObject {
  Q_OBJECT

 public:
  // Holds input for the top-level `window`. `end` is called at once, whatever
  // is held, for a close of the window and for Space on `endButton` while it
  // has the focus; a mouse press or release on `endButton` passes at once, so
  // that the button is clicked. Watches all of the application's events.
  InputHold(QWidget* window, QAbstractButton* endButton, std::function<void()> end);
  ~InputHold() override;
  InputHold(const InputHold&) = delete;
  InputHold& operator=(const InputHold&) = delete;

  // From Begin until the matching End the window is busy and its input is
  // held; pairs nest.
  void Begin();
  void End();

  // Hands the held input to the window, oldest first. Input that comes
  // meanwhile is held behind it. A call while input is handed on (from a
  // click that held input made) returns at once: the outer call goes on.
  void HandOn();

  // Forgets what is held and holds nothing from now on: the program ends.
  void Stop();

  // Whether held input is being handed on, in this program: what a control
  // gets then was made earlier, and the window system no longer knows of it
  // (a drag cannot wait for a release that has already been made).
  [[nodiscard]] static bool HandingOn();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  struct Held {
    QPointer<QObject> receiver;  // null: the focus at its turn
    std::function<std::unique_ptr<QEvent>()> make;
    int type;
    quint64 timestamp;
    bool pressOfADoubleClick;  // seen by the window alone, as Qt does
  };

  [[nodiscard]] bool OnEndButton(QPoint position) const;
  void FocusAsAClickWould(QPoint position);

  QWidget* window_;
  QAbstractButton* endButton_;
  std::function<void()> end_;
  std::deque<Held> held_;
  int busy_ = 0;
  bool handingOn_ = false;
  bool stopped_ = false;
  bool pressKeptFromTheControl_ = false;
  const QEvent* beingHandedOn_ = nullptr;
};
