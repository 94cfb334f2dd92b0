// `yakdrom replay FILE [OPTIONS]`: types the keys of a key-notation file through the input
// controller, as `yakdrom type` does but without waiting for the lexicon, and reports how
// fast each key was served, the peak memory, and when the first key was served and the
// lexicon load finished, both counted from the start of the command.
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <optional>
#include <ostream>
#include <thread>
#include <vector>

#include "engine/learning/AtomicFile.h"
#include "engine/text/Text.h"
#include "frontends/cli/CommandLexicon.h"
#include "frontends/cli/Commands.h"
#include "frontends/cli/EphemeralStores.h"
#include "frontends/cli/KeyNotation.h"
#include "frontends/cli/RegularFile.h"
#include "frontends/cli/TypingSession.h"

namespace yakdrom::cli {
namespace {

using Clock = std::chrono::steady_clock;
using Micros = std::chrono::duration<double, std::micro>;

constexpr int kFailure = 1;
constexpr int kUsage = 2;

int usage(std::ostream& err, std::string_view problem) {
  err << "yakdrom replay: " << problem << "\n"
      << "usage: yakdrom replay FILE [--lexicon FILE] [--user-dictionary FILE]"
         " [--set KEY=VALUE]...\n";
  return kUsage;
}

struct ReadKeys {
  std::vector<KeyPress> keys;
  std::optional<std::string> error;
  int status = 0;  // the exit status that goes with the error
};

// Line breaks only lay the file out; a key never spans two lines.
ReadKeys readKeys(const std::string& file) {
  if (const auto kind = nonRegularKind(file)) {
    return {
        {}, "cannot read " + file + ": it is " + std::string(*kind) + ", not a key file", kFailure};
  }
  const auto bytes = detail::AtomicFile::read(file);
  if (!bytes) return {{}, bytes.error().message(), kFailure};
  ReadKeys read;
  std::size_t lineNumber = 0;
  for (const std::string_view line : text::splitLines(bytes.value())) {
    ++lineNumber;
    auto parsed = parseKeyNotation(line);
    if (parsed.error) {
      return {{}, file + ":" + std::to_string(lineNumber) + ": " + *parsed.error, kUsage};
    }
    read.keys.insert(read.keys.end(), std::make_move_iterator(parsed.keys.begin()),
                     std::make_move_iterator(parsed.keys.end()));
  }
  return read;
}

// The nearest-rank percentile of sorted durations.
double percentile(const std::vector<double>& sorted, double fraction) {
  if (sorted.empty()) return 0;
  const auto rank = static_cast<std::size_t>(std::ceil(fraction * sorted.size()));
  return sorted[std::clamp<std::size_t>(rank, 1, sorted.size()) - 1];
}

std::string fixed(double value) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%.1f", value);
  return buffer;
}

double peakMemoryMiB() {
  rusage usage{};
  if (getrusage(RUSAGE_SELF, &usage) != 0) return 0;
  return static_cast<double>(usage.ru_maxrss) / 1024.0;  // Linux counts kilobytes
}

struct Timings {
  std::vector<double> keyMicros;
  Clock::duration typing{};
  std::optional<Clock::time_point> firstKeyServed;
};

Timings typeAll(TypingSession& session, const std::vector<KeyPress>& keys) {
  Timings t;
  t.keyMicros.reserve(keys.size());
  const auto begin = Clock::now();
  for (const auto& key : keys) {
    const auto before = Clock::now();
    (void)session.press(key);
    const auto after = Clock::now();
    if (!t.firstKeyServed) t.firstKeyServed = after;
    t.keyMicros.push_back(Micros(after - before).count());
  }
  t.typing = Clock::now() - begin;
  return t;
}

void report(std::ostream& out, Timings t, Clock::time_point start,
            std::optional<Clock::time_point> lexiconLoaded) {
  const auto sinceStart = [start](Clock::time_point at) {
    return fixed(std::chrono::duration<double, std::milli>(at - start).count()) + " ms after start";
  };
  const double seconds = std::chrono::duration<double>(t.typing).count();
  std::sort(t.keyMicros.begin(), t.keyMicros.end());
  out << "keys typed: " << t.keyMicros.size() << "\n"
      << "keys per second: "
      << (seconds > 0 ? std::llround(static_cast<double>(t.keyMicros.size()) / seconds) : 0) << "\n"
      << "latency p50: " << fixed(percentile(t.keyMicros, 0.50)) << " us\n"
      << "latency p90: " << fixed(percentile(t.keyMicros, 0.90)) << " us\n"
      << "latency p99: " << fixed(percentile(t.keyMicros, 0.99)) << " us\n"
      << "latency max: " << fixed(t.keyMicros.empty() ? 0 : t.keyMicros.back()) << " us\n"
      << "peak memory: " << fixed(peakMemoryMiB()) << " MiB\n"
      << "first key served: " << (t.firstKeyServed ? sinceStart(*t.firstKeyServed) : "none") << "\n"
      << "lexicon loaded: " << (lexiconLoaded ? sinceStart(*lexiconLoaded) : "failed") << "\n";
}

}  // namespace

int runReplay(const Args& args, std::ostream& out, std::ostream& err) {
  const auto start = Clock::now();
  const auto parsed = parseSessionOptions(args, false);
  if (parsed.error) return usage(err, *parsed.error);
  const SessionOptions& options = parsed.options;
  if (options.operands.size() != 1) return usage(err, "name one key file");
  // The load starts first, as the input method starts it at launch, and goes on while the
  // keys and the user dictionary are read and typed.
  CommandLexicon lexicon(options.lexicon);
  lexicon.store().preloadIfNeeded();
  std::optional<Clock::time_point> lexiconLoaded;
  std::jthread watcher([&lexicon, &lexiconLoaded] {
    if (lexicon.store().waitUntilLoaded()) lexiconLoaded = Clock::now();
  });
  const ReadKeys read = readKeys(options.operands.front());
  if (read.error) {
    err << "yakdrom replay: " << *read.error << "\n";
    return read.status;
  }
  auto opened = EphemeralStores::open(options);
  if (!opened.stores) {
    if (opened.status == kUsage) return usage(err, opened.error);
    err << "yakdrom replay: " << opened.error << "\n";
    return opened.status;
  }
  for (const auto& warning : opened.warnings) {
    err << "yakdrom replay: warning: " << warning << "\n";
  }
  TypingSession session(opened.stores->stores(lexicon.store()));
  session.start();
  const Timings timings = typeAll(session, read.keys);
  watcher.join();
  report(out, timings, start, lexiconLoaded);
  int status = 0;
  if (!lexiconLoaded) {
    err << "yakdrom replay: " << lexicon.failure() << "\n";
    status = kFailure;
  }
  if (const auto problem = opened.stores->save()) {
    err << "yakdrom replay: " << *problem << "\n";
    status = kFailure;
  }
  return status;
}

}  // namespace yakdrom::cli
