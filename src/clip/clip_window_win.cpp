#include "clip/clip_window_win.h"

#include <commctrl.h>

#include <algorithm>
#include <cwchar>

#include "clip/history_file.h"
#include "platform/file_dialog_win.h"
#include "platform/late_bound_win.h"
#include "platform/subclass_win.h"
#include "platform/wide_win.h"
#include "ui/colour_win.h"
#include "ui/font_win.h"
#include "ui/window_place_win.h"
#include "util/path_text.h"

namespace {

constexpr char16_t kSection[] = u"ClipboardList";
constexpr char16_t kFindSection[] = u"FindHistory";
constexpr int kFindItems = 40;
constexpr wchar_t kFirstCaption[] = L"Kelvo";
constexpr char16_t kHistoryCaption[] = u"クリップボード履歴";
constexpr char16_t kStoppedMark[] = u"  (×)";
constexpr char16_t kCannedCommand[] = u"CLIPBOARD_T";

// Posted to show what the set-up found wrong (a broken exclusion pattern, an unreadable canned-text
// file) once the set-up and the load around it have ended.
constexpr UINT kShowSetUpMessages = WM_APP + 1;

enum ControlId : int {
  kStatusId = 1,
  kTabId,
  kFindId,
  kListId,
  kPreviewId,
};

// Design sizes at 96 dots per inch.
constexpr int kTopPanelHeight = 30;
constexpr int kButtonWidth = 36;
constexpr int kButtonHeight = 25;
constexpr int kSplitterHeight = 3;
constexpr int kStatusFirstPanel = 80;
constexpr int kTabWidth = 120;
constexpr int kMinWidth = 160;
constexpr int kMinHeight = 140;
constexpr int kMinList = 20;

constexpr DWORD kStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST;

// The window's base font, which the settings font starts from.
FontDescription BaseFont() { return FontDescription{u"ＭＳ Ｐゴシック", 9, 128, false, false}; }

int Width(const RECT& r) { return static_cast<int>(r.right - r.left); }
int Height(const RECT& r) { return static_cast<int>(r.bottom - r.top); }

HWND MakeControl(const wchar_t* cls, const wchar_t* text, DWORD style, DWORD exStyle, HWND parent,
                 int id) {
  return CreateWindowExW(exStyle, cls, text, WS_CHILD | style, 0, 0, 10, 10, parent,
                         reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                         GetModuleHandleW(nullptr), nullptr);
}

bool LoadCommonControls() {
  using Init = BOOL(WINAPI*)(const INITCOMMONCONTROLSEX*);
  static const auto init = LateBound<Init>(L"comctl32.dll", "InitCommonControlsEx");
  INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_TAB_CLASSES | ICC_BAR_CLASSES};
  return init && init(&controls);
}

// A text's line breaks as an edit control shows them: CR LF.
std::u16string EditLines(std::u16string_view text) {
  std::u16string out;
  out.reserve(text.size() + text.size() / 16);
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (c == u'\r' || c == u'\n') {
      out += u"\r\n";
      if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
    } else {
      out += c;
    }
  }
  return out;
}

bool StartsWith(std::u16string_view text, std::u16string_view prefix) {
  return text.substr(0, prefix.size()) == prefix;
}

}  // namespace

// Marks the time this window runs something that lets other messages in (a paste, a message
// box, a file dialog). Clipboard changes, hotkeys and reloads that arrive meanwhile run after it.
class TClipBdList::BusyScope {
 public:
  explicit BusyScope(TClipBdList& window) : window_(window) { ++window_.busy_; }
  ~BusyScope() {
    if (--window_.busy_ == 0) window_.EndBusy();
  }
  BusyScope(const BusyScope&) = delete;
  BusyScope& operator=(const BusyScope&) = delete;

 private:
  TClipBdList& window_;
};

TClipBdList::TClipBdList(MainModel& model, Services services)
    : model_(model),
      services_(std::move(services)),
      view_(history_, services_.locale),
      capture_(services_.clock, services_.locale),
      canned_(services_.files, services_.codePage, services_.clock, services_.locale) {}

TClipBdList::~TClipBdList() {
  if (Handle()) DestroyWindow(Handle());
}

bool TClipBdList::Create() {
  if (!RegisterClassOnce(kClassName, KelvoIcon())) return false;
  return CreateHandle(kClassName, kFirstCaption, kStyle, kExStyle, 0, 0, 320, 400, nullptr) !=
         nullptr;
}

// ---------------------------------------------------------------------------------------------
// Set-up

void TClipBdList::LoadClipSettings() {
  if (!Handle() || !model_.IniFile) return;
  const HCURSOR cursor = SetCursor(LoadCursorW(nullptr, IDC_WAIT));
  if (Visible()) HideClip();
  settingUp_ = true;
  const UsrIniFile& ini = *model_.IniFile;
  const FontDescription base = BaseFont();
  fontDesc_ = ini.ReadFont(kSection, &base);
  fontSizeV_ = ini.ReadInteger(kSection, u"FontSizeV", fontDesc_.size);
  const CaptureSettings old = capture_.Settings();
  const CaptureSettings settings = ReadCaptureSettings(ini, services_.files, model_.ExeDir);
  showLnCt_ = ini.ReadBool(kSection, u"ShowLnCt", false);
  previewLn_ = ini.ReadInteger(kSection, u"PreviewLn", 0);
  transparent_ = ini.ReadInteger(kSection, u"Transparent", 255);
  ApplyTransparency();
  capture_.Configure(settings);
  LoadHistoryFile(!setUpOnce_, old);
  ShowResult(canned_.LoadSettings(ini, model_.ExeDir));
  if (const auto& broken = capture_.Exclusions().BrokenPattern()) {
    setUpMessages_.push_back({u"不正な正規表現です\n" + *broken, u"エラー", kMbOk | kMbIconError});
  }
  if (!setUpMessages_.empty()) PostMessageW(Handle(), kShowSetUpMessages, 0, 0);
  SetViewer();
  if (!setUpOnce_) {
    ini.ReadItemList(findItems_, kFindSection, kFindItems);
    setUpOnce_ = true;
  }
  settingUp_ = false;
  if (PageControl1) {
    ApplyFonts();
    SyncCanned();
    Layout();
  }
  SetCursor(cursor);
}

void TClipBdList::LoadHistoryFile(bool firstSetUp, const CaptureSettings& old) {
  const CaptureSettings& now = capture_.Settings();
  if (!now.SaveHistory) return;
  // A reload keeps what was captured; the file is read again only when it is new to this run.
  const bool newFile = firstSetUp || !old.SaveHistory || historyBlocked_ ||
                       services_.locale.CompareNoCase(old.ClipDataPath, now.ClipDataPath) != 0;
  if (!newFile) return;
  const double nowDays = DaysFromDateTime(services_.clock.Now());
  HistoryRead read = ReadHistoryFile(services_.files, services_.codePage, services_.locale,
                                     now.ClipDataPath, nowDays);
  historyBlocked_ = read.status == HistoryReadStatus::kUnreadable;
  if (read.status != HistoryReadStatus::kLoaded) return;
  if (history_.Empty()) {
    history_.Assign(std::move(read.items));
    return;
  }
  // Merged after what this run captured, without the texts it already holds.
  std::vector<HistoryRec> merged = history_.Items();
  for (HistoryRec& rec : read.items) {
    const bool present = std::any_of(merged.begin(), merged.end(),
                                     [&](const HistoryRec& r) { return r.Text == rec.Text; });
    if (!present) merged.push_back(std::move(rec));
  }
  history_.Assign(std::move(merged));
}

