#include "frontends/pad/PadInputMethod.h"

#include <QApplication>
#include <QKeyEvent>

namespace yakdrom {

PadInputMethod::PadInputMethod(QPlainTextEdit& editor, PadServices services)
    : editor_(editor),
      settings_(services.preferences, services.fonts, services.resources),
      client_(editor),
      presenter_(makeWindow(), makeBox(), screens_, measurer_),
      session_(
          InputControllerServices{
              .settings = settings_,
              .presenter = presenter_,
              .screens = screens_,
              .log = services.log,
              .languages = languages_,
              .settingsWindow = &services.settingsWindow,
              // The text area is the pad's reason to be, never a window to keep keys from.
              .ownIdentifier = std::string(kYakdromBundleIdentifier),
              .dictionary = services.lexicon,
              .userDictionary = services.userDictionary,
              .statistics = services.statistics,
          },
          client_) {
  editor_.installEventFilter(this);
  editor_.viewport()->installEventFilter(this);
  session_.activate();
}

// Some platforms (the offscreen one among them) activate every window that is shown, our
// floating ones too; the text area losing focus to them is no end of input.
bool PadInputMethod::focusWentToOwnWindow() const {
  const QWidget* active = QApplication::activeWindow();
  return active != nullptr && (active == window_ || active == box_);
}

PadInputMethod::~PadInputMethod() {
  editor_.removeEventFilter(this);
  editor_.viewport()->removeEventFilter(this);
}

std::unique_ptr<CandidateWindowView> PadInputMethod::makeWindow() {
  auto window = std::make_unique<CandidateWindow>();
  window_ = window.get();
  return window;
}

std::unique_ptr<ExplanationBoxView> PadInputMethod::makeBox() {
  auto box = std::make_unique<ExplanationBoxWindow>();
  box_ = box.get();
  return box;
}

bool PadInputMethod::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::KeyPress:
      return keyPressed(static_cast<QKeyEvent&>(*event));
    case QEvent::KeyRelease:
      keys_.observe(static_cast<QKeyEvent&>(*event));
      return false;
    case QEvent::FocusIn:
      session_.activate();
      return false;
    case QEvent::FocusOut:
      if (!focusWentToOwnWindow()) session_.deactivate();
      return false;
    case QEvent::MouseButtonPress:
      // The caret is about to move: the syllable stays where it was typed.
      if (watched == editor_.viewport()) session_.commitComposition();
      return false;
    default:
      return false;
  }
}

// A key the engine does not know (Home, Page Down, a function key) acts on the text area,
// after the syllable being composed is committed where it stands.
bool PadInputMethod::keyPressed(QKeyEvent& event) {
  keys_.observe(event);
  const auto key = keys_.translate(event);
  if (!key) {
    if (!PadKeyTranslation::isModifier(event) && !client_.markedText().empty()) {
      session_.commitComposition();
    }
    return false;
  }
  return session_.press(key->keyCode, key->flags).consumed;
}

}  // namespace yakdrom
