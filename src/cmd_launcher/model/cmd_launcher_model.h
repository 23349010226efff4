#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "hotkeys/hotkey_record.h"
#include "platform/locale.h"
#include "settings/settings_store.h"

// The command launcher's logic: the keyword box's typed prefix, the list of matching keywords,
// the completion, the selected record and what Enter or an automatic run executes. The window
// feeds it the box's events and mirrors its state; nothing here knows about Win32.

// What the launcher reads of a keyword record. Only the identifier is kept across a run: the
// record itself may be gone after the hotkey message (a reload rebuilds the table).
struct CmdKeyword {
  int id = 0;
  std::u16string keyword;
  // The icon file, or else the record's first program; empty when it has neither.
  std::u16string glyphFile;
};

// The keyword records of the hotkey table (from FirstKwdIndex to the end), in table order.
std::vector<CmdKeyword> CmdKeywords(const HKeyList& table, int firstKwdIndex);

// How the keyword box sets the input method (IME) at its show. The order is that of the words of
// the ImeMode setting (auto, off, keep).
enum class CmdImeMode : std::uint8_t {
  kAuto,  // closed when every keyword is plain ASCII, otherwise as the user left it
  kOff,   // always closed
  kKeep,  // never touched
};

// Whether the box opens with its own input context closed: typed letters then reach the box as
// they are instead of being composed into kana. The user's IME in other windows stays as it is.
bool ClosesIme(CmdImeMode mode, bool keywordsPlainAscii);

// The options of section CmdLauncher read at every show.
struct CmdLauncherOptions {
  std::int32_t PosX = 0;
  std::int32_t PosY = 0;
  std::u16string CnfSound;
  std::u16string NgSound;
  std::uint32_t FgColorK = 0xFF000008;
  std::uint32_t BgColorK = 0xFF000005;
  std::uint32_t FgColorC = 0xFF000008;
  std::uint32_t BgColorC = 0xFF000005;
  bool SkipInput = false;
  bool Dropdown = true;
  bool CnfExecute = false;
  int ExeDelay = 250;  // milliseconds, 0 … 10,000
  int ListSize = 10;   // at least 1
  int ListWidth = 0;   // pixels; 0 = ten times the box's height
  CmdImeMode ImeMode = CmdImeMode::kAuto;
};

inline constexpr int kMaxExeDelay = 10000;

// Reads the options; out-of-range numbers are brought into range (a negative delay would
// otherwise wait forever, a list of no rows could not open).
CmdLauncherOptions ReadCmdLauncherOptions(const UsrIniFile& ini);

// A key the box's key-down handler looks at.
enum class CmdKey { kBackspace, kEnter, kEscape, kLeft, kRight, kUp, kDown, kDelete, kOther };

// What an event asks of the window besides showing the state.
struct CmdLauncherEffects {
  std::optional<std::u16string> sound;  // a settings path: played when the file exists
  std::optional<int> startTimer;        // (re)start the automatic run's wait, in milliseconds
  bool cancelTimer = false;
  bool hide = false;         // hide the window (storing its place)
  std::optional<int> runId;  // then send the main window the hotkey message of this Id
};

class CmdLauncherModel {
 public:
  explicit CmdLauncherModel(const Locale& locale) : locale_(locale) {}

  // Takes the keyword records of a settings load. Sort keys are made here, once per load, so
  // that a keystroke only compares. A visible launcher refills its list for the same prefix.
  void SetKeywords(std::vector<CmdKeyword> keywords);

  // The window shows: the prefix and the selection start afresh with these options.
  void Show(const CmdLauncherOptions& options);
  void Hidden() {
    visible_ = false;
    listOpen_ = false;
  }
  bool Visible() const { return visible_; }

  // The box's events. Each returns true when the box must not handle the key or character
  // itself.
  bool KeyDown(CmdKey key, bool ctrlOrAlt, bool textSelected);
  bool Character(char16_t c, bool ctrlOrAlt);
  // Key up: while the list is open, its highlighted row becomes the box text and selects its
  // record.
  void KeyUp(bool ctrlOrAlt);
  // The user's own edit of the box text (a key the box handled itself, a paste); the caret ends
  // the prefix while the list is closed.
  void TextEdited(const std::u16string& text, int caret);
  // The user moved the list's highlight to a row (arrow keys, the mouse, the wheel): the row's
  // keyword becomes the box text, and the list shows.
  void RowChosen(int row);
  // The user opened or closed the list (the drop-down arrow, a click elsewhere), or the system
  // closed it.
  void ListDropped(bool open) { listOpen_ = open; }
  // The button (or Enter with the list closed).
  void Execute();
  // The automatic run's wait is over.
  void TimerElapsed();