void TClipBdList::StoreHistory() {
  if (!capture_.Settings().SaveHistory || historyBlocked_) return;
  WriteHistoryFile(services_.files, services_.locale, capture_.Settings().ClipDataPath,
                   history_.Items());
}

void TClipBdList::SetViewer() {
  if (capture_.Settings().Enable) {
    // A listener, not the viewer chain: a hung program in the chain cannot stall Kelvo, and
    // nothing has to be passed on.
    if (!listening_) listening_ = AddClipboardFormatListener(Handle()) != FALSE;
    capture_.Capturing = true;
  } else {
    if (listening_) RemoveClipboardFormatListener(Handle());
    listening_ = false;
    capture_.Capturing = false;
  }
}

void TClipBdList::OnClipboardUpdate() {
  if (Busy()) {
    capturePending_ = true;
    return;
  }
  capturePending_ = false;
  const CaptureResult result =
      capture_.CaptureClip(services_.paste.clipboard, history_, canned_.Items());
  if (result == CaptureResult::kCaptured && PageControl1) {
    view_.FillHistList(0);
    SyncHistRows();
  }
}

void TClipBdList::EndBusy() {
  if (capturePending_) OnClipboardUpdate();
  if (services_.idle) services_.idle();
}

// ---------------------------------------------------------------------------------------------
// Controls and layout

bool TClipBdList::CreateControls() {
  if (PageControl1) return true;
  if (!LoadCommonControls()) return false;
  const HWND self = Handle();
  StatusBar1 = MakeControl(STATUSCLASSNAMEW, nullptr, WS_VISIBLE | SBARS_SIZEGRIP, 0, self,
                           kStatusId);
  PageControl1 = MakeControl(WC_TABCONTROLW, nullptr,
                             WS_VISIBLE | WS_CLIPSIBLINGS | TCS_FIXEDWIDTH | TCS_FOCUSNEVER, 0,
                             self, kTabId);
  FindComboBox = MakeControl(L"COMBOBOX", nullptr,
                             WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL,
                             0, self, kFindId);
  const auto button = [&](ClipAction action) {
    return MakeControl(L"BUTTON", W(std::u16string(ClipActionTexts(action).caption)),
                       WS_VISIBLE | BS_PUSHBUTTON, 0, self, static_cast<int>(action));
  };
  extractBtn_ = button(ClipAction::kListExtract);
  exceptBtn_ = button(ClipAction::kListExcept);
  releaseBtn_ = button(ClipAction::kListRelease);
  // No data of its own: the rows are the view's, so a show of 10,000 entries costs one message.
  HistListBox = MakeControl(L"LISTBOX", nullptr,
                            WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | LBS_NODATA |
                                LBS_OWNERDRAWFIXED | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT,
                            WS_EX_CLIENTEDGE, self, kListId);
  PreviewMemo = MakeControl(L"EDIT", nullptr,
                            WS_VSCROLL | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL, WS_EX_CLIENTEDGE,
                            self, kPreviewId);
  if (!StatusBar1 || !PageControl1 || !FindComboBox || !HistListBox || !PreviewMemo) return false;
  auto sheet = std::make_unique<CannedSheet>(canned_);
  if (!sheet->Create(self)) return false;
  sheet->onDrop = [this](int target) {
    ShowResult(canned_.MoveSelected(target));
    SyncCanned();
  };
  sheet_ = std::move(sheet);
  // The tab control lies below the controls of its pages.
  SetWindowPos(PageControl1, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  COMBOBOXINFO info{sizeof(info)};
  if (GetComboBoxInfo(FindComboBox, &info)) findEdit_ = info.hwndItem;
  TCITEMW item{};
  item.mask = TCIF_TEXT;
  item.pszText = const_cast<wchar_t*>(L"クリップボード(&C)");
  SendMessageW(PageControl1, TCM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
  item.pszText = const_cast<wchar_t*>(L"定型文(&T)");
  SendMessageW(PageControl1, TCM_INSERTITEMW, 1, reinterpret_cast<LPARAM>(&item));
  for (HWND control : {HistListBox, findEdit_, PreviewMemo, FindComboBox, sheet_->List(),
                       sheet_->LabelEdit(), sheet_->Memo()}) {
    if (control) SetSubclass(control, &TClipBdList::ControlProc, 1, reinterpret_cast<DWORD_PTR>(this));
  }
  tooltip_ = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                             0, 0, 0, 0, self, nullptr, GetModuleHandleW(nullptr), nullptr);
  for (HWND btn : {extractBtn_, exceptBtn_, releaseBtn_}) {
    const auto action = ClipActionOf(GetDlgCtrlID(btn));
    std::u16string hint(ClipActionTexts(*action).hint);
    TTTOOLINFOW tool{};
    tool.cbSize = sizeof(tool);
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = self;
    tool.uId = reinterpret_cast<UINT_PTR>(btn);
    tool.lpszText = const_cast<wchar_t*>(W(hint));
    if (tooltip_) SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  }
  SetFindItems();
  ApplyFonts();
  return true;
}

void TClipBdList::ApplyFonts() {
  const UINT dpi = Dpi();
  baseFont_ = CreateSettingsFont(BaseFont(), dpi);
  listFont_ = CreateSettingsFont(fontDesc_, dpi);
  FontDescription preview = fontDesc_;
  preview.size = fontSizeV_;
  previewFont_ = CreateSettingsFont(preview, dpi);
  for (HWND control : {StatusBar1, PageControl1, FindComboBox, extractBtn_, exceptBtn_,
                       releaseBtn_}) {
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(baseFont_.get()), TRUE);
  }
  SendMessageW(HistListBox, WM_SETFONT, reinterpret_cast<WPARAM>(listFont_.get()), TRUE);
  SendMessageW(PreviewMemo, WM_SETFONT, reinterpret_cast<WPARAM>(previewFont_.get()), TRUE);
  msFont_ = StartsWith(fontDesc_.name, u"ＭＳ ") || StartsWith(fontDesc_.name, u"MS ");
  WindowDC dc(HistListBox);
  SelectedObject font(dc.Get(), listFont_.get());
  TEXTMETRICW metrics{};
  GetTextMetricsW(dc.Get(), &metrics);
  charHeight_ = std::max<int>(1, metrics.tmHeight);
  ApplySheetStyle();
  SendMessageW(PageControl1, TCM_SETITEMSIZE, 0,
               MAKELPARAM(Scale(kTabWidth, dpi), Scale(20, dpi)));
  const int parts[] = {Scale(kStatusFirstPanel, dpi), -1};
  SendMessageW(StatusBar1, SB_SETPARTS, 2, reinterpret_cast<LPARAM>(parts));
}

