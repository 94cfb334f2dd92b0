#include "ime/controller/InputControllerServices.h"

#include "ime/platform/HeadlessCandidateWindowView.h"
#include "ime/platform/HeadlessExplanationBoxView.h"

namespace yakdrom {

PanelFactory headlessPanelFactory(const Screens& screens, const TextMeasurer& measurer) {
  return [&screens, &measurer] {
    return std::make_unique<CandidatePanel>(std::make_unique<HeadlessCandidateWindowView>(measurer),
                                            std::make_unique<HeadlessExplanationBoxView>(measurer),
                                            screens, measurer);
  };
}

}  // namespace yakdrom
