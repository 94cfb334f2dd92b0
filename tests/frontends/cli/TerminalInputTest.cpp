#include <gtest/gtest.h>

#include <string>

#include "frontends/cli/TerminalInput.h"

namespace yakdrom::cli {
namespace {

// The decoded inputs in key notation, the others as <finish>, <cancel>, <suspend>, <help>.
std::string notation(const DecodedInput& decoded) {
  std::string out;
  for (const auto& input : decoded.inputs) {
    switch (input.kind) {
      case TerminalInput::Kind::key:
        EXPECT_EQ(input.key.written, formatKey(input.key));
        out += formatKey(input.key);
        break;
      case TerminalInput::Kind::finish:
        out += "<finish>";
        break;
      case TerminalInput::Kind::cancel:
        out += "<cancel>";
        break;
      case TerminalInput::Kind::suspend:
        out += "<suspend>";
        break;
      case TerminalInput::Kind::help:
        out += "<help>";
        break;
    }
  }
  return out;
}

TEST(TerminalInput, TranslatesWhatTerminalsSendIntoKeys) {
  struct Case {
    std::string bytes;
    std::string keys;
  };
  const Case cases[] = {
      {"fod", "fod"},
      {"A!{}", "A!{shift+[}{shift+]}"},
      {" \r\n\t", "{space}{return}{return}{tab}"},
      {"\x7f\b", "{delete}{delete}"},
      {"\x04", "<finish>"},
      {"\x03", "<cancel>"},
      {"\x01\x19\x1a", "{ctrl+a}{ctrl+y}<suspend>"},
      {std::string(1, '\0'), "{ctrl+space}"},
      {"\x1bm\x1bM", "{opt+m}{shift+opt+m}"},  // Alt or Meta sends ESC first
      {"\x1b\x7f\x1b\r", "{opt+delete}{opt+return}"},
      {"\x1b[A\x1b[B\x1b[C\x1b[D", "{up}{down}{right}{left}"},
      {"\x1bOA\x1bOD", "{up}{left}"},  // application cursor keys
      {"\x1b[1;2A\x1b[1;3B\x1b[1;9C\x1b[1;5D", "{shift+up}{opt+down}{opt+right}{ctrl+left}"},
      {"\x1b[3~\x1b[15~\x1bOQx", "x"},     // Forward Delete and function keys type nothing
      {"\x1bOP\x1b[11~", "<help><help>"},  // F1, as xterm and as rxvt send it
      {"\x1b\x1b", "{escape}{escape}"},
      {"\x1b\x04", "{escape}<finish>"},
      {"\x1b\x1a", "{escape}<suspend>"},
      {"x\xe0\xbd\x80y", "xy"},    // text pasted in any script has no key
      {"\x1b[1;3\x1b[A", "{up}"},  // a sequence broken off is dropped
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.keys);
    const DecodedInput decoded = decodeTerminalInput(c.bytes, true);
    EXPECT_EQ(notation(decoded), c.keys);
    EXPECT_EQ(decoded.consumed, c.bytes.size());
  }
}

TEST(TerminalInput, WaitsForTheRestOfAnEscapeSequence) {
  struct Case {
    std::string bytes;
    std::string keysSoFar;
    std::size_t consumed;
    std::string keysWhenFinal;
  };
  const Case cases[] = {
      {"a\x1b", "a", 1, "a{escape}"},
      {"\x1b[", "", 0, "{opt+[}"},
      {"\x1b[1;3", "", 0, "{opt+[}1;3"},
      {"\x1bO", "", 0, "{shift+opt+o}"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.keysWhenFinal);
    const DecodedInput waiting = decodeTerminalInput(c.bytes, false);
    EXPECT_EQ(notation(waiting), c.keysSoFar);
    EXPECT_EQ(waiting.consumed, c.consumed);
    const DecodedInput final = decodeTerminalInput(c.bytes, true);
    EXPECT_EQ(notation(final), c.keysWhenFinal);
    EXPECT_EQ(final.consumed, c.bytes.size());
  }
  // The rest of the sequence arrives: the arrow, and nothing else.
  EXPECT_EQ(notation(decodeTerminalInput("\x1b[1;3A", false)), "{opt+up}");
}

}  // namespace
}  // namespace yakdrom::cli