void TClipBdList::Layout() {
  if (!PageControl1) return;
  const UINT dpi = Dpi();
  RECT client{};
  GetClientRect(Handle(), &client);
  SendMessageW(StatusBar1, WM_SIZE, 0, 0);
  RECT status{};
  GetWindowRect(StatusBar1, &status);
  const int bottom = std::max<int>(0, Height(client) - Height(status));
  MoveWindow(PageControl1, 0, 0, Width(client), bottom, TRUE);
  RECT page{0, 0, Width(client), bottom};
  SendMessageW(PageControl1, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&page));
  const bool clip = page_ == Page::kClip;
  const int show = clip ? SW_SHOW : SW_HIDE;
  const int bw = Scale(kButtonWidth, dpi);
  const int bh = Scale(kButtonHeight, dpi);
  const int top = Scale(kTopPanelHeight, dpi);
  const int buttonsLeft = page.right - 3 * bw - Scale(2, dpi);
  MoveWindow(FindComboBox, page.left + Scale(2, dpi), page.top + Scale(3, dpi),
             std::max<int>(10, buttonsLeft - page.left - Scale(6, dpi)), Scale(200, dpi), TRUE);
  int x = buttonsLeft;
  for (HWND btn : {extractBtn_, exceptBtn_, releaseBtn_}) {
    MoveWindow(btn, x, page.top + (top - bh) / 2, bw, bh, TRUE);
    ShowWindow(btn, show);
    x += bw;
  }
  ShowWindow(FindComboBox, show);
  const int listTop = page.top + top;
  int listBottom = page.bottom;
  if (previewShown_) {
    const int maxPreview = std::max<int>(0, page.bottom - listTop - Scale(kMinList, dpi));
    const int preview = std::clamp(previewHeight_, 0, maxPreview);
    MoveWindow(PreviewMemo, page.left, page.bottom - preview, Width(page), preview, TRUE);
    listBottom = page.bottom - preview - Scale(kSplitterHeight, dpi);
  }
  MoveWindow(HistListBox, page.left, listTop, Width(page), std::max(0, listBottom - listTop), TRUE);
  ShowWindow(HistListBox, show);
  ShowWindow(PreviewMemo, clip && previewShown_ ? SW_SHOW : SW_HIDE);
  sheet_->Show(!clip);
  sheet_->Layout(page, dpi);
}

bool TClipBdList::OverSplitter(POINT client) const {
  if (!previewShown_ || page_ != Page::kClip) return false;
  RECT list{}, preview{};
  GetWindowRect(HistListBox, &list);
  GetWindowRect(PreviewMemo, &preview);
  MapWindowPoints(nullptr, Handle(), reinterpret_cast<POINT*>(&list), 2);
  MapWindowPoints(nullptr, Handle(), reinterpret_cast<POINT*>(&preview), 2);
  return client.x >= list.left && client.x < list.right && client.y >= list.bottom &&
         client.y < preview.top;
}

void TClipBdList::DragSplitter(int clientY) {
  RECT preview{};
  GetWindowRect(PreviewMemo, &preview);
  MapWindowPoints(nullptr, Handle(), reinterpret_cast<POINT*>(&preview), 2);
  previewHeight_ = std::max<int>(0, preview.bottom - clientY - Scale(kSplitterHeight, Dpi()) / 2);
  Layout();
}

// ---------------------------------------------------------------------------------------------
// Showing and hiding

void TClipBdList::RunCommand(const std::u16string& command) {
  if (!Handle()) return;
  const std::u16string_view c = command;
  const bool canned =
      c.size() >= std::size(kCannedCommand) - 1 &&
      services_.locale.CompareNoCase(c.substr(0, std::size(kCannedCommand) - 1), kCannedCommand) == 0;
  if (canned) {
    SelectPage(Page::kText);
    if (!Visible()) ShowClip();
    if (const std::optional<int> set = CannedSetOfCommand(c)) {
      SelectTextData(*set);
    } else {
      PageControl1Change();
    }
  } else if (services_.locale.CompareNoCase(c, u"CLIPBOARD_C") == 0) {
    SelectPage(Page::kClip);
    if (Visible()) {
      PageControl1Change();
    } else {
      ShowClip();
    }
  } else if (!Visible()) {
    ShowClip();
  }
  if (Visible()) SetForegroundWindow(Handle());
}

void TClipBdList::ShowClip() {
  if (!model_.IniFile || !CreateControls()) return;
  Desktop& desktop = services_.paste.desktop;
  target_.SavedFgWnd = desktop.Foreground();
  target_.SavedFgThread = desktop.WindowThread(target_.SavedFgWnd, nullptr);
  target_.SavedFocusWnd = 0;
  if (desktop.AttachInput(target_.SavedFgThread, true)) {
    target_.SavedFocusWnd = desktop.FocusedWindow();
    desktop.AttachInput(target_.SavedFgThread, false);
  }
  PlaceFromSettings();
  ApplyShowSettings();
  wmPasteClass_ = model_.WmPasteClass;
  view_.FillHistList(0);
  previewShown_ = false;
  SyncHistRows();
  Layout();
  ShowWindow(Handle(), SW_SHOW);
  PageControl1Change();
}

void TClipBdList::PlaceFromSettings() {
  const UsrIniFile& ini = *model_.IniFile;
  const UINT dpi = Dpi();
  const int x = ini.ReadInteger(kSection, u"PosX", 0);
  const int y = ini.ReadInteger(kSection, u"PosY", 0);
  const int w = ini.ReadInteger(kSection, u"Width", Scale(320, dpi));
  const int h = ini.ReadInteger(kSection, u"Height", Scale(400, dpi));
  previewHeight_ = ini.ReadInteger(kSection, u"PreviewHeight", Scale(50, dpi));
  const RECT placed =
      OnVisibleMonitor(RECT{x, y, x + w, y + h}, Scale(kMinWidth, dpi), Scale(kMinHeight, dpi));
  SetWindowPos(Handle(), HWND_TOPMOST, placed.left, placed.top, Width(placed), Height(placed),
               SWP_NOACTIVATE);
}

