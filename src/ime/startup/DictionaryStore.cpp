#include "ime/startup/DictionaryStore.h"

#include <string>
#include <system_error>
#include <utility>

#include "engine/lexicon/DictionaryLoader.h"
#include "ime/platform/SystemLog.h"

namespace yakdrom {

DictionaryStore::DictionaryStore(ApplicationBundle bundle, Log& log,
                                 TibetanDictionary& explanations)
    : bundle_(std::move(bundle)), log_(log), explanations_(explanations) {}

DictionaryStore::~DictionaryStore() {
  if (loader_.joinable()) loader_.join();
}

DictionaryStore& DictionaryStore::shared() {
  // Declared first so that it outlives the store, whose load may still be logging at exit.
  static SystemLog log;
  static DictionaryStore store(ApplicationBundle::forRunningExecutable(), log,
                               TibetanDictionary::shared());
  return store;
}

void DictionaryStore::useLexiconFile(std::filesystem::path file) {
  const std::lock_guard lock(mutex_);
  if (!started_) lexiconFile_ = std::move(file);
}

std::optional<std::filesystem::path> DictionaryStore::locateLexicon() const {
  std::optional<std::filesystem::path> chosen;
  {
    const std::lock_guard lock(mutex_);
    chosen = lexiconFile_;
  }
  if (chosen) {
    std::error_code error;
    if (std::filesystem::is_regular_file(*chosen, error)) return chosen;
    return std::nullopt;
  }
  for (const ResourceName& resource : kLexiconResources) {
    if (auto file = bundle_.resource(resource)) return file;
  }
  for (const ResourceName& resource : kLexiconResources) {
    if (auto file = bundle_.besideExecutable(resource)) return file;
  }
  return std::nullopt;
}

void DictionaryStore::preloadIfNeeded() {
  {
    const std::lock_guard lock(mutex_);
    // Set before anything else, so that a failed attempt is never repeated.
    if (started_) return;
    started_ = true;
  }
  const auto file = locateLexicon();
  if (!file) {
    log_.write("未找到词库文件。Bundle.main=" + bundle_.path().string());
    finish(LoadState::failed);
    return;
  }
  {
    const std::lock_guard lock(mutex_);
    state_ = LoadState::loading;
  }
  loader_ = std::thread([this, file = *file] { load(file); });
}

bool DictionaryStore::started() const {
  const std::lock_guard lock(mutex_);
  return started_;
}

bool DictionaryStore::waitUntilLoaded() const {
  std::unique_lock lock(mutex_);
  loadEnded_.wait(lock, [this] { return state_ != LoadState::loading; });
  return state_ == LoadState::loaded;
}

void DictionaryStore::load(const std::filesystem::path& file) {
  auto result = DictionaryLoader::load(file);
  if (!result) {
    log_.write("词库加载失败，路径 " + file.string() + "：" + result.error().code.message());
    finish(LoadState::failed);
    return;
  }
  auto& content = result.value();
  const std::size_t words = content.words.size();
  const std::size_t tibetan = content.explanations.size();
  const std::size_t chinese = content.chineseExplanations.size();
  const std::size_t english = content.englishExplanations.size();
  engine_.install(std::move(content.words));
  explanations_.install(std::move(content.explanations), std::move(content.chineseExplanations),
                        std::move(content.englishExplanations));
  log_.write("词库/词典加载成功，词 " + std::to_string(words) + "，藏文释义 " +
             std::to_string(tibetan) + "，汉文释义 " + std::to_string(chinese) + "，英文释义 " +
             std::to_string(english));
  finish(LoadState::loaded);
}

void DictionaryStore::finish(LoadState state) {
  {
    const std::lock_guard lock(mutex_);
    state_ = state;
  }
  loadEnded_.notify_all();
}

}  // namespace yakdrom
