#include "frontends/cli/Json.h"

#include <cstdio>

namespace yakdrom::cli {

std::string jsonQuoted(std::string_view text) {
  std::string out = "\"";
  for (char c : text) {
    switch (c) {
      case '"':
        out += "\\\"";
        break;
      case '\\':
        out += "\\\\";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\t':
        out += "\\t";
        break;
      case '\r':
        out += "\\r";
        break;
      default:
        if (static_cast<unsigned char>(c) < 0x20) {
          char buf[8];
          std::snprintf(buf, sizeof buf, "\\u%04x", static_cast<unsigned char>(c));
          out += buf;
        } else {
          out += c;
        }
    }
  }
  return out + "\"";
}

std::string jsonArray(const std::vector<std::string>& texts) {
  std::string out = "[";
  for (const auto& text : texts) {
    if (out.size() > 1) out += ", ";
    out += jsonQuoted(text);
  }
  return out + "]";
}

std::string jsonQuotedOrNull(const std::optional<std::string>& text) {
  return text ? jsonQuoted(*text) : "null";
}

}  // namespace yakdrom::cli
