// Writes one list on a thread of its own and hands it to the window's thread
// a piece at a time, as text for the list box, so that the window answers
// between pieces. One piece is on its way at a time, the next one written
// behind it while the window shows it.
#pragma once

#include <QObject>
#include <QString>
#include <condition_variable>
#include <cstddef>
#include <mutex>
#include <thread>

#include "calculation.h"

class ListWriter : public QObject {
  Q_OBJECT

 public:
  // Writes the rest of `run`'s list in pieces of up to `lines` lines, each
  // line ending in LF, once started.
  ListWriter(partition::CalculationRun run, std::size_t lines);
  // Stops the list where it is and waits for the thread, which takes a
  // piece's time at most; pieces not yet taken are dropped.
  ~ListWriter() override;
  ListWriter(const ListWriter&) = delete;
  ListWriter& operator=(const ListWriter&) = delete;

  // Starts the thread; connect to the signals first.
  void Start();
  // Stops the list where it is, without waiting for the thread; a piece it
  // was sending may still come.
  void Stop();
  // The window has shown a piece and has room for another.
  void Taken();
  // The run, for the window's thread once Ended has come.
  [[nodiscard]] const partition::CalculationRun& Run() const { return run_; }

 signals:
  // While exact counts are computed before the first line that needs one:
  // the share of them done, 0 to 1.
  void Counting(double done);
  // The next piece of the list, the first one beginning with the header,
  // with the list's lines written up to its end and the lines asked for.
  void PieceReady(const QString& piece, qint64 written, qint64 asked);
  // After the last piece: 0 when the list is complete, else the number and
  // German message of the runtime error that ended it (7 for a list that
  // found no memory).
  void Ended(int error, const QString& message);

 private:
  void Write();
  // Waits until the window has room for a piece; false once stopped.
  bool WaitForRoom();

  partition::CalculationRun run_;
  std::size_t lines_;
  std::mutex mutex_;
  std::condition_variable changed_;
  int onTheirWay_ = 0;
  bool stopped_ = false;
  std::thread thread_;
};
