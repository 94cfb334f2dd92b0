// The Qt pad typing a replay corpus, as a desktop would send its keys: how long from a key
// press until the candidate window has repainted, the pad's resident memory after the
// corpus, and the time from start-up to the pad's first paint.
// Usage: yakdrom_bench_pad KEYS_FILE [USER_DICTIONARY [LINES_PER_PARAGRAPH]]
//   KEYS_FILE as bench/make-replay-corpus.sh writes it; USER_DICTIONARY is copied and learnt
//   into ("-" or nothing: a fresh one). The text area starts a new paragraph every
//   LINES_PER_PARAGRAPH lines of keys (20 by default). Run it with QT_QPA_PLATFORM=offscreen,
//   or on a display.
#include <unistd.h>

#include <QApplication>
#include <QElapsedTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "engine/learning/TemporaryFolder.h"
#include "frontends/pad/PadKeyEvents.h"
#include "frontends/pad/PadTestStores.h"
#include "frontends/pad/PadWindow.h"
#include "ime/platform/BundleResourceLocator.h"
#include "ime/startup/CustomFont.h"
#include "ui/QtFontSystem.h"

namespace yakdrom {
namespace {

// Counts the paints of one widget.
class PaintCounter final : public QObject {
 public:
  explicit PaintCounter(QWidget& widget) { widget.installEventFilter(this); }
  [[nodiscard]] int count() const { return count_; }

 protected:
  bool eventFilter(QObject* /*watched*/, QEvent* event) override {
    if (event->type() == QEvent::Paint) ++count_;
    return false;
  }

 private:
  int count_ = 0;
};

// Qt lays a whole paragraph out again on every change: a paragraph as long as the corpus
// would measure the text area, not the input method.
constexpr std::size_t kLinesPerParagraph = 20;

double percentile(std::vector<double> values, double fraction) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  const auto rank = static_cast<std::size_t>(fraction * static_cast<double>(values.size()));
  return values[std::min(rank, values.size() - 1)];
}

// Returns a line of /proc/self/status, such as "VmRSS:  81234 kB".
std::string status(const std::string& field) {
  std::ifstream in("/proc/self/status");
  for (std::string line; std::getline(in, line);) {
    if (line.rfind(field + ":", 0) == 0) return line;
  }
  return field + ": ?";
}

// The time since the kernel started this process, to a clock tick (10 ms), so that loading
// the libraries counts too.
double millisecondsSinceProcessStart() {
  std::ifstream stat("/proc/self/stat");
  std::string field;
  for (int i = 0; i < 22 && stat >> field; ++i) {
  }
  std::ifstream uptime("/proc/uptime");
  double up = 0;
  uptime >> up;
  const double ticks = static_cast<double>(::sysconf(_SC_CLK_TCK));
  return (up - std::stod(field) / ticks) * 1000.0;
}

}  // namespace
}  // namespace yakdrom

int main(int argc, char** argv) {
  using namespace yakdrom;
  const auto started = std::chrono::steady_clock::now();
  if (argc < 2) {
    std::fprintf(stderr, "usage: yakdrom_bench_pad KEYS_FILE [USER_DICTIONARY]\n");
    return 2;
  }
  ::setenv("QT_IM_MODULE", "none", 1);
  QApplication application(argc, argv);
  const yakdrom::testing::TemporaryFolder scratch;
  const auto userFile = scratch / "user-dictionary.txt";
  if (argc > 2 && std::string(argv[2]) != "-") std::filesystem::copy_file(argv[2], userFile);
  const std::size_t linesPerParagraph =
      argc > 3 ? std::max(1UL, std::stoul(argv[3])) : kLinesPerParagraph;

  QtFontSystem fonts;
  const BundleResourceLocator resources = BundleResourceLocator::forRunningExecutable();
  yakdrom::testing::SilentLog log;
  registerCustomFont(ApplicationBundle::forRunningExecutable(), fonts, log);
  yakdrom::testing::PadTestStores stores(userFile, std::nullopt);
  PadWindow pad(stores.services(fonts, resources), InterfaceLanguage::english);
  PaintCounter padPaints(*pad.editor().viewport());
  pad.show();
  while (padPaints.count() == 0) QCoreApplication::processEvents();
  const auto firstPaint = std::chrono::steady_clock::now();
  const double sinceExec = millisecondsSinceProcessStart();
  if (!stores.waitForLexicon()) {
    std::fprintf(stderr, "yakdrom_bench_pad: no lexicon beside the program\n");
    return 1;
  }

  PaintCounter windowPaints(pad.inputMethod().candidateWindow());
  std::vector<double> repainted;
  std::vector<double> all;
  std::size_t words = 0;
  std::ifstream keys(argv[1]);
  for (std::string line; std::getline(keys, line); ++words) {
    if (words % linesPerParagraph == 0) {
      pad.editor().clear();
    }
    for (const cli::KeyPress& key : cli::parseKeyNotation(line).keys) {
      const int paintsBefore = windowPaints.count();
      QElapsedTimer timer;
      timer.start();
      (void)yakdrom::testing::sendKey(pad.editor(), key);
      QCoreApplication::processEvents();
      const double micros = static_cast<double>(timer.nsecsElapsed()) / 1000.0;
      all.push_back(micros);
      if (windowPaints.count() > paintsBefore) repainted.push_back(micros);
    }
  }
  const double startup = std::chrono::duration<double, std::milli>(firstPaint - started).count();
  std::printf("lines typed: %zu, keys: %zu, keys that repainted the candidate window: %zu\n", words,
              all.size(), repainted.size());
  std::printf("key to candidate window repainted: p50 %.0f us, p99 %.0f us\n",
              percentile(repainted, 0.50), percentile(repainted, 0.99));
  std::printf("every key, until its events are done: p50 %.0f us, p99 %.0f us\n",
              percentile(all, 0.50), percentile(all, 0.99));
  std::printf("start-up to the pad's first paint: %.0f ms from main, %.0f ms from exec\n", startup,
              sinceExec);
  std::printf("%s\n%s\n", status("VmRSS").c_str(), status("VmHWM").c_str());
  return 0;
}
