#pragma once
// How the variables window draws a page, in pixels, for any toolkit: a black 720 x 428
// window, the font "Courier" 12 pixels high. Cell i has its left edge at 90 (i % 8) and its
// middle row at 22 + 56 (i / 8); its three rows are 80 pixels wide and 14 high: the symbol
// row above the middle, the operand row and the value row below it.
#include <optional>
#include <string>

#include "monitor/display_page.h"

namespace monitor::painting {

struct Rgb {
    int red = 0;
    int green = 0;
    int blue = 0;
    bool operator==(const Rgb&) const = default;
};

struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    bool operator==(const Rect&) const = default;
};

inline constexpr int kWindowWidth = 720;
inline constexpr int kWindowHeight = 428;
inline constexpr const char* kFontFamily = "Courier";
inline constexpr int kFontHeight = 12;
inline constexpr int kCellPitch = 90;
inline constexpr int kBandPitch = 56;
inline constexpr int kFirstMiddleRow = 22;
inline constexpr int kCellWidth = 80;
inline constexpr int kRowHeight = 14;
inline constexpr int kOutlineWidth = 1;

inline constexpr Rgb kBackground{0, 0, 0};
inline constexpr Rgb kOutline{0, 0, 0};
inline constexpr Rgb kSymbolFill{0, 128, 0};
inline constexpr Rgb kOperandFill{0, 128, 0};
inline constexpr Rgb kValueFill{0, 0, 128};
inline constexpr Rgb kSymbolTextColour{255, 255, 15};
inline constexpr Rgb kOperandTextColour{255, 255, 255};
inline constexpr Rgb kValueTextColour{255, 255, 255};

// A filled row with a black outline; the text is written with a transparent background at
// the row's left edge.
struct PaintedRow {
    Rect rect;
    Rgb fill;
    Rgb textColour;
    std::string text;
};

struct CellPainting {
    Rect frame;              // the whole cell
    bool frameOnly = false;  // all three texts blank: only the frame, black pen of width 1
    std::optional<PaintedRow> symbolRow;   // when the symbol text is not empty
    std::optional<PaintedRow> operandRow;  // when the operand text is not empty
    std::optional<PaintedRow> valueRow;    // always, unless frameOnly
};

// The painting of cell i; nullopt for cells at or past the page's used cells.
std::optional<CellPainting> PaintCell(const DisplayPage& page, int i);

}  // namespace monitor::painting