void TClipBdList::ApplyShowSettings() {
  const UsrIniFile& ini = *model_.IniFile;
  constexpr std::uint32_t kWindowText = 0xFF000008u;
  constexpr std::uint32_t kWindow = 0xFF000005u;
  fgL_ = ResolveColour(ini.ReadColor(kSection, u"FgColorL", kWindowText));
  bgL_ = ResolveColour(ini.ReadColor(kSection, u"BgColorL", kWindow));
  fgV_ = ResolveColour(ini.ReadColor(kSection, u"FgColorV", kWindowText));
  bgV_ = ResolveColour(ini.ReadColor(kSection, u"BgColorV", kWindow));
  lineSpace_ = ini.ReadInteger(kSection, u"LineSpace", 0);
  fgT_ = ResolveColour(ini.ReadColor(kSection, u"FgColorT", kWindowText));
  bgT_ = ResolveColour(ini.ReadColor(kSection, u"BgColorT", kWindow));
  ctrlColor_ = ResolveColour(ini.ReadColor(kSection, u"CtrlColor", 0xFF000011u));
  lnCtColor_ = ResolveColour(ini.ReadColor(kSection, u"LnCtColor", kWindowText));
  listBrush_ = BrushHandle(CreateSolidBrush(bgL_));
  previewBrush_ = BrushHandle(CreateSolidBrush(bgV_));
  const int rowHeight = std::max(1, charHeight_ + lineSpace_);
  SendMessageW(HistListBox, LB_SETITEMHEIGHT, 0, rowHeight);
  ApplySheetStyle();
}

void TClipBdList::ApplySheetStyle() {
  CannedSheet::Style style;
  style.baseFont = baseFont_.get();
  style.listFont = listFont_.get();
  style.fontName = fontDesc_.name;
  style.charHeight = charHeight_;
  style.rowHeight = std::max(1, charHeight_ + lineSpace_);
  style.fg = fgT_;
  style.bg = bgT_;
  style.ctrl = ctrlColor_;
  sheet_->ApplyStyle(style);
}

void TClipBdList::ApplyTransparency() {
  if (!Handle()) return;
  const LONG_PTR ex = GetWindowLongPtrW(Handle(), GWL_EXSTYLE);
  if (transparent_ >= 0 && transparent_ <= 254) {
    SetWindowLongPtrW(Handle(), GWL_EXSTYLE, ex | WS_EX_LAYERED);
    SetLayeredWindowAttributes(Handle(), 0, static_cast<BYTE>(transparent_), LWA_ALPHA);
  } else if (ex & WS_EX_LAYERED) {
    SetWindowLongPtrW(Handle(), GWL_EXSTYLE, ex & ~WS_EX_LAYERED);
  }
}

void TClipBdList::HideClip() {
  if (!Handle()) return;
  if (PageControl1 && Visible() && model_.IniFile) {
    UsrIniFile& ini = *model_.IniFile;
    RECT bounds{};
    GetWindowRect(Handle(), &bounds);
    ini.WriteInteger(kSection, u"PosX", bounds.left);
    ini.WriteInteger(kSection, u"PosY", bounds.top);
    ini.WriteInteger(kSection, u"Width", Width(bounds));
    ini.WriteInteger(kSection, u"Height", Height(bounds));
    ini.WriteInteger(kSection, u"PreviewHeight", previewHeight_);
    ini.WriteItemList(findItems_, kFindSection, kFindItems);
    ini.UpdateFile();
  }
  ShowWindow(Handle(), SW_HIDE);
}

TClipBdList::Page TClipBdList::ActivePage() const { return page_; }

void TClipBdList::SelectPage(Page page) {
  page_ = page;
  if (!PageControl1) return;
  SendMessageW(PageControl1, TCM_SETCURSEL, page == Page::kClip ? 0 : 1, 0);
  Layout();
}

void TClipBdList::PageControl1Change() {
  if (!PageControl1) return;
  if (page_ == Page::kClip) {
    SetFocus(HistListBox);
    RefreshHistStatus();
  } else {
    if (canned_.ListEnabled()) SetFocus(sheet_->List());
    RefreshCannedStatus();
  }
  UpdateActionStates();
}

// ---------------------------------------------------------------------------------------------
// The history page

void TClipBdList::SyncHistRows() {
  if (!HistListBox) return;
  SendMessageW(HistListBox, WM_SETREDRAW, FALSE, 0);
  SendMessageW(HistListBox, LB_SETCOUNT, view_.RowCount(), 0);
  SendMessageW(HistListBox, LB_SETCURSEL, static_cast<WPARAM>(view_.Selected()), 0);
  SendMessageW(HistListBox, WM_SETREDRAW, TRUE, 0);
  InvalidateRect(HistListBox, nullptr, TRUE);
  UpdateActionStates();
}

void TClipBdList::RefreshHistStatus() {
  if (!StatusBar1) return;
  view_.Select(static_cast<int>(SendMessageW(HistListBox, LB_GETCURSEL, 0, 0)));
  const std::u16string rows = view_.StatusRows();
  SendMessageW(StatusBar1, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(W(rows)));
  if (view_.RowToHistIndex(-1) < 0) {
    SendMessageW(StatusBar1, SB_SETTEXTW, 1, reinterpret_cast<LPARAM>(L""));
  } else {
    const std::u16string size = view_.StatusSize();
    SendMessageW(StatusBar1, SB_SETTEXTW, 1, reinterpret_cast<LPARAM>(W(size)));
    const std::optional<std::u16string> preview = view_.PreviewText(previewLn_);
    if (preview) SetWindowTextW(PreviewMemo, W(EditLines(*preview)));
    if (preview.has_value() != previewShown_) {
      previewShown_ = preview.has_value();
      Layout();
    }
  }
  UpdateActionStates();
}

std::u16string TClipBdList::GetSelText() const {
  if (page_ == Page::kClip) return view_.SelText(-1);
  return canned_.SelText(-1);
}

std::u16string TClipBdList::FindText() const {
  return FindComboBox ? WindowText(FindComboBox) : std::u16string();
}

void TClipBdList::SetFindItems() {
  if (!FindComboBox) return;
  const std::u16string text = FindText();
  SendMessageW(FindComboBox, CB_RESETCONTENT, 0, 0);
  for (const auto& item : findItems_) {
    SendMessageW(FindComboBox, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(W(item)));
  }
  SetWindowTextW(FindComboBox, W(text));
}

bool TClipBdList::Enabled(ClipAction action) const {
  const bool clip = page_ == Page::kClip;
  switch (action) {
    case ClipAction::kPaste:
    case ClipAction::kCopyClip:
      return !GetSelText().empty() && (clip || !canned_.Editing());
    case ClipAction::kRegToText:
      return !GetSelText().empty();
    case ClipAction::kDelItem:
      return clip ? !GetSelText().empty() : canned_.CanDelete();
    case ClipAction::kRegFromClip:
      return canned_.CanRegFromClip(ClipboardHasText());
    case ClipAction::kInsFromClip:
      return canned_.CanInsFromClip(ClipboardHasText());
    case ClipAction::kEditTextItem:
      return !clip && canned_.CanEditItem();
    case ClipAction::kEditTextData:
      return canned_.CanEditTextData(model_.Editor);
    case ClipAction::kReloadTextData:
      return canned_.CanReload();
    case ClipAction::kInsSep:
      return canned_.CanInsSep();
    case ClipAction::kExLine:
      return clip && view_.CanExpand();
    case ClipAction::kSortText:
    case ClipAction::kSortTime:
    case ClipAction::kSortLength:
    case ClipAction::kSortLineCnt:
      return view_.CanSort();
    case ClipAction::kAllDel:
      return view_.CanDeleteAll();
    case ClipAction::kStop:
    case ClipAction::kLoadHist:
      return true;
    case ClipAction::kSaveHist:
      return !history_.Empty();
    case ClipAction::kListExtract:
    case ClipAction::kListExcept:
      return view_.CanFilter(FindText());
    case ClipAction::kListRelease:
      return view_.Filtered();
    default:
      return StdEditEnabled(action);
  }
}

