// The candidates in Fcitx's own panel, which the desktop draws at the caret: one page at a
// time as the context's candidate list, the page label and the selected candidate's
// explanation as the auxiliary text under the preedit. Main thread.
#pragma once

#include <fcitx/inputcontext.h>

#include "frontends/fcitx5/FcitxCandidateList.h"
#include "ime/panel/DesktopPanelPresenter.h"

namespace yakdrom {

class FcitxCandidatePanel final : public DesktopCandidatePanel {
 public:
  /// Shows pages in `context`, which must outlive the panel, and sends the panel's requests
  /// to `actions`.
  FcitxCandidatePanel(fcitx::InputContext& context, FcitxCandidateActions actions)
      : context_(context), actions_(std::move(actions)) {}

  void showPage(const CandidatePage& page) override;
  void hidePage() override;

 private:
  fcitx::InputContext& context_;
  FcitxCandidateActions actions_;
};

}  // namespace yakdrom