  CmdLauncherEffects TakeEffects() { return std::exchange(effects_, {}); }

  // The state the window shows.
  const std::u16string& Prefix() const { return prefix_; }
  const std::u16string& Text() const { return text_; }
  std::size_t RowCount() const { return rows_.size(); }
  const std::u16string& Row(std::size_t i) const { return keywords_[rows_[i]].keyword; }
  // Changes whenever the rows may have changed.
  std::uint64_t RowsVersion() const { return rowsVersion_; }
  // The box's selection: from the end of the prefix for 100 characters, so that the proposed
  // completion is selected; after a typed character only the caret, at the start of the box.
  int SelStart() const { return selStart_; }
  int SelLength() const { return selLength_; }
  bool ListOpen() const { return listOpen_; }
  // The row highlighted in the list, -1 for none: the row the user moved to, or else the first
  // row once the box shows its keyword. Refilling the list takes the highlight away.
  int ListRow() const { return listRow_; }
  // Exactly one keyword is listed: the box takes FgColorC and BgColorC.
  bool OneLeft() const { return rows_.size() == 1; }
  bool Enabled() const { return !executed_; }
  // The selected record's identifier, when there is one (also the button's enabled state).
  std::optional<int> SelectedId() const;
  // The file whose icon the button shows (the selected record's icon or program); empty for the
  // default icon.
  std::u16string GlyphFile() const;
  const CmdLauncherOptions& Options() const { return options_; }
  // Whether the box shows with its input method closed (ImeMode and the keywords decide).
  bool ClosesIme() const { return ::ClosesIme(options_.ImeMode, keywordsPlainAscii_); }

 private:
  static constexpr int kSelLength = 100;

  // Keywords match without regard to letter case and character width (ＣＡＬＣ, calc; ｶﾞ, ガ).
  // The folded form may be shorter than the keyword (ｶﾞ is one unit), so each keeps the way
  // back to the keyword's own positions, where the box's selection and completion are made.
  struct Entry {
    int id;
    std::u16string keyword;
    std::u16string folded;               // width-folded and upper-cased
    std::vector<std::uint32_t> origins;  // keyword position of each folded unit; empty: the same
    std::u16string glyphFile;
  };
  // A typed text in the form keywords are matched in. Its last character is open when it is a
  // half-width kana that a sound mark typed next would change (ｶ, then ﾞ): it matches カ, ガ.
  struct TypedForm {
    std::u16string folded;
    bool open = false;
  };

  std::u16string Folded(std::u16string_view text) const;
  TypedForm FormOf(std::u16string_view typed) const;
  static bool Matches(const Entry& entry, const TypedForm& form);
  // Where the typed text ends in the keyword's own text.
  static std::size_t EndIn(const Entry& entry, const TypedForm& form);
  static std::size_t Origin(const Entry& entry, std::size_t folded);
  void RefreshKwdList();
  void FillRows(const TypedForm& form);
  void CompletePrefix(const TypedForm& form);
  void UpdateKwdSelection();
  void SelectFromPrefix();
  void RemoveLastCharacter();
  void TypeCharacter(std::u16string_view unit);
  void PutCaretAtStart();
  bool HandleKeyDown(CmdKey key, bool ctrlOrAlt, bool textSelected);
  bool HandleCharacter(char16_t c, bool ctrlOrAlt);
  void TakeText(const std::u16string& text, int caret);
  void HighlightShownRow();
  bool AutoRunDue() const;

  const Locale& locale_;
  std::vector<Entry> keywords_;      // table order
  std::vector<std::size_t> sorted_;  // indices in locale order, table order among equals
  std::vector<std::size_t> rows_;    // indices of the listed keywords, in locale order
  std::uint64_t rowsVersion_ = 0;
  CmdLauncherOptions options_;
  std::u16string prefix_;
  std::u16string text_;
  int selStart_ = 0;
  int selLength_ = kSelLength;
  std::optional<std::size_t> selected_;
  // The keyword record whose keyword the box text is, when the text came from the list.
  std::optional<std::size_t> textEntry_;
  bool keywordsPlainAscii_ = true;
  char16_t pendingHighSurrogate_ = 0;
  // The key-down just handled was consumed: the character it makes (Backspace's, Enter's, Esc's)
  // is consumed with it, or it would edit the box behind the state's back.
  bool keyConsumed_ = false;
  bool listOpen_ = false;
  int listRow_ = -1;
  bool visible_ = false;
  bool executed_ = false;
  bool waiting_ = false;  // an automatic run waits for its timer
  CmdLauncherEffects effects_;
};
