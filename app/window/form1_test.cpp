// Drives the real window with mouse clicks and keys on the offscreen platform.
#include <private/qguiapplication_p.h>
#include <qpa/qplatformaccessibility.h>
#include <qpa/qplatformintegration.h>
#include <qpa/qwindowsysteminterface.h>
#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QStyle>
#include <QStyleFactory>
#include <QTimer>
#include <QtTest>
#include <cmath>
#include <functional>
#include <memory>
#include <new>

#include "command_line.h"
#include "counters.h"
#include "form1.h"
#include "qt_german.h"

namespace {

// What the runtime error report showed, and how the program ended.
struct Report {
  bool shown = false;
  QString title;
  QString text;
  std::string listBehind;
  int exitCode = -1;
};

// The contrast ratio, as the accessibility guidelines define it (1 to 21),
// between the background of `area` in `shot`, the colour at its top left
// corner, and the colour that stands out most from it: the text.
double TextContrast(const QImage& shot, const QRect& area) {
  const auto luminance = [](QRgb c) {
    const auto linear = [](int v) {
      const double s = v / 255.0;
      return s <= 0.04045 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(qRed(c)) + 0.7152 * linear(qGreen(c)) + 0.0722 * linear(qBlue(c));
  };
  const double background = luminance(shot.pixel(area.topLeft()));
  double best = 1;
  for (int y = area.top(); y <= area.bottom(); ++y) {
    for (int x = area.left(); x <= area.right(); ++x) {
      const double text = luminance(shot.pixel(x, y));
      best =
          std::max(best, (std::max(text, background) + 0.05) / (std::min(text, background) + 0.05));
    }
  }
  return best;
}

// Counts the paint events a control gets.
class PaintCounter : public QObject {
 public:
  explicit PaintCounter(QWidget* control) { control->installEventFilter(this); }
  int paints = 0;

 protected:
  bool eventFilter(QObject* /*watched*/, QEvent* event) override {
    paints += event->type() == QEvent::Paint ? 1 : 0;
    return false;
  }
};

}  // namespace

class Form1Test : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase();
  void init();
  void cleanup();

  void startsWithTheInitialValues();
  void calculationButtonsWriteTheDefaultLists();
  void typedInputIsReadOnTheClick();
  void aNewListShowsItsTop();
  void stepButtonsChangeTheirBox_data();
  void stepButtonsChangeTheirBox();
  void clearEmptiesOnlyTheList();
  void tabWalksTheFocusOrder();
  void runtimeErrorsAreReportedAndEndTheProgram_data();
  void runtimeErrorsAreReportedAndEndTheProgram();
  void otherFailuresAreReportedAsOutOfMemory();
  void endeEndsTheProgram();
  void largeListsAppearQuickly();
  void controlsHaveGermanAccessibleNames_data();
  void controlsHaveGermanAccessibleNames();
  void keyboardAloneRunsACalculation();
  void windowCarriesItsIcon();
  void textsStayLegibleUnderADarkScheme();
  void qtTextsAreGerman();
  void aRunningListLeavesTheWindowLive();
  void theCheckBoxGivesWholeCounts();
  void screenReadersHearTheNews();
  void endingDuringALongListIsPrompt_data();
  void endingDuringALongListIsPrompt();
  void commandLinePrintsTheWindowsList();
  void longPastesAreTakenWholeOrNotAtAll_data();
  void longPastesAreTakenWholeOrNotAtAll();
  void copyingTheListGivesItsPlainText();
  void aLongBoxHoldsItsCursorStill();

