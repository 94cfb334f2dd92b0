#include "ime/platform/LocalePreferredLanguages.h"

#include <algorithm>
#include <cstdlib>

namespace yakdrom {
namespace {

// "zh_CN.UTF-8@pinyin" names the language zh-CN; the codeset and modifier do not matter.
std::string languageTag(std::string_view locale) {
  locale = locale.substr(0, locale.find_first_of(".@"));
  if (locale == "C" || locale == "POSIX") return {};
  std::string tag(locale);
  std::replace(tag.begin(), tag.end(), '_', '-');
  return tag;
}

void addTag(std::vector<std::string>& tags, std::string_view locale) {
  std::string tag = languageTag(locale);
  if (!tag.empty() && std::find(tags.begin(), tags.end(), tag) == tags.end()) {
    tags.push_back(std::move(tag));
  }
}

std::string_view nonEmpty(const char* value) { return value ? value : ""; }

}  // namespace

LocalePreferredLanguages::LocalePreferredLanguages()
    : lookup_([](const char* name) -> const char* { return std::getenv(name); }) {}

LocalePreferredLanguages::LocalePreferredLanguages(Lookup lookup) : lookup_(std::move(lookup)) {}

// The messages locale is the first of LC_ALL, LC_MESSAGES and LANG that is set and not
// empty; with none of them the program runs in the C locale.
std::string_view LocalePreferredLanguages::messagesLocale() const {
  for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    if (const std::string_view locale = nonEmpty(lookup_(name)); !locale.empty()) return locale;
  }
  return "C";
}

std::vector<std::string> LocalePreferredLanguages::languages() const {
  std::vector<std::string> tags;
  const std::string_view locale = messagesLocale();
  // As gettext does: a program in the C locale keeps its own messages, whatever LANGUAGE
  // asks for, since scripts rely on that output.
  std::string_view list = locale == "C" || locale == "POSIX" ? "" : nonEmpty(lookup_("LANGUAGE"));
  while (!list.empty()) {
    const auto colon = list.find(':');
    addTag(tags, list.substr(0, colon));
    list = colon == std::string_view::npos ? std::string_view{} : list.substr(colon + 1);
  }
  addTag(tags, locale);
  return tags;
}

}  // namespace yakdrom
