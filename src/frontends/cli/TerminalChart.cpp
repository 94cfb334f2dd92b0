#include "frontends/cli/TerminalChart.h"

#include <array>
#include <cctype>
#include <string_view>

namespace yakdrom::cli {
namespace {

// Each row starts further right, as the rows of a keyboard do.
constexpr std::array<std::size_t, 4> kRowIndent = {0, 2, 3, 4};
// What a cell shows where the key types nothing, and for a dead key.
constexpr std::string_view kNothing = "·";
constexpr std::string_view kDeadKey = "◆";

struct ClassColour {
  GlyphClass glyphClass;
  std::string_view sgr;  // the ANSI attributes
  std::string_view name;
};

constexpr std::array<ClassColour, 5> kClassColours = {{
    {GlyphClass::consonant, "1", "consonant (bold)"},
    {GlyphClass::vowelSign, "34", "vowel sign (blue)"},
    {GlyphClass::mark, "33", "mark or punctuation (yellow)"},
    {GlyphClass::digit, "32", "digit (green)"},
    {GlyphClass::deadKey, "35", "dead key (magenta)"},
}};

std::string_view sgrOf(GlyphClass glyphClass) {
  for (const ClassColour& c : kClassColours) {
    if (c.glyphClass == glyphClass) return c.sgr;
  }
  return "";
}

// One column each: every glyph of the layout is one character (a test keeps it so).
std::string cellText(const std::optional<ChartGlyph>& glyph, bool colour) {
  if (!glyph) return std::string(kNothing);
  std::string text = glyph->glyphClass == GlyphClass::deadKey ? std::string(kDeadKey)
                                                              : KeyboardChart::shown(*glyph);
  if (!colour) return text;
  return "\x1b[" + std::string(sgrOf(glyph->glyphClass)) + "m" + text + "\x1b[0m";
}

std::string heading(const KeyboardChart& chart) {
  if (!chart.mode) {
    return "What each key types. In each key, top: Shift, bottom: plain; left: the US key, "
           "middle: Tibetan,\nright: with Option (bottom) and Shift+Option (top).\n";
  }
  return *chart.mode == "m" ? "After the dead key M (◆), each key gives:\n"
                            : "After the dead key Shift+M (◆), each key gives:\n";
}

// The top line of a key shows its Shift layers, the bottom line the others.
void appendLine(std::string& out, const std::vector<ChartKey>& row, std::size_t indent, bool top,
                bool colour) {
  out.append(indent, ' ');
  for (const ChartKey& key : row) {
    const char label = top ? key.shiftedLabel : key.label;
    const auto& main = key.glyphs[top ? 1 : 0];
    const auto& option = key.glyphs[top ? 3 : 2];
    out += "│";
    out += label;
    out += ' ';
    out += cellText(main, colour);
    out += ' ';
    out += cellText(option, colour);
    out += ' ';
  }
  out += "│\n";
}

// True when some key of `chart` types something in a layer of the top (Shift) or bottom
// line; a chart without, such as the dead keys' where Shift gives nothing, leaves it out.
bool shows(const KeyboardChart& chart, bool top) {
  for (const auto& row : chart.rows) {
    for (const ChartKey& key : row) {
      if (key.glyphs[top ? 1 : 0] || key.glyphs[top ? 3 : 2]) return true;
    }
  }
  return false;
}

}  // namespace

std::string TerminalChart::render(const KeyboardChart& chart, bool colour) {
  std::string out = heading(chart);
  const bool top = shows(chart, true);
  const bool bottom = shows(chart, false);
  for (std::size_t r = 0; r < chart.rows.size(); ++r) {
    if (top) appendLine(out, chart.rows[r], kRowIndent[r], true, colour);
    if (bottom) appendLine(out, chart.rows[r], kRowIndent[r], false, colour);
  }
  return out;
}

std::string TerminalChart::legend(bool colour) {
  std::string out = "Signs:";
  for (std::size_t i = 0; i < kClassColours.size(); ++i) {
    const ClassColour& c = kClassColours[i];
    // Three kinds to a line keeps the legend inside the chart's width.
    out += i == 3 ? "\n      " : " ";
    out += colour ? "\x1b[" + std::string(c.sgr) + "m" + std::string(c.name) + "\x1b[0m"
                  : std::string(c.name);
    if (i + 1 < kClassColours.size()) out += ',';
  }
  out += "\n" + std::string(kNothing) +
         " types nothing; ◌ marks where a sign joins the letter "
         "before it.\n";
  return out;
}

}  // namespace yakdrom::cli