 private:
  QLineEdit* Box(const char* name) const {
    return form_->findChild<QLineEdit*>(QString::fromLatin1(name));
  }
  QPushButton* Button(const QString& name) const { return form_->findChild<QPushButton*>(name); }
  QPlainTextEdit* List() const {
    return form_->findChild<QPlainTextEdit*>(QStringLiteral("Text3"));
  }
  void Click(const QString& name) const { QTest::mouseClick(Button(name), Qt::LeftButton); }
  // Waits until no list is being written and no click waits for one.
  void WaitForTheLists() const { QTRY_VERIFY_WITH_TIMEOUT(!form_->Busy(), 60000); }
  // A click on a calculation button, and its list written.
  void Calculate(const QString& name) const {
    Click(name);
    WaitForTheLists();
  }
  // The pointer moved onto a control, pressed and released, queued as the
  // window system delivers it, for the event loop to take up.
  void ClickAsTheDesktopWould(const QString& name) const {
    const QPointF at = form_->findChild<QWidget*>(name)->geometry().center();
    for (const auto type :
         {QEvent::MouseMove, QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
      QWindowSystemInterface::handleMouseEvent<QWindowSystemInterface::AsynchronousDelivery>(
          form_->windowHandle(), at, form_->mapToGlobal(at),
          type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
          type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, type);
    }
  }
  void Type(const char* box, const QString& text) const {
    Box(box)->selectAll();
    QTest::keyClicks(Box(box), text);
  }
  // Does `action` inside the program's event loop, answers the report if one
  // comes, and returns how the loop ended.
  Report RunUntilTheProgramEnds(const std::function<void()>& action);
  Report ClickUntilTheProgramEnds(const QString& button) {
    return RunUntilTheProgramEnds([this, button] { Click(button); });
  }

  std::unique_ptr<Form1> form_;
};

void Form1Test::initTestCase() { QVERIFY(UseQtGermanTexts(*qApp)); }

void Form1Test::init() {
  form_ = std::make_unique<Form1>();
  form_->show();
  QVERIFY(QTest::qWaitForWindowExposed(form_.get()));
}

void Form1Test::cleanup() { form_.reset(); }

void Form1Test::startsWithTheInitialValues() {
  QCOMPARE(Box("Text1")->text(), QStringLiteral("0"));
  QCOMPARE(Box("Text2")->text(), QStringLiteral("4"));
  QCOMPARE(Box("Text4")->text(), QStringLiteral("15"));
  QCOMPARE(List()->toPlainText(), QString());
  QCOMPARE(form_->focusWidget(), Box("Text1"));
}

void Form1Test::calculationButtonsWriteTheDefaultLists() {
  Calculate(QStringLiteral("Command1"));
  const std::string distinct = form_->ListText();
  QVERIFY(distinct.starts_with("Summanden von 1 bis  4\r\n 0  ( 10):   1\r\n"));
  QVERIFY(
      distinct.ends_with(" 10  (-10):   1\r\n 11  (-12):   0\r\n"
                         " 12  (-14):   0\r\n 13  (-16):   0\r\n"
                         " 14  (-18):   0\r\n 15  (-20):   0\r\n"));
  // What a user sees and copies: one line per list line, plain line feeds.
  const QStringList lines = List()->toPlainText().split(QLatin1Char('\n'));
  QCOMPARE(lines.size(), 18);  // header, 16 lines, and the empty line after
  QCOMPARE(lines[6], QStringLiteral(" 5  ( 0):   2"));
  QVERIFY(!List()->toPlainText().contains(QLatin1Char('\r')));

  Calculate(QStringLiteral("Command2"));
  const std::string repeated = form_->ListText();
  QVERIFY(repeated.starts_with("Summanden von 1 bis  4\r\n 0  ( 10):   1\r\n"));
  QVERIFY(repeated.ends_with(" 14  (-18):   47\r\n 15  (-20):   54\r\n"));
}

void Form1Test::typedInputIsReadOnTheClick() {
  Type("Text1", QStringLiteral("2.5"));
  Type("Text2", QStringLiteral("4,5"));
  Type("Text4", QStringLiteral("1 5"));
  Calculate(QStringLiteral("Command1"));
  const QStringList lines = List()->toPlainText().split(QLatin1Char('\n'));
  QCOMPARE(lines.first(), QStringLiteral("Summanden von 1 bis  4"));
  QCOMPARE(lines[1], QStringLiteral(" 2  ( 6):   1"));
  QCOMPARE(lines[17], QStringLiteral(" 18  (-26):   0"));
  QCOMPARE(lines.size(), 19);
}

void Form1Test::aNewListShowsItsTop() {
  Type("Text4", QStringLiteral("500"));
  Calculate(QStringLiteral("Command2"));
  QScrollBar* scroll = List()->verticalScrollBar();
  QVERIFY(scroll->maximum() > 0);
  scroll->setValue(scroll->maximum());
  Calculate(QStringLiteral("Command1"));
  QCOMPARE(scroll->value(), 0);
}

void Form1Test::stepButtonsChangeTheirBox_data() {
  QTest::addColumn<QString>("box");
  QTest::addColumn<QString>("start");
  QTest::addColumn<QStringList>("buttons");
  QTest::addColumn<QStringList>("texts");  // the box after each click

  QTest::newRow("k -10 from 4 clamps to a bare 0")
      << "Text2"
      << "4" << QStringList{"Command7"} << QStringList{"0"};
  QTest::newRow("k -1 down to 0, then clamped")
      << "Text2"
      << "4" << QStringList{"Command8", "Command8", "Command8", "Command8", "Command8"}
      << QStringList{" 3", " 2", " 1", " 0", "0"};
  QTest::newRow("k from 0: -1 clamps, +1 counts up")
      << "Text2"
      << "0" << QStringList{"Command8", "Command10"} << QStringList{"0", " 1"};
  QTest::newRow("k fraction below zero clamps")
      << "Text2"
      << "0.5" << QStringList{"Command8"} << QStringList{"0"};
  QTest::newRow("k +10 and -10") << "Text2"
                                 << "7" << QStringList{"Command9", "Command7"}
                                 << QStringList{" 17", " 7"};
  QTest::newRow("n goes below zero unclamped")
      << "Text1"
      << "0" << QStringList{"Command4", "Command3"} << QStringList{"-1", "-11"};
  QTest::newRow("n fraction +10") << "Text1"
                                  << "2.5" << QStringList{"Command5"} << QStringList{" 12.5"};
  QTest::newRow("n +1 and +10 from negative")
      << "Text1"
      << "-15" << QStringList{"Command6", "Command5", "Command5"} << QStringList{"-14", "-4", " 6"};
  QTest::newRow("n that is no number counts as 0")
      << "Text1"
      << "abc" << QStringList{"Command6"} << QStringList{" 1"};
  QTest::newRow("n huge switches to exponent form")
      << "Text1"
      << "999999999999999" << QStringList{"Command5"} << QStringList{" 1.00000000000001E+15"};
}

void Form1Test::stepButtonsChangeTheirBox() {
  QFETCH(QString, box);
  QFETCH(QString, start);
  QFETCH(QStringList, buttons);
  QFETCH(QStringList, texts);
  QLineEdit* edit = Box(box.toLatin1().constData());
  QLineEdit* other = Box(box == QLatin1String("Text1") ? "Text2" : "Text1");
  const QString otherText = other->text();
  edit->setText(start);
  for (qsizetype i = 0; i < buttons.size(); ++i) {
    Click(buttons[i]);
    QCOMPARE(edit->text(), texts[i]);
  }
  QCOMPARE(other->text(), otherText);
}

void Form1Test::clearEmptiesOnlyTheList() {
  Click(QStringLiteral("cmdClr"));
  QCOMPARE(List()->toPlainText(), QString());
  Type("Text1", QStringLiteral("3"));
  Calculate(QStringLiteral("Command2"));
  QVERIFY(!List()->toPlainText().isEmpty());
  Click(QStringLiteral("cmdClr"));
  QCOMPARE(List()->toPlainText(), QString());
  QCOMPARE(Box("Text1")->text(), QStringLiteral("3"));
  QCOMPARE(Box("Text2")->text(), QStringLiteral("4"));
  QCOMPARE(Box("Text4")->text(), QStringLiteral("15"));
}

void Form1Test::tabWalksTheFocusOrder() {
  form_->activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(form_.get()));
  QCOMPARE(QApplication::focusWidget(), Box("Text1"));
  const QStringList order = {"Text2",    "Text3",    "chkExact", "Command1",  "Command2",
                             "cmdClr",   "Command3", "Command4", "Command5",  "Command6",
                             "Command7", "Command8", "Command9", "Command10", "Command11",
                             "Text4",    "Text1"};
  for (const QString& expected : order) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget()->objectName(), expected);
  }
  QCOMPARE(List()->toPlainText(), QString());  // Tab typed nothing
}

