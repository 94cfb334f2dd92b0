#include "frontends/ibus/IBusTextClient.h"

#include <QGuiApplication>
#include <QScreen>

#include "ui/ScreenCoordinates.h"

namespace yakdrom {
namespace {

// IBus counts preedit positions in characters.
guint characterCount(const std::string& text) {
  return static_cast<guint>(g_utf8_strlen(text.c_str(), static_cast<gssize>(text.size())));
}

double devicePixelRatio() {
  const QScreen* screen = QGuiApplication::primaryScreen();
  return screen != nullptr ? screen->devicePixelRatio() : 1.0;
}

}  // namespace

void IBusTextClient::insertText(std::string_view text, TextRange /*replacement*/) {
  if (!marked_.empty()) setMarkedText({}, {0, 0}, {});
  if (!connected_) return;
  ibus_engine_commit_text(engine_, ibus_text_new_from_string(std::string(text).c_str()));
}

void IBusTextClient::setMarkedText(std::string_view text, TextRange /*selection*/,
                                   TextRange /*replacement*/) {
  marked_.assign(text);
  if (!connected_) return;
  IBusText* preedit = ibus_text_new_from_string(marked_.c_str());
  const guint length = characterCount(marked_);
  if (length > 0) {
    ibus_text_append_attribute(preedit, IBUS_ATTR_TYPE_UNDERLINE, IBUS_ATTR_UNDERLINE_SINGLE, 0,
                               length);
  }
  // The daemon stops passing our signals on as soon as the context loses focus, so the
  // syllable is committed on focus out by the daemon itself, from this mode.
  ibus_engine_update_preedit_text_with_mode(engine_, preedit, length, length > 0 ? TRUE : FALSE,
                                            IBUS_ENGINE_PREEDIT_COMMIT);
}

void IBusTextClient::setName(std::string_view name) {
  name_ = name.empty() ? std::nullopt : std::optional<std::string>(name);
}

void IBusTextClient::setCaret(int x, int y, int width, int height) {
  const double ratio = devicePixelRatio();
  caret_ = ScreenCoordinates::current().toModel(
      QRectF(x / ratio, y / ratio, width / ratio, height / ratio));
}

}  // namespace yakdrom
