#pragma once
#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "clip/canned_page.h"
#include "clip/canned_sheet_win.h"
#include "clip/clip_actions.h"
#include "clip/clip_capture.h"
#include "clip/history.h"
#include "clip/history_file.h"
#include "clip/history_view.h"
#include "core/deferred_work.h"
#include "core/main_model.h"
#include "core/paste_into_target.h"
#include "hotkeys/hotkey_action.h"
#include "platform/clipboard.h"
#include "platform/code_page.h"
#include "platform/dialogs_win.h"
#include "platform/file_system.h"
#include "platform/locale.h"
#include "ui/gdi_win.h"
#include "ui/window_win.h"
#include "util/background_task.h"

// The clipboard window, class "TClipBdList": an always-on-top tool window with the clipboard
// history and the canned texts. It exists from start-up to exit and is only shown and hidden.
// The bare window is made at start-up, for the clipboard listener and the history; its
// controls (which load the common-controls library) are made at the first show.
class TClipBdList : public Window {
 public:
  static constexpr wchar_t kClassName[] = L"TClipBdList";
  enum class Page { kClip, kText };

  struct Services {
    FileSystem& files;
    const CodePage& codePage;
    const Locale& locale;
    const Clock& clock;
    PasteServices paste;
    // What the main window puts off while this window (or anything else) is busy.
    DeferredWork& deferred;
    // Hands back the hotkeys pressed while this window was busy (a paste, a dialog).
    std::function<void()> idle;
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
  // True while a paste, a message box or a file dialog of this window runs.
  bool Busy() const { return busy_ > 0; }

  // For tests and benchmarks.
  const THistoryList& History() const { return history_; }

 private:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  class BusyScope;

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
  void SelectPage(Page page);
  void OnActivate(bool active);
  void PageControl1Change();
  Page ActivePage() const;

  // Capture.
  void SetViewer();
  void OnClipboardUpdate();
  void LoadHistoryFile(bool firstSetUp, const CaptureSettings& old);
  // Starts reading the history file on its own thread (the set-up at start-up).
  void StartHistoryLoad(const CaptureSettings& settings);
  // Takes what that read found, waiting for it while it still runs; nothing when none runs.
  void FinishHistoryLoad();
  void ApplyHistoryRead(HistoryRead read);

  // The canned-text page.
  void SelectTextData(int set);
  void SyncCanned();
  void RefreshCannedStatus();
  void ShowResult(const CannedResult& result);
  // A message box owned by this window; its answer.
  int ShowMessage(const CannedMessage& message);
  void RunCanned(ClipAction action);
  void EditTextData();
  void EditDone(bool ok);
  void ApplySheetStyle();
  bool StdEditEnabled(ClipAction action) const;
  void RunStdEdit(ClipAction action);
  bool ClipboardHasText() const;

  // The history page.
  void SyncHistRows();
  void RefreshHistStatus();
  // Shows the text in the preview below the list, or hides it.
  void ShowPreview(const std::optional<std::u16string>& text);
  void ExpandLines();
  void UpdateActionStates();
  bool Enabled(ClipAction action) const;
  void Run(ClipAction action);
  void Paste(bool direct);
  void CopyClip();
  void Filter(ClipAction action);
  void SaveHist();
  void LoadHist();
  void ToggleStop();
  void ShowPopupMenu(HWND control, POINT at);
  void AppendActions(HMENU menu, const int* ids, std::size_t count);
  std::u16string GetSelText() const;
  std::u16string FindText() const;
  void SetFindItems();

  // Drawing.
  void MeasureItem(MEASUREITEMSTRUCT& item) const;
  void DrawHistRow(const DRAWITEMSTRUCT& item);

  // Keyboard of the controls.
  static LRESULT CALLBACK ControlProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id,
                                      DWORD_PTR self) noexcept;
  LRESULT ControlMessage(HWND control, UINT msg, WPARAM wp, LPARAM lp);
  LRESULT EditFieldMessage(HWND control, UINT msg, WPARAM wp, LPARAM lp);
  bool ListKey(HWND list, WPARAM vk);
  bool CtrlDown() const;
  bool Shortcut(WPARAM vk);
  bool Mnemonic(WPARAM vk);
  bool TabKey(HWND control);

  // The splitter above the preview.
  bool OverSplitter(POINT client) const;
  void DragSplitter(int clientY);

  void EndBusy();

  MainModel& model_;
  Services services_;
  std::unique_ptr<WinDialogs> dialogs_;
  THistoryList history_;
  HistoryView view_;
  ClipCapture capture_;
  CannedTextPage canned_;
  std::unique_ptr<CannedSheet> sheet_;
  std::vector<std::u16string> findItems_;
  SavedTarget target_;
  std::u16string wmPasteClass_;
  bool listening_ = false;       // ViewerSet: the clipboard listener is on
  bool historyBlocked_ = false;  // the history file could not be read: never overwrite it
  // The history file read at start-up, on a thread of its own (a large file would keep the
  // hotkeys waiting); everything that needs the history takes it first.
  std::unique_ptr<BackgroundTask<HistoryRead>> historyLoad_;
  bool storeFailureTold_ = false;
  bool storedAtExit_ = false;
  bool capturePending_ = false;
  bool setUpOnce_ = false;
  bool settingUp_ = false;
  bool layoutHeld_ = false;  // while a show prepares the window
  // A message of the last set-up, shown once the set-up (and the load around it) has ended.
  std::vector<CannedMessage> setUpMessages_;
  int busy_ = 0;

  // Settings of the window.
  FontDescription fontDesc_;
  int fontSizeV_ = 9;
  bool showLnCt_ = false;
  std::int32_t previewLn_ = 0;
  int transparent_ = 255;
  COLORREF fgL_ = 0, bgL_ = 0, fgV_ = 0, bgV_ = 0, fgT_ = 0, bgT_ = 0;
  COLORREF ctrlColor_ = 0, lnCtColor_ = 0;
  int lineSpace_ = 0;
  int previewHeight_ = 50;

  // Controls.
  HWND StatusBar1 = nullptr;
  HWND PageControl1 = nullptr;
  HWND FindComboBox = nullptr;
  HWND findEdit_ = nullptr;
  HWND extractBtn_ = nullptr, exceptBtn_ = nullptr, releaseBtn_ = nullptr;
  HWND HistListBox = nullptr;
  HWND PreviewMemo = nullptr;
  HWND tooltip_ = nullptr;
  HWND textPage_ = nullptr;  // the canned-text page's area
  FontHandle baseFont_;
  FontHandle listFont_;
  FontHandle previewFont_;
  BrushHandle listBrush_, previewBrush_;
  int charHeight_ = 12;
  int sizeTextWidth_ = 0;  // the status bar's longest size text in the window's font
  bool previewShown_ = false;
  bool dragging_ = false;
  Page page_ = Page::kClip;
  // Ctrl went down in one of the window's controls and has not come up there.
  bool ctrlPressed_ = false;
  // Ctrl+C ran CopyClipAction: its character is not the field's any more.
  bool copyCharTaken_ = false;
  // The control that had the focus when the window was last left (for a box, a menu).
  HWND lastFocus_ = nullptr;
};
