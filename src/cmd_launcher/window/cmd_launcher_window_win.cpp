#include "cmd_launcher/window/cmd_launcher_window_win.h"

#include <commctrl.h>

#include <algorithm>
#include <set>
#include <vector>

#include "base/number_text.h"
#include "core/app_sound.h"
#include "ui/colour_win.h"
#include "ui/controls_win.h"
#include "ui/font_win.h"
#include "ui/owned_gdi_objects_win.h"
#include "ui/subclass_win.h"
#include "ui/window_place_win.h"
#include "util/file_listing.h"
#include "win32/com_win.h"
#include "win32/owned_icons_win.h"
#include "win32/shell_win.h"
#include "win32/wide_win.h"

namespace {

constexpr wchar_t kCaption[] = L"Kelvo";
constexpr char16_t kSection[] = u"CmdLauncher";

enum class ControlId : int { kCombo = 1, kButton = 2 };
constexpr UINT_PTR kAutoRunTimer = 1;
constexpr WPARAM kMoveWithMouse = 0xF012;  // SC_MOVE with the mouse: drags like a title bar

// The layout, in pixels.
constexpr int kMarginTitled = 2;
constexpr int kMarginFrameless = 6;
constexpr int kMinButton = 22;
constexpr int kMaxGrip = 12;
constexpr int kLargeIconButton = 36;  // a wider button shows 32-pixel icons
constexpr std::size_t kIconCacheSize = 64;
// Posted by the icon look-up when an icon is there.
constexpr UINT kIconArrived = WM_APP + 1;

constexpr DWORD kTitledStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kFramelessStyle = WS_POPUP | WS_CLIPCHILDREN;
constexpr DWORD kExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST;

std::optional<CmdKey> KeyOf(WPARAM vk) {
  switch (vk) {
    case VK_BACK:
      return CmdKey::kBackspace;
    case VK_RETURN:
      return CmdKey::kEnter;
    case VK_ESCAPE:
      return CmdKey::kEscape;
    case VK_LEFT:
      return CmdKey::kLeft;
    case VK_RIGHT:
      return CmdKey::kRight;
    case VK_UP:
      return CmdKey::kUp;
    case VK_DOWN:
      return CmdKey::kDown;
    case VK_DELETE:
      return CmdKey::kDelete;
    case VK_SHIFT:
    case VK_CONTROL:
    case VK_MENU:
      return std::nullopt;  // a modifier alone changes nothing
    default:
      return CmdKey::kOther;
  }
}

// The key of an icon look-up: the size, "|" and the full path.
std::u16string IconKey(int size, const std::u16string& path) {
  return IntToText(size) + u"|" + path;
}

std::u16string PathOfIconKey(const std::u16string& key) { return key.substr(key.find(u'|') + 1); }

// Runs on the look-up worker: the shell may wait for a network path's time-out here.
IconHandle LookUpShellIcon(const std::u16string& key) {
  const ComInitialization com;
  const UINT size = key.starts_with(u"16|") ? SHGFI_SMALLICON : 0;
  // A file without an icon is remembered too (an empty handle), so that it is not asked for again.
  return owned::ShellFileIcon(W(PathOfIconKey(key)), 0, size);
}

}  // namespace

TCmdLncForm::TCmdLncForm(MainModel& model, Services services, HWND mainWindow)
    : model_(model),
      services_(std::move(services)),
      mainWindow_(mainWindow),
      logic_(services_.locale) {}

TCmdLncForm::~TCmdLncForm() {
  // The controls must be gone before the font and the glyph they use are deleted.
  if (Handle()) DestroyWindow(Handle());
}

bool TCmdLncForm::Create() {
  if (!RegisterClassOnce(kClassName)) return false;
  noTitleBar_ = model_.NoTitleBar;
  if (!CreateHandle(kClassName, kCaption, noTitleBar_ ? kFramelessStyle : kTitledStyle, kExStyle, 0,
                    0, 200, 40, nullptr)) {
    return false;
  }
  if (!CreateControls()) return false;
  imeStateMessage_ = RegisterWindowMessageW(kImeStateMessage);
  logic_.SetKeywords(CmdKeywords(model_.HKeyList, model_.FirstKwdIndex));
  return true;
}

