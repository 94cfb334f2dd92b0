#include "ime/settings/InterfaceLanguage.h"

namespace yakdrom {

InterfaceLanguage interfaceLanguage(const std::vector<std::string>& preferred) {
  const bool chinese = !preferred.empty() && preferred.front().starts_with("zh");
  return chinese ? InterfaceLanguage::chinese : InterfaceLanguage::english;
}

InterfaceLanguage interfaceLanguage(const PreferredLanguages& preferred) {
  return interfaceLanguage(preferred.languages());
}

}  // namespace yakdrom
