#include "list_box.h"

#include <QMimeData>
#include <QStringEncoder>
#include <QTextCursor>
#include <algorithm>

namespace {

// The whole list on the clipboard, written when it is first asked for.
class WrittenWhenAsked : public QMimeData {
 public:
  WrittenWhenAsked(ListBox::WholeText write, qsizetype size)
      : write_(std::move(write)), size_(size) {}

  [[nodiscard]] QStringList formats() const override { return {PlainText()}; }
  [[nodiscard]] bool hasFormat(const QString& type) const override { return type == PlainText(); }

 protected:
  [[nodiscard]] QVariant retrieveData(const QString& type, QMetaType /*preferred*/) const override {
    if (type != PlainText()) {
      return {};
    }
    if (write_) {
      text_ = write_(size_);
      write_ = nullptr;
    }
    return text_;
  }

 private:
  static QString PlainText() { return QStringLiteral("text/plain"); }

  mutable ListBox::WholeText write_;
  qsizetype size_;
  mutable QByteArray text_;
};

}  // namespace

ListBox::ListBox(QWidget* parent) : QPlainTextEdit(parent) {
  connect(document(), &QTextDocument::contentsChange, this, [this] { wholeText_ = nullptr; });
}

void ListBox::SetWholeTextSource(WholeText wholeText) { wholeText_ = std::move(wholeText); }

QMimeData* ListBox::createMimeDataFromSelection() const {
  // A megabyte of characters at a time: the UTF-8 text grows, the rest stays
  // small.
  constexpr int kCharactersAtATime = 1 << 20;
  QTextCursor cursor = textCursor();
  const int start = cursor.selectionStart();
  const int end = cursor.selectionEnd();
  if (wholeText_ && start == 0 && end == document()->characterCount() - 1) {
    return new WrittenWhenAsked(wholeText_, end);
  }
  QStringEncoder toUtf8(QStringEncoder::Utf8);
  QByteArray text;
  text.reserve(end - start);
  for (int from = start; from < end; from += kCharactersAtATime) {
    cursor.setPosition(from);
    cursor.setPosition(std::min(end, from + kCharactersAtATime), QTextCursor::KeepAnchor);
    QString part = cursor.selectedText();
    // What a plain copy makes of the line breaks, and of the spaces a user
    // may type.
    part.replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
    part.replace(QChar::LineSeparator, QLatin1Char('\n'));
    part.replace(QChar::Nbsp, QLatin1Char(' '));
    text.append(toUtf8.encode(part));
  }
  auto* mime = new QMimeData;
  mime->setData(QStringLiteral("text/plain"), text);
  return mime;
}

void ListBox::insertFromMimeData(const QMimeData* source) {
  if (isReadOnly() || !source->hasText()) {
    QPlainTextEdit::insertFromMimeData(source);
    return;
  }
  textCursor().insertText(source->text());
  ensureCursorVisible();
}
