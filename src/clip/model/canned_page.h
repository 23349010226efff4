#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "clip/model/canned_file.h"
#include "clip/model/canned_text.h"
#include "clip/model/clip_capture.h"
#include "platform/clipboard.h"
#include "platform/clock.h"
#include "platform/code_page.h"
#include "platform/dialogs.h"
#include "platform/file_system.h"
#include "platform/locale.h"

class UsrIniFile;

inline constexpr int kCannedSets = 8;

// A message box the window shows after an operation.
struct CannedMessage {
  std::u16string text;
  std::u16string caption;
  unsigned flags = 0;  // Dialogs::ShowMessage flags
};

struct CannedResult {
  // The items, the selection or the set changed: the window shows the items again and refreshes
  // the status bar.
  bool changed = false;
  std::optional<CannedMessage> message;
};

// Where the drop mark of a drag is drawn on its row.
enum class DropEdge { kTop, kBottom };

// The canned-text page of the clipboard window without its controls: the sets, the items of the
// current set, the selected row, the edit panel's state, and every change, each written to the
// file at once. The window mirrors it: it shows Items() with Selected(), enables the list and
// the set bar when ListEnabled(), shows the edit panel exactly while Editing(), and shows the
// message of a result in a box.
//
// A change is kept only when its file was written: a failed write leaves the file and the items
// as they were. A file that exists but cannot be read (or is too large) is never written: every
// change is refused with a message until a reload, a set-up or a set switch reads it again. A
// file another program saved since Kelvo read or wrote it is not overwritten either: the change
// reads it instead and asks the user to make the change again. A reload, a set-up and a set
// switch end an open edit first, so that OK cannot write the edited text into another row or
// another set's file.
class CannedTextPage {
 public:
  CannedTextPage(FileSystem& fileSystem, const CodePage& codePage, const Clock& clock,
                 const Locale& locale);

  // The page's part of the window's set-up, at creation and at every settings reload: reads
  // TextDataFile (the current set) and TextDataBtn1..8 of section ClipboardList, names without a
  // drive taken beside Kelvo.exe (exeDir ends with "\"). The current file is read, or created
  // from the items held when it is missing. Nothing is selected afterwards.
  CannedResult LoadSettings(const UsrIniFile& ini, const std::u16string& exeDir);

  const std::u16string& TextDataPath() const { return textDataPath_; }
  // Resolved paths of the sets, empty where no file is set.
  const std::array<std::u16string, kCannedSets>& TextDataFiles() const { return textDataFiles_; }
  // The set bar is shown when any set is named; a set's button is enabled when its file existed
  // at the set-up.
  bool SetBarShown() const { return setBarShown_; }
  bool SetButtonEnabled(int set) const;
  // Switches to set 0..7 when its file exists: reads it, selects row 0 and writes its path to
  // TextDataFile, relative to Kelvo's folder when it lies inside (the caller writes the settings
  // file). `changed` says whether it switched;
  // a set outside 0..7 or without a file changes nothing.
  CannedResult SelectTextData(int set, UsrIniFile& ini);

  const std::vector<std::u16string>& Items() const { return items_.Lines(); }
  // What the capture compares new clipboard texts with, made again whenever the items change.
  const CannedBodies& Bodies() const { return bodies_; }
  std::size_t Count() const { return items_.Count(); }
  // Moves whenever the items change, and only then: a set read again as it was keeps it.
  std::uint64_t ItemsVersion() const { return itemsVersion_; }
  int Selected() const { return selected_; }
  // The list's click or key: -1 or a row out of range selects nothing. Ignored while editing.
  void Select(int row);

  // The text a paste or copy of the row uses now (row -1: the selected row): empty while editing,
  // without a row and for a separator.
  std::u16string SelText(int row = -1) const;
  std::u16string StatusRows() const { return CannedStatusRows(selected_, Count()); }
  std::u16string StatusText() const { return CannedStatusText(SelText()); }

