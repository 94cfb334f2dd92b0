// An application's text field for the desktop tests: one line edit that an input method types
// into through Qt's own IBus module, reporting on stdout, a line at a time, what a test needs
// to follow it: the window to focus, when the field has the focus, its text, its preedit and
// the caret the input method is told about.
#include <QApplication>
#include <QFontDatabase>
#include <QInputMethod>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QWindow>
#include <cstdio>
#include <string>

namespace yakdrom::testing {
namespace {

constexpr const char* kTitle = "Yakdrom text field";
constexpr const char* kTibetanFamily = "Tibetan Machine Uni";
// Large enough for the stacked letters and the underline to be read on a screenshot.
constexpr int kPointSize = 28;
constexpr int kLeft = 24;
constexpr int kTop = 24;
constexpr int kWidth = 560;
constexpr int kHeight = 72;

// The test reads our stdout through a pipe, so every line is flushed as it is written.
void report(const char* kind, const QString& value = {}) {
  std::printf("%s%s%s\n", kind, value.isEmpty() ? "" : " ", value.toStdString().c_str());
  std::fflush(stdout);
}

// The caret as Qt's IBus module reports it to the input method: in screen coordinates.
void reportCaret() {
  const QWindow* window = QGuiApplication::focusWindow();
  const QRect caret = QGuiApplication::inputMethod()->cursorRectangle().toRect();
  if (window == nullptr || !caret.isValid()) return;
  const QPoint topLeft = window->mapToGlobal(caret.topLeft());
  report("caret", QString("%1 %2 %3 %4")
                      .arg(topLeft.x())
                      .arg(topLeft.y())
                      .arg(caret.width())
                      .arg(caret.height()));
}

class TextFieldProgram final : public QObject {
 public:
  TextFieldProgram() {
    field_.setWindowTitle(kTitle);
    QFont font = field_.font();
    if (QFontDatabase::families().contains(kTibetanFamily)) font.setFamily(kTibetanFamily);
    font.setPointSize(kPointSize);
    field_.setFont(font);
    field_.setGeometry(kLeft, kTop, kWidth, kHeight);
    field_.installEventFilter(this);
    QObject::connect(&field_, &QLineEdit::textChanged,
                     [](const QString& text) { report("text", text); });
    QObject::connect(QGuiApplication::inputMethod(), &QInputMethod::cursorRectangleChanged,
                     &reportCaret);
  }

  void show() {
    field_.show();
    field_.windowHandle()->installEventFilter(this);
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched == field_.windowHandle() && event->type() == QEvent::Expose) reportExposed();
    if (watched == &field_ && event->type() == QEvent::FocusIn) report("focus");
    if (watched == &field_ && event->type() == QEvent::InputMethod) {
      applyInputMethodEvent(static_cast<QInputMethodEvent*>(event));
      return true;
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  // Only a window the server has mapped can take the focus.
  void reportExposed() {
    if (exposed_ || !field_.windowHandle()->isExposed()) return;
    exposed_ = true;
    report("window", QString::number(field_.winId()));
  }

  // Reports once the field has applied the event, so that the report is what is on screen.
  void applyInputMethodEvent(QInputMethodEvent* event) {
    field_.event(event);
    report("preedit", event->preeditString());
  }

  QLineEdit field_;
  bool exposed_ = false;
};

}  // namespace
}  // namespace yakdrom::testing

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  yakdrom::testing::TextFieldProgram program;
  program.show();
  return QApplication::exec();
}
