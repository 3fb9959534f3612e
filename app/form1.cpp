#include "form1.h"

#include <QApplication>
#include <QFont>
#include <QIcon>
#include <QMessageBox>
#include <QScopeGuard>
#include <QTextCursor>
#include <QWindow>
#include <optional>

#include "counters.h"
#include "input_hold.h"
#include "notice.h"
#include "step_value.h"
#include "ui_form1.h"

namespace {

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

// The busy pointer, from when a list takes longer than one piece until it
// stands.
class BusyPointer {
 public:
  BusyPointer() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
  ~BusyPointer() { QGuiApplication::restoreOverrideCursor(); }
  BusyPointer(const BusyPointer&) = delete;
  BusyPointer& operator=(const BusyPointer&) = delete;
};

}  // namespace

Form1::Form1(QWidget* parent) : QWidget(parent), ui(new Ui::Form1) {
  SubstituteFonts();
  ui->setupUi(this);
  // The notice line, in the free strip above the footer.
  auto* notice = new Notice(this);
  notice->setGeometry(40, 474, 432, 30);
  notice->setStyleSheet(QStringLiteral("#Notice { font-size: 13px; color: #C00000; }"));
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
    connect(box, &NumberBox::NoticeChanged, notice, &Notice::Show);
  }
  connect(ui->Text3, &ListBox::NoticeChanged, notice, &Notice::Show);
  hold = std::make_unique<InputHold>(this, ui->Command11, [this] { EndProgram(0); });

  ui->Text1->setFocus();
}

Form1::~Form1() = default;

std::string Form1::ListText() const { return partition::ToCrLf(ToCore(ui->Text3->toPlainText())); }

void Form1::PresetInputs(const std::optional<QString>& n, const std::optional<QString>& k,
                         const std::optional<QString>& m) {
  for (const auto& [box, text] : {std::pair{ui->Text1, n}, {ui->Text2, k}, {ui->Text4, m}}) {
    if (text) {
      box->setText(*text);
    }
  }
}

void Form1::ShowListPiece(std::string& piece, bool first) {
  const QString shown = FromCore(partition::ToLineFeeds(piece));
  if (first) {
    ui->Text3->setPlainText(shown);
    return;
  }
  QTextCursor end(ui->Text3->document());
  end.movePosition(QTextCursor::End);
  end.insertText(shown);
}

void Form1::Command1_Click() {
  Handle([this] { WriteList(partition::CountDistinct); });
}

void Form1::Command2_Click() {
  Handle([this] { WriteList(partition::CountRepeated); });
}

void Form1::Command3_Click() {
  Handle([this] { StepValue(ui->Text1, -10, false); });
}

void Form1::Command4_Click() {
  Handle([this] { StepValue(ui->Text1, -1, false); });
}

void Form1::Command5_Click() {
  Handle([this] { StepValue(ui->Text1, 10, false); });
}

void Form1::Command6_Click() {
  Handle([this] { StepValue(ui->Text1, 1, false); });
}

void Form1::Command7_Click() {
  Handle([this] { StepValue(ui->Text2, -10, true); });
}

void Form1::Command8_Click() {
  Handle([this] { StepValue(ui->Text2, -1, true); });
}

void Form1::Command9_Click() {
  Handle([this] { StepValue(ui->Text2, 10, false); });
}

void Form1::Command10_Click() {
  Handle([this] { StepValue(ui->Text2, 1, false); });
}

void Form1::Command11_Click() {
  if (handlingClick) {
    EndProgram(0);
    return;
  }
  Handle([this] { EndProgram(0); });
}

void Form1::cmdClr_Click(int /*index*/) {
  Handle([this] { ui->Text3->setPlainText(QString()); });
}

// The first piece holds at least the header: a run that fails before it
// leaves the old list in the box.
void Form1::WriteList(partition::Counter counter) {
  const partition::CalculationRun unstarted(counter, ToCore(ui->Text1->text()),
                                            ToCore(ui->Text2->text()), ToCore(ui->Text4->text()));
  partition::CalculationRun run = unstarted;
  QTextDocument* document = ui->Text3->document();
  document->setUndoRedoEnabled(false);
  const auto undoAgain = qScopeGuard([document] { document->setUndoRedoEnabled(true); });
  std::optional<BusyPointer> busy;
  std::string piece;
  for (bool first = true, more = true; more; first = false) {
    piece.clear();
    try {
      more = run.Continue(piece, partition::kLinesPerPiece);
    } catch (...) {
      ShowListPiece(piece, first);
      throw;
    }
    ShowListPiece(piece, first);
    if (more) {
      if (!busy) {
        busy.emplace();
      }
      QCoreApplication::processEvents();
      if (ending) {
        return;
      }
    }
  }
  // Copying the whole list writes it anew, in a fraction of the time that
  // reading it back from the box takes.
  ui->Text3->SetWholeTextSource([unstarted](qsizetype size) {
    partition::CalculationRun again = unstarted;
    QByteArray text;
    text.reserve(size);
    partition::WriteWithLineFeeds(again, partition::kLinesPerPiece,
                                  [&text](std::string_view lines) {
                                    text.append(lines.data(), static_cast<qsizetype>(lines.size()));
                                    return true;
                                  });
    return text;
  });
}

void Form1::StepValue(QLineEdit* box, partition::Number delta, bool clampAtZero) {
  box->setText(FromCore(partition::StepValue(ToCore(box->text()), delta, clampAtZero)));
}

void Form1::Handle(std::function<void()> handler) {
  if (ending) {
    return;
  }
  pendingClicks.push_back(std::move(handler));
  if (handlingClick) {
    return;
  }
  {
    handlingClick = true;
    hold->Begin();
    const auto handled = qScopeGuard([this] {
      handlingClick = false;
      hold->End();
    });
    while (!pendingClicks.empty()) {
      const std::function<void()> next = std::move(pendingClicks.front());
      pendingClicks.pop_front();
      try {
        next();
      } catch (const partition::RuntimeError& error) {
        ReportRuntimeError(error.number(), error.what());
      } catch (...) {
        // Anything else is a string or list that found no memory.
        ReportRuntimeError(partition::kOutOfMemoryError, partition::kOutOfMemoryMessage);
      }
    }
  }
  hold->HandOn();
}

void Form1::ReportRuntimeError(int number, std::string_view message) {
  QMessageBox box(
      QMessageBox::Critical, QStringLiteral("Partitionen"),
      QStringLiteral("Laufzeitfehler '%1':\n\n%2")
          .arg(number)
          .arg(QString::fromUtf8(message.data(), static_cast<qsizetype>(message.size()))),
      QMessageBox::Ok, this);
  box.setObjectName(QStringLiteral("RuntimeErrorReport"));
  box.exec();
  EndProgram(1);
}

void Form1::EndProgram(int exitCode) {
  ending = true;
  pendingClicks.clear();
  hold->Stop();
  hide();
  QCoreApplication::exit(exitCode);
}
