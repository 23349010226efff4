#pragma once
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "clip/model/canned_page.h"
#include "clip/model/clip_actions.h"
#include "clip/model/clip_capture.h"
#include "clip/model/history.h"
#include "clip/model/history_file.h"
#include "clip/model/history_view.h"
#include "core/main_model.h"
#include "platform/clipboard.h"
#include "platform/clock.h"
#include "platform/code_page.h"
#include "platform/file_system.h"
#include "platform/locale.h"
#include "util/background_task.h"

// The clipboard window's logic: the history with its rows and its file, the capture, the canned
// texts, the page shown and the actions. The window feeds it the events (commands, clipboard
// changes, loads, the user's actions) and mirrors its state; what an event asks of the window
// besides that (a box, a paste, a hide) comes out as effects. Nothing here knows about Win32.

enum class ClipPage { kHistory, kCanned };

// What an event asks of the window besides showing the state.
struct ClipWindowEffects {
  bool historyRows = false;  // the history's rows changed: show them again
  bool cannedRows = false;   // the canned page changed: show it again
  bool findItems = false;    // the search box's list changed (its text stays as typed)
  bool caption = false;      // the caption changed (capturing stopped or went on)
  std::vector<CannedMessage> boxes;
  std::optional<std::u16string> paste;  // paste into the window that was in front, then hide
  std::optional<std::u16string> copy;   // place on the clipboard, then hide
};

// What the actions' enabled states depend on outside the model.
struct ClipActionContext {
  std::u16string findText;
  bool clipboardHasText = false;
};

class ClipWindowModel {
 public:
  struct Services {
    FileSystem& files;
    const CodePage& codePage;
    const Locale& locale;
    const Clock& clock;
    Clipboard& clipboard;
    // Called on the reading thread when the history file read at start-up has arrived; the
    // window then calls HistoryArrived on its own thread.
    std::function<void()> historyArrived;
  };

  ClipWindowModel(MainModel& main, Services services);
  ~ClipWindowModel();
  ClipWindowModel(const ClipWindowModel&) = delete;
  ClipWindowModel& operator=(const ClipWindowModel&) = delete;

  // The set-up at start-up and on every settings reload: the capture settings and the history
  // file, the canned texts. The first set-up reads the history file on its own thread (a large
  // file would keep the hotkeys waiting); a reload keeps what was captured and reads the file
  // again only when it is new to this run. The boxes it asks for are shown once the set-up ends.
  void SetUp(const UsrIniFile& ini);
  // The start-up read has arrived (or is waited for: everything that needs the history takes it
  // first).
  void HistoryArrived();
  // Writes the history file when SaveHistory is on; a store that fails is told once per run, in
  // ErrorLog and, when mayShowBox, in a box.
  void StoreHistory(bool mayShowBox);
  void StoreHistoryAtExit(bool mayShowBox);
  // The window goes: the history is stored unless the exit stored it.
  void WindowGone();

  // The window's controls exist: from now on the history's rows are kept for them.
  void RowsMirrored() { rowsMirrored_ = true; }
  void Shown();
  void Hidden() { visible_ = false; }
  bool Visible() const { return visible_; }

  // The clipboard changed: its text is taken into the history.
  void ClipboardChanged();

  ClipPage Page() const { return page_; }
  void SelectPage(ClipPage page) { page_ = page; }
  // The text of the selected row of the page shown (row -1 of either page).
  std::u16string SelectedText() const;

  bool Enabled(ClipAction action, const ClipActionContext& context) const;
  // Runs an action of the history or the canned page when it is enabled. Actions that need the
  // window (a file dialog, the edit panel, the edit fields) are the window's.
  void Run(ClipAction action, const ClipActionContext& context);
  // 行毎に展開 is refused, with a box, when the lines would push the entry out of the history.
  void ExpandLines();
  // The search box's filters; the words join the search history.
  void Filter(ClipAction action, const std::u16string& words);
  void ToggleCapture();
  bool Capturing() const { return capture_.Capturing; }
  // The history page's caption: it shows when capturing is stopped.
  std::u16string Caption() const;

  // The canned page: a set chosen (the settings file is written when it changed), the drop of a
  // drag, the edit panel's OK or キャンセル.
  void SelectCannedSet(int set);
  void DropCanned(int target);
  void EditDone(bool ok, std::u16string_view label, std::u16string_view body);

  // 履歴を保存 and 履歴を読込 with the file the user chose.
  void SaveHistoryTo(const std::u16string& path);
  void LoadHistoryFrom(const std::u16string& path);

  ClipWindowEffects TakeEffects() { return std::exchange(effects_, {}); }

  // The state the window shows.
  const THistoryList& History() const { return history_; }
  HistoryView& Rows() { return view_; }
  const HistoryView& Rows() const { return view_; }
  CannedTextPage& Canned() { return canned_; }
  const CannedTextPage& Canned() const { return canned_; }
  const CaptureSettings& Settings() const { return capture_.Settings(); }
  const std::vector<std::u16string>& FindItems() const { return findItems_; }
  void ReadFindItems(const UsrIniFile& ini);
  void WriteFindItems(UsrIniFile& ini) const;

 private:
  void LoadHistoryFile(bool firstSetUp, const CaptureSettings& old);
  void StartHistoryRead(const std::u16string& path);
  void ApplyHistoryRead(HistoryRead read);
  void HistoryChanged();
  void Tell(const CannedResult& result);
  void Tell(CannedMessage message) { effects_.boxes.push_back(std::move(message)); }
  void RunCanned(ClipAction action);
  double Now() const;

  MainModel& main_;
  Services services_;
  THistoryList history_;
  HistoryView view_;
  ClipCapture capture_;
  CannedTextPage canned_;
  std::vector<std::u16string> findItems_;
  std::unique_ptr<BackgroundTask<HistoryRead>> historyRead_;
  ClipPage page_ = ClipPage::kHistory;
  bool setUpOnce_ = false;
  bool historyBlocked_ = false;  // the history file could not be read: never write over it
  bool storeFailureTold_ = false;
  bool storedAtExit_ = false;
  bool rowsMirrored_ = false;
  bool visible_ = false;
  ClipWindowEffects effects_;
};