Report Form1Test::RunUntilTheProgramEnds(const std::function<void()>& action) {
  Report report;
  QTimer answer;
  connect(&answer, &QTimer::timeout, this, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr) {
      return;
    }
    report.shown = true;
    report.title = box->windowTitle();
    report.text = box->text();
    report.listBehind = form_->ListText();
    box->button(QMessageBox::Ok)->click();
  });
  answer.start(10);
  QTimer::singleShot(0, this, action);
  // A timer of its own, so that a call that ended in time leaves no stray
  // deadline behind to end a later call's run.
  QTimer deadline;
  deadline.setSingleShot(true);
  connect(&deadline, &QTimer::timeout, this, [] { QCoreApplication::exit(-1); });
  deadline.start(10000);
  report.exitCode = QApplication::exec();
  return report;
}

void Form1Test::runtimeErrorsAreReportedAndEndTheProgram_data() {
  QTest::addColumn<QString>("n");
  QTest::addColumn<QString>("k");
  QTest::addColumn<QString>("m");
  QTest::addColumn<QString>("button");
  QTest::addColumn<QString>("listBehind");

  QTest::newRow("count past a Long, list written so far behind")
      << "225"
      << "300"
      << "5"
      << "Command1"
      << "Summanden von 1 bis  300\r\n 225  ( 44700):   2114965120\r\n"
         " 226  ( 44698):  ";
  QTest::newRow("n beyond the double range keeps the old list") << "1E400"
                                                                << "4"
                                                                << "15"
                                                                << "Command2"
                                                                << "";
  QTest::newRow("step on n beyond the double range") << "1E400"
                                                     << "4"
                                                     << "15"
                                                     << "Command6"
                                                     << "";
  QTest::newRow("n + m beyond a Long") << "2147483647"
                                       << "4"
                                       << "1"
                                       << "Command2"
                                       << "Summanden von 1 bis  4\r\n";
}

void Form1Test::runtimeErrorsAreReportedAndEndTheProgram() {
  QFETCH(QString, n);
  QFETCH(QString, k);
  QFETCH(QString, m);
  QFETCH(QString, button);
  QFETCH(QString, listBehind);
  Box("Text1")->setText(n);
  Box("Text2")->setText(k);
  Box("Text4")->setText(m);

  const Report report = ClickUntilTheProgramEnds(button);
  QVERIFY(report.shown);
  QCOMPARE(report.title, QStringLiteral("Partitionen"));
  QCOMPARE(report.text, QStringLiteral("Laufzeitfehler '6':\n\n\u00dcberlauf"));
  QCOMPARE(QString::fromStdString(report.listBehind), listBehind);
  QCOMPARE(report.exitCode, 1);
  QVERIFY(!form_->isVisible());
}