bool TCmdLncForm::CreateControls() {
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  // Not CBS_SORT: the rows come from the logic in the user's locale order.
  keywordBox_ = CreateWindowExW(
      0, L"COMBOBOX", nullptr,
      WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL, 0, 0, 100,
      200, Handle(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(ControlId::kCombo)), instance,
      nullptr);
  // Skipped by Tab; Enter reaches it through the keyword box.
  runButton_ = CreateWindowExW(
      0, L"BUTTON", nullptr, WS_CHILD | WS_VISIBLE | WS_DISABLED | BS_DEFPUSHBUTTON | BS_BITMAP, 0,
      0, 22, 22, Handle(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(ControlId::kButton)),
      instance, nullptr);
  if (!keywordBox_ || !runButton_) return false;
  COMBOBOXINFO info{sizeof(info)};
  if (!GetComboBoxInfo(keywordBox_, &info) || !info.hwndItem) return false;
  edit_ = info.hwndItem;
  KeyedEdit::Attach(edit_, *this);
  return true;
}

void TCmdLncForm::SettingsLoaded() {
  if (!Handle()) return;
  if (noTitleBar_ != model_.NoTitleBar) {
    noTitleBar_ = model_.NoTitleBar;
    ApplyBorder();
  }
  // The icons of files the new table still names are kept; the others go.
  std::vector<CmdKeyword> keywords = CmdKeywords(model_.HKeyList, model_.FirstKwdIndex);
  std::set<std::u16string> named;
  for (const CmdKeyword& keyword : keywords) named.insert(IconPath(keyword.glyphFile));
  if (icons_) {
    icons_->KeepOnly(
        [&](const std::u16string& key) { return named.count(PathOfIconKey(key)) != 0; });
  }
  glyphValid_ = false;
  logic_.SetKeywords(std::move(keywords));
  if (Visible()) {
    ApplyIme();  // the new keywords may be typed otherwise
    Sync();
  }
}

void TCmdLncForm::ApplyIme() {
  if (logic_.ClosesIme()) {
    ime_.Close(edit_);
  } else {
    ime_.GiveBack();
  }
}

LRESULT TCmdLncForm::ImeState() const {
  const std::optional<bool> open = InputContextOpen(edit_);
  if (!open) return 0;
  return kImeAnswered | (ime_.InUse() ? kImeOwnContext : 0) | (*open ? kImeOpen : 0);
}