void TClipBdList::UpdateActionStates() {
  if (!PageControl1) return;
  EnableWindow(extractBtn_, Enabled(ClipAction::kListExtract));
  EnableWindow(exceptBtn_, Enabled(ClipAction::kListExcept));
  EnableWindow(releaseBtn_, Enabled(ClipAction::kListRelease));
}

void TClipBdList::Run(ClipAction action) {
  if (!Enabled(action)) return;
  switch (action) {
    case ClipAction::kPaste:
      Paste(false);
      break;
    case ClipAction::kCopyClip:
      CopyClip();
      break;
    case ClipAction::kExLine:
      if (view_.ExpandLines(HistoryLimit(capture_.Settings().MaxItems))) SyncHistRows();
      break;
    case ClipAction::kSortText:
      view_.Sort(HistorySort::kText);
      SyncHistRows();
      break;
    case ClipAction::kSortTime:
      view_.Sort(HistorySort::kTime);
      SyncHistRows();
      break;
    case ClipAction::kSortLength:
      view_.Sort(HistorySort::kLength);
      SyncHistRows();
      break;
    case ClipAction::kSortLineCnt:
      view_.Sort(HistorySort::kLineCount);
      SyncHistRows();
      break;
    case ClipAction::kDelItem:
      if (view_.DeleteSelected()) {
        SyncHistRows();
        RefreshHistStatus();
      }
      break;
    case ClipAction::kAllDel:
      view_.DeleteAllShown();
      SyncHistRows();
      break;
    case ClipAction::kStop:
      ToggleStop();
      break;
    case ClipAction::kSaveHist:
      SaveHist();
      break;
    case ClipAction::kLoadHist:
      LoadHist();
      break;
    case ClipAction::kListExtract:
    case ClipAction::kListExcept:
    case ClipAction::kListRelease:
      Filter(action);
      break;
    case ClipAction::kStdEditCut:
    case ClipAction::kStdEditCopy:
    case ClipAction::kStdEditPaste:
    case ClipAction::kStdEditSelectAll:
    case ClipAction::kStdEditUndo:
      RunStdEdit(action);
      break;
    default:
      RunCanned(action);
      break;
  }
}