// A list that fails other than with a runtime error, here for want of
// memory in the middle of a long list, is reported as error 7 over the list
// as far as it got, and ends the program.
void Form1Test::otherFailuresAreReportedAsOutOfMemory() {
  const partition::Counter runsOutOfMemory = [](partition::Long n, partition::Long) {
    return n < 25000 ? 1 : throw std::bad_alloc();
  };
  const Report report = RunUntilTheProgramEnds([&] {
    form_->StartList({runsOutOfMemory, "0", "4", "30000"});
  });
  QCOMPARE(report.text, QStringLiteral("Laufzeitfehler '7':\n\nNicht gen\u00fcgend Speicher"));
  QCOMPARE(report.exitCode, 1);
  QVERIFY(report.listBehind.ends_with("\r\n 25000  (-49990):  "));
  QVERIFY(!form_->isVisible());
  QCOMPARE(form_->writer, nullptr);
  QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
  QVERIFY(List()->document()->isUndoRedoEnabled());
}

void Form1Test::endeEndsTheProgram() {
  const Report report = ClickUntilTheProgramEnds(QStringLiteral("Command11"));
  QVERIFY(!report.shown);
  QCOMPARE(report.exitCode, 0);
  QVERIFY(!form_->isVisible());
}

// Reports how long a click takes until the list is shown; asserts only that
// the list arrived whole.
void Form1Test::largeListsAppearQuickly() {
  Type("Text2", QStringLiteral("2"));
  for (const auto& [m, lines] : {std::pair{"99999", 100001}, std::pair{"999999", 1000001}}) {
    Type("Text4", QString::fromLatin1(m));
    QElapsedTimer timer;
    timer.start();
    Calculate(QStringLiteral("Command2"));
    List()->viewport()->repaint();
    const qint64 elapsed = timer.elapsed();
    qInfo("%d lines shown %lld ms after the click", lines, elapsed);
    QCOMPARE(List()->document()->blockCount(), lines + 1);
  }
}

void Form1Test::controlsHaveGermanAccessibleNames_data() {
  QTest::addColumn<QString>("control");
  QTest::addColumn<QString>("name");
  QTest::newRow("list") << "Text3"
                        << "Liste";
  QTest::newRow("n") << "Text1"
                     << "Summe n";
  QTest::newRow("k") << "Text2"
                     << "Summanden von 1 bis k";
  QTest::newRow("m") << "Text4"
                     << "Anzahl der Zahlen ab n";
  QTest::newRow("n +10") << "Command5"
                         << "n um 10 erh\u00f6hen";
  QTest::newRow("n -1") << "Command4"
                        << "n um 1 verringern";
  QTest::newRow("k +1") << "Command10"
                        << "k um 1 erh\u00f6hen";
  QTest::newRow("k -10") << "Command7"
                         << "k um 10 verringern";
  QTest::newRow("clear") << "cmdClr"
                         << "X, Liste leeren";
  QTest::newRow("end") << "Command11"
                       << "Ende, Programm beenden";
  QTest::newRow("calculation 2") << "Command2"
                                 << "Berechnung 2, jede Zahl darf beliebig oft verwendet werden";
}

// What a screen reader speaks for each control.
void Form1Test::controlsHaveGermanAccessibleNames() {
  QFETCH(QString, control);
  QFETCH(QString, name);
  auto* widget = form_->findChild<QWidget*>(control);
  QVERIFY(widget != nullptr);
  QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(widget);
  QVERIFY(accessible != nullptr);
  QCOMPARE(accessible->text(QAccessible::Name), name);
}

// Type n, Tab to calculation 2 and press Space: no mouse needed.
void Form1Test::keyboardAloneRunsACalculation() {
  form_->activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(form_.get()));
  QTest::keyClick(Box("Text1"), Qt::Key_A, Qt::ControlModifier);
  QTest::keyClicks(Box("Text1"), QStringLiteral("5"));
  for (int i = 0; i < 5; ++i) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
  }
  QCOMPARE(QApplication::focusWidget(), Button(QStringLiteral("Command2")));
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
  WaitForTheLists();
  QVERIFY(form_->ListText().starts_with("Summanden von 1 bis  4\r\n 5  ( 0):   6\r\n"));
}

// Every size a desktop asks for, and the larger ones drawn as the 32 pixel
// icon: twice its size, the same colour in every pixel.
void Form1Test::windowCarriesItsIcon() {
  const QList<QSize> sizes = form_->windowIcon().availableSizes();
  for (const char* file : {"16.xpm", "32.xpm", "48.png", "64.png", "128.png", "256.png"}) {
    const QImage image(QStringLiteral(":/icons/partitionen-") + QLatin1String(file));
    QVERIFY2(!image.isNull(), file);
    QVERIFY2(sizes.contains(image.size()), file);
  }
  const QImage small =
      QImage(QStringLiteral(":/icons/partitionen-32.xpm")).convertToFormat(QImage::Format_ARGB32);
  const QImage large =
      QImage(QStringLiteral(":/icons/partitionen-64.png")).convertToFormat(QImage::Format_ARGB32);
  for (int y = 0; y < 32; ++y) {
    for (int x = 0; x < 32; ++x) {
      QCOMPARE(large.pixel(2 * x + 1, 2 * y + 1), small.pixel(x, y));
    }
  }
}

