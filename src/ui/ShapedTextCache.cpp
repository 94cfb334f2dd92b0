#include "ui/ShapedTextCache.h"

#include <QFontMetricsF>

namespace yakdrom {

const ShapedTextCache::Shaped& ShapedTextCache::shaped(const QString& text, const QFont& font) {
  key_ = font.key();
  key_ += QChar(0x1F);
  key_ += text;
  if (const auto it = shaped_.find(key_); it != shaped_.end()) return it->second;
  const QFontMetricsF metrics(font);
  Shaped shaped{metrics.horizontalAdvance(text), metrics.tightBoundingRect(text), QStaticText(text),
                metrics.ascent()};
  shaped.layout.setTextFormat(Qt::PlainText);
  shaped.layout.prepare(QTransform(), font);
  return shaped_.emplace(key_, std::move(shaped)).first->second;
}

}  // namespace yakdrom
