// The keys a typing pad answers besides the layout's own, as its help lists them: the
// candidate keys every pad shares, then each pad's own. Any thread.
#pragma once

#include <array>
#include <string_view>

namespace yakdrom {

struct PadKey {
  std::string_view keys;
  std::string_view chinese;
  std::string_view english;
};

/// The keys of the candidate window, the same in every pad and in the input method.
inline constexpr std::array<PadKey, 5> kCandidateKeys = {{
    {"1–9", "选定该编号的候选词", "confirm the candidate with that number"},
    {"Return, Space", "选定所选候选词", "confirm the selected candidate"},
    {"↑ ↓ (← → in a single row)", "在候选词间移动，可翻页",
     "move along the candidates, page by page"},
    {"→ ↓ / ← ↑ across the list", "打开 / 关闭所选词的释义",
     "open / close the selected word's explanation"},
    {"Escape", "关闭候选窗口", "close the candidate window"},
}};

/// Where the whole layout is shown, for the help's last line.
inline constexpr std::string_view kLayoutHintChinese =
    "全部按键见 yakdrom layout（或帮助 ▸ 键盘图）；M 与 Shift+M 为死键。";
inline constexpr std::string_view kLayoutHintEnglish =
    "Every key's letter: yakdrom layout (or Help ▸ Keyboard Chart); M and Shift+M are dead "
    "keys.";

}  // namespace yakdrom