bool TClipBdList::StdEditEnabled(ClipAction action) const {
  const HWND focus = GetFocus();
  if (!focus || GetParent(focus) == nullptr || !IsChild(Handle(), focus)) return false;
  wchar_t cls[16] = {};
  GetClassNameW(focus, cls, 16);
  if (_wcsicmp(cls, L"Edit") != 0) return false;
  const bool readOnly = (GetWindowLongPtrW(focus, GWL_STYLE) & ES_READONLY) != 0;
  DWORD start = 0, end = 0;
  SendMessageW(focus, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  const bool selection = start != end;
  switch (action) {
    case ClipAction::kStdEditCut:
      return !readOnly && selection;
    case ClipAction::kStdEditCopy:
      return selection;
    case ClipAction::kStdEditPaste:
      return !readOnly && ClipboardHasText();
    case ClipAction::kStdEditSelectAll:
      return GetWindowTextLengthW(focus) > 0;
    case ClipAction::kStdEditUndo:
      return SendMessageW(focus, EM_CANUNDO, 0, 0) != FALSE;
    default:
      return false;
  }
}

void TClipBdList::RunStdEdit(ClipAction action) {
  const HWND focus = GetFocus();
  switch (action) {
    case ClipAction::kStdEditCut:
      SendMessageW(focus, WM_CUT, 0, 0);
      break;
    case ClipAction::kStdEditCopy:
      SendMessageW(focus, WM_COPY, 0, 0);
      break;
    case ClipAction::kStdEditPaste:
      SendMessageW(focus, WM_PASTE, 0, 0);
      break;
    case ClipAction::kStdEditSelectAll:
      SendMessageW(focus, EM_SETSEL, 0, -1);
      break;
    case ClipAction::kStdEditUndo:
      SendMessageW(focus, EM_UNDO, 0, 0);
      break;
    default:
      break;
  }
}

// ---------------------------------------------------------------------------------------------
// The canned-text page

bool TClipBdList::ClipboardHasText() const {
  return IsClipboardFormatAvailable(CF_UNICODETEXT) != FALSE;
}

void TClipBdList::ShowResult(const CannedResult& result) {
  if (!result.message) return;
  if (settingUp_) {
    // Shown once the set-up (and the load around it) has ended.
    setUpMessages_.push_back(*result.message);
    return;
  }
  BusyScope busy(*this);
  services_.dialogs.ShowMessage(result.message->text, result.message->caption,
                                result.message->flags);
}

void TClipBdList::SyncCanned() {
  if (!sheet_) return;
  sheet_->Sync();
  if (page_ == Page::kText) RefreshCannedStatus();
  UpdateActionStates();
}

void TClipBdList::RefreshCannedStatus() {
  if (!StatusBar1 || page_ != Page::kText) return;
  const std::u16string rows = canned_.StatusRows();
  const std::u16string text = canned_.StatusText();
  SendMessageW(StatusBar1, SB_SETTEXTW, 0, reinterpret_cast<LPARAM>(W(rows)));
  SendMessageW(StatusBar1, SB_SETTEXTW, 1, reinterpret_cast<LPARAM>(W(text)));
}

void TClipBdList::SelectTextData(int set) {
  if (!model_.IniFile) return;
  const CannedResult result = canned_.SelectTextData(set, *model_.IniFile);
  if (result.changed) model_.IniFile->UpdateFile();
  SyncCanned();
  Layout();
  if (canned_.ListEnabled() && sheet_) SetFocus(sheet_->List());
  ShowResult(result);
}

void TClipBdList::RunCanned(ClipAction action) {
  CannedResult result;
  switch (action) {
    case ClipAction::kRegToText:
      result = canned_.AddTextItem(GetSelText(), -1);
      break;
    case ClipAction::kRegFromClip:
      result = canned_.RegFromClip(services_.paste.clipboard);
      break;
    case ClipAction::kInsFromClip:
      result = canned_.InsFromClip(services_.paste.clipboard);
      break;
    case ClipAction::kInsSep:
      result = canned_.InsSepItem();
      break;
    case ClipAction::kDelItem:
      result = canned_.DeleteSelected();
      break;
    case ClipAction::kEditTextItem:
      if (sheet_) sheet_->BeginEdit();
      Layout();
      UpdateActionStates();
      return;
    case ClipAction::kEditTextData:
      EditTextData();
      return;
    case ClipAction::kReloadTextData:
      result = canned_.Reload();
      break;
    default:
      return;
  }
  SyncCanned();
  ShowResult(result);
}

void TClipBdList::EditTextData() {
  const std::u16string path = canned_.TextDataPath();
  if (services_.openInEditor) services_.openInEditor(path);
  int answer = 0;
  {
    BusyScope busy(*this);
    answer = services_.dialogs.ShowMessage(u"定型文の定義ファイルを再読み込みしますか", u"確認",
                                           kMbYesNo | kMbIconQuestion);
  }
  if (answer == kIdYes) {
    const CannedResult result = canned_.Reload();
    SyncCanned();
    ShowResult(result);
  }
  HideClip();
}

void TClipBdList::EditDone(bool ok) {
  if (!sheet_ || !canned_.Editing()) return;
  if (ok) {
    const CannedResult result = canned_.EditOk(sheet_->LabelText(), sheet_->MemoText());
    ShowResult(result);
  } else {
    canned_.CancelEdit();
  }
  SyncCanned();
  Layout();
  if (canned_.ListEnabled()) SetFocus(sheet_->List());
}

void TClipBdList::Paste(bool direct) {
  if (!direct && !Enabled(ClipAction::kPaste)) return;
  const std::u16string text = GetSelText();
  if (!text.empty()) {
    BusyScope busy(*this);
    PasteIntoTarget(text, target_, wmPasteClass_, services_.paste, ClipboardPrivacy::kShared);
  }
  HideClip();
}

void TClipBdList::CopyClip() {
  const std::u16string text = GetSelText();
  {
    BusyScope busy(*this);
    WriteClipboard(services_.paste, text, ClipboardPrivacy::kShared);
  }
  HideClip();
}

void TClipBdList::Filter(ClipAction action) {
  if (action == ClipAction::kListRelease) {
    view_.Release();
    SyncHistRows();
    return;
  }
  const std::u16string words = FindText();
  PushHistoryItem(findItems_, words, services_.locale);
  SetFindItems();
  SetWindowTextW(FindComboBox, W(words));
  if (action == ClipAction::kListExtract) {
    view_.Extract(words);
  } else {
    view_.Except(words);
  }
  SyncHistRows();
  RefreshHistStatus();
}

void TClipBdList::ToggleStop() {
  capture_.Capturing = !capture_.Capturing;
  std::u16string caption = kHistoryCaption;
  if (!capture_.Capturing) caption += kStoppedMark;
  SetWindowTextW(Handle(), W(caption));
}

void TClipBdList::SaveHist() {
  FileDialogRequest request{u"履歴に名前を付けて保存", u"履歴データファイル (*.txt)", u"*.TXT",
                            u"TXT", u"*.txt", std::u16string(DirectoryPart(capture_.Settings().ClipDataPath))};
  BusyScope busy(*this);
  const std::optional<std::u16string> path = AskFileName(Handle(), request, true);
  if (!path) return;
  if (!WriteHistoryFile(services_.files, services_.locale, *path, history_.Items())) {
    services_.dialogs.ShowMessage(u"履歴ファイルを保存できません。\n" + *path, u"エラー",
                                  kMbOk | kMbIconError);
  }
}

void TClipBdList::LoadHist() {
  FileDialogRequest request{u"履歴をファイルから読込", u"履歴データファイル (*.txt)", u"*.TXT",
                            u"TXT", u"*.txt", std::u16string(DirectoryPart(capture_.Settings().ClipDataPath))};
  BusyScope busy(*this);
  const std::optional<std::u16string> path = AskFileName(Handle(), request, false);
  if (!path) return;
  HistoryRead read =
      ReadHistoryFile(services_.files, services_.codePage, services_.locale, *path,
                      DaysFromDateTime(services_.clock.Now()));
  if (read.status == HistoryReadStatus::kUnreadable) {
    services_.dialogs.ShowMessage(u"履歴ファイルを読み込めません。\n" + *path, u"エラー",
                                  kMbOk | kMbIconError);
    return;
  }
  if (read.status != HistoryReadStatus::kLoaded) return;
  history_.Assign(std::move(read.items));
  view_.FillHistList(0);
  SyncHistRows();
}

void TClipBdList::AppendActions(HMENU menu, const int* ids, std::size_t count) {
  for (std::size_t i = 0; i < count; ++i) {
    if (ids[i] == kMenuSeparator) {
      AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
      continue;
    }
    const ClipAction action = *ClipActionOf(ids[i]);
    UINT flags = MF_STRING | (Enabled(action) ? MF_ENABLED : MF_GRAYED);
    if (action == ClipAction::kStop && !capture_.Capturing) flags |= MF_CHECKED;
    AppendMenuW(menu, flags, static_cast<UINT_PTR>(ids[i]),
                W(std::u16string(ClipActionTexts(action).caption)));
  }
}

void TClipBdList::ShowPopupMenu(HWND control, POINT at) {
  MenuHandle menu(CreatePopupMenu());
  if (!menu) return;
  HWND list = HistListBox;
  if (sheet_ && sheet_->IsEditField(control)) {
    AppendActions(menu.get(), kEditFieldMenu, std::size(kEditFieldMenu));
    AppendMenuW(menu.get(), MF_SEPARATOR, 0, nullptr);
    for (std::size_t i = 0; i < kCannedEscapeMenu.size(); ++i) {
      const std::u16string caption(kCannedEscapeMenu[i].caption);
      AppendMenuW(menu.get(), MF_STRING, CannedSheet::kFirstEscapeId + i, W(caption));
    }
    list = control;
  } else if (page_ == Page::kText) {
    AppendActions(menu.get(), kCannedMenu, std::size(kCannedMenu));
    list = sheet_ ? sheet_->List() : HistListBox;
  } else {
    AppendActions(menu.get(), kHistoryMenu, std::size(kHistoryMenu));
  }
  if (at.x == -1 && at.y == -1) {
    // From the keyboard: beside the selected row.
    RECT row{};
    const LRESULT sel = SendMessageW(list, LB_GETCURSEL, 0, 0);
    if (sel < 0 || SendMessageW(list, LB_GETITEMRECT, static_cast<WPARAM>(sel),
                                reinterpret_cast<LPARAM>(&row)) == LB_ERR) {
      GetClientRect(list, &row);
    }
    at = POINT{row.left + Scale(8, Dpi()), row.bottom};
    ClientToScreen(list, &at);
  }
  BusyScope busy(*this);
  const int chosen = TrackPopupMenu(menu.get(), TPM_RETURNCMD | TPM_RIGHTBUTTON, at.x, at.y, 0,
                                    Handle(), nullptr);
  // Run after the menu's own loop has ended.
  if (chosen != 0) PostMessageW(Handle(), WM_COMMAND, MAKEWPARAM(chosen, 0), 0);
}

// ---------------------------------------------------------------------------------------------
// Drawing

void TClipBdList::MeasureItem(MEASUREITEMSTRUCT& item) const {
  item.itemHeight = static_cast<UINT>(std::max(1, charHeight_ + lineSpace_));
}

void TClipBdList::DrawHistRow(const DRAWITEMSTRUCT& item) {
  const HDC dc = item.hDC;
  const RECT& row = item.rcItem;
  const bool selected = (item.itemState & ODS_SELECTED) != 0;
  const COLORREF bg = selected ? GetSysColor(COLOR_HIGHLIGHT) : bgL_;
  const COLORREF fg = selected ? GetSysColor(COLOR_HIGHLIGHTTEXT) : fgL_;
  BrushHandle brush(CreateSolidBrush(bg));
  FillRect(dc, &row, brush.get());
  if (item.itemID != static_cast<UINT>(-1) && item.itemID < view_.RowCount()) {
    SelectedObject font(dc, listFont_.get());
    SetBkMode(dc, OPAQUE);
    SetBkColor(dc, bg);
    SetTextColor(dc, fg);
    const UINT dpi = Dpi();
    const int y = row.top + (Height(row) - charHeight_) / 2;
    int x = row.left + Scale(4, dpi);
    const int entry = view_.RowToHistIndex(static_cast<int>(item.itemID));
    if (showLnCt_) {
      wchar_t count[16];
      std::swprintf(count, std::size(count), L"%2u",
                    entry >= 0 ? static_cast<unsigned>(history_.At(entry).LineCount) : 1u);
      SetTextColor(dc, lnCtColor_);
      const int length = static_cast<int>(std::wcslen(count));
      TextOutW(dc, x, y, count, length);
      SetTextColor(dc, fg);
      SIZE size{};
      GetTextExtentPoint32W(dc, count, length, &size);
      x += size.cx + Scale(2, dpi);
      PenHandle pen(CreatePen(PS_SOLID, 1, lnCtColor_));
      SelectedObject selectedPen(dc, pen.get());
      MoveToEx(dc, x, row.top, nullptr);
      LineTo(dc, x, row.bottom);
      x += Scale(6, dpi);
    }
    if (entry >= 0) DrawMarkedText(dc, row, x, y, history_.At(entry).DispText);
  }
  if (item.itemState & ODS_FOCUS) DrawFocusRect(dc, &row);
}

void TClipBdList::DrawMarkedText(HDC dc, const RECT& row, int x, int y,
                                 std::u16string_view text) const {
  const COLORREF fg = GetTextColor(dc);
  const int gap = Scale(4, Dpi());
  while (!text.empty() && x <= row.right) {
    const std::size_t c = text.find_first_of(u"\t\n");
    const std::u16string_view part = text.substr(0, c);
    std::u16string segment(part);
    TextOutW(dc, x, y, W(segment), static_cast<int>(segment.size()));
    if (c == std::u16string_view::npos) break;
    SIZE size{};
    GetTextExtentPoint32W(dc, W(segment), static_cast<int>(segment.size()), &size);
    x += size.cx;
    const bool tab = text[c] == u'\t';
    const wchar_t* mark = msFont_ ? (tab ? L"\u21C0" : L"\u21B4") : (tab ? L"→" : L"↓");
    SetTextColor(dc, ctrlColor_);
    TextOutW(dc, x, y, mark, 1);
    GetTextExtentPoint32W(dc, mark, 1, &size);
    x += size.cx + gap;
    SetTextColor(dc, fg);
    text.remove_prefix(c + 1);
  }
}

// ---------------------------------------------------------------------------------------------
// Keyboard

LRESULT CALLBACK TClipBdList::ControlProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR,
                                          DWORD_PTR self) noexcept {
  try {
    return reinterpret_cast<TClipBdList*>(self)->ControlMessage(hwnd, msg, wp, lp);
  } catch (...) {
    return DefSubclass(hwnd, msg, wp, lp);
  }
}