// Under Fusion with qt6ct's "darker" scheme every label, box and button keeps
// at least the 4.5:1 the guidelines ask of text.
void Form1Test::textsStayLegibleUnderADarkScheme() {
  const char* const darker[] = {"#ffffff", "#424245", "#979797", "#5e5c5b", "#302f2e",
                                "#4a4947", "#ffffff", "#ffffff", "#ffffff", "#3d3d3d",
                                "#222020", "#e7e4e0", "#12608a", "#f9f9f9", "#0986d3",
                                "#a70b06", "#5c5b5a", "#ffffff", "#3f3f36", "#ffffff"};
  QPalette palette;
  for (int role = 0; role < 20; ++role) {
    if (role != QPalette::NoRole) {
      palette.setColor(static_cast<QPalette::ColorRole>(role), QColor(darker[role]));
    }
  }
  // The style and palettes a platform theme such as qt6ct sets: one for the
  // program and one for each of these kinds of control.
  const auto useScheme = [](const QString& style, const QPalette& scheme) {
    QApplication::setStyle(QStyleFactory::create(style));
    QApplication::setPalette(scheme);
    for (const char* kind :
         {"QAbstractButton", "QLabel", "QLineEdit", "QTextEdit", "QTextControl"}) {
      QApplication::setPalette(scheme, kind);
    }
  };
  const auto restore =
      qScopeGuard([useScheme, light = QApplication::palette(),
                   style = QApplication::style()->name()] { useScheme(style, light); });
  useScheme(QStringLiteral("Fusion"), palette);  // once the window stands, as qt6ct does
  Calculate(QStringLiteral("Command2"));

  const QImage shot = form_->grab().toImage();
  const QRect list(List()->viewport()->mapTo(form_.get(), QPoint()), List()->viewport()->size());
  std::vector<std::pair<QString, QRect>> texts = {{QStringLiteral("Text3"), list}};
  for (QWidget* widget : form_->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
    const int inset = qobject_cast<QPushButton*>(widget) != nullptr ? 4
                      : qobject_cast<QLineEdit*>(widget) != nullptr ? 2
                                                                    : 0;
    if (widget != List() && widget->objectName() != QLatin1String("Line1") && widget->isVisible() &&
        !widget->size().isEmpty()) {
      texts.emplace_back(widget->objectName(),
                         widget->geometry().adjusted(inset, inset, -inset, -inset));
    }
  }
  QCOMPARE(texts.size(), std::size_t{25});  // 4 boxes, 12 buttons, 8 labels, the check box
  for (const auto& [name, area] : texts) {
    const double contrast = TextContrast(shot, area);
    qInfo("%s %.1f:1", qPrintable(name), contrast);
    QVERIFY2(contrast >= 4.5, qPrintable(name));
  }
}

// Qt's own menus read German, the box's own texts stay as they are.
void Form1Test::qtTextsAreGerman() {
  const std::unique_ptr<QMenu> menu(Box("Text1")->createStandardContextMenu());
  QStringList texts;
  for (const QAction* action : menu->actions()) {
    texts << action->text().section(QLatin1Char('\t'), 0, 0);
  }
  QVERIFY2(texts.contains(QStringLiteral("&R\u00fcckg\u00e4ngig")), qPrintable(texts.join(',')));
  QVERIFY2(texts.contains(QStringLiteral("Alles ausw\u00e4hlen")), qPrintable(texts.join(',')));
}

// While a long list is written the window acts at once on typing and steps,
// the list takes no typing, and clicks on a calculation button or "X" wait
// with the box texts of their moment; afterwards they are handled in the
// order they came, each once. The pointer shows the program busy meanwhile.
void Form1Test::aRunningListLeavesTheWindowLive() {
  Type("Text2", QStringLiteral("2"));
  Type("Text4", QStringLiteral("199999"));
  // The lists that stood in the box, short ones written out whole.
  QStringList shown;
  connect(List(), &QPlainTextEdit::textChanged, this, [&] {
    const QString text =
        List()->document()->blockCount() <= 10 ? List()->toPlainText() : QStringLiteral("long");
    if (shown.isEmpty() || shown.back() != text) {
      shown << text;
    }
  });
  Click(QStringLiteral("Command2"));
  QTRY_VERIFY(List()->document()->blockCount() > 1);
  const auto writing = [this] { return List()->document()->blockCount() < 200001; };
  QVERIFY(writing());
  const QCursor* pointer = QGuiApplication::overrideCursor();
  QVERIFY(pointer != nullptr && pointer->shape() == Qt::BusyCursor);

  Type("Text1", QStringLiteral("3"));
  Click(QStringLiteral("Command6"));
  QCOMPARE(Box("Text1")->text(), QStringLiteral(" 4"));
  List()->setFocus();
  QTest::keyClicks(List(), QStringLiteral("xy"));
  QTest::keyClick(List(), Qt::Key_Backspace);
  QVERIFY(!List()->toPlainText().contains(QLatin1Char('x')));
  Type("Text4", QStringLiteral("3"));
  Click(QStringLiteral("Command1"));  // n " 4", k "2", m "3"
  Type("Text1", QStringLiteral("7"));
  Click(QStringLiteral("cmdClr"));
  Click(QStringLiteral("Command2"));  // n "7"
  Type("Text1", QStringLiteral("9"));
  QVERIFY(writing());

  WaitForTheLists();
  const auto list = [](partition::Counter counter, const char* n) {
    std::string text;
    partition::RunCalculation(counter, n, "2", "3", text);
    QString lines = QString::fromStdString(text);
    return lines.remove(QLatin1Char('\r'));
  };
  QCOMPARE(shown, (QStringList{QStringLiteral("long"), list(partition::CountDistinct, " 4"),
                               QString(), list(partition::CountRepeated, "7")}));
  QCOMPARE(Box("Text1")->text(), QStringLiteral("9"));
  QCOMPARE(QGuiApplication::overrideCursor(), nullptr);
}

