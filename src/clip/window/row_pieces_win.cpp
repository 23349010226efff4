#include "clip/window/row_pieces_win.h"

#include "ui/owned_gdi_objects_win.h"
#include "ui/row_text_win.h"

void DrawRowPieces(HDC dc, const RECT& row, int x, int y, MarkedPieces pieces,
                   std::u16string_view fontName, COLORREF markColour, int gap) {
  const COLORREF textColour = GetTextColor(dc);
  while (x <= row.right) {
    const std::optional<CannedRowPiece> piece = pieces.Next();
    if (!piece) break;
    const bool mark = piece->kind != CannedRowPiece::Kind::kText;
    SetTextColor(dc, mark ? markColour : textColour);
    const std::u16string_view shown = mark ? CannedMarkGlyph(piece->kind, fontName) : piece->text;
    x += DrawRowText(dc, x, y, shown, row.right - x + 1) + (mark ? gap : 0);
  }
  SetTextColor(dc, textColour);
}

RowColours FillRow(const DRAWITEMSTRUCT& item, RowColours normal) {
  const bool selected = (item.itemState & ODS_SELECTED) != 0;
  const RowColours colours =
      selected ? RowColours{GetSysColor(COLOR_HIGHLIGHTTEXT), GetSysColor(COLOR_HIGHLIGHT)}
               : normal;
  const BrushHandle brush = owned::CreateSolidBrush(colours.back);
  FillRect(item.hDC, &item.rcItem, brush.get());
  return colours;
}
