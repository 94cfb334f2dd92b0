#include <gtest/gtest.h>

#include <QSet>
#include <QXmlStreamReader>

#include "engine/composition/KeyCode.h"
#include "ime/help/KeyboardChartSvg.h"
#include "ui/KeyboardChartWindow.h"

namespace yakdrom {
namespace {

// The picture is written by hand as text, so it is read back as XML, and every key must be
// named in every chart: three charts of the 47 character keys.
TEST(KeyboardChartSvgTest, IsWellFormedXmlThatNamesEveryKeyInEveryChart) {
  QXmlStreamReader xml(QByteArray::fromStdString(KeyboardChartSvg::render()));
  QStringList titles;
  while (!xml.atEnd()) {
    if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == QLatin1String("title")) {
      titles.append(xml.readElementText());
    }
  }
  ASSERT_FALSE(xml.hasError()) << xml.errorString().toStdString() << " at line "
                               << xml.lineNumber();
  EXPECT_EQ(titles.size(), 3 * 47);
  const QSet<QString> named(titles.begin(), titles.end());
  for (const KeyCode::NamedKey& key : KeyCode::kNamedKeys) {
    if (key.plain == 0 || key.plain == ' ') continue;
    const QString cap = std::isalpha(static_cast<unsigned char>(key.plain)) != 0
                            ? QString(QChar(key.shifted))
                            : QString("%1 %2").arg(QChar(key.shifted), QChar(key.plain));
    EXPECT_TRUE(named.contains(cap)) << cap.toStdString();
  }
}

TEST(KeyboardChartWindowTest, DrawsThePictureAsLargeAsTheWindowAllowsInItsProportions) {
  KeyboardChartWindow window(InterfaceLanguage::english);
  ASSERT_TRUE(window.isValid());
  EXPECT_EQ(window.windowTitle(), "Keyboard Chart");
  const QSize picture = window.pictureSize();
  for (const QSize size : {QSize(400, 900), QSize(1600, 300), picture}) {
    SCOPED_TRACE(size.width());
    window.resize(size);
    const QRectF drawn = window.pictureRect();
    EXPECT_TRUE(
        qFuzzyCompare(drawn.width() / drawn.height(), qreal(picture.width()) / picture.height()));
    EXPECT_TRUE(qFuzzyCompare(drawn.width(), qreal(size.width())) ||
                qFuzzyCompare(drawn.height(), qreal(size.height())));
    EXPECT_TRUE(QRectF(window.rect()).contains(drawn.adjusted(0.5, 0.5, -0.5, -0.5)));
  }
}

}  // namespace
}  // namespace yakdrom
