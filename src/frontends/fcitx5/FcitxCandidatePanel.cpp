#include "frontends/fcitx5/FcitxCandidatePanel.h"

#include <fcitx/inputpanel.h>
#include <fcitx/userinterface.h>

#include <memory>
#include <string>

namespace yakdrom {
namespace {

// The page label leads, as in our own window's corner; the explanation follows.
fcitx::Text auxiliaryText(const CandidatePage& page) {
  std::string text = page.pageLabel;
  if (page.explanation) text += (text.empty() ? "" : "  ") + *page.explanation;
  if (text.empty()) return {};
  return fcitx::Text(std::move(text));
}

}  // namespace

void FcitxCandidatePanel::showPage(const CandidatePage& page) {
  fcitx::InputPanel& panel = context_.inputPanel();
  panel.setCandidateList(std::make_unique<FcitxCandidateList>(page, actions_));
  panel.setAuxDown(auxiliaryText(page));
  context_.updateUserInterface(fcitx::UserInterfaceComponent::InputPanel);
}

void FcitxCandidatePanel::hidePage() {
  fcitx::InputPanel& panel = context_.inputPanel();
  panel.setCandidateList(nullptr);
  panel.setAuxDown(fcitx::Text());
  context_.updateUserInterface(fcitx::UserInterfaceComponent::InputPanel);
}

}  // namespace yakdrom