// With "Große Anzahlen genau" each count is the whole number, a list past
// its bound is not started but explained, and a click that waits for a list
// keeps the check box of its moment.
void Form1Test::theCheckBoxGivesWholeCounts() {
  auto* exact = form_->findChild<QCheckBox*>(QStringLiteral("chkExact"));
  auto* notice = form_->findChild<QLabel*>(QStringLiteral("lblNotice"));
  Type("Text2", QStringLiteral("2"));
  Type("Text4", QStringLiteral("199999"));
  Click(QStringLiteral("Command2"));  // a long list, counted in Longs
  Type("Text1", QStringLiteral("200"));
  Type("Text2", QStringLiteral("200"));
  Type("Text4", QStringLiteral("0"));
  QTest::mouseClick(exact, Qt::LeftButton);
  Click(QStringLiteral("Command2"));  // waits, exact
  QTest::mouseClick(exact, Qt::LeftButton);
  QVERIFY(form_->Busy());
  WaitForTheLists();
  QVERIFY(form_->isVisible());
  QCOMPARE(form_->ListText(), "Summanden von 1 bis  200\r\n 200  ( 19700):   3972999029388\r\n");

  QTest::mouseClick(exact, Qt::LeftButton);
  Type("Text4", QStringLiteral("199801"));
  Click(QStringLiteral("Command1"));
  QVERIFY(!form_->Busy());
  QVERIFY2(notice->isVisible() && notice->text().endsWith(QStringLiteral("n + m = 200.001.")),
           qPrintable(notice->text()));
  QVERIFY(form_->ListText().ends_with("3972999029388\r\n"));  // the old list stays
  QTest::mouseClick(exact, Qt::LeftButton);
  QVERIFY(!notice->isVisible());
}

// What the window announces on the accessibility bus: announcements where
// Qt has them, else what shows up as an alert.
QStringList alerts;
void HearAlerts(QAccessibleEvent* event) {
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
  if (event->type() == QAccessible::Announcement) {
    alerts << static_cast<QAccessibleAnnouncementEvent*>(event)->message();
  }
#else
  if (event->type() == QAccessible::ObjectShow) {
    QAccessibleInterface* shown = event->accessibleInterface();
    if (shown != nullptr && shown->role() == QAccessible::AlertMessage) {
      alerts << shown->text(QAccessible::Name);
    }
  }
#endif
}

// A list that stands, a step and a refused paste are told to screen readers
// in the page's words.
void Form1Test::screenReadersHearTheNews() {
  QPlatformAccessibility* bus = QGuiApplicationPrivate::platformIntegration()->accessibility();
  QAccessible::installUpdateHandler(HearAlerts);
  bus->setActive(true);
  const auto off = qScopeGuard([bus] {
    QAccessible::installUpdateHandler(nullptr);
    bus->setActive(false);
  });
  alerts.clear();
  Calculate(QStringLiteral("Command1"));
  Click(QStringLiteral("Command6"));
  QGuiApplication::clipboard()->setText(QString(1000001, QLatin1Char('1')));
  Box("Text4")->selectAll();
  QTest::keyClick(Box("Text4"), Qt::Key_V, Qt::ControlModifier);
  QCOMPARE(alerts, (QStringList{QStringLiteral("Liste fertig: 16 Zeilen, die erste: 0  ( 10):   1"),
                                QStringLiteral("Summe n: 1"),
                                QStringLiteral("Nicht eingef\u00fcgt: 1.000.001 Zeichen, ein Feld "
                                               "nimmt h\u00f6chstens 1.000.000.")}));
}

void Form1Test::endingDuringALongListIsPrompt_data() {
  QTest::addColumn<QString>("how");
  QTest::newRow("Ende") << "click";
  QTest::newRow("Space on Ende") << "space";
  QTest::newRow("Return on Ende") << "return";
  QTest::newRow("closing the window") << "close";
}

