#include "frontends/fcitx5/FcitxTextClient.h"

#include <fcitx-utils/capabilityflags.h>
#include <fcitx-utils/textformatflags.h>
#include <fcitx/inputpanel.h>
#include <fcitx/userinterface.h>

namespace yakdrom {
namespace {

// Fcitx counts the preedit caret in bytes of UTF-8.
fcitx::Text underlined(const std::string& text) {
  fcitx::Text preedit;
  if (!text.empty()) preedit.append(text, fcitx::TextFormatFlag::Underline);
  preedit.setCursor(static_cast<int>(text.size()));
  return preedit;
}

}  // namespace

bool FcitxTextClient::drawsPreedit() const {
  return context_.capabilityFlags().test(fcitx::CapabilityFlag::Preedit);
}

void FcitxTextClient::insertText(std::string_view text, TextRange /*replacement*/) {
  const bool committedOnFocusOut = !focused_ && markedInClient_ && text == marked_;
  if (!marked_.empty()) setMarkedText({}, {0, 0}, {});
  if (committedOnFocusOut || text.empty()) return;
  context_.commitString(std::string(text));
}

void FcitxTextClient::setMarkedText(std::string_view text, TextRange /*selection*/,
                                    TextRange /*replacement*/) {
  marked_.assign(text);
  markedInClient_ = !marked_.empty() && drawsPreedit();
  fcitx::InputPanel& panel = context_.inputPanel();
  const fcitx::Text preedit = underlined(marked_);
  panel.setClientPreedit(markedInClient_ ? preedit : fcitx::Text());
  panel.setPreedit(markedInClient_ ? fcitx::Text() : preedit);
  context_.updatePreedit();
  context_.updateUserInterface(fcitx::UserInterfaceComponent::InputPanel);
}

std::optional<std::string> FcitxTextClient::bundleIdentifier() const {
  const std::string& program = context_.program();
  if (program.empty()) return std::nullopt;
  return program;
}

}  // namespace yakdrom
