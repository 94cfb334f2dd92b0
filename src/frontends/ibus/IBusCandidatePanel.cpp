#include "frontends/ibus/IBusCandidatePanel.h"

#include <string>

namespace yakdrom {
namespace {

IBusText* textOf(const std::string& text) { return ibus_text_new_from_string(text.c_str()); }

}  // namespace

void IBusCandidatePanel::showPage(const CandidatePage& page) {
  // The table holds only the page shown: the list, not the panel, decides what a page is,
  // and the panel's page buttons come back to the engine as page_up and page_down.
  IBusLookupTable* table =
      ibus_lookup_table_new(static_cast<guint>(page.texts.size()), 0, TRUE, FALSE);
  for (std::size_t i = 0; i < page.texts.size(); ++i) {
    ibus_lookup_table_append_candidate(table, textOf(page.texts[i]));
    ibus_lookup_table_append_label(table, textOf(page.labels[i]));
  }
  ibus_lookup_table_set_cursor_pos(table, static_cast<guint>(page.cursor));
  ibus_lookup_table_set_orientation(
      table, page.horizontal ? IBUS_ORIENTATION_HORIZONTAL : IBUS_ORIENTATION_VERTICAL);
  ibus_engine_update_lookup_table(engine_, table, TRUE);
  showAuxiliaryText(page);
}

// The page label leads, as in our own window's corner; the explanation follows.
void IBusCandidatePanel::showAuxiliaryText(const CandidatePage& page) {
  std::string text = page.pageLabel;
  if (page.explanation) text += (text.empty() ? "" : "  ") + *page.explanation;
  if (text.empty()) {
    ibus_engine_hide_auxiliary_text(engine_);
    return;
  }
  ibus_engine_update_auxiliary_text(engine_, textOf(text), TRUE);
}

void IBusCandidatePanel::hidePage() {
  ibus_engine_hide_lookup_table(engine_);
  ibus_engine_hide_auxiliary_text(engine_);
}

}  // namespace yakdrom
