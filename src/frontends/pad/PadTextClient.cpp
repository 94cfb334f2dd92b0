#include "frontends/pad/PadTextClient.h"

#include <QCoreApplication>
#include <QInputMethodEvent>
#include <QTextCharFormat>
#include <algorithm>

#include "ui/ScreenCoordinates.h"

namespace yakdrom {
namespace {

QString fromUtf8(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace

void PadTextClient::insertText(std::string_view text, TextRange /*replacement*/) {
  marked_.clear();
  QInputMethodEvent event;
  event.setCommitString(fromUtf8(text));
  QCoreApplication::sendEvent(&editor_, &event);
}

void PadTextClient::setMarkedText(std::string_view text, TextRange selection,
                                  TextRange /*replacement*/) {
  marked_.assign(text);
  const QString preedit = fromUtf8(text);
  QTextCharFormat underlined;
  underlined.setUnderlineStyle(QTextCharFormat::SingleUnderline);
  const auto caret = static_cast<int>(std::clamp<std::int64_t>(
      selection.location == TextRange::kNotFound ? preedit.size() : selection.location, 0,
      preedit.size()));
  const QList<QInputMethodEvent::Attribute> attributes = {
      {QInputMethodEvent::TextFormat, 0, static_cast<int>(preedit.size()), underlined},
      {QInputMethodEvent::Cursor, caret, 1, QVariant()},
  };
  QInputMethodEvent event(preedit, attributes);
  QCoreApplication::sendEvent(&editor_, &event);
}

std::optional<Rect> PadTextClient::caretRect() const {
  const QRect local = editor_.inputMethodQuery(Qt::ImCursorRectangle).toRect();
  if (!local.isValid()) return std::nullopt;
  const QRect global(editor_.mapToGlobal(local.topLeft()), local.size());
  return ScreenCoordinates::current().toModel(QRectF(global));
}

std::optional<Rect> PadTextClient::lineHeightRect(std::int64_t /*index*/) const {
  return caretRect();
}

TextRange PadTextClient::selectedRange() const {
  const QTextCursor cursor = editor_.textCursor();
  return {cursor.selectionStart(), cursor.selectionEnd() - cursor.selectionStart()};
}

std::optional<Rect> PadTextClient::firstRect(TextRange /*range*/) const { return caretRect(); }

}  // namespace yakdrom
