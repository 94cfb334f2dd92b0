#include "frontends/cli/PadRenderer.h"

#include <unicode/uchar.h>

#include <algorithm>
#include <array>
#include <string_view>

#include "engine/text/Text.h"

namespace yakdrom::cli {
namespace {

constexpr std::size_t kTabStop = 8;
constexpr std::size_t kMaxGridColumns = 5;
constexpr std::string_view kEllipsis = "…";
constexpr std::string_view kSelectedMark = "> ";
constexpr std::string_view kUnselectedMark = "  ";
constexpr std::string_view kGap = "  ";
constexpr std::string_view kBoxEdge = "  | ";

enum class Style { plain, underlined, reversed };

struct StyleCodes {
  Style style;
  std::string_view on;
  std::string_view off;
};

constexpr std::array<StyleCodes, 3> kStyleCodes = {{
    {Style::plain, "", ""},
    {Style::underlined, "\x1b[4m", "\x1b[24m"},
    {Style::reversed, "\x1b[7m", "\x1b[27m"},
}};

const StyleCodes& codes(Style style) { return kStyleCodes[static_cast<std::size_t>(style)]; }

// One character on the terminal and the columns it takes.
struct Cell {
  std::string text;
  std::size_t width = 1;
  Style style = Style::plain;
};

using Cells = std::vector<Cell>;

bool isLineBreak(std::string_view character) {
  return character.front() == '\n' || character.front() == '\r';
}

// Terminals draw East Asian wide characters in two columns and a Tibetan stack (a letter
// with its combining signs) in one.
std::size_t columns(std::string_view character) {
  const auto width = u_getIntPropertyValue(static_cast<UChar32>(text::firstScalar(character)),
                                           UCHAR_EAST_ASIAN_WIDTH);
  return width == U_EA_WIDE || width == U_EA_FULLWIDTH ? 2 : 1;
}

std::size_t widthOf(const Cells& cells) {
  std::size_t width = 0;
  for (const auto& cell : cells) width += cell.width;
  return width;
}

// Control characters never reach the terminal: each shows as a space.
void append(Cells& cells, std::string_view text, Style style = Style::plain) {
  for (const std::string_view character : text::characters(text)) {
    if (static_cast<unsigned char>(character.front()) < 0x20) {
      cells.push_back({" ", 1, style});
    } else {
      cells.push_back({std::string(character), columns(character), style});
    }
  }
}

Cells cellsOf(std::string_view text, Style style = Style::plain) {
  Cells cells;
  append(cells, text, style);
  return cells;
}

void append(Cells& cells, const Cells& more) {
  cells.insert(cells.end(), more.begin(), more.end());
}

// Cuts `cells` to `width` columns, ending in "…" where something was cut. One pass that
// stops at the cut, since an explanation may be far longer than any terminal is wide.
Cells fit(Cells cells, std::size_t width) {
  if (width == 0) return {};
  std::size_t used = 0;
  std::size_t kept = 0;  // the longest start that leaves a column for the "…"
  for (std::size_t i = 0; i < cells.size(); ++i) {
    used += cells[i].width;
    if (used > width) {
      cells.resize(kept);
      cells.push_back(
          {std::string(kEllipsis), 1, cells.empty() ? Style::plain : cells.back().style});
      return cells;
    }
    if (used < width) kept = i + 1;
  }
  return cells;
}

void padTo(Cells& cells, std::size_t width) {
  for (std::size_t w = widthOf(cells); w < width; ++w) cells.push_back({" ", 1, Style::plain});
}

std::string encode(const Cells& cells) {
  std::string out;
  Style current = Style::plain;
  for (const auto& cell : cells) {
    if (cell.style != current) {
      out += codes(current).off;
      out += codes(cell.style).on;
      current = cell.style;
    }
    out += cell.text;
  }
  out += codes(current).off;
  return out;
}

// Breaks `cells` into lines of at most `width` columns.
std::vector<Cells> wrap(const Cells& cells, std::size_t width) {
  std::vector<Cells> lines(1);
  std::size_t used = 0;
  for (const auto& cell : cells) {
    if (!lines.back().empty() && used + cell.width > width) {
      lines.emplace_back();
      used = 0;
    }
    lines.back().push_back(cell);
    used += cell.width;
  }
  return lines;
}

// The document's lines with the marked text and the caret at the end of the last; the
// last column stays free, so no line makes the terminal wrap by itself.
std::vector<std::string> documentLines(const PadView& view, std::size_t width) {
  std::vector<Cells> logical(1);
  const auto add = [&logical](std::string_view text, Style style) {
    for (const std::string_view character : text::characters(text)) {
      if (isLineBreak(character)) {
        logical.emplace_back();
      } else if (character == "\t") {
        const std::size_t spaces = kTabStop - widthOf(logical.back()) % kTabStop;
        for (std::size_t i = 0; i < spaces; ++i) logical.back().push_back({" ", 1, style});
      } else {
        append(logical.back(), character, style);
      }
    }
  };
  add(view.document, Style::plain);
  add(view.marked, Style::underlined);
  logical.back().push_back({" ", 1, Style::reversed});
  std::vector<std::string> lines;
  for (const auto& line : logical) {
    for (const auto& part : wrap(line, width - 1)) lines.push_back(encode(part));
  }
  return lines;
}

Cells rowLabel(const CandidateRowContent& row) {
  Cells cells = cellsOf(row.isSelected ? kSelectedMark : kUnselectedMark);
  append(cells,
         cellsOf(row.number + ". " + row.text, row.isSelected ? Style::reversed : Style::plain));
  return cells;
}

Cells explanationCells(std::string_view text, bool offersMore) {
  Cells cells = cellsOf(text);
  if (offersMore) append(cells, " " + std::string(kEllipsis));
  return cells;
}

std::vector<Cells> singleColumnRows(const CandidateWindowContent& content) {
  std::vector<Cells> lines;
  for (const auto& row : content.rows) {
    Cells line = rowLabel(row);
    if (row.explanation) {
      append(line, kGap);
      append(line, explanationCells(*row.explanation, row.showsMoreButton));
    }
    lines.push_back(std::move(line));
  }
  return lines;
}

const CandidateRowContent* selectedRow(const CandidateWindowContent& content) {
  const auto it = std::find_if(content.rows.begin(), content.rows.end(),
                               [](const auto& row) { return row.isSelected; });
  return it == content.rows.end() ? nullptr : &*it;
}

std::vector<Cells> gridRows(const CandidateWindowContent& content, std::size_t width) {
  std::vector<Cells> labels;
  std::size_t cellWidth = 0;
  for (const auto& row : content.rows) {
    labels.push_back(rowLabel(row));
    cellWidth = std::max(cellWidth, widthOf(labels.back()) + kGap.size());
  }
  const std::size_t perLine =
      std::clamp<std::size_t>(width / std::max<std::size_t>(cellWidth, 1), 1, kMaxGridColumns);
  std::vector<Cells> lines;
  for (std::size_t i = 0; i < labels.size(); ++i) {
    if (i % perLine == 0) lines.emplace_back();
    if (i % perLine != 0) padTo(lines.back(), (i % perLine) * cellWidth);
    append(lines.back(), labels[i]);
  }
  const CandidateRowContent* selected = selectedRow(content);
  if (selected && selected->explanation) {
    Cells line = cellsOf(kUnselectedMark);
    append(line, explanationCells(*selected->explanation, selected->showsMoreButton));
    lines.push_back(std::move(line));
  }
  return lines;
}

std::vector<Cells> singleRowRows(const CandidateWindowContent& content, std::size_t width) {
  std::vector<Cells> lines(1);
  for (const auto& row : content.rows) {
    const Cells label = rowLabel(row);
    if (!lines.back().empty() && widthOf(lines.back()) + widthOf(label) > width) {
      lines.emplace_back();
    }
    append(lines.back(), label);
  }
  if (content.explanationLine) {
    Cells line = cellsOf(kUnselectedMark);
    append(line, explanationCells(content.explanationLine->text,
                                  content.explanationLine->showsMoreButton));
    lines.push_back(std::move(line));
  }
  return lines;
}

std::vector<Cells> panelRows(const CandidateView& view, std::size_t width) {
  switch (view.style) {
    case CandidatePanelStyle::grid:
      return gridRows(view.content, width);
    case CandidatePanelStyle::singleRow:
      return singleRowRows(view.content, width);
    case CandidatePanelStyle::singleColumn:
      break;
  }
  return singleColumnRows(view.content);
}

std::vector<std::string> candidateLines(const CandidateView& view, std::size_t width) {
  if (!view.visible) return {};
  std::vector<Cells> lines = panelRows(view, width);
  std::size_t windowWidth = 0;
  for (auto& line : lines) {
    line = fit(std::move(line), width);
    windowWidth = std::max(windowWidth, widthOf(line));
  }
  // The page label sits at the bottom right of the window, as on screen.
  if (const std::string& label = view.content.pageLabel; !label.empty()) {
    Cells line;
    padTo(line, std::min(windowWidth, width) - std::min(windowWidth, label.size()));
    append(line, label);
    lines.push_back(fit(std::move(line), width));
  }
  if (view.explanationBox) {
    for (auto& part : wrap(cellsOf(*view.explanationBox), width - kBoxEdge.size())) {
      Cells line = cellsOf(kBoxEdge);
      append(line, part);
      lines.push_back(std::move(line));
    }
  }
  std::vector<std::string> out;
  out.reserve(lines.size());
  for (const auto& line : lines) out.push_back(encode(line));
  return out;
}

}  // namespace

std::vector<std::string> renderPad(const PadView& view) {
  const std::size_t width = view.width;
  const std::size_t height = view.height;
  // Wrapped by the terminal itself, a frame would scroll and tear; one cut line does not.
  if (width < kMinPadWidth || height < kMinPadHeight) {
    return {encode(fit(cellsOf(view.tooSmall), width))};
  }
  if (!view.help.empty()) {
    std::vector<std::string> out{encode(fit(cellsOf(view.header), width))};
    for (const std::string& line : view.help) {
      if (out.size() == height) break;
      out.push_back(encode(fit(cellsOf(line), width)));
    }
    return out;
  }
  const std::vector<std::string> document = documentLines(view, width);
  const std::vector<std::string> window = candidateLines(view.candidates, width);
  std::vector<std::string> out{encode(fit(cellsOf(view.header), width)),
                               encode(fit(cellsOf(view.notice), width))};
  // Below the header, the document keeps at least the caret's line; the window gives way.
  const std::size_t room = height - out.size();
  const std::size_t windowRows = window.empty() ? 0 : window.size() + 1;
  const std::size_t documentRows =
      std::min(document.size(), room > windowRows ? room - windowRows : 1);
  out.insert(out.end(), document.end() - static_cast<std::ptrdiff_t>(documentRows), document.end());
  const std::size_t windowRoom = room - documentRows;
  if (!window.empty() && windowRoom >= 2) {
    out.emplace_back();
    const std::size_t shown = std::min(window.size(), windowRoom - 1);
    out.insert(out.end(), window.begin(), window.begin() + static_cast<std::ptrdiff_t>(shown));
  }
  return out;
}

}  // namespace yakdrom::cli
