#pragma once
#include <windows.h>

#include <string_view>

#include "clip/model/canned_text.h"

// Draws a row's pieces from x onward, as both lists of the clipboard window show them: texts in
// the device context's text colour, marks in markColour with `gap` pixels after each. Stops at the
// row's right edge: the pieces beyond it are never looked at.
void DrawRowPieces(HDC dc, const RECT& row, int x, int y, MarkedPieces pieces,
                   std::u16string_view fontName, COLORREF markColour, int gap);

struct RowColours {
  COLORREF text;
  COLORREF back;
};
// Fills an owner-drawn list row with its background: the system's selection colours when the
// row is selected, else `normal`. Answers the colours the row is drawn in.
RowColours FillRow(const DRAWITEMSTRUCT& item, RowColours normal);
