#pragma once
#include <windows.h>

#include <atomic>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "clip/model/clip_window_model.h"
#include "clip/window/canned_sheet_win.h"
#include "clip/window/history_sheet_win.h"
#include "core/deferred_work.h"
#include "core/main_model.h"
#include "core/paste_into_target.h"
#include "hotkeys/hotkey_action.h"
#include "platform/clock.h"
#include "ui/gdi_win.h"
#include "ui/subclass_win.h"
#include "ui/window_win.h"
#include "win32/dialogs_win.h"

// The clipboard window, class "TClipBdList": an always-on-top tool window with the clipboard
// history and the canned texts. It exists from start-up to exit and is only shown and hidden.
// The bare window is made at start-up, for the clipboard listener and the history; its
// controls (which load the common-controls library) are made at the first show. What it shows
// and does is its model's; the window is a shell with two sheets, one for each page, that mirror
// the model, and it carries out what the model's effects ask.
struct FileDialogRequest;

class TClipBdList : public Window {
 public:
  static constexpr wchar_t kClassName[] = L"TClipBdList";

  struct Services {
    FileSystem& files;
    const CodePage& codePage;
    const Locale& locale;
    const Clock& clock;
    PasteServices paste;
    // Kelvo's queue of work put off: this window's busy time, and the clipboard changes that
    // wait for its end.
    DeferredWork& deferred;
    // Opens a file in the user's editor.
    std::function<void(const std::u16string&)> openInEditor;
  };

  TClipBdList(MainModel& model, Services services);
  ~TClipBdList() override;

  bool Create();
  // The window's set-up, at start-up and on every settings reload.
  void LoadClipSettings();
  // Writes the history file when SaveHistory is on: when the session may end (no box can be
  // shown then) and at exit, before the windows go (a box may be shown unless the session ends).
  // A store that fails is told once per run: in ErrorLog, and in a box where one may be shown.
  void StoreHistory(bool mayShowBox);
  // The store at exit: the window's destruction then stores no more.
  void StoreHistoryAtExit(bool mayShowBox);

  // The internal commands CLIPBOARD, CLIPBOARD_C and CLIPBOARD_T[n].
  void RunCommand(const InternalAction& command);
  // Hides and stores the window's place and the search words (and writes the settings file).
  void HideClip(bool writeFile = true);
  bool Visible() const { return Handle() && IsWindowVisible(Handle()); }
  // Takes the clipboard's text into the history; the queue runs it once this window is not busy.
  void CaptureClipboard();

 private:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  // Marks the time this window runs something that lets other messages in (a paste, a message
  // box, a file dialog). Clipboard changes, hotkeys and reloads that arrive meanwhile run after
  // it, and what the main window puts off meanwhile (an exit) runs from a posted message, never
  // under the code that opened the box.
  DeferredWork::Scope MarkBusy() {
    return DeferredWork::Scope(services_.deferred, BusyPart::kClipWindow);
  }

  // Controls, made at the first show.
  bool CreateControls();
  void ApplyFonts();
  void Layout();
  // The smallest window size that shows every control whole at the current DPI.
  SIZE MinimumSize() const;
  void ShowClip();
  void PlaceFromSettings();
  void ApplyShowSettings();
  void ApplyTransparency();
  void SelectPage(ClipPage page);
  void OnActivate(bool active);
  // The page shown changed (or was chosen again): its list takes the keys, the status follows.
  void PageShown();

  // Capture.
  void SetViewer();
  // Shows what the model's last event changed and carries out what it asked for.
  void Apply(ClipWindowEffects effects);
  void ApplyPasteOrCopy(const ClipWindowEffects& effects);
  void ShowStoreResult(const ClipWindowEffects& effects);

