#include "clip/row_pieces_win.h"

#include <string>

#include "platform/wide_win.h"

void DrawRowPieces(HDC dc, const RECT& row, int x, int y,
                   const std::vector<CannedRowPiece>& pieces, std::u16string_view fontName,
                   COLORREF markColour, int gap) {
  const COLORREF textColour = GetTextColor(dc);
  for (const CannedRowPiece& piece : pieces) {
    if (x > row.right) break;
    const bool mark = piece.kind != CannedRowPiece::Kind::kText;
    const std::u16string shown(mark ? CannedMarkGlyph(piece.kind, fontName) : piece.text);
    SetTextColor(dc, mark ? markColour : textColour);
    TextOutW(dc, x, y, W(shown), static_cast<int>(shown.size()));
    SIZE size{};
    GetTextExtentPoint32W(dc, W(shown), static_cast<int>(shown.size()), &size);
    x += size.cx + (mark ? gap : 0);
  }
  SetTextColor(dc, textColour);
}
