#pragma once
#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>

#include "cmd_launcher/model/cmd_launcher_model.h"
#include "core/main_model.h"
#include "platform/desktop.h"
#include "platform/file_system.h"
#include "platform/locale.h"
#include "platform/system_control.h"
#include "ui/gdi_win.h"
#include "ui/subclass_win.h"
#include "ui/window_win.h"
#include "util/background_lookups.h"
#include "win32/input_context_win.h"
#include "win32/unique_handle_win.h"

// The command launcher, class "TCmdLncForm": a small always-on-top box in which the user types
// a keyword; Enter runs the keyword's record through the main window's hotkey message. Made at
// its first show and then only hidden. The logic is CmdLauncherModel's; this class mirrors its
// state into the combo box and the button.
class TCmdLncForm : public Window {
 public:
  static constexpr wchar_t kClassName[] = L"TCmdLncForm";
  // A registered message the window answers with the input method state of its keyword box as
  // Kelvo's own thread sees it (another program cannot read another thread's input context):
  // kImeAnswered, plus kImeOwnContext while the box uses its own context, plus kImeOpen while the
  // context it uses is open; 0 when the system has no input method manager.
  static constexpr wchar_t kImeStateMessage[] = L"Kelvo.KeywordBoxIme";
  static constexpr LRESULT kImeAnswered = 0x100;
  static constexpr LRESULT kImeOwnContext = 1;
  static constexpr LRESULT kImeOpen = 2;

  struct Services {
    const Locale& locale;
    const FileSystem& files;
    SystemControl& system;
    // The shell's small icon of Kelvo.exe, fetched at its first use.
    std::function<HICON()> exeSmallIcon;
  };

  TCmdLncForm(MainModel& model, Services services, HWND mainWindow);
  ~TCmdLncForm() override;

  // Creates the window, hidden, with the keyword records of the current table.
  bool Create();
  // The end of a settings load: the border follows NoTitleBar and the keywords are taken anew
  // (a shown box refills its list).
  void SettingsLoaded();
  void ShowLauncher();
  // Hides the box and stores its place.
  void HideLauncher();
  bool Visible() const { return Handle() && IsWindowVisible(Handle()); }

 private:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  bool CreateControls();
  LRESULT EditMessage(HWND edit, UINT msg, WPARAM wp, LPARAM lp);
  using KeyedEdit = ControlSubclass<TCmdLncForm, &TCmdLncForm::EditMessage>;

  void ApplyIme();
  LRESULT ImeState() const;
  void ApplyBorder();
  void ApplyFont();
  void Layout();
  void PlaceOnScreen(int x, int y);
  // Shows the model's state in the controls and carries out what the last event asked for.
  void Sync();
  // The box: its rows, whether its list is open, the highlighted row, the text and its selection.
  void SyncBox();
  void SyncRows();
  // What follows the selected record: the box's colours, the button and its glyph, and the
  // effects.
  void SyncRecord();
  void SyncGlyph();
  void Effects();
  // The user's own changes of the box, reported to the model.
  void ComboBoxChanged(WORD notification);
  void UserEditedText();
  void UserMovedInList();
  // The shell's icon of the file, or nothing while it is looked up (the glyph is redrawn when
  // it arrives).
  HICON ShellIcon(const std::u16string& path, int size);
  std::u16string IconPath(const std::u16string& file) const;
  HBRUSH ColourEdit(HDC dc);
  void PaintFrame();
  static bool CtrlOrAlt();

  MainModel& model_;
  Services services_;
  HWND mainWindow_;
  CmdLauncherModel logic_;
  HWND keywordBox_ = nullptr;
  HWND edit_ = nullptr;
  HWND runButton_ = nullptr;
  OwnInputContext ime_;
  UINT imeStateMessage_ = 0;
  FontHandle font_;
  FontDescription fontShown_;  // what font_ was made from, at fontDpi_
  UINT fontDpi_ = 0;
  int fontGeneration_ = 0;
  // What the last layout followed.
  struct LaidOut {
    int fontGeneration = -1;
    UINT dpi = 0;
    int listWidth = 0;
    int listSize = 0;
    bool noTitleBar = false;
    bool operator==(const LaidOut&) const = default;
  };
  std::optional<LaidOut> laidOut_;
  BitmapHandle glyph_;
  BrushHandle editBrush_;
  COLORREF editBrushColour_ = CLR_INVALID;
  std::u16string glyphFile_;  // what the glyph shows now
  int glyphSize_ = 0;
  bool glyphValid_ = false;
  // Shell icons by size and path, looked up off this thread: a look-up can take long, and
  // keystrokes come back to the same few records. Kept across reloads for files still named.
  std::unique_ptr<BackgroundLookups<IconHandle>> icons_;
  std::uint64_t shownRowsVersion_ = ~0ull;
  int iconSize_ = 16;
  bool noTitleBar_ = false;
  bool syncing_ = false;  // the box's text is being set by Kelvo, not typed
};
