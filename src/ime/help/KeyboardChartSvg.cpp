#include "ime/help/KeyboardChartSvg.h"

#include <array>
#include <cctype>
#include <sstream>
#include <string_view>

namespace yakdrom {
namespace {

constexpr int kKey = 60;  // a key's width
constexpr int kKeyHeight = 66;
constexpr int kGap = 6;       // between keys
constexpr int kMargin = 24;   // around the picture
constexpr int kHeading = 40;  // above each chart
constexpr int kLegend = 70;   // under the last chart
// Each row starts further right, as the rows of a keyboard do.
constexpr std::array<int, 4> kRowIndent = {0, 30, 45, 60};
constexpr int kWidth = 2 * kMargin + 60 + 13 * (kKey + kGap);

constexpr std::string_view kTibetanFonts =
    "'Yakdrom-SN', 'Noto Serif Tibetan', 'Noto Sans Tibetan', 'Jomolhari', serif";

struct ClassStyle {
  GlyphClass glyphClass;
  std::string_view colour;
  std::string_view weight;
  std::string_view name;
};

constexpr std::array<ClassStyle, 5> kClassStyles = {{
    {GlyphClass::consonant, "#1f2937", "bold", "consonant"},
    {GlyphClass::vowelSign, "#1d4ed8", "normal", "vowel sign"},
    {GlyphClass::mark, "#b45309", "normal", "mark or punctuation"},
    {GlyphClass::digit, "#047857", "normal", "digit"},
    {GlyphClass::deadKey, "#9d174d", "bold", "dead key"},
}};

const ClassStyle& styleOf(GlyphClass glyphClass) {
  for (const ClassStyle& style : kClassStyles) {
    if (style.glyphClass == glyphClass) return style;
  }
  return kClassStyles[2];
}

std::string escaped(std::string_view text) {
  std::string out;
  for (const char c : text) {
    switch (c) {
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '&':
        out += "&amp;";
        break;
      case '"':
        out += "&quot;";
        break;
      case '\'':
        out += "&apos;";
        break;
      default:
        out += c;
    }
  }
  return out;
}

// Where each layer's glyph sits on a key (its baseline's middle), and how large: plain and
// Shift on the left, large; Option and Shift+Option on the right, small. Indexed as
// kChartLayers. Tibetan hangs below its baseline, subjoined letters most, so the baselines
// sit high; after a dead key only the plain layer gives anything and has the key to itself.
struct Slot {
  int x;
  int y;
  int size;
};
constexpr std::array<Slot, 4> kSlots = {{{22, 45, 19}, {22, 27, 15}, {47, 45, 13}, {47, 27, 13}}};
constexpr Slot kDeadKeySlot = {30, 32, 21};

std::string capLabel(const ChartKey& key) {
  if (std::isalpha(static_cast<unsigned char>(key.label)) != 0) {
    return std::string(1, key.shiftedLabel);
  }
  return std::string{key.shiftedLabel, ' ', key.label};
}

void writeKey(std::ostream& out, const ChartKey& key, bool afterDeadKey, int x, int y) {
  out << "<g><title>" << escaped(capLabel(key)) << "</title>";
  out << "<rect x='" << x << "' y='" << y << "' width='" << kKey << "' height='" << kKeyHeight
      << "' rx='7' class='key'/>";
  out << "<text x='" << x + 5 << "' y='" << y + 13 << "' class='cap'>" << escaped(capLabel(key))
      << "</text>";
  for (std::size_t i = 0; i < kChartLayers.size(); ++i) {
    if (!key.glyphs[i]) continue;
    const ChartGlyph& glyph = *key.glyphs[i];
    const ClassStyle& style = styleOf(glyph.glyphClass);
    const Slot& slot = afterDeadKey ? kDeadKeySlot : kSlots[i];
    out << "<text x='" << x + slot.x << "' y='" << y + slot.y << "' font-size='" << slot.size
        << "' fill='" << style.colour << "' font-weight='" << style.weight << "' class='glyph'>"
        << escaped(KeyboardChart::shown(glyph)) << "</text>";
  }
  out << "</g>\n";
}

std::string headingOf(const KeyboardChart& chart) {
  if (!chart.mode) {
    return "What each key types: plain and Shift on the left, Option and Shift+Option on the "
           "right";
  }
  return *chart.mode == "m" ? "After the dead key M: subjoined letters and further signs"
                            : "After the dead key Shift+M: aspirated letters";
}

int chartHeight() { return kHeading + 4 * (kKeyHeight + kGap); }

void writeChart(std::ostream& out, const KeyboardChart& chart, int top) {
  out << "<text x='" << kMargin << "' y='" << top + 24 << "' class='heading'>"
      << escaped(headingOf(chart)) << "</text>\n";
  for (std::size_t r = 0; r < chart.rows.size(); ++r) {
    const int y = top + kHeading + static_cast<int>(r) * (kKeyHeight + kGap);
    int x = kMargin + kRowIndent[r];
    for (const ChartKey& key : chart.rows[r]) {
      writeKey(out, key, chart.mode.has_value(), x, y);
      x += kKey + kGap;
    }
  }
}

void writeLegend(std::ostream& out, int top) {
  int x = kMargin;
  for (const ClassStyle& style : kClassStyles) {
    out << "<rect x='" << x << "' y='" << top + 12 << "' width='14' height='14' rx='3' fill='"
        << style.colour << "'/><text x='" << x + 20 << "' y='" << top + 24 << "' class='legend'>"
        << style.name << "</text>\n";
    x += 40 + static_cast<int>(style.name.size()) * 7;
  }
  out << "<text x='" << kMargin << "' y='" << top + 52 << "' class='legend'>"
      << "Grey: the US key. A dead key types nothing itself; the next key gives the sign shown "
         "in its chart.</text>\n";
}

}  // namespace

std::string KeyboardChartSvg::render() {
  std::vector<KeyboardChart> charts = {KeyboardChart::keys()};
  for (const std::string& mode : KeyboardChart::deadKeyModes()) {
    charts.push_back(KeyboardChart::afterDeadKey(mode));
  }
  return render(charts);
}

std::string KeyboardChartSvg::render(const std::vector<KeyboardChart>& charts) {
  const int height = 2 * kMargin + static_cast<int>(charts.size()) * chartHeight() + kLegend;
  std::ostringstream out;
  out << "<?xml version='1.0' encoding='UTF-8'?>\n"
      << "<svg xmlns='http://www.w3.org/2000/svg' width='" << kWidth << "' height='" << height
      << "' viewBox='0 0 " << kWidth << ' ' << height << "'>\n"
      << "<style>\n"
      << ".key { fill: #f8f8f6; stroke: #c9c9c4; stroke-width: 1; }\n"
      << ".cap { font: 10px sans-serif; fill: #8a8a86; }\n"
      << ".glyph { font-family: " << kTibetanFonts << "; text-anchor: middle; }\n"
      << ".heading { font: bold 15px sans-serif; fill: #222; }\n"
      << ".legend { font: 12px sans-serif; fill: #444; }\n"
      << "</style>\n"
      << "<rect width='100%' height='100%' fill='#ffffff'/>\n";
  int top = kMargin;
  for (const KeyboardChart& chart : charts) {
    writeChart(out, chart, top);
    top += chartHeight();
  }
  writeLegend(out, top);
  out << "</svg>\n";
  return out.str();
}

}  // namespace yakdrom
