#pragma once
#include <cstddef>
#include <optional>

// The commands of the clipboard window, in the order of its action list. Their values are the
// menu and WM_COMMAND identifiers.
enum class ClipAction : int {
  kPaste = 200,
  kCopyClip,
  kRegToText,
  kExLine,
  kSortText,
  kSortTime,
  kSortLength,
  kSortLineCnt,
  kDelItem,
  kAllDel,
  kStop,
  kSaveHist,
  kLoadHist,
  kListExtract,
  kListExcept,
  kListRelease,
  kRegFromClip,
  kInsFromClip,
  kEditTextItem,
  kEditTextData,
  kReloadTextData,
  kStdEditCut,
  kStdEditCopy,
  kStdEditPaste,
  kStdEditSelectAll,
  kStdEditUndo,
  kInsSep,  // a menu item without an action of its own
};

inline constexpr ClipAction kFirstClipAction = ClipAction::kPaste;
inline constexpr ClipAction kLastClipAction = ClipAction::kInsSep;

struct ClipActionText {
  const char16_t* caption;
  const char16_t* hint;  // tooltip before "|", status text after it; empty for none
};

ClipActionText ClipActionTexts(ClipAction action);
std::optional<ClipAction> ClipActionOf(int id);

// The items of the history page's context menu; kSeparator draws a line.
inline constexpr int kMenuSeparator = 0;
inline constexpr int kHistoryMenu[] = {
    static_cast<int>(ClipAction::kPaste),
    static_cast<int>(ClipAction::kCopyClip),
    static_cast<int>(ClipAction::kRegToText),
    kMenuSeparator,
    static_cast<int>(ClipAction::kExLine),
    kMenuSeparator,
    static_cast<int>(ClipAction::kSortText),
    static_cast<int>(ClipAction::kSortTime),
    static_cast<int>(ClipAction::kSortLength),
    static_cast<int>(ClipAction::kSortLineCnt),
    kMenuSeparator,
    static_cast<int>(ClipAction::kDelItem),
    static_cast<int>(ClipAction::kAllDel),
    kMenuSeparator,
    static_cast<int>(ClipAction::kStop),
    kMenuSeparator,
    static_cast<int>(ClipAction::kSaveHist),
    static_cast<int>(ClipAction::kLoadHist),
};

// The canned-text page's context menu.
inline constexpr int kCannedMenu[] = {
    static_cast<int>(ClipAction::kPaste),
    static_cast<int>(ClipAction::kCopyClip),
    kMenuSeparator,
    static_cast<int>(ClipAction::kEditTextItem),
    static_cast<int>(ClipAction::kDelItem),
    kMenuSeparator,
    static_cast<int>(ClipAction::kRegFromClip),
    static_cast<int>(ClipAction::kInsFromClip),
    static_cast<int>(ClipAction::kInsSep),
    kMenuSeparator,
    static_cast<int>(ClipAction::kEditTextData),
    static_cast<int>(ClipAction::kReloadTextData),
};

// The edit fields' context menu; the escape codes follow after a separator.
inline constexpr int kEditFieldMenu[] = {
    static_cast<int>(ClipAction::kStdEditCut),   static_cast<int>(ClipAction::kStdEditCopy),
    static_cast<int>(ClipAction::kStdEditPaste), static_cast<int>(ClipAction::kStdEditSelectAll),
    static_cast<int>(ClipAction::kStdEditUndo),
};