void TCmdLncForm::ApplyBorder() {
  SetWindowLongPtrW(Handle(), GWL_STYLE,
                    static_cast<LONG_PTR>(noTitleBar_ ? kFramelessStyle : kTitledStyle) |
                        (IsWindowVisible(Handle()) ? WS_VISIBLE : 0));
  SetWindowPos(Handle(), nullptr, 0, 0, 0, 0,
               SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  Layout();
  InvalidateRect(Handle(), nullptr, TRUE);
}

void TCmdLncForm::ApplyFont() {
  // A new font makes the box measure its rows again: only when the setting or the DPI changed.
  const UINT dpi = Dpi();
  if (font_ && fontShown_ == model_.CmdLauncherFont && fontDpi_ == dpi) return;
  FontHandle font = CreateSettingsFont(model_.CmdLauncherFont, dpi);
  if (!font) return;
  SetControlFont(keywordBox_, font.get());
  font_ = std::move(font);  // the old font goes only after the box no longer uses it
  fontShown_ = model_.CmdLauncherFont;
  fontDpi_ = dpi;
  ++fontGeneration_;
}

void TCmdLncForm::Layout() {
  const CmdLauncherOptions& options = logic_.Options();
  // Moving and sizing a window is slow under Wine: done again only when what it follows changed.
  const LaidOut inputs{fontGeneration_, Dpi(), options.ListWidth, options.ListSize, noTitleBar_};
  if (laidOut_ == inputs) return;
  laidOut_ = inputs;
  RECT box{};
  GetWindowRect(keywordBox_, &box);
  const int boxHeight = Height(box);
  const int m = noTitleBar_ ? kMarginFrameless : kMarginTitled;
  const int h = std::max(boxHeight, kMinButton);
  const int g = noTitleBar_ ? std::min(h / 3, kMaxGrip) : 0;
  const int w = options.ListWidth > 0 ? options.ListWidth : 10 * boxHeight;
  const int itemHeight = std::max(1, ComboBox(keywordBox_).ItemHeight());
  // A drop-down combo box's height is that of its open list; with visual styles the number of
  // rows is set apart (CB_SETMINVISIBLE) and the height serves older common controls.
  PlaceControl(keywordBox_, m / 2 + g, m / 2, w, boxHeight + options.ListSize * itemHeight + 2);
  ComboBox(keywordBox_).SetVisibleRows(options.ListSize);
  const int clientWidth = w + g + h + m;
  const int clientHeight = h + m;
  PlaceControl(runButton_, clientWidth - h - m / 2, m / 2, h, h);
  const int iconSize = h > kLargeIconButton ? 32 : 16;
  if (iconSize != iconSize_) glyphValid_ = false;
  iconSize_ = iconSize;
  RECT bounds{0, 0, clientWidth, clientHeight};
  AdjustWindowRectExForDpi(&bounds, static_cast<DWORD>(GetWindowLongPtrW(Handle(), GWL_STYLE)),
                           FALSE, kExStyle, Dpi());
  SetWindowPos(Handle(), nullptr, 0, 0, Width(bounds), Height(bounds),
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void TCmdLncForm::PlaceOnScreen(int x, int y) {
  RECT bounds{};
  GetWindowRect(Handle(), &bounds);
  // A place on a monitor that is no longer there: the nearest monitor's work area. The stored
  // place changes only when the box hides.
  // The show that follows puts it in front.
  PlaceWindow(Handle(), OnVisibleMonitor(RECT{x, y, x + Width(bounds), y + Height(bounds)}, 0, 0));
}

void TCmdLncForm::ShowLauncher() {
  if (!Handle() || !model_.IniFile) return;
  logic_.Show(ReadCmdLauncherOptions(*model_.IniFile));
  ApplyFont();
  Layout();
  RECT bounds{};
  GetWindowRect(Handle(), &bounds);
  // Centred where the user is looking until a place was stored.
  const POINT at =
      StoredPlaceOrCentred(*model_.IniFile, kSection, SIZE{Width(bounds), Height(bounds)});
  PlaceOnScreen(at.x, at.y);
  EnableWindow(keywordBox_, TRUE);
  // Before the box takes the focus, so that the input method starts in the box's state.
  ApplyIme();
  ShowUnclipped(Handle(), SW_SHOW);
  SetForegroundWindow(Handle());
  // The activation has put the focus in the box's edit (WM_ACTIVATE) as a rule: taking it again
  // would move it to the box and back, and under Wine each move of the focus in a combo box
  // costs about a millisecond of edit and input-method work.
  const HWND focus = GetFocus();
  if (focus != keywordBox_ && !IsChild(keywordBox_, focus)) SetFocus(keywordBox_);
  Sync();
}

void TCmdLncForm::HideLauncher() {
  if (!Handle()) return;
  KillTimer(Handle(), kAutoRunTimer);
  logic_.Hidden();
  syncing_ = true;
  ComboBox(keywordBox_).Drop(false);
  syncing_ = false;
  const bool wasVisible = IsWindowVisible(Handle()) != FALSE;
  ShowWindow(Handle(), SW_HIDE);
  ime_.GiveBack();
  RECT bounds{};
  if (wasVisible && model_.IniFile && GetWindowRect(Handle(), &bounds)) {
    model_.IniFile->WriteInteger(kSection, u"PosX", bounds.left);
    model_.IniFile->WriteInteger(kSection, u"PosY", bounds.top);
    model_.IniFile->UpdateFile();  // a failed write is retried by a later one
  }
}

bool TCmdLncForm::CtrlOrAlt() {
  // The state as of the message being handled, not the keyboard's state now: keys may queue.
  return GetKeyState(VK_CONTROL) < 0 || GetKeyState(VK_MENU) < 0;
}

void TCmdLncForm::SyncRows() {
  if (shownRowsVersion_ == logic_.RowsVersion()) return;
  shownRowsVersion_ = logic_.RowsVersion();
  const ComboBox box(keywordBox_);
  // Drawn by the show or the selection that follows, not once per row.
  SendMessageW(keywordBox_, WM_SETREDRAW, FALSE, 0);
  box.Clear();
  const std::size_t count = logic_.RowCount();
  box.Reserve(count, 16);
  for (std::size_t i = 0; i < count; ++i) box.Add(logic_.Row(i));
  SendMessageW(keywordBox_, WM_SETREDRAW, TRUE, 0);
}

void TCmdLncForm::Sync() {
  syncing_ = true;
  SyncBox();
  syncing_ = false;
  SyncRecord();
}

void TCmdLncForm::SyncBox() {
  SyncRows();
  const ComboBox box(keywordBox_);
  if (box.Dropped() != logic_.ListOpen()) box.Drop(logic_.ListOpen());
  // Never a selection of -1: the combo box would empty its text with it.
  const int row = logic_.ListRow();
  if (row >= 0 && box.Selected() != row) box.Select(row);
  const std::u16string& text = logic_.Text();
  if (WindowText(keywordBox_) != text) SetWindowTextW(keywordBox_, W(text));
  const int start = logic_.SelStart();
  box.SelectText(start, start + logic_.SelLength());
  if (!logic_.Enabled()) EnableWindow(keywordBox_, FALSE);
}

void TCmdLncForm::SyncRecord() {
  InvalidateRect(edit_, nullptr, TRUE);  // the colours tell whether one keyword is left
  EnableWindow(runButton_, logic_.SelectedId() ? TRUE : FALSE);
  SyncGlyph();
  Effects();
}

void TCmdLncForm::Effects() {
  CmdLauncherEffects effects = logic_.TakeEffects();
  if (effects.sound) PlayAppSound(services_.system, services_.files, model_.ExeDir, *effects.sound);
  if (effects.cancelTimer) KillTimer(Handle(), kAutoRunTimer);
  if (effects.startTimer) {
    SetTimer(Handle(), kAutoRunTimer, static_cast<UINT>(*effects.startTimer), nullptr);
  }
  if (effects.hide) HideLauncher();
  // Posted, not sent: the record runs once this key's handling is over, with the box hidden,
  // and whatever it opens (a message box, a reload) does not run inside the box's key handler.
  if (effects.runId) PostMessageW(mainWindow_, WM_HOTKEY, static_cast<WPARAM>(*effects.runId), 0);
}

std::u16string TCmdLncForm::IconPath(const std::u16string& file) const {
  return HasDrivePart(file) ? file : model_.ExeDir + file;
}

HICON TCmdLncForm::ShellIcon(const std::u16string& file, int size) {
  // Looked up off this thread: the shell waits for the network's time-out on an offline path,
  // and the box would not take a key meanwhile. Until the icon arrives the glyph is the default.
  if (!icons_) {
    const HWND window = Handle();
    icons_ = std::make_unique<BackgroundLookups<IconHandle>>(
        &LookUpShellIcon, [window] { PostMessageW(window, kIconArrived, 0, 0); }, kIconCacheSize);
  }
  const IconHandle* icon = icons_->Find(IconKey(size, IconPath(file)));
  return icon ? icon->get() : nullptr;
}

void TCmdLncForm::SyncGlyph() {
  const std::u16string file = logic_.GlyphFile();
  if (glyphValid_ && file == glyphFile_ && glyphSize_ == iconSize_) return;
  const int size = iconSize_;
  const WindowDC screen(runButton_);
  const MemoryDC memory = screen.Get() ? owned::CreateCompatibleDC(screen.Get()) : MemoryDC();
  if (!memory) return;
  // The button is given a bitmap once per size, and later glyphs are drawn into that same bitmap:
  // under Wine every bitmap handed to a button with BM_SETIMAGE costs about a kilobyte that is
  // never given back, and the glyph changes at almost every keystroke.
  BitmapHandle made;
  if (!glyph_ || glyphSize_ != size) {
    made = owned::CreateCompatibleBitmap(screen.Get(), size, size + 1);
    if (!made) return;
  }
  {
    SelectedObject selected(memory.get(), made ? made.get() : glyph_.get());
    RECT all{0, 0, size, size + 1};
    FillRect(memory.get(), &all, GetSysColorBrush(COLOR_BTNFACE));
    HICON icon = file.empty() ? nullptr : ShellIcon(file, size);
    if (!icon) icon = size == 16 && services_.exeSmallIcon ? services_.exeSmallIcon() : KelvoIcon();
    if (icon) DrawIconEx(memory.get(), 0, 0, icon, size, size, 0, nullptr, DI_NORMAL);
  }
  if (made) {
    SendMessageW(runButton_, BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(made.get()));
    glyph_ = std::move(made);  // the old glyph goes once the button shows the new one
  } else {
    InvalidateRect(runButton_, nullptr, FALSE);
  }
  glyphFile_ = file;
  glyphSize_ = size;
  glyphValid_ = true;
}

HBRUSH TCmdLncForm::ColourEdit(HDC dc) {
  const CmdLauncherOptions& o = logic_.Options();
  const bool one = logic_.OneLeft();
  const COLORREF text = ResolveColour(one ? o.FgColorC : o.FgColorK);
  const COLORREF background = ResolveColour(one ? o.BgColorC : o.BgColorK);
  SetTextColor(dc, text);
  SetBkColor(dc, background);
  if (!editBrush_ || editBrushColour_ != background) {
    editBrush_ = owned::CreateSolidBrush(background);
    editBrushColour_ = background;
  }
  return editBrush_.get();
}

void TCmdLncForm::UserEditedText() {
  logic_.TextEdited(WindowText(keywordBox_), EditBox(edit_).SelectionEnd());
  // The user's text stays as typed; only what follows the record does.
  SyncRecord();
}

void TCmdLncForm::UserMovedInList() {
  // At this notification the box still shows the old text; the selected row is the new one.
  logic_.RowChosen(ComboBox(keywordBox_).Selected());
  Sync();
}

void TCmdLncForm::ComboBoxChanged(WORD notification) {
  // The list opens and closes by the mouse and by the system too (a click elsewhere).
  if (notification == CBN_DROPDOWN) logic_.ListDropped(true);
  if (notification == CBN_CLOSEUP) logic_.ListDropped(false);
  if (syncing_) return;  // Kelvo's own change of the text, not the user's
  if (notification == CBN_EDITCHANGE) UserEditedText();
  if (notification == CBN_SELCHANGE) UserMovedInList();
}

void TCmdLncForm::PaintFrame() {
  PaintDC paint(Handle());
  if (!paint.Get() || !noTitleBar_) return;
  RECT client{};
  GetClientRect(Handle(), &client);
  DrawEdge(paint.Get(), &client, EDGE_RAISED, BF_RECT);
  RECT grip{4, 4, 7, client.bottom - 4};
  DrawEdge(paint.Get(), &grip, BDR_RAISEDINNER, BF_RECT);
}

LRESULT TCmdLncForm::EditMessage(HWND edit, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_KEYDOWN: {
      const std::optional<CmdKey> key = KeyOf(wp);
      if (!key) break;
      const bool consumed = logic_.KeyDown(*key, CtrlOrAlt(), EditBox(edit).HasSelection());
      Sync();
      if (consumed) return 0;
      break;
    }
    case WM_CHAR: {
      const bool consumed = logic_.Character(static_cast<char16_t>(wp), CtrlOrAlt());
      Sync();
      if (consumed) return 0;
      break;
    }
    case WM_KEYUP: {
      const bool modifiers = CtrlOrAlt();
      logic_.KeyUp(modifiers);
      Sync();
      if (modifiers) return 0;
      break;
    }
  }
  return DefSubclass(edit, msg, wp, lp);
}

LRESULT TCmdLncForm::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == imeStateMessage_ && msg != 0) return ImeState();
  switch (msg) {
    case WM_CLOSE:
      HideLauncher();  // hidden, never destroyed by the user
      return 0;
    case WM_COMMAND:
      if (LOWORD(wp) == static_cast<WORD>(ControlId::kCombo)) {
        ComboBoxChanged(HIWORD(wp));
        return 0;
      }
      if (LOWORD(wp) == static_cast<WORD>(ControlId::kButton) && HIWORD(wp) == BN_CLICKED) {
        logic_.Execute();
        Sync();
        return 0;
      }
      break;
    case WM_CTLCOLOREDIT:
      if (reinterpret_cast<HWND>(lp) == edit_) {
        return reinterpret_cast<LRESULT>(ColourEdit(reinterpret_cast<HDC>(wp)));
      }
      break;
    case kIconArrived:
      glyphValid_ = false;
      SyncGlyph();
      return 0;
    case WM_TIMER:
      if (wp == kAutoRunTimer) {
        KillTimer(Handle(), kAutoRunTimer);
        logic_.TimerElapsed();
        Sync();
        return 0;
      }
      break;
    case WM_ACTIVATE:
      if (LOWORD(wp) != WA_INACTIVE) SetFocus(keywordBox_);
      return 0;
    case WM_PAINT:
      PaintFrame();
      return 0;
    case WM_DPICHANGED: {
      // Moved onto a monitor of another DPI: the font is made anew for it and the box laid out.
      const RECT* suggested = reinterpret_cast<const RECT*>(lp);
      ApplyFont();
      Layout();
      SetWindowPos(Handle(), nullptr, suggested->left, suggested->top, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
      glyphValid_ = false;
      SyncGlyph();
      return 0;
    }
    case WM_LBUTTONDOWN:
      if (noTitleBar_) {
        ReleaseCapture();
        SendMessageW(Handle(), WM_SYSCOMMAND, kMoveWithMouse, 0);
        return 0;
      }
      break;
  }
  return Default(msg, wp, lp);
}
