// The program's one window: the inputs n, k and m, the list, and the buttons
// that step the inputs, run the two calculations, clear the list and end the
// program. Its handlers only carry texts between the boxes and the
// calculation core.
//
// A list is written by a ListWriter on a thread of its own; the window shows
// its pieces as they come and answers meanwhile. While a list is written the
// boxes for n, k and m and the step buttons act at once, the list can be
// scrolled, selected and copied but takes no typing, and a click on a
// calculation button or "X" waits, with the box texts of its moment, until
// the list stands; such clicks are then handled in the order they came.
// "Ende" and a close of the window end the program at once.
#pragma once

#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "calculation.h"
#include "number_text.h"

class Announcer;
class ListWriter;
class QLineEdit;

namespace Ui {
class Form1;
}

class Form1 : public QWidget {
  Q_OBJECT

 public:
  explicit Form1(QWidget* parent = nullptr);
  ~Form1() override;

  // The list as the calculation core writes it, CR LF ending every line.
  [[nodiscard]] std::string ListText() const;
  // Whether a list is being written, or a click waits for one.
  [[nodiscard]] bool Busy() const;

  // Puts the given texts into the boxes n, k and m in place of their initial
  // texts; boxes without a text keep theirs. `exact` sets the check box
  // "Große Anzahlen genau".
  void PresetInputs(const std::optional<QString>& n, const std::optional<QString>& k,
                    const std::optional<QString>& m, bool exact = false);

 protected:
  // A close by the window manager, Alt+F4 or the accessibility bus ends the
  // program as "Ende" does.
  void closeEvent(QCloseEvent* event) override;
  // Return or Enter on a focused button presses it, as Space does.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // A click on a calculation button or "X", with the box texts and the
  // check box "Große Anzahlen genau" as they stood when it was made.
  struct ListClick {
    partition::Counter counter = nullptr;  // nullptr: "X"
    std::string n;
    std::string k;
    std::string m;
    bool exact = false;
  };

  // Run calculation 1 (distinct summands) or 2 (repeats allowed).
  void Command1_Click();
  void Command2_Click();
  // Step n by -10, -1, +10, +1.
  void Command3_Click();
  void Command4_Click();
  void Command5_Click();
  void Command6_Click();
  // Step k by -10, -1 (never below 0), +10, +1.
  void Command7_Click();
  void Command8_Click();
  void Command9_Click();
  void Command10_Click();
  // "Ende": the program ends at once.
  void Command11_Click();
  // "X": empties the list; index is the member of the button array (0).
  void cmdClr_Click(int index);

  // A click on calculation 1 or 2 now, with the window's texts.
  [[nodiscard]] ListClick Calculation(partition::Counter counter) const;
  // Handles a click on a calculation button or "X" now, or after the list
  // being written.
  void Handle(ListClick click);
  // Starts writing the list of `click`. Errors: a text beyond the double
  // range in n or k is reported before the list changes. An exact list past
  // its bound is not started; a notice says why.
  void StartList(const ListClick& click);
  void ShowCounting(double done);
  void ShowListPiece(const QString& piece, qint64 written, qint64 asked);
  void ListEnded(int error, const QString& message);
  // Stops the list being written where it is, and lets the list box be
  // edited again.
  void StopList();
  // The box of step button `button` after a click on it.
  void StepValue(std::string_view button);

  // The modal report "Laufzeitfehler '<number>':" and the message over the
  // list as far as it got; the program ends with exit code 1 when it is
  // answered.
  void ReportRuntimeError(int number, std::string_view message);
  void EndProgram(int exitCode);

  friend class Form1Test;

  std::unique_ptr<Ui::Form1> ui;
  // The list being written, a child of the window; nullptr when none is.
  ListWriter* writer = nullptr;
  // What the last list was asked for, for a copy of all of it.
  std::optional<partition::CalculationRun> writtenRun;
  bool firstPiece = false;
  // The list's first line after the header, and its lines, for the words a
  // screen reader hears when it stands.
  std::string firstLine;
  qint64 listLines = 0;
  Announcer* announcer = nullptr;
  bool busyPointer = false;
  // Shows the progress bar once a list has taken a while, and since when
  // the bar shows its last count.
  QTimer progressTimer;
  QElapsedTimer sinceProgress;
  std::deque<ListClick> waitingClicks;
  bool ending = false;
};
