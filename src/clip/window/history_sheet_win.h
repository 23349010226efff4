#pragma once
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "clip/model/history_view.h"
#include "ui/controls_win.h"
#include "ui/gdi_win.h"

// The controls of the clipboard window's history page: the search box with its three filter
// buttons, the list of entries and the preview below it. They mirror a HistoryView; the
// clipboard window runs the page's actions and calls SyncRows afterwards. The controls are
// children of the clipboard window.
class HistorySheet {
 public:
  // Control identifiers (the clipboard window routes their messages here).
  static constexpr int kFindId = 3;
  static constexpr int kListId = 4;
  static constexpr int kPreviewId = 5;

  struct Style {
    HFONT baseFont = nullptr;
    HFONT listFont = nullptr;
    HFONT previewFont = nullptr;
    std::u16string fontName;
    int charHeight = 12;
    int rowHeight = 16;
    bool showLineCounts = false;
    COLORREF listText = 0, listBack = 0, previewText = 0, previewBack = 0;
    COLORREF controlCodes = 0, lineCounts = 0;
    bool operator==(const Style&) const = default;
  };

  HistorySheet(const THistoryList& history, HistoryView& view) : history_(history), view_(view) {}
  HistorySheet(const HistorySheet&) = delete;
  HistorySheet& operator=(const HistorySheet&) = delete;

  bool Create(HWND parent);
  // The search box's list and its text (which stays as the user left it).
  void SetFindItems(const std::vector<std::u16string>& items);
  std::u16string FindText() const;
  // Esc closes an open drop-down list first, as in every combo box; false when none was open.
  bool CloseFindList() const;

  void ApplyFonts(HFONT baseFont, HFONT listFont, HFONT previewFont);
  void ApplyStyle(const Style& style);
  // The page's area; the preview takes previewHeight (at most what leaves the list its least).
  void Layout(const RECT& page, UINT dpi, int previewHeight);
  void Show(bool visible);
  // The rows and the selection as the view has them now.
  void SyncRows();
  // Shows the text in the preview below the list, or hides it. True when the layout changed.
  bool ShowPreview(const std::optional<std::u16string>& text);
  bool PreviewShown() const { return previewShown_; }
  void HidePreview() { previewShown_ = false; }
  // The filter buttons' enabled states.
  void EnableFilters(bool extract, bool except, bool release);

  // The splitter between the list and the preview, in the parent's client coordinates.
  bool OverSplitter(POINT client) const;
  // The preview height the splitter dragged to clientY gives.
  int PreviewHeightAt(int clientY, UINT dpi) const;

  HWND List() const { return list_.Handle(); }
  const ListBox& ListControl() const { return list_; }
  HWND FindBox() const { return find_.Handle(); }
  HWND FindEdit() const { return findEdit_; }
  HWND Preview() const { return preview_; }
  // The colours of the list and the preview (WM_CTLCOLOR…): nothing for another control.
  HBRUSH ListBrush() const { return listBrush_.get(); }
  std::optional<HBRUSH> PreviewColours(HWND control, HDC dc) const;
  void DrawRow(const DRAWITEMSTRUCT& item) const;
  // Every control of the page whose keys the window takes over.
  std::vector<HWND> KeyedControls() const;

 private:
  void AddTooltips(HWND parent);
  void SetFindText(const std::u16string& text);

  const THistoryList& history_;
  HistoryView& view_;
  HWND parent_ = nullptr;
  ComboBox find_;
  HWND findEdit_ = nullptr;
  HWND extract_ = nullptr, except_ = nullptr, release_ = nullptr;
  ListBox list_;
  HWND preview_ = nullptr;
  HWND tooltip_ = nullptr;
  Style style_;
  BrushHandle listBrush_, previewBrush_;
  bool previewShown_ = false;
  // What the controls were last placed for: the search box is a combo box, whose window is
  // shorter than the height it is given (that of its open list), so it cannot tell by itself.
  struct LaidOut {
    RECT page;
    UINT dpi;
    int previewHeight;
    bool previewShown;
  };
  std::optional<LaidOut> laidOut_;
};
