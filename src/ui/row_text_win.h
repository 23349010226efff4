#pragma once
#include <windows.h>

#include <climits>
#include <string_view>

// The text of owner-drawn rows (both lists of the clipboard window, the launcher menu, the hotkey
// list). A text with a surrogate pair (an emoji) is measured and drawn through Uniscribe, as the
// system's own controls draw it: the pair is one glyph, from a fallback font when the row's font
// lacks it, instead of two boxes. Drawn and measured alike, so that what a row measured is what
// it shows.

// The text's width in pixels in the device context's font.
int RowTextWidth(HDC dc, std::u16string_view text);

// Draws the text at (x, y) in the context's text colour (on its background colour when its
// background mode is opaque) and returns the width drawn. Only what can show in `room` pixels
// is shaped, so a long text costs no more than the row can hold.
int DrawRowText(HDC dc, int x, int y, std::u16string_view text, int room = INT_MAX);
