#include "ui/settings/StatisticsPage.h"

#include <QMessageBox>
#include <QPushButton>
#include <functional>

#include "ui/settings/SettingsLayout.h"
#include "ui/settings/SheetBox.h"

namespace yakdrom {
namespace {

struct Row {
  StatisticsPage::Figure figure;
  std::string_view chinese;
  std::string_view english;
};

struct Card {
  std::string_view chinese;
  std::string_view english;
  std::vector<Row> rows;
};

using enum StatisticsPage::Figure;

const std::array<Card, 4> kCards = {{
    {"累计输入",
     "Cumulative",
     {{characters, "输入字符", "Characters"}, {words, "输入词数", "Words"}}},
    {"输入频率",
     "Frequency",
     {{todayCharacters, "今日字符", "Today"}, {weekCharacters, "本周字符", "This Week"}}},
    {"单词统计",
     "Word Statistics",
     {{todayWords, "今日词数", "Today"},
      {weekWords, "本周词数", "This Week"},
      {charactersPerWord, "平均每词字符", "Characters / Word"}}},
    {"用户词库", "User Dictionary", {{dictionaryEntries, "词条数", "Entries"}}},
}};

QString averagePerWord(std::int64_t characters, std::int64_t words) {
  const double average =
      words >= 1 ? static_cast<double>(characters) / static_cast<double>(words) : 0.0;
  return QString::asprintf("%.1f", average);
}

}  // namespace

StatisticsPage::StatisticsPage(const SettingsPageContext& context)
    : context_(context),
      clearButton_(new FlatButton(context.text("清空统计", "Clear Statistics"))) {
  QVBoxLayout* stack = SettingsLayout::pageStack(*this);
  for (const Card& card : kCards) {
    QVBoxLayout* column = SettingsLayout::addCard(*stack, 10);
    column->addWidget(SettingsLayout::label(context_.text(card.chinese, card.english), 11,
                                            QFont::DemiBold, SettingsLayout::Tone::secondary));
    for (const Row& row : card.rows) {
      if (&row != &card.rows.front()) SettingsLayout::addSeparator(*column);
      auto* value = new QLabel;
      labels_[static_cast<std::size_t>(row.figure)] = value;
      SettingsLayout::addInfoRow(*column, context_.text(row.chinese, row.english), value);
    }
  }
  clearButton_->setDestructive();
  connect(clearButton_, &QPushButton::clicked, this, &StatisticsPage::clearStatsTapped);
  stack->addWidget(clearButton_, 0, Qt::AlignLeft);
  SettingsLayout::endPage(*stack);
  refreshStats();
}

void StatisticsPage::refreshStats() {
  const InputStatistics& statistics = context_.services.statistics;
  const std::int64_t characters = statistics.totalCharacters();
  const std::int64_t words = statistics.totalWords();
  const std::pair<Figure, QString> figures[] = {
      {Figure::characters, QString::number(characters)},
      {Figure::words, QString::number(words)},
      {Figure::todayCharacters, QString::number(statistics.todayCharacters())},
      {Figure::weekCharacters, QString::number(statistics.weekCharacters())},
      {Figure::todayWords, QString::number(statistics.todayWords())},
      {Figure::weekWords, QString::number(statistics.weekWords())},
      {Figure::charactersPerWord, averagePerWord(characters, words)},
      {Figure::dictionaryEntries, QString::number(context_.services.userDictionary.count())},
  };
  for (const auto& [figure, text] : figures) label(figure).setText(text);
}

void StatisticsPage::clearStatsTapped() {
  SheetBox::open(context_.window, *this, QMessageBox::Warning,
                 context_.text("清空输入统计？", "Clear Typing Statistics?"),
                 context_.text("累计与按日统计将全部归零，此操作不可撤销。",
                               "Cumulative and daily statistics will be reset. This "
                               "cannot be undone."),
                 {{context_.text("清空", "Clear"), QMessageBox::AcceptRole, [this] { reset(); }},
                  {context_.text("取消", "Cancel"), QMessageBox::RejectRole, {}}});
}

void StatisticsPage::reset() {
  context_.services.statistics.reset();
  refreshStats();
  context_.notify({context_.text("已清空", "Cleared"),
                   context_.text("输入统计已重置。", "Typing statistics have been reset."),
                   std::nullopt});
}

}  // namespace yakdrom
