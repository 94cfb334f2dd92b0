// Scriptable stand-ins for the small platform services: screens, text measurement, fonts,
// resources, preferred languages and a log that records its lines.
#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

#include "ime/platform/FontSystem.h"
#include "ime/platform/Log.h"
#include "ime/platform/PreferredLanguages.h"
#include "ime/platform/ResourceLocator.h"
#include "ime/platform/Screens.h"
#include "ime/platform/TextMeasurer.h"

namespace yakdrom::testing {

class FakeScreens final : public Screens {
 public:
  [[nodiscard]] const std::vector<Screen>& screens() const override { return list; }
  [[nodiscard]] std::optional<Screen> mainScreen() const override { return main; }
  [[nodiscard]] Point mouseLocation() const override { return mouse; }

  std::vector<Screen> list;
  std::optional<Screen> main;
  Point mouse;
};

/// Widths by text; texts not listed measure `defaultWidth`.
class FakeTextMeasurer final : public TextMeasurer {
 public:
  [[nodiscard]] double singleLineWidth(std::string_view text, const Font&) const override {
    const auto it = widths.find(std::string(text));
    return it == widths.end() ? defaultWidth : it->second;
  }

  std::map<std::string, double> widths;
  double defaultWidth = 50;
};

/// Knows the names in `installed`; registering a file adds the faces listed for it, and
/// registering any other file fails with `failure`.
class FakeFontSystem final : public FontSystem {
 public:
  [[nodiscard]] std::optional<Font> font(std::string_view name, double size) const override {
    if (!installed.contains(std::string(name))) return std::nullopt;
    return Font{std::string(name), size};
  }
  [[nodiscard]] FontRegistration registerFontFile(const std::filesystem::path& file) override {
    registered.push_back(file);
    const auto it = facesInFile.find(file.string());
    if (it == facesInFile.end()) return {false, failure};
    installed.insert(it->second);
    return {true, {}};
  }
  [[nodiscard]] Font systemFont(double size) const override { return {"System UI", size}; }

  std::set<std::string> installed;
  std::map<std::string, std::string> facesInFile;
  std::vector<std::filesystem::path> registered;
  std::string failure = "unreadable";
};

class FakeResourceLocator final : public ResourceLocator {
 public:
  [[nodiscard]] std::optional<std::filesystem::path> find(
      std::string_view name, std::string_view extension) const override {
    const auto it = files.find(std::string(name) + "." + std::string(extension));
    if (it == files.end()) return std::nullopt;
    return it->second;
  }

  std::map<std::string, std::filesystem::path> files;
};

class FakePreferredLanguages final : public PreferredLanguages {
 public:
  [[nodiscard]] std::vector<std::string> languages() const override { return list; }

  std::vector<std::string> list;
};

class RecordingLog final : public Log {
 public:
  std::vector<std::string> lines;

 protected:
  void writeLine(std::string_view line) override { lines.emplace_back(line); }
};

}  // namespace yakdrom::testing