// "Ende" by mouse or keyboard, or a close of the window, while a long list
// is written ends the program at once with exit code 0, dropping the rest of
// the list and the click on "X" made before it.
void Form1Test::endingDuringALongListIsPrompt() {
  QFETCH(QString, how);
  Type("Text2", QStringLiteral("2"));
  Type("Text4", QStringLiteral("1999999"));
  QElapsedTimer sinceTheEnd;
  QTimer timer;
  connect(&timer, &QTimer::timeout, this, [&] {
    if (sinceTheEnd.isValid() || List()->document()->blockCount() <= 1) {
      return;
    }
    Button(QStringLiteral("cmdClr"))->click();  // waits for the list
    if (how == QLatin1String("close")) {
      QWindowSystemInterface::handleCloseEvent<QWindowSystemInterface::AsynchronousDelivery>(
          form_->windowHandle());
    } else if (how == QLatin1String("space") || how == QLatin1String("return")) {
      const bool space = how == QLatin1String("space");
      for (const auto type : {QEvent::KeyPress, QEvent::KeyRelease}) {
        QWindowSystemInterface::handleKeyEvent<QWindowSystemInterface::AsynchronousDelivery>(
            form_->windowHandle(), type, space ? Qt::Key_Space : Qt::Key_Return, Qt::NoModifier,
            space ? QStringLiteral(" ") : QStringLiteral("\r"));
      }
    } else {
      ClickAsTheDesktopWould(QStringLiteral("Command11"));
    }
    sinceTheEnd.start();
  });
  timer.start(0);
  // The list is started without moving the focus from "Ende".
  form_->activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(form_.get()));
  Button(QStringLiteral("Command11"))->setFocus();
  const Report report =
      RunUntilTheProgramEnds([this] { Button(QStringLiteral("Command2"))->click(); });
  qInfo("ended %lld ms after the request", sinceTheEnd.elapsed());
  QVERIFY(!report.shown);
  QCOMPARE(report.exitCode, 0);
  QVERIFY(!form_->isVisible());
  QVERIFY(List()->document()->blockCount() > 1);
  QVERIFY(List()->document()->blockCount() < 1000000);
}

// What the command line prints is the list a click shows, line feeds for CR
// LF: for a fresh window's texts, and for texts that need the number rules.
void Form1Test::commandLinePrintsTheWindowsList() {
  const auto printed = [](const CommandLine& line) {
    std::FILE* file = std::tmpfile();
    const int status = RunWithoutWindow(line, file, stderr);
    std::string text(static_cast<std::size_t>(std::ftell(file)), '\0');
    std::rewind(file);
    text.resize(std::fread(text.data(), 1, text.size(), file));
    std::fclose(file);
    return std::pair{status, text};
  };
  const auto shown = [this] {
    std::string list = form_->ListText();
    list.erase(std::remove(list.begin(), list.end(), '\r'), list.end());
    return std::pair{0, list};
  };
  Calculate(QStringLiteral("Command2"));
  QCOMPARE(printed({CommandLine::Action::List, partition::CountRepeated}), shown());
  Type("Text1", QStringLiteral(" 12,5"));
  Type("Text2", QStringLiteral("&H10"));
  Type("Text4", QStringLiteral("1E1"));
  Calculate(QStringLiteral("Command1"));
  QCOMPARE(printed({CommandLine::Action::List, partition::CountDistinct, QStringLiteral(" 12,5"),
                    QStringLiteral("&H10"), QStringLiteral("1E1")}),
           shown());
}

void Form1Test::longPastesAreTakenWholeOrNotAtAll_data() {
  QTest::addColumn<QString>("box");
  QTest::addColumn<QString>("pasted");
  QTest::addColumn<QString>("notice");  // empty: taken
  const auto lines = [](int count, int length, QChar between) {
    QStringList all(count, QString(length, QLatin1Char('x')));
    return all.join(between);
  };
  QTest::newRow("n: 40,001 characters, read whole")
      << "Text1" << QString(40000, QLatin1Char('0')) + QLatin1Char('7') << "";
  QTest::newRow("n: past a million characters, refused whole")
      << "Text1" << QString(1000001, QLatin1Char('1')) << "1.000.001 Zeichen, ein Feld";
  QTest::newRow("list: a line of 10,000 characters, taken")
      << "Text3" << QString(10000, QLatin1Char('x')) << "";
  QTest::newRow("list: a line past 10,000 characters, refused whole")
      << "Text3" << QStringLiteral("1\n") + QString(10001, QLatin1Char('x'))
      << "eine Zeile von 10.001 Zeichen";
  QTest::newRow("list: runs joined by line separators go in as lines")
      << "Text3" << lines(100, 9000, QChar::LineSeparator) << "";
  QTest::newRow("list: runs joined by line separators, one too long, refused")
      << "Text3" << lines(3, 9000, QChar::LineSeparator) + QString(1001, QLatin1Char('x'))
      << "eine Zeile von 10.001 Zeichen";
  // After the 277 characters of the list, 6,711 lines whose line breaks,
  // counted as CR LF, take the list one character past 64 MiB.
  QTest::newRow("list: one character past 64 MiB with CR LF line ends, refused whole")
      << "Text3"
      << lines(6710, 9999, QLatin1Char('\n')) + QLatin1Char('\n') + QString(1878, QLatin1Char('x'))
      << "die Liste h\u00e4tte 67.108.865 Zeichen";
}

