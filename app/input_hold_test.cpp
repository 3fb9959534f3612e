// Input made on a plain window while it is busy: nothing of it acts during
// the busy time, and once it is handed on the window stands as it would for
// a patient user who made the same input afterwards. Input comes through
// the window system's queue, as a desktop delivers it, on the offscreen
// platform.
#include <qpa/qwindowsysteminterface.h>
#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTextCursor>
#include <QtTest>
#include <functional>
#include <vector>

#include "input_hold.h"
#include "list_box.h"

namespace {

using Async = QWindowSystemInterface::AsynchronousDelivery;

// Writes down every input event it gets.
class Pad : public QWidget {
 public:
  explicit Pad(QWidget* parent) : QWidget(parent) { setFocusPolicy(Qt::StrongFocus); }
  QStringList log;

 protected:
  bool event(QEvent* event) override {
    switch (event->type()) {
      case QEvent::MouseButtonPress:
      case QEvent::MouseButtonRelease:
      case QEvent::MouseButtonDblClick:
        log << QStringLiteral("%1 %2")
                   .arg(event->type())
                   .arg(static_cast<QMouseEvent*>(event)->button());
        break;
      case QEvent::Wheel:
        log << QStringLiteral("wheel %1").arg(static_cast<QWheelEvent*>(event)->angleDelta().y());
        break;
      case QEvent::KeyPress:
        log << QStringLiteral("key %1").arg(static_cast<QKeyEvent*>(event)->key());
        break;
      case QEvent::ContextMenu:
        log << QStringLiteral("menu");
        break;
      default:
        break;
    }
    return QWidget::event(event);
  }
};

// Boxes a and b, a list, the pad and an end button, on a window that holds
// its input while busy.
struct Window {
  Window() {
    top.setGeometry(50, 50, 400, 300);
    a->setGeometry(10, 10, 150, 30);
    b->setGeometry(10, 50, 150, 30);
    pad->setGeometry(10, 100, 150, 100);
    end->setGeometry(10, 220, 100, 30);
    list->setGeometry(200, 10, 190, 150);
    list->setPlainText(QStringLiteral("eins zwei drei"));
    QTextCursor zwei(list->document());
    zwei.setPosition(5);
    zwei.setPosition(9, QTextCursor::KeepAnchor);
    list->setTextCursor(zwei);
    top.show();
    top.activateWindow();
    a->setFocus();
  }
  // What the user sees and what the pad got.
  [[nodiscard]] QStringList State() const {
    const QWidget* focus = QApplication::focusWidget();
    return {a->text(), b->text(), list->toPlainText(),
            focus != nullptr ? focus->objectName() : QString(), pad->log.join(QLatin1Char(','))};
  }

  QWidget top;
  QLineEdit* a = Named(new QLineEdit(&top), "a");
  QLineEdit* b = Named(new QLineEdit(&top), "b");
  Pad* pad = Named(new Pad(&top), "pad");
  QPushButton* end = Named(new QPushButton(&top), "end");
  ListBox* list = Named(new ListBox(&top), "list");
  int ended = 0;
  InputHold hold{&top, end, [this] { ++ended; }};

 private:
  template <typename Control>
  static Control* Named(Control* control, const char* name) {
    control->setObjectName(QString::fromLatin1(name));
    return control;
  }
};

using Step = std::function<void(Window&)>;

void Mouse(Window& w, QWidget* on, QPoint at, QEvent::Type type, Qt::MouseButton button,
           Qt::MouseButtons buttons) {
  const QPointF local = on->mapTo(&w.top, at);
  QWindowSystemInterface::handleMouseEvent<Async>(w.top.windowHandle(), local,
                                                  w.top.mapToGlobal(local), buttons, button, type);
}

Step Click(const char* name, QPoint at, Qt::MouseButton button = Qt::LeftButton) {
  return [=](Window& w) {
    QWidget* on = w.top.findChild<QWidget*>(QLatin1String(name));
    Mouse(w, on, at, QEvent::MouseMove, Qt::NoButton, Qt::NoButton);
    Mouse(w, on, at, QEvent::MouseButtonPress, button, button);
    Mouse(w, on, at, QEvent::MouseButtonRelease, button, Qt::NoButton);
  };
}

Step Key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier, const QString& text = {}) {
  return [=](Window& w) {
    for (const auto type : {QEvent::KeyPress, QEvent::KeyRelease}) {
      QWindowSystemInterface::handleKeyEvent<Async>(w.top.windowHandle(), type, key, modifiers,
                                                    text);
    }
  };
}

Step Type(char c) { return Key(Qt::Key_A + (c - 'a'), Qt::NoModifier, QString(QLatin1Char(c))); }

// An input method commits text to the control that has the focus.
Step Commit(const QString& text) {
  return [=](Window&) {
    QInputMethodEvent commit;
    commit.setCommitString(text);
    QCoreApplication::sendEvent(QGuiApplication::focusObject(), &commit);
  };
}

