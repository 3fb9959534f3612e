#include "list_writer.h"

#include <string_view>
#include <utility>

#include "number_text.h"

namespace {

// Pieces on their way between the thread and the window at most: one, the
// next one ready behind it, so that the window never takes two in one turn.
constexpr int kPiecesAhead = 1;

}  // namespace

ListWriter::ListWriter(partition::CalculationRun run, std::size_t lines)
    : run_(std::move(run)), lines_(lines) {
  run_.OnCounting([this](double done) {
    {
      const std::lock_guard lock(mutex_);
      if (stopped_) {
        return false;
      }
    }
    emit Counting(done);
    return true;
  });
}

void ListWriter::Start() {
  thread_ = std::thread([this] { Write(); });
}

ListWriter::~ListWriter() {
  Stop();
  if (thread_.joinable()) {
    thread_.join();
  }
}

void ListWriter::Stop() {
  {
    const std::lock_guard lock(mutex_);
    stopped_ = true;
  }
  changed_.notify_all();
}

void ListWriter::Taken() {
  {
    const std::lock_guard lock(mutex_);
    --onTheirWay_;
  }
  changed_.notify_all();
}

bool ListWriter::WaitForRoom() {
  std::unique_lock lock(mutex_);
  changed_.wait(lock, [this] { return stopped_ || onTheirWay_ < kPiecesAhead; });
  ++onTheirWay_;
  return !stopped_;
}

void ListWriter::Write() {
  int error = 0;
  QString message;
  try {
    // The list is ASCII: a byte is a character.
    const bool complete = partition::WritePieces(
        run_, lines_, partition::LineEnds::LineFeed, [this](std::string_view piece) {
          const QString text =
              QString::fromLatin1(piece.data(), static_cast<qsizetype>(piece.size()));
          if (!WaitForRoom()) {
            return false;
          }
          emit PieceReady(text, run_.LinesWritten(), run_.LinesAsked());
          return true;
        });
    if (!complete) {
      return;  // stopped
    }
  } catch (const partition::ExactCounts::Stopped&) {
    return;
  } catch (const partition::RuntimeError& failure) {
    error = failure.number();
    message = QString::fromUtf8(failure.what());
  } catch (...) {
    // Anything else is a string or list that found no memory.
    error = partition::kOutOfMemoryError;
    message = QString::fromUtf8(partition::kOutOfMemoryMessage.data(),
                                static_cast<qsizetype>(partition::kOutOfMemoryMessage.size()));
  }
  emit Ended(error, message);
}