bool TClipBdList::Shortcut(WPARAM vk) {
  const bool ctrl = GetKeyState(VK_CONTROL) < 0;
  if (ctrl && vk == 'C' && Enabled(ClipAction::kCopyClip)) {
    Run(ClipAction::kCopyClip);
    return true;
  }
  return false;
}

bool TClipBdList::ListKey(HWND list, WPARAM vk) {
  const LRESULT count = SendMessageW(list, LB_GETCOUNT, 0, 0);
  const LRESULT sel = SendMessageW(list, LB_GETCURSEL, 0, 0);
  switch (vk) {
    case VK_RETURN:
      Run(GetKeyState(VK_CONTROL) < 0 ? ClipAction::kEditTextItem : ClipAction::kPaste);
      return true;
    case VK_ESCAPE:
      HideClip();
      return true;
    case VK_DELETE:
      Run(ClipAction::kDelItem);
      return true;
    case VK_UP:
    case VK_DOWN: {
      if (count <= 0) return false;
      const bool wrap = vk == VK_UP ? sel == 0 : sel == count - 1;
      if (!wrap) return false;
      const LRESULT to = vk == VK_UP ? count - 1 : 0;
      SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(to), 0);
      if (list == HistListBox) {
        view_.Select(static_cast<int>(to));
      } else {
        canned_.Select(static_cast<int>(to));
      }
      return true;
    }
    default:
      return false;
  }
}

LRESULT TClipBdList::ControlMessage(HWND control, UINT msg, WPARAM wp, LPARAM lp) {
  const bool cannedList = sheet_ && control == sheet_->List();
  const bool editField = sheet_ && sheet_->IsEditField(control);
  if (cannedList && msg >= WM_MOUSEFIRST && msg <= WM_MOUSELAST && sheet_->ListMouse(msg, lp)) {
    return 0;
  }
  if (cannedList && msg == WM_CAPTURECHANGED) sheet_->ListMouse(msg, lp);
  if (editField && msg == WM_CONTEXTMENU) {
    ShowPopupMenu(control, POINT{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))});
    return 0;
  }
  if (editField && msg == WM_KEYDOWN) {
    if (wp == VK_ESCAPE) {
      EditDone(false);
      return 0;
    }
    if (wp == VK_RETURN && control == sheet_->LabelEdit()) {
      EditDone(true);  // OK is the panel's default button
      return 0;
    }
    return DefSubclass(control, msg, wp, lp);
  }
  if (editField && msg == WM_CHAR && (wp == 0x1B || (wp == L'\r' && control == sheet_->LabelEdit()))) {
    return 0;
  }
  if (editField && msg == WM_GETDLGCODE) {
    return DefSubclass(control, msg, wp, lp) | DLGC_WANTALLKEYS | DLGC_WANTTAB;
  }
  if (msg == WM_KEYDOWN) {
    if (Shortcut(wp)) return 0;
    if ((control == HistListBox || cannedList) && ListKey(control, wp)) return 0;
    if (control == findEdit_) {
      if (wp == VK_RETURN) {
        Run(ClipAction::kListExtract);
        return 0;
      }
      if (wp == VK_ESCAPE) {
        HideClip();
        return 0;
      }
    }
    if (control == PreviewMemo && wp == VK_ESCAPE) {
      HideClip();
      return 0;
    }
  } else if (msg == WM_CHAR && (wp == L'\r' || wp == 0x1B) && control != PreviewMemo) {
    return 0;  // handled on the key press; swallowed so that no beep sounds
  } else if (msg == WM_GETDLGCODE && (control == HistListBox || cannedList)) {
    return DefSubclass(control, msg, wp, lp) | DLGC_WANTALLKEYS;
  }
  return DefSubclass(control, msg, wp, lp);
}

