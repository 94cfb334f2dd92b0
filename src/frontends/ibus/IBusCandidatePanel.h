// The candidates as an IBus lookup table, which the desktop's own panel draws at the caret
// (on Wayland the only way to get them there): one page at a time, numbered, the selection
// as the table's cursor, the selected candidate's explanation as auxiliary text. Main thread.
#pragma once

#include <ibus.h>

#include "ime/panel/DesktopPanelPresenter.h"

namespace yakdrom {

class IBusCandidatePanel final : public DesktopCandidatePanel {
 public:
  /// Shows pages through `engine`, which must outlive the panel.
  explicit IBusCandidatePanel(IBusEngine* engine) : engine_(engine) {}

  void showPage(const CandidatePage& page) override;
  void hidePage() override;

 private:
  void showAuxiliaryText(const CandidatePage& page);

  IBusEngine* engine_;
};

}  // namespace yakdrom