// A paste is either taken whole or refused whole, never cut short unseen;
// a refusal leaves a notice that stands until the box is changed.
void Form1Test::longPastesAreTakenWholeOrNotAtAll() {
  QFETCH(QString, box);
  QFETCH(QString, pasted);
  QFETCH(QString, notice);
  auto* target = form_->findChild<QWidget*>(box);
  const auto text = [target] {
    const auto* line = qobject_cast<QLineEdit*>(target);
    return line != nullptr ? line->text() : qobject_cast<QPlainTextEdit*>(target)->toPlainText();
  };
  if (box == QLatin1String("Text3")) {
    Calculate(QStringLiteral("Command1"));
    QCOMPARE(form_->ListText().size(), std::size_t{277});
    QTest::keyClick(target, Qt::Key_End, Qt::ControlModifier);
  } else {
    Box("Text1")->selectAll();
  }
  const QString before = text();
  QGuiApplication::clipboard()->setText(pasted);
  QElapsedTimer timer;
  timer.start();
  QTest::keyClick(target, Qt::Key_V, Qt::ControlModifier);
  qInfo("pasted or refused in %lld ms", timer.elapsed());
  auto* shown = form_->findChild<QLabel*>(QStringLiteral("lblNotice"));
  if (notice.isEmpty()) {
    QVERIFY(text().endsWith(QString(pasted).replace(QChar::LineSeparator, QLatin1Char('\n'))));
    QVERIFY(!shown->isVisible());
    return;
  }
  QCOMPARE(text(), before);
  QVERIFY2(shown->isVisible() && shown->text().contains(notice), qPrintable(shown->text()));
  // Another box's refusal and change leave this notice standing.
  QLineEdit* other = Box(box == QLatin1String("Text4") ? "Text1" : "Text4");
  QGuiApplication::clipboard()->setText(QString(1000001, QLatin1Char('2')));
  other->selectAll();
  QTest::keyClick(other, Qt::Key_V, Qt::ControlModifier);
  QVERIFY(shown->text().contains(QStringLiteral("ein Feld")));
  QTest::keyClick(other, Qt::Key_3);
  QVERIFY2(shown->isVisible() && shown->text().contains(notice), qPrintable(shown->text()));
  QTest::keyClick(target, Qt::Key_1);
  QVERIFY(!shown->isVisible());
  // The context menu's paste refuses the same.
  QGuiApplication::clipboard()->setText(pasted);
  QContextMenuEvent menuKey(QContextMenuEvent::Keyboard, QPoint(5, 5),
                            target->mapToGlobal(QPoint(5, 5)));
  QCoreApplication::sendEvent(target, &menuKey);
  auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
  QVERIFY(menu != nullptr);
  const QString typed = text();
  for (QAction* action : menu->actions()) {
    if (action->text().remove(QLatin1Char('&')).startsWith(QStringLiteral("Einf\u00fcgen"))) {
      action->trigger();
    }
  }
  menu->close();
  QCOMPARE(text(), typed);
  QVERIFY(shown->isVisible());
}

// The copy of the list is plain text alone, the list as shown: all of it,
// part of it, and all of it once the user has changed it.
void Form1Test::copyingTheListGivesItsPlainText() {
  Type("Text2", QStringLiteral("2"));
  Type("Text4", QStringLiteral("99999"));
  Calculate(QStringLiteral("Command2"));
  const auto copied = [this](int from, int to) {
    QTextCursor selection(List()->document());
    selection.setPosition(from);
    selection.setPosition(to, QTextCursor::KeepAnchor);
    List()->setTextCursor(selection);
    QTest::keyClick(List(), Qt::Key_C, Qt::ControlModifier);
    const QMimeData* copy = QGuiApplication::clipboard()->mimeData();
    return std::pair{copy->formats(), copy->data(QStringLiteral("text/plain"))};
  };
  const QString shown = List()->toPlainText();
  const QStringList plain{QStringLiteral("text/plain")};
  QCOMPARE(copied(0, static_cast<int>(shown.size())), std::pair(plain, shown.toUtf8()));
  QCOMPARE(copied(30, 70), std::pair(plain, shown.mid(30, 40).toUtf8()));
  QTextCursor(List()->document()).insertText(QStringLiteral("Mein Zusatz: 5\u00a0\u00e4\n"));
  const int length = List()->document()->characterCount() - 1;
  QElapsedTimer timer;
  timer.start();
  const auto edited = copied(0, length);
  qInfo("the changed list of %d characters copied in %lld ms", length, timer.elapsed());
  QCOMPARE(edited, std::pair(plain, List()->toPlainText().toUtf8()));
}

// An idle window does no work that grows with a box's length: with a long
// text the cursor stands still rather than laying the line out at each
// blink; a short text's cursor blinks again.
void Form1Test::aLongBoxHoldsItsCursorStill() {
  form_->activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(form_.get()));
  QLineEdit* n = Box("Text1");
  n->setFocus();
  const auto paintsWhileIdle = [n] {
    QTest::qWait(50);
    const PaintCounter counter(n);
    QTest::qWait(1200);
    return counter.paints;
  };
  QVERIFY(paintsWhileIdle() > 0);
  n->setText(QString(999990, QLatin1Char('1')));
  QCOMPARE(paintsWhileIdle(), 0);
  n->setText(QStringLiteral("5"));
  QVERIFY(paintsWhileIdle() > 0);
}

QTEST_MAIN(Form1Test)
#include "form1_test.moc"
