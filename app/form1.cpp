#include "form1.h"

#include <QApplication>
#include <QFont>
#include <QIcon>
#include <QMessageBox>
#include <cmath>

#include "counters.h"
#include "ui_form1.h"

namespace {

// Metric-compatible free faces for the window's fonts.
void SubstituteFonts() {
  QFont::insertSubstitution(QStringLiteral("Times New Roman"), QStringLiteral("Liberation Serif"));
  QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"));
}

std::string ToCore(const QString& text) { return text.toStdString(); }
QString FromCore(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

Form1::Form1(QWidget* parent) : QWidget(parent), ui(new Ui::Form1) {
  SubstituteFonts();
  ui->setupUi(this);
  QIcon icon;
  icon.addFile(QStringLiteral(":/icons/partitionen-16.xpm"), QSize(16, 16));
  icon.addFile(QStringLiteral(":/icons/partitionen-32.xpm"), QSize(32, 32));
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

  ui->Text1->setFocus();
}

Form1::~Form1() = default;

// The box separates lines by line feeds alone; the list ends its lines with
// CR LF.
std::string Form1::ListText() const {
  const std::string shown = ToCore(ui->Text3->toPlainText());
  std::string list;
  list.reserve(shown.size() + shown.size() / 8);
  for (const char c : shown) {
    if (c == '\n') {
      list.push_back('\r');
    }
    list.push_back(c);
  }
  return list;
}

void Form1::SetListText(const std::string& list) {
  std::string shown;
  shown.reserve(list.size());
  for (std::size_t i = 0; i < list.size(); ++i) {
    if (list[i] != '\r' || i + 1 == list.size() || list[i + 1] != '\n') {
      shown.push_back(list[i]);
    }
  }
  ui->Text3->setPlainText(FromCore(shown));
}

void Form1::Command1_Click() {
  Handle([this] { RunCalculation(partition::CountDistinct); });
}

void Form1::Command2_Click() {
  Handle([this] { RunCalculation(partition::CountRepeated); });
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

void Form1::Command11_Click() { EndProgram(0); }

void Form1::cmdClr_Click(int /*index*/) { ui->Text3->setPlainText(QString()); }

// The list starts empty here: the run leaves it empty when it fails before
// its header, and then the box keeps its old text.
void Form1::RunCalculation(partition::Counter counter) {
  std::string list;
  try {
    partition::RunCalculation(counter, ToCore(ui->Text1->text()), ToCore(ui->Text2->text()),
                              ToCore(ui->Text4->text()), list);
  } catch (const partition::RuntimeError&) {
    if (!list.empty()) {
      SetListText(list);
    }
    throw;
  }
  SetListText(list);
}

void Form1::StepValue(QLineEdit* box, partition::Number delta, bool clampAtZero) {
  const partition::Number value = partition::ReadNumber(ToCore(box->text())) + delta;
  if (!std::isfinite(value)) {
    throw partition::RuntimeError(partition::kFloatingPointError,
                                  std::string(partition::kFloatingPointMessage));
  }
  box->setText(FromCore(partition::FormatNumber(value)));
  if (clampAtZero && partition::ReadNumber(ToCore(box->text())) < 0) {
    box->setText(QStringLiteral("0"));
  }
}

template <typename Body>
void Form1::Handle(Body&& body) {
  try {
    body();
  } catch (const partition::RuntimeError& error) {
    ReportRuntimeError(error);
  }
}

void Form1::ReportRuntimeError(const partition::RuntimeError& error) {
  QMessageBox box(QMessageBox::Critical, QStringLiteral("Partitionen"),
                  QStringLiteral("Laufzeitfehler '%1':\n\n%2")
                      .arg(error.number())
                      .arg(QString::fromUtf8(error.what())),
                  QMessageBox::Ok, this);
  box.setObjectName(QStringLiteral("RuntimeErrorReport"));
  box.exec();
  EndProgram(1);
}

void Form1::EndProgram(int exitCode) {
  hide();
  QCoreApplication::exit(exitCode);
}