// ---------------------------------------------------------------------------------------------
// Messages

LRESULT TClipBdList::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_CLIPBOARDUPDATE:
      OnClipboardUpdate();
      return 0;
    case kShowSetUpMessages: {
      BusyScope busy(*this);
      for (const CannedMessage& m : std::exchange(setUpMessages_, {})) {
        services_.dialogs.ShowMessage(m.text, m.caption, m.flags);
      }
      return 0;
    }
    case WM_COMMAND: {
      const int id = LOWORD(wp);
      const int code = HIWORD(wp);
      if (id == kFindId && (code == CBN_EDITCHANGE || code == CBN_SELCHANGE)) {
        if (code == CBN_SELCHANGE) {
          // The edit shows the chosen entry only after this notice.
          PostMessageW(Handle(), WM_COMMAND, MAKEWPARAM(kFindId, CBN_EDITCHANGE), lp);
        }
        UpdateActionStates();
      } else if (id == kListId && code == LBN_SELCHANGE) {
        RefreshHistStatus();
      } else if (id == kListId && code == LBN_DBLCLK) {
        Paste(true);
      } else if (id == CannedSheet::kListId && code == LBN_SELCHANGE) {
        canned_.Select(static_cast<int>(SendMessageW(sheet_->List(), LB_GETCURSEL, 0, 0)));
        RefreshCannedStatus();
        UpdateActionStates();
      } else if (id == CannedSheet::kListId && code == LBN_DBLCLK) {
        Paste(true);
      } else if (id >= CannedSheet::kFirstSetButton &&
                 id < CannedSheet::kFirstSetButton + kCannedSets && code == BN_CLICKED) {
        SelectTextData(id - CannedSheet::kFirstSetButton);
      } else if ((id == CannedSheet::kOkId || id == CannedSheet::kCancelId) &&
                 code == BN_CLICKED) {
        EditDone(id == CannedSheet::kOkId);
      } else if (id >= CannedSheet::kFirstEscapeId &&
                 id < CannedSheet::kFirstEscapeId + static_cast<int>(kCannedEscapeMenu.size())) {
        if (sheet_) sheet_->InsertEscape(static_cast<std::size_t>(id - CannedSheet::kFirstEscapeId));
      } else if (const auto action = ClipActionOf(id); action && (code == 0 || code == BN_CLICKED)) {
        Run(*action);
      }
      return 0;
    }
    case WM_NOTIFY: {
      const auto* header = reinterpret_cast<const NMHDR*>(lp);
      if (header->hwndFrom == PageControl1 && header->code == TCN_SELCHANGE) {
        page_ = SendMessageW(PageControl1, TCM_GETCURSEL, 0, 0) == 1 ? Page::kText : Page::kClip;
        Layout();
        PageControl1Change();
      }
      return 0;
    }
    case WM_MEASUREITEM:
      MeasureItem(*reinterpret_cast<MEASUREITEMSTRUCT*>(lp));
      return TRUE;
    case WM_DRAWITEM: {
      const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lp);
      if (item->hwndItem == HistListBox) DrawHistRow(*item);
      if (sheet_ && item->hwndItem == sheet_->List()) sheet_->DrawRow(*item);
      return TRUE;
    }
    case WM_CTLCOLORLISTBOX:
      if (reinterpret_cast<HWND>(lp) == HistListBox && listBrush_) {
        return reinterpret_cast<LRESULT>(listBrush_.get());
      }
      if (sheet_ && reinterpret_cast<HWND>(lp) == sheet_->List() && sheet_->ListBrush()) {
        return reinterpret_cast<LRESULT>(sheet_->ListBrush());
      }
      break;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLOREDIT:
      if (reinterpret_cast<HWND>(lp) == PreviewMemo && previewBrush_) {
        SetTextColor(reinterpret_cast<HDC>(wp), fgV_);
        SetBkColor(reinterpret_cast<HDC>(wp), bgV_);
        return reinterpret_cast<LRESULT>(previewBrush_.get());
      }
      break;
    case WM_CONTEXTMENU:
      ShowPopupMenu(reinterpret_cast<HWND>(wp),
                    POINT{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))});
      return 0;
    case WM_SIZE:
      Layout();
      return 0;
    case WM_GETMINMAXINFO: {
      auto* info = reinterpret_cast<MINMAXINFO*>(lp);
      info->ptMinTrackSize = POINT{Scale(kMinWidth, Dpi()), Scale(kMinHeight, Dpi())};
      return 0;
    }
    case WM_DPICHANGED: {
      const auto* suggested = reinterpret_cast<const RECT*>(lp);
      if (PageControl1) ApplyFonts();
      SetWindowPos(Handle(), nullptr, suggested->left, suggested->top, Width(*suggested),
                   Height(*suggested), SWP_NOZORDER | SWP_NOACTIVATE);
      return 0;
    }
    case WM_SETCURSOR: {
      POINT at{};
      GetCursorPos(&at);
      ScreenToClient(Handle(), &at);
      if (reinterpret_cast<HWND>(wp) == Handle() && OverSplitter(at)) {
        SetCursor(LoadCursorW(nullptr, IDC_SIZENS));
        return TRUE;
      }
      break;
    }
    case WM_LBUTTONDOWN:
      if (OverSplitter(POINT{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))})) {
        dragging_ = true;
        SetCapture(Handle());
      }
      return 0;
    case WM_MOUSEMOVE:
      if (dragging_) DragSplitter(static_cast<short>(HIWORD(lp)));
      return 0;
    case WM_LBUTTONUP:
    case WM_CAPTURECHANGED:
      if (dragging_) {
        dragging_ = false;
        if (msg == WM_LBUTTONUP) ReleaseCapture();
      }
      return 0;
    case WM_KEYDOWN:
      if (wp == VK_ESCAPE) {
        HideClip();
        return 0;
      }
      break;
    case WM_CLOSE:
      HideClip();
      return 0;
    case WM_DESTROY:
      StoreHistory();
      if (listening_) RemoveClipboardFormatListener(Handle());
      listening_ = false;
      return 0;
    default:
      break;
  }
  return Default(msg, wp, lp);
}