  // Registers a text as a new item (one line, see OneLineText), before the item at `position`,
  // or at the end when position is below 0 or past the last item. Refused with a warning when an
  // item equals it but for letter case. The selected item stays selected.
  CannedResult AddTextItem(std::u16string_view text, int position);
  CannedResult RegFromClip(Clipboard& clipboard);  // at the end
  CannedResult InsFromClip(Clipboard& clipboard);  // before the selected item
  // A separator before the selected item, or at the end without a selection.
  CannedResult InsSepItem();
  // Deletes the selected item and selects the row at its place, or the last row.
  CannedResult DeleteSelected();
  // The drop of a drag onto row `target` (-1: no row): the selected item is removed and
  // inserted at that index, and stays selected.
  CannedResult MoveSelected(int target);
  // Reads the current file again; selects row 0.
  CannedResult Reload();
  // Writes the items to the current file.
  CannedResult SaveTextData();

  // A drag may drop onto the list when a row is selected and nothing is edited.
  bool AcceptsDrop() const { return selected_ >= 0 && !editing_; }
  // The mark of row r is on its bottom edge when r lies below the selected row, else on its top.
  DropEdge DropMarkerEdge(int row) const {
    return row > selected_ ? DropEdge::kBottom : DropEdge::kTop;
  }

  // The edit panel. BeginEdit gives the fields for the selected item (nothing without one).
  // EditOk replaces the item the edit began with and ends the edit; when the change cannot be
  // written, or the file had changed and was read again, the edit stays open, so nothing typed
  // is lost. CancelEdit ends it unchanged.
  bool Editing() const { return editing_; }
  std::optional<CannedEditFields> BeginEdit();
  CannedResult EditOk(std::u16string_view label, std::u16string_view body);
  void CancelEdit() { editing_ = false; }

  // The list and the set bar are enabled while nothing is edited.
  bool ListEnabled() const { return !editing_; }
  // When the page's actions are enabled (the window knows whether the clipboard holds text).
  bool CanPaste() const;  // also copying
  bool CanDelete() const { return selected_ >= 0 && !editing_; }
  bool CanRegFromClip(bool clipboardHasText) const { return clipboardHasText && !editing_; }
  bool CanInsFromClip(bool clipboardHasText) const;
  bool CanEditItem() const { return CanPaste(); }
  bool CanInsSep() const { return !editing_; }
  bool CanEditTextData(std::u16string_view editorSetting) const;
  bool CanReload() const;

 private:
  // Writes the changed items and keeps them when that worked; `select` is the row selected
  // afterwards.
  CannedResult Commit(CannedItems changed, int select);
  void TakeItems(CannedItems items);
  // The message that refuses a change while the file cannot be read; nothing when it was read,
  // or is missing now.
  std::optional<CannedMessage> Refusal();
  CannedMessage Blocked() const;
  CannedMessage ReadFailure(CannedFileStatus status, const std::u16string& path) const;
  CannedResult TakeChangedFile();
  // The row that holds the item the open edit began with (-1 when the file no longer has it).
  int EditedRow() const;
  // Reads the current file into the items and selects `select` (-1 or 0). A file that exists
  // but cannot be read makes the page refuse changes; a missing one is created from the items
  // held when createMissing, else nothing changes.
  CannedResult ReadCurrent(int select, bool createMissing);
  CannedResult CreateMissing();
  void ReadSets(const UsrIniFile& ini, const std::u16string& exeDir);

  FileSystem& fileSystem_;
  const CodePage& codePage_;
  const Clock& clock_;
  const Locale& locale_;

  std::u16string textDataPath_;
  std::array<std::u16string, kCannedSets> textDataFiles_;
  std::array<bool, kCannedSets> setEnabled_{};
  bool setBarShown_ = false;

  CannedItems items_;
  std::uint64_t itemsVersion_ = 0;
  CannedBodies bodies_;
  int selected_ = -1;
  // Why the current file could not be read, while it could not (kDone when it could).
  CannedFileStatus blocked_ = CannedFileStatus::kDone;
  bool editing_ = false;
  int editRow_ = -1;
  std::u16string editOriginal_;
  std::u16string exeDir_;
};
