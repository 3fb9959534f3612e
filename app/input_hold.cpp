#include "input_hold.h"

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScopeGuard>
#include <QWidget>
#include <QWindow>

namespace {

// What makes a mouse, wheel, pointer-entry, key, context menu or input method
// event anew, to be handled later; null for other events. Qt's pointer events
// share their points with the device, and every later pointer event changes
// them, so those are kept as values and built when they are handed on.
std::function<std::unique_ptr<QEvent>()> KeepForLater(const QEvent* event) {
  switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove: {
      const auto* mouse = static_cast<const QMouseEvent*>(event);
      return [type = mouse->type(), position = mouse->position(), scene = mouse->scenePosition(),
              global = mouse->globalPosition(), button = mouse->button(),
              buttons = mouse->buttons(), modifiers = mouse->modifiers(),
              device = mouse->pointingDevice(), time = mouse->timestamp()] {
        auto made = std::make_unique<QMouseEvent>(type, position, scene, global, button, buttons,
                                                  modifiers, device);
        made->setTimestamp(time);
        return std::unique_ptr<QEvent>(std::move(made));
      };
    }
    case QEvent::Wheel: {
      const auto* wheel = static_cast<const QWheelEvent*>(event);
      return [position = wheel->position(), global = wheel->globalPosition(),
              pixels = wheel->pixelDelta(), angle = wheel->angleDelta(), buttons = wheel->buttons(),
              modifiers = wheel->modifiers(), phase = wheel->phase(), inverted = wheel->inverted(),
              source = wheel->source(), device = wheel->pointingDevice()] {
        return std::unique_ptr<QEvent>(std::make_unique<QWheelEvent>(
            position, global, pixels, angle, buttons, modifiers, phase, inverted, source, device));
      };
    }
    case QEvent::Enter: {
      const auto* enter = static_cast<const QEnterEvent*>(event);
      return [position = enter->position(), scene = enter->scenePosition(),
              global = enter->globalPosition(), device = enter->pointingDevice()] {
        return std::unique_ptr<QEvent>(
            std::make_unique<QEnterEvent>(position, scene, global, device));
      };
    }
    case QEvent::Leave:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::ContextMenu:
    case QEvent::InputMethod:
      return [kept = std::shared_ptr<QEvent>(event->clone())] {
        return std::unique_ptr<QEvent>(kept->clone());
      };
    default:
      return nullptr;
  }
}

int handingOn = 0;  // HandOn calls at work, in all windows

}  // namespace

InputHold::InputHold(QWidget* window, QAbstractButton* endButton, std::function<void()> end)
    : window_(window), endButton_(endButton), end_(std::move(end)) {
  QCoreApplication::instance()->installEventFilter(this);
}

InputHold::~InputHold() = default;

void InputHold::Begin() { ++busy_; }

void InputHold::End() { --busy_; }

bool InputHold::HandingOn() { return handingOn > 0; }

void InputHold::Stop() {
  stopped_ = true;
  held_.clear();
}

bool InputHold::OnEndButton(QPoint position) const {
  return endButton_->isVisible() && endButton_->isEnabled() &&
         endButton_->rect().contains(endButton_->mapFrom(window_, position));
}

bool InputHold::eventFilter(QObject* watched, QEvent* event) {
  // The window takes the press as the start of a click, but keeps it from
  // its control.
  if (pressKeptFromTheControl_ && event->type() == QEvent::MouseButtonPress &&
      watched != window_->windowHandle()) {
    pressKeptFromTheControl_ = false;
    return true;
  }
  if (stopped_ || (busy_ == 0 && held_.empty()) || event == beingHandedOn_) {
    return false;
  }
  // Input methods send their text to the focused control itself, not to the
  // window.
  const bool inputMethod = event->type() == QEvent::InputMethod && watched->isWidgetType() &&
                           static_cast<QWidget*>(watched)->window() == window_;
  if (!inputMethod && watched != window_->windowHandle()) {
    return false;
  }
  const QEvent::Type type = event->type();
  quint64 timestamp = 0;
  switch (type) {
    case QEvent::Close:
      end_();
      return true;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick: {
      const auto* mouse = static_cast<const QMouseEvent*>(event);
      if (OnEndButton(mouse->position().toPoint())) {
        return false;
      }
      timestamp = mouse->timestamp();
      // Qt sends the second press of a double click to the window, and then
      // the double click, which stands for that press in the controls.
      if (type == QEvent::MouseButtonDblClick && !held_.empty() &&
          held_.back().type == QEvent::MouseButtonPress && held_.back().timestamp == timestamp) {
        held_.back().pressOfADoubleClick = true;
      }
      break;
    }
    case QEvent::KeyPress: {
      const auto* key = static_cast<const QKeyEvent*>(event);
      if ((key->key() == Qt::Key_Space || key->key() == Qt::Key_Select) &&
          key->modifiers() == Qt::NoModifier && QApplication::focusWidget() == endButton_) {
        end_();
        return true;
      }
      break;
    }
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop:
      event->ignore();  // nothing is dropped into a busy window
      return true;
    default:
      break;
  }
  auto make = KeepForLater(event);
  if (!make) {
    return false;
  }
  held_.push_back({inputMethod ? nullptr : watched, std::move(make), type, timestamp, false});
  return true;
}

void InputHold::HandOn() {
  if (handingOn_) {
    return;
  }
  handingOn_ = true;
  ++handingOn;
  const auto handed = qScopeGuard([this] {
    handingOn_ = false;
    --handingOn;
  });
  while (!held_.empty() && !stopped_) {
    const Held next = std::move(held_.front());
    held_.pop_front();
    QObject* receiver = next.receiver;
    if (next.type == QEvent::InputMethod) {
      receiver = QGuiApplication::focusObject();
      if (receiver == nullptr || !receiver->isWidgetType() ||
          static_cast<QWidget*>(receiver)->window() != window_) {
        continue;
      }
    }
    if (receiver == nullptr) {
      continue;
    }
    const std::unique_ptr<QEvent> event = next.make();
    if (next.type == QEvent::MouseButtonPress || next.type == QEvent::MouseButtonDblClick) {
      FocusAsAClickWould(static_cast<QMouseEvent*>(event.get())->position().toPoint());
    }
    beingHandedOn_ = event.get();
    pressKeptFromTheControl_ = next.pressOfADoubleClick;
    QCoreApplication::sendEvent(receiver, event.get());
    pressKeptFromTheControl_ = false;
    beingHandedOn_ = nullptr;
  }
}

// Qt moves the focus on a press that comes from the window system, before
// the control sees it; a press handed on later must do so itself.
void InputHold::FocusAsAClickWould(QPoint position) {
  for (QWidget* control = window_->childAt(position); control != nullptr && control != window_;
       control = control->parentWidget()) {
    QWidget* focusTaker = control->focusProxy() != nullptr ? control->focusProxy() : control;
    if (focusTaker->hasFocus()) {
      return;
    }
    if (control->isEnabled() && (focusTaker->focusPolicy() & Qt::ClickFocus) != 0) {
      control->setFocus(Qt::MouseFocusReason);
      return;
    }
  }
}
