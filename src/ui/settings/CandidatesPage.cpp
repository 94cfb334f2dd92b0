#include "ui/settings/CandidatesPage.h"

#include <QHBoxLayout>
#include <QSignalBlocker>

#include "ui/ApplicationAppearance.h"
#include "ui/QtFont.h"
#include "ui/settings/AvailableFonts.h"
#include "ui/settings/ChoicePopUp.h"
#include "ui/settings/SettingsLayout.h"

namespace yakdrom {
namespace {

constexpr int kMinFontSize = 8;
constexpr int kMaxFontSize = 72;
constexpr int kFontPopupWidth = 170;

ThemedPopUpButton* fontPopUp() {
  auto* popUp = new ThemedPopUpButton;
  popUp->addItems(availableFonts());
  popUp->setFixedWidth(kFontPopupWidth);
  return popUp;
}

}  // namespace

CandidatesPage::CandidatesPage(const SettingsPageContext& context)
    : context_(context),
      fontPopup_(fontPopUp()),
      fontSizeSlider_(new QSlider(Qt::Horizontal)),
      fontSizeValueLabel_(SettingsLayout::label(QStringLiteral("20"), 11, QFont::Normal,
                                                SettingsLayout::Tone::secondary)),
      fontPreview_(new QLabel(qtString(kPreviewText))),
      countPopup_(new ThemedPopUpButton),
      stylePopup_(ChoicePopUp<CandidatePanelStyle>::make(context.language)),
      displayPopup_(ChoicePopUp<CandidateDisplay>::make(context.language)),
      suggestionSwitch_(new SwitchButton),
      appearancePopup_(ChoicePopUp<AppearancePreference>::make(context.language)) {
  QVBoxLayout* stack = SettingsLayout::pageStack(*this);
  buildControls();
  QVBoxLayout* card = SettingsLayout::addCard(*stack, 12);
  auto* size = new QWidget;
  auto* sizeRow = new QHBoxLayout(size);
  sizeRow->setContentsMargins(0, 0, 0, 0);
  sizeRow->setSpacing(8);
  sizeRow->addWidget(fontSizeSlider_, 0, Qt::AlignVCenter);
  sizeRow->addWidget(fontSizeValueLabel_, 0, Qt::AlignVCenter);
  const std::pair<QString, QWidget*> rows[] = {
      {context_.text("字体", "Font"), fontPopup_},
      {context_.text("字号", "Font Size"), size},
      {context_.text("每页候选", "Candidates per Page"), countPopup_},
      {context_.text("面板样式", "Panel Style"), stylePopup_},
      {context_.text("候选显示于", "Show Candidates In"), displayPopup_},
      {context_.text("前缀联想", "Prefix Suggestions"), suggestionSwitch_},
      {context_.text("主题", "Theme"), appearancePopup_},
  };
  for (const auto& [label, control] : rows) {
    if (&label != &rows[0].first) SettingsLayout::addSeparator(*card);
    SettingsLayout::addRow(*card, label, control);
  }
  fontSizeSlider_->setAccessibleName(context_.text("字号", "Font Size"));
  buildPreview(*stack);
  SettingsLayout::endPage(*stack);
  connectActions();
}

void CandidatesPage::buildControls() {
  fontSizeSlider_->setRange(kMinFontSize, kMaxFontSize);
  fontSizeSlider_->setValue(static_cast<int>(kDefaultCandidateFontSize));
  fontSizeSlider_->setFixedWidth(150);
  fontSizeValueLabel_->setFixedWidth(28);
  fontSizeValueLabel_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  for (const int count : kCounts) countPopup_->addItem(QString::number(count));
}

void CandidatesPage::buildPreview(QVBoxLayout& stack) {
  QVBoxLayout* card = SettingsLayout::addCard(stack, 10);
  card->addWidget(SettingsLayout::label(context_.text("字体预览", "Font Preview"), 12,
                                        QFont::DemiBold, SettingsLayout::Tone::secondary));
  fontPreview_->setWordWrap(true);
  fontPreview_->setAlignment(Qt::AlignCenter);
  fontPreview_->setAccessibleName(context_.text("字体预览", "Font Preview"));
  card->addWidget(fontPreview_);
}

void CandidatesPage::connectActions() {
  YakdromSettings& settings = context_.settings;
  connect(fontPopup_, &QComboBox::currentIndexChanged, this, [this] { fontChanged(); });
  connect(fontSizeSlider_, &QSlider::valueChanged, this,
          [this](int size) { fontSizeSliderChanged(size); });
  connect(countPopup_, &QComboBox::currentIndexChanged, this, [this] { countChanged(); });
  connect(stylePopup_, &QComboBox::currentIndexChanged, this, [this, &settings] {
    settings.setPanelStyle(ChoicePopUp<CandidatePanelStyle>::chosen(*stylePopup_));
  });
  connect(displayPopup_, &QComboBox::currentIndexChanged, this, [this, &settings] {
    settings.setCandidateDisplay(ChoicePopUp<CandidateDisplay>::chosen(*displayPopup_));
  });
  connect(suggestionSwitch_, &QAbstractButton::toggled, this,
          [&settings](bool on) { settings.setSuggestionEnabled(on); });
  connect(appearancePopup_, &QComboBox::currentIndexChanged, this, [this] { appearanceChanged(); });
}

void CandidatesPage::loadSettings() {
  const YakdromSettings& settings = context_.settings;
  const QSignalBlocker blockers[] = {
      QSignalBlocker(fontPopup_),      QSignalBlocker(fontSizeSlider_),
      QSignalBlocker(countPopup_),     QSignalBlocker(stylePopup_),
      QSignalBlocker(displayPopup_),   QSignalBlocker(suggestionSwitch_),
      QSignalBlocker(appearancePopup_)};
  fontPopup_->selectTitle(QString::fromStdString(settings.candidateFontName()));
  const int size = static_cast<int>(settings.candidateFontSize());
  fontSizeSlider_->setValue(size);
  fontSizeValueLabel_->setText(QString::number(size));
  countPopup_->selectTitle(QString::number(settings.candidateCount()));
  ChoicePopUp<CandidatePanelStyle>::select(*stylePopup_, settings.panelStyle());
  ChoicePopUp<CandidateDisplay>::select(*displayPopup_, settings.candidateDisplay());
  suggestionSwitch_->setChecked(settings.suggestionEnabled());
  ChoicePopUp<AppearancePreference>::select(*appearancePopup_, settings.appearancePreference());
  refreshPreviewFont();
}

void CandidatesPage::fontChanged() {
  context_.settings.setCandidateFontName(
      fontPopup_->selectedTitle().value_or(QStringLiteral("Kailasa")).toStdString());
  refreshPreviewFont();
}

void CandidatesPage::fontSizeSliderChanged(int size) {
  context_.settings.setCandidateFontSize(size);
  fontSizeValueLabel_->setText(QString::number(size));
  refreshPreviewFont();
}

void CandidatesPage::countChanged() {
  bool parsed = false;
  const int count = countPopup_->selectedTitle().value_or(QStringLiteral("10")).toInt(&parsed);
  if (parsed) context_.settings.setCandidateCount(count);
}

void CandidatesPage::appearanceChanged() {
  const auto appearance = ChoicePopUp<AppearancePreference>::chosen(*appearancePopup_);
  context_.settings.setAppearancePreference(appearance);
  ApplicationAppearance::apply(appearance);
}

void CandidatesPage::refreshPreviewFont() {
  fontPreview_->setFont(toQFont(context_.settings.candidateFont()));
}

}  // namespace yakdrom