// A press on "zwei" in the list, moved onto box b, released there.
Step DragZweiOntoB() {
  return [](Window& w) {
    const QPoint zwei = w.list->cursorRect(w.list->textCursor()).center() - QPoint(10, 0);
    Mouse(w, w.list->viewport(), zwei, QEvent::MouseMove, Qt::NoButton, Qt::NoButton);
    Mouse(w, w.list->viewport(), zwei, QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton);
    for (const QPoint step : {QPoint(-20, 0), QPoint(-120, 20), QPoint(-200, 40)}) {
      Mouse(w, w.list->viewport(), zwei + step, QEvent::MouseMove, Qt::NoButton, Qt::LeftButton);
    }
    Mouse(w, w.b, QPoint(20, 15), QEvent::MouseMove, Qt::NoButton, Qt::LeftButton);
    Mouse(w, w.b, QPoint(20, 15), QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton);
  };
}

void Run(Window& w, const std::vector<Step>& steps) {
  for (const Step& step : steps) {
    step(w);
    QCoreApplication::processEvents();
  }
}

}  // namespace

class InputHoldTest : public QObject {
  Q_OBJECT

 private slots:
  void heldInputEndsAsAPatientUsersWould_data();
  void heldInputEndsAsAPatientUsersWould();
};

void InputHoldTest::heldInputEndsAsAPatientUsersWould_data() {
  QTest::addColumn<std::vector<Step>>("steps");
  QTest::addColumn<QStringList>("patient");  // a, b, list, focus, pad's log
  // The offscreen platform ends a drag at its release without a drop; the
  // patient result of a drag is what Qt's drag and drop gives on a desktop.
  QTest::addColumn<bool>("patientHere");

  const QString press = QString::number(QEvent::MouseButtonPress);
  const QString release = QString::number(QEvent::MouseButtonRelease);
  const QString twice = QString::number(QEvent::MouseButtonDblClick);
  QTest::newRow("keys with modifiers, to the focus at their turn")
      << std::vector<Step>{Click("a", {5, 5}), Type('x'),
                           Type('y'),          Key(Qt::Key_Left, Qt::ShiftModifier),
                           Type('z'),          Key(Qt::Key_Tab),
                           Type('w')}
      << QStringList{"xz", "w", "eins zwei drei", "b", ""} << true;
  QTest::newRow("input method text, to the focus at its turn")
      << std::vector<Step>{Click("b", {5, 5}), Type('n'), Commit(QStringLiteral("\u00e4"))}
      << QStringList{"", "n\u00e4", "eins zwei drei", "b", ""} << true;
  QTest::newRow("a double click, no extra press")
      << std::vector<Step>{Click("pad", {5, 5}), Click("pad", {5, 5})}
      << QStringList{"", "", "eins zwei drei", "pad",
                     QStringList{press + " 1", release + " 1", twice + " 1", release + " 1"}.join(
                         ',')}
      << true;
  QTest::newRow("wheel, middle click, context menu, keys on the pad")
      << std::vector<Step>{[](Window& w) {
                             QWindowSystemInterface::handleWheelEvent(
                                 w.top.windowHandle(), QPointF(20, 120),
                                 w.top.mapToGlobal(QPointF(20, 120)), QPoint(), QPoint(0, 120));
                           },
                           Click("pad", {30, 30}, Qt::MiddleButton),
                           Click("pad", {30, 30}, Qt::RightButton),
                           Key(Qt::Key_Q, Qt::ControlModifier)}
      << QStringList{"", "", "eins zwei drei", "pad",
                     QStringList{"wheel 120", press + " 4", release + " 4", press + " 2", "menu",
                                 release + " 2", "key 81"}
                         .join(',')}
      << true;
  QTest::newRow("a drag of selected text ends with its release, and input after it follows")
      << std::vector<Step>{DragZweiOntoB(), Click("list", {5, 5}), Type('v')}
      << QStringList{"", "zwei", "veins  drei", "list", ""} << false;
}

// With the hold removed, input acts while the window is busy; handed on in
// another way, it ends elsewhere, twice, or waits on a drag that never ends.
void InputHoldTest::heldInputEndsAsAPatientUsersWould() {
  QFETCH(std::vector<Step>, steps);
  QFETCH(QStringList, patient);
  QFETCH(bool, patientHere);
  if (patientHere) {
    Window w;
    QVERIFY(QTest::qWaitForWindowActive(&w.top));
    Run(w, steps);
    QCOMPARE(w.State(), patient);
  }
  Window w;
  QVERIFY(QTest::qWaitForWindowActive(&w.top));
  const QStringList before = w.State();
  w.hold.Begin();
  Run(w, steps);
  QCOMPARE(w.State(), before);
  w.hold.End();
  w.hold.HandOn();
  QCOMPARE(w.State(), patient);
  QCOMPARE(w.ended, 0);
}

QTEST_MAIN(InputHoldTest)
#include "input_hold_test.moc"
