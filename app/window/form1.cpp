#include "form1.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QFont>
#include <QIcon>
#include <QKeyEvent>
#include <QMessageBox>
#include <QTextCursor>
#include <QTimer>
#include <climits>
#include <utility>

#include "announcer.h"
#include "counters.h"
#include "list_writer.h"
#include "paste_bounds.h"
#include "step_value.h"
#include "ui_form1.h"

namespace {

// Lines of a piece the window shows at a time: some milliseconds of the list
// box's work between two turns of the event loop.
constexpr std::size_t kLinesPerWindowPiece = 6000;
// A list that takes longer than this shows how far it has come.
constexpr int kProgressAfterMilliseconds = 500;

// Metric-compatible free faces for the window's fonts, taken only where the
// real ones are missing: Linux, or Wine; Windows has the real ones.
void SubstituteFonts() {
  QFont::insertSubstitution(QStringLiteral("Times New Roman"), QStringLiteral("Liberation Serif"));
  QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"));
}

// The colours the window was designed on, the light grey of a classic
// desktop, kept whatever scheme the desktop brings, so that every text keeps
// its contrast.
QPalette ClassicPalette() {
  const QColor face(0xF0, 0xF0, 0xF0);
  QPalette palette(face, face);
  palette.setColor(QPalette::Highlight, QColor(0x00, 0x78, 0xD7));
  palette.setColor(QPalette::HighlightedText, Qt::white);
  palette.setColor(QPalette::PlaceholderText, QColor(0x6D, 0x6D, 0x6D));
  return palette;
}

std::string ToCore(const QString& text) { return text.toStdString(); }
QString FromCore(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

Form1::Form1(QWidget* parent) : QWidget(parent), ui(new Ui::Form1) {
  SubstituteFonts();
  ui->setupUi(this);
  // Set on every control: a platform theme gives buttons, boxes and labels
  // palettes of their own, which a palette set on the window alone would not
  // override, and the style sheet builds on each control's palette.
  const QPalette classic = ClassicPalette();
  setPalette(classic);
  for (QWidget* control : findChildren<QWidget*>()) {
    control->setPalette(classic);
  }
  QIcon icon;
  for (const int size : {16, 32}) {
    icon.addFile(QStringLiteral(":/icons/partitionen-%1.xpm").arg(size), QSize(size, size));
  }
  for (const int size : {48, 64, 128, 256}) {
    icon.addFile(QStringLiteral(":/icons/partitionen-%1.png").arg(size), QSize(size, size));
  }
  setWindowIcon(icon);

  connect(ui->Command1, &QPushButton::clicked, this, &Form1::Command1_Click);
  connect(ui->Command2, &QPushButton::clicked, this, &Form1::Command2_Click);
  connect(ui->Command3, &QPushButton::clicked, this, &Form1::Command3_Click);
  connect(ui->Command4, &QPushButton::clicked, this, &Form1::Command4_Click);
  connect(ui->Command5, &QPushButton::clicked, this, &Form1::Command5_Click);
  connect(ui->Command6, &QPushButton::clicked, this, &Form1::Command6_Click);
  connect(ui->Command7, &QPushButton::clicked, this, &Form1::Command7_Click);
  connect(ui->Command8, &QPushButton::clicked, this, &Form1::Command8_Click);
  connect(ui->Command9, &QPushButton::clicked, this, &Form1::Command9_Click);
  connect(ui->Command10, &QPushButton::clicked, this, &Form1::Command10_Click);
  connect(ui->Command11, &QPushButton::clicked, this, &Form1::Command11_Click);
  connect(ui->cmdClr, &QPushButton::clicked, this, [this] { cmdClr_Click(0); });
  for (NumberBox* box : {ui->Text1, ui->Text2, ui->Text4}) {
    connect(box, &NumberBox::NoticeChanged, ui->lblNotice,
            [this, box](const QString& text) { ui->lblNotice->Show(box, text); });
  }
  connect(ui->Text3, &ListBox::NoticeChanged, ui->lblNotice,
          [this](const QString& text) { ui->lblNotice->Show(ui->Text3, text); });
  // The notice that an exact list passes its bound stands until what it
  // concerns changes.
  const auto boundNoticeGoes = [this] { ui->lblNotice->Show(ui->chkExact, QString()); };
  connect(ui->Text1, &QLineEdit::textChanged, ui->lblNotice, boundNoticeGoes);
  connect(ui->Text4, &QLineEdit::textChanged, ui->lblNotice, boundNoticeGoes);
  connect(ui->chkExact, &QCheckBox::toggled, ui->lblNotice, boundNoticeGoes);
  for (QPushButton* button : findChildren<QPushButton*>()) {
    button->installEventFilter(this);
  }
  progressTimer.setSingleShot(true);
  connect(&progressTimer, &QTimer::timeout, this, [this] {
    if (writer != nullptr) {
      ui->prgList->show();
      sinceProgress.invalidate();
    }
  });

  announcer = new Announcer(this);

  ui->Text1->setFocus();
}

Form1::~Form1() {
  delete writer;
  if (busyPointer) {
    QGuiApplication::restoreOverrideCursor();
  }
}

std::string Form1::ListText() const { return partition::ToCrLf(ToCore(ui->Text3->toPlainText())); }

bool Form1::Busy() const { return writer != nullptr || !waitingClicks.empty(); }

void Form1::PresetInputs(const std::optional<QString>& n, const std::optional<QString>& k,
                         const std::optional<QString>& m, bool exact) {
  for (const auto& [box, text] : {std::pair{ui->Text1, n}, {ui->Text2, k}, {ui->Text4, m}}) {
    if (text) {
      box->setText(*text);
    }
  }
  ui->chkExact->setChecked(exact);
}

void Form1::closeEvent(QCloseEvent* event) {
  if (!ending) {
    EndProgram(0);
  }
  event->accept();
}

bool Form1::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress) {
    const auto* key = static_cast<QKeyEvent*>(event);
    auto* button = qobject_cast<QPushButton*>(watched);
    if ((key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) &&
        (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier && button != nullptr &&
        button->isEnabled()) {
      if (!key->isAutoRepeat()) {
        button->click();
      }
      return true;
    }
  }
  return QWidget::eventFilter(watched, event);
}

Form1::ListClick Form1::Calculation(partition::Counter counter) const {
  return {counter, ToCore(ui->Text1->text()), ToCore(ui->Text2->text()), ToCore(ui->Text4->text()),
          ui->chkExact->isChecked()};
}

void Form1::Command1_Click() { Handle(Calculation(partition::CountDistinct)); }

void Form1::Command2_Click() { Handle(Calculation(partition::CountRepeated)); }

void Form1::Command3_Click() { StepValue("Command3"); }

void Form1::Command4_Click() { StepValue("Command4"); }

void Form1::Command5_Click() { StepValue("Command5"); }

void Form1::Command6_Click() { StepValue("Command6"); }

void Form1::Command7_Click() { StepValue("Command7"); }

void Form1::Command8_Click() { StepValue("Command8"); }

void Form1::Command9_Click() { StepValue("Command9"); }

void Form1::Command10_Click() { StepValue("Command10"); }

void Form1::Command11_Click() {
  if (!ending) {
    EndProgram(0);
  }
}

void Form1::cmdClr_Click(int /*index*/) { Handle({}); }

void Form1::Handle(ListClick click) {
  if (ending) {
    return;
  }
  if (writer != nullptr) {
    waitingClicks.push_back(std::move(click));
    return;
  }
  if (click.counter == nullptr) {
    ui->Text3->setPlainText(QString());
    return;
  }
  StartList(click);
}

void Form1::StartList(const ListClick& click) {
  std::optional<partition::CalculationRun> run;
  try {
    if (click.exact) {
      run.emplace(partition::CalculationOf(click.counter), partition::Counting::Exact, click.n,
                  click.k, click.m);
    } else {
      run.emplace(click.counter, click.n, click.k, click.m);
    }
  } catch (const partition::RuntimeError& error) {
    ReportRuntimeError(error.number(), error.what());
    return;
  }
  const std::string beyond = run->BeyondExactBound(partition::kLastExactNumberInWindow);
  ui->lblNotice->Show(ui->chkExact, FromCore(beyond));
  if (!beyond.empty()) {
    QApplication::beep();
    return;
  }
  writer = new ListWriter(std::move(*run), kLinesPerWindowPiece);
  writer->setParent(this);
  // Connected with the writer as the context, so that what a writer that was
  // stopped still sent is dropped with it.
  ListWriter* current = writer;
  connect(current, &ListWriter::PieceReady, current,
          [this, current](const QString& piece, qint64 written, qint64 asked) {
            if (current == writer) {
              ShowListPiece(piece, written, asked);
            }
          });
  connect(current, &ListWriter::Counting, current, [this, current](double done) {
    if (current == writer) {
      ShowCounting(done);
    }
  });
  connect(current, &ListWriter::Ended, current, [this, current](int error, const QString& message) {
    if (current == writer) {
      ListEnded(error, message);
    }
  });
  firstPiece = true;
  firstLine.clear();
  listLines = 0;
  ui->Text3->SetBeingWritten(true);
  ui->Text3->document()->setUndoRedoEnabled(false);
  progressTimer.start(kProgressAfterMilliseconds);
  writer->Start();
}

void Form1::ShowCounting(double done) {
  if (!busyPointer) {
    busyPointer = true;
    QGuiApplication::setOverrideCursor(Qt::BusyCursor);
  }
  ui->prgList->setRange(0, 100);
  ui->prgList->setValue(static_cast<int>(done * 100));
  ui->prgList->setFormat(FromCore(partition::CountingProgress(done)));
}

void Form1::ShowListPiece(const QString& piece, qint64 written, qint64 asked) {
  try {
    if (firstPiece) {
      firstPiece = false;
      ui->Text3->setPlainText(piece);
      firstLine = ToCore(piece.section(QLatin1Char('\n'), 1, 1));
    } else {
      QTextCursor end(ui->Text3->document());
      end.movePosition(QTextCursor::End);
      end.insertText(piece);
    }
  } catch (...) {
    ReportRuntimeError(partition::kOutOfMemoryError, partition::kOutOfMemoryMessage);
    return;
  }
  if (written < asked && !busyPointer) {
    busyPointer = true;
    QGuiApplication::setOverrideCursor(Qt::BusyCursor);
  }
  listLines = asked;
  // The bar, once shown, tells the lines ten times a second: drawing it for
  // every piece would slow the list down.
  if (!ui->prgList->isHidden() && (!sinceProgress.isValid() || sinceProgress.elapsed() >= 100)) {
    sinceProgress.start();
    // The bar counts in lines, or in parts of a line count past its range.
    const qint64 scale = asked > INT_MAX ? asked / INT_MAX + 1 : 1;
    ui->prgList->setRange(0, static_cast<int>(asked / scale));
    ui->prgList->setValue(static_cast<int>(written / scale));
    ui->prgList->setFormat(FromCore(partition::ListProgress(written, asked)));
  }
  writer->Taken();
}

void Form1::StopList() {
  if (writer != nullptr) {
    writer->Stop();
    writer->deleteLater();
    writer = nullptr;
  }
  progressTimer.stop();
  ui->prgList->hide();
  ui->Text3->SetBeingWritten(false);
  ui->Text3->document()->setUndoRedoEnabled(true);
  if (busyPointer) {
    busyPointer = false;
    QGuiApplication::restoreOverrideCursor();
  }
}

void Form1::ListEnded(int error, const QString& message) {
  if (error == 0) {
    writtenRun = writer->Run().Restarted();  // with its exact counts, if any
  }
  StopList();
  if (error != 0) {
    ReportRuntimeError(error, ToCore(message));
    return;
  }
  // Copying the whole list writes it anew, in a fraction of the time that
  // reading it back from the box takes.
  ui->Text3->SetWholeTextSource([unstarted = *writtenRun](qsizetype size) {
    partition::CalculationRun again = unstarted;
    QByteArray text;
    text.reserve(size);
    partition::WritePieces(again, partition::kLinesPerStreamPiece, partition::LineEnds::LineFeed,
                           [&text](std::string_view lines) {
                             text.append(lines.data(), static_cast<qsizetype>(lines.size()));
                             return true;
                           });
    return text;
  });
  announcer->Say(FromCore(partition::ListReadyAnnouncement(listLines, firstLine)));
  while (writer == nullptr && !waitingClicks.empty() && !ending) {
    ListClick next = std::move(waitingClicks.front());
    waitingClicks.pop_front();
    Handle(std::move(next));
  }
}

void Form1::StepValue(std::string_view button) {
  if (ending) {
    return;
  }
  const partition::StepButton* step = partition::FindStepButton(button);
  auto* box = findChild<QLineEdit*>(FromCore(step->box));
  try {
    const std::string text = partition::Step(*step, ToCore(box->text()));
    box->setText(FromCore(text));
    announcer->Say(FromCore(partition::StepAnnouncement(ToCore(box->accessibleName()), text)));
  } catch (const partition::RuntimeError& error) {
    ReportRuntimeError(error.number(), error.what());
  }
}

void Form1::ReportRuntimeError(int number, std::string_view message) {
  if (ending) {
    return;
  }
  ending = true;
  waitingClicks.clear();
  StopList();
  QMessageBox box(QMessageBox::Critical, QStringLiteral("Partitionen"),
                  QStringLiteral("Laufzeitfehler '%1':\n\n%2").arg(number).arg(FromCore(message)),
                  QMessageBox::Ok, this);
  box.setObjectName(QStringLiteral("RuntimeErrorReport"));
  box.exec();
  hide();
  QCoreApplication::exit(1);
}

void Form1::EndProgram(int exitCode) {
  ending = true;
  waitingClicks.clear();
  StopList();
  hide();
  QCoreApplication::exit(exitCode);
}
