// The program's one window: the inputs n, k and m, the list, and the buttons
// that step the inputs, run the two calculations, clear the list and end the
// program. Its handlers only carry texts between the boxes and the
// calculation core.
#pragma once

#include <QWidget>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "calculation.h"
#include "number_text.h"

class InputHold;
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

  // Puts the given texts into the boxes n, k and m in place of their initial
  // texts; boxes without a text keep theirs.
  void PresetInputs(const std::optional<QString>& n, const std::optional<QString>& k,
                    const std::optional<QString>& m);

 private:
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

  // Writes the list into the box a piece at a time. Between pieces the window
  // keeps painting and answering the desktop and the accessibility bus; the
  // pointer shows that the program is busy meanwhile. "Ende" and a close of
  // the window end the program at once, dropping the rest of the list.
  void WriteList(partition::Counter counter);
  // box = box + delta written back as a Number; when clampAtZero, a result
  // below zero becomes "0".
  void StepValue(QLineEdit* box, partition::Number delta, bool clampAtZero);
  // Shows a piece of the list (lines ending in CR LF, turned to LF in place)
  // in the box: as its whole text when `first`, else after what it holds.
  void ShowListPiece(std::string& piece, bool first);

  // Runs a click's handler. A click that arrives while another is handled
  // (an accessibility action during a long list, say) waits for it, and clicks
  // are handled in the order they came; none once the program is ending. A
  // runtime error leaving a handler is reported and ends the program; so is
  // any other exception, as error 7 (out of memory). Mouse, keyboard and
  // input method input made while clicks are handled is held, and handed on
  // once they are.
  void Handle(std::function<void()> handler);
  // The modal report "Laufzeitfehler '<number>':" and the message; the program
  // ends with exit code 1 when it is answered.
  void ReportRuntimeError(int number, std::string_view message);
  void EndProgram(int exitCode);

  friend class Form1Test;

  std::unique_ptr<Ui::Form1> ui;
  std::deque<std::function<void()>> pendingClicks;
  bool handlingClick = false;
  bool ending = false;
  std::unique_ptr<InputHold> hold;
};
