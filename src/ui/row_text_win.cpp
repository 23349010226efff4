#include "ui/row_text_win.h"

#include <usp10.h>

#include <algorithm>

#include "base/text_codec.h"
#include "win32/late_bound_win.h"
#include "win32/wide_win.h"

namespace {

// Uniscribe is loaded at the first row drawn: importing it would load it at every start.
struct Uniscribe {
  using Analyse = HRESULT(WINAPI*)(HDC, const void*, int, int, int, DWORD, int, SCRIPT_CONTROL*,
                                   SCRIPT_STATE*, const int*, SCRIPT_TABDEF*, const BYTE*,
                                   SCRIPT_STRING_ANALYSIS*);
  using Out = HRESULT(WINAPI*)(SCRIPT_STRING_ANALYSIS, int, int, UINT, const RECT*, int, int, BOOL);
  using Free = HRESULT(WINAPI*)(SCRIPT_STRING_ANALYSIS*);
  using Size = const SIZE*(WINAPI*)(SCRIPT_STRING_ANALYSIS);

  Analyse analyse = LateBound<Analyse>(L"usp10.dll", "ScriptStringAnalyse");
  Out out = LateBound<Out>(L"usp10.dll", "ScriptStringOut");
  Free free = LateBound<Free>(L"usp10.dll", "ScriptStringFree");
  Size size = LateBound<Size>(L"usp10.dll", "ScriptString_pSize");

  bool Loaded() const { return analyse && out && free && size; }
};

const Uniscribe& Usp() {
  static const Uniscribe usp;
  return usp;
}

// One shaped text, freed when it goes.
class ShapedText {
 public:
  ShapedText(HDC dc, std::u16string_view text) {
    const Uniscribe& usp = Usp();
    if (text.empty() || !usp.Loaded()) return;
    const int units = static_cast<int>(text.size());
    if (FAILED(usp.analyse(dc, WData(text), units, units * 3 / 2 + 16, -1,
                           SSA_GLYPHS | SSA_FALLBACK, 0, nullptr, nullptr, nullptr, nullptr,
                           nullptr, &analysis_))) {
      analysis_ = nullptr;
    }
  }
  ~ShapedText() {
    if (analysis_) Usp().free(&analysis_);
  }
  ShapedText(const ShapedText&) = delete;
  ShapedText& operator=(const ShapedText&) = delete;

  explicit operator bool() const { return analysis_ != nullptr; }
  int Width() const {
    const SIZE* size = Usp().size(analysis_);
    return size ? static_cast<int>(size->cx) : 0;
  }
  void Draw(int x, int y) const { Usp().out(analysis_, x, y, 0, nullptr, 0, 0, FALSE); }

 private:
  SCRIPT_STRING_ANALYSIS analysis_ = nullptr;
};

// Text without surrogate pairs is drawn by GDI directly, as fast as ever; a pair needs Uniscribe to
// be one glyph. Measuring and drawing take the same way for the same text.
bool NeedsShaping(std::u16string_view text) {
  return std::any_of(text.begin(), text.end(),
                     [](char16_t unit) { return IsHighSurrogate(unit) || IsLowSurrogate(unit); });
}

int PlainWidth(HDC dc, std::u16string_view text) {
  SIZE size{};
  GetTextExtentPoint32W(dc, WData(text), static_cast<int>(text.size()), &size);
  return static_cast<int>(size.cx);
}

}  // namespace

int RowTextWidth(HDC dc, std::u16string_view text) {
  if (text.empty()) return 0;
  if (!NeedsShaping(text)) return PlainWidth(dc, text);
  const ShapedText shaped(dc, text);
  return shaped ? shaped.Width() : PlainWidth(dc, text);
}

int DrawRowText(HDC dc, int x, int y, std::u16string_view text, int room) {
  if (text.empty() || room <= 0) return 0;
  // A character is at least a pixel wide, a pair two units: what lies beyond cannot show.
  const auto most = static_cast<std::size_t>(std::min(room, INT_MAX / 2 - 2)) * 2 + 2;
  text = CutAtCharacter(text, most);
  const ShapedText shaped(dc, NeedsShaping(text) ? text : std::u16string_view());
  if (!shaped) {
    TextOutW(dc, x, y, WData(text), static_cast<int>(text.size()));
    return PlainWidth(dc, text);
  }
  shaped.Draw(x, y);
  return shaped.Width();
}