  // The canned-text page.
  void SelectTextData(int set);
  void SyncCanned();
  void RefreshCannedStatus();
  // A message box owned by this window; its answer.
  int ShowMessage(const CannedMessage& message);
  void BeginEditItem();
  void EditTextData();
  void EditDone(bool ok);
  void ApplySheetStyles();
  bool StdEditEnabled(ClipAction action) const;
  void RunStdEdit(ClipAction action);
  ClipActionContext ActionContext(ClipAction action) const;

  // The history page.
  void SyncHistRows();
  void RefreshHistStatus();
  void ShowPreview(const std::optional<std::u16string>& text);
  void UpdateActionStates();
  bool Enabled(ClipAction action) const;
  void Run(ClipAction action);
  FileDialogRequest HistoryFileRequest(const char16_t* caption) const;
  void SaveHist();
  void LoadHist();
  void ShowPopupMenu(HWND control, POINT at);
  void AppendActions(HMENU menu, const int* ids, std::size_t count);

  // Keyboard of the controls.
  LRESULT ControlMessage(HWND control, UINT msg, WPARAM wp, LPARAM lp);
  using KeyedControl = ControlSubclass<TClipBdList, &TClipBdList::ControlMessage>;
  LRESULT EditFieldMessage(HWND control, UINT msg, WPARAM wp, LPARAM lp);
  bool ListKey(HWND list, WPARAM vk);
  bool CtrlDown() const;
  bool Shortcut(WPARAM vk);
  bool Mnemonic(WPARAM vk);
  bool TabKey(HWND control);

  bool OverSplitter(POINT client) const;
  void DragSplitter(int clientY);
  void PostHistoryArrived();
  // Where the history file's reading thread posts its arrival.
  std::atomic<HWND> arrivalTarget_{nullptr};

  MainModel& main_;
  Services services_;
  std::unique_ptr<WinDialogs> dialogs_;
  ClipWindowModel model_;
  std::unique_ptr<HistorySheet> history_;
  std::unique_ptr<CannedSheet> canned_;
  SavedTarget target_;
  std::u16string wmPasteClass_;
  bool listening_ = false;  // the clipboard listener is on
  bool settingUp_ = false;
  // While a show prepares the window: the layout, the status bar and the buttons' states follow
  // once, at its end.
  bool layoutHeld_ = false;
  // Inside the show's ShowWindow: the activation it brings leaves the focus to PageShown, which
  // follows at once. Set during the show, the window is not on the screen yet and the focused
  // row drawn then is lost; set after, it is the first row the user sees.
  bool showing_ = false;
  // The client size the status bar was last sized for; none after a change of fonts.
  std::optional<SIZE> statusSizedFor_;
  // The sheets' styles as last applied; none after a change of fonts.
  std::optional<std::pair<HistorySheet::Style, CannedSheet::Style>> stylesApplied_;
  // A message of the last set-up, shown once the set-up (and the load around it) has ended.
  std::vector<CannedMessage> setUpMessages_;

  // Settings of the window.
  FontDescription fontDesc_;
  int fontSizeV_ = 9;
  bool showLnCt_ = false;
  std::int32_t previewLn_ = 0;
  int transparent_ = 255;
  int lineSpace_ = 0;
  int previewHeight_ = 50;
  // The sheets' colours, read at each show.
  HistorySheet::Style historyStyle_;
  CannedSheet::Style cannedStyle_;

  // Controls.
  HWND status_ = nullptr;
  HWND tabs_ = nullptr;
  FontHandle baseFont_;
  FontHandle listFont_;
  FontHandle previewFont_;
  int charHeight_ = 12;
  int sizeTextWidth_ = 0;  // the status bar's longest size text in the window's font
  bool dragging_ = false;
  // Ctrl went down in one of the window's controls and has not come up there.
  bool ctrlPressed_ = false;
  // Ctrl+C ran CopyClipAction: its character is not the field's any more.
  bool copyCharTaken_ = false;
  // The control that had the focus when the window was last left (for a box, a menu).
  HWND lastFocus_ = nullptr;
};
