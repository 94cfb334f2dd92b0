// Texts shaped once and kept: their advance, their ink and a prepared layout to draw. The
// candidate window shows mostly the same words from one key to the next, and shaping
// Tibetan (stacks, vowel placement) costs far more than drawing it. Main thread (fonts).
#pragma once

#include <QFont>
#include <QRectF>
#include <QStaticText>
#include <QString>
#include <unordered_map>

namespace yakdrom {

class ShapedTextCache {
 public:
  struct Shaped {
    double advance = 0;
    /// The ink's bounds, relative to the start of the baseline.
    QRectF ink;
    /// The text laid out in its font, drawn from its top left corner.
    QStaticText layout;
    /// How far the top of the layout lies above the baseline.
    double ascent = 0;
  };

  /// Returns `text` shaped in `font`, shaping it on first use. What it returns stays valid
  /// until the next trim.
  [[nodiscard]] const Shaped& shaped(const QString& text, const QFont& font);

  /// Forgets every text once there are many, so the cache stays small.
  void trim() {
    if (shaped_.size() >= kCapacity) shaped_.clear();
  }

 private:
  // Enough for the pages of many keys; past it, a trim starts the cache afresh.
  static constexpr std::size_t kCapacity = 4096;

  std::unordered_map<QString, Shaped> shaped_;
  QString key_;  // reused: font key, a separator, the text
};

}  // namespace yakdrom
