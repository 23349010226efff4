#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "kelvo_session.h"

// What a user sees of Kelvo's clipboard window at a moment, and the table-driven steps of the
// keyboard suites: each step presses keys (or clicks) and waits until the window shows what the
// step expects, and a failed step prints everything that was on the screen.
struct ClipScreen {
  bool visible = false;
  bool cannedPage = false;  // the canned-text list is the one shown
  int selected = -1;        // the selected row of the list shown
  int rows = 0;
  std::wstring status0, status1;
  bool previewShown = false;
  std::wstring preview;
  bool menuOpen = false;
  bool searchListOpen = false;
  bool editPanel = false;
  std::wstring clipboard;
  std::wstring pad;
};

std::string Describe(const ClipScreen& screen);

class ClipWindowView {
 public:
  ClipWindowView(HWND clipWindow, std::function<std::wstring()> padText)
      : window_(clipWindow), padText_(std::move(padText)) {}
  ClipScreen Now() const;
  HWND Window() const { return window_; }
  HWND Control(int id) const { return GetDlgItem(window_, id); }

 private:
  HWND window_;
  std::function<std::wstring()> padText_;
};

struct ClipStep {
  const char* row;                               // the row of the key table this step drives
  std::function<void()> act;                     // keys, clicks
  std::function<bool(const ClipScreen&)> shows;  // what the user sees afterwards
};

// Runs the steps in order; a step whose screen never comes within the deadline fails the test
// with the step's row and what the window showed.
void RunClipSteps(const ClipWindowView& view, const std::vector<ClipStep>& steps);

// Types ASCII letters, digits and blanks with the keyboard.
void TypeKeys(const std::string& text);

// Control identifiers of the clipboard window, and its actions' command identifiers.
namespace clip_ids {
constexpr int kStatus = 1;
constexpr int kFind = 3;
constexpr int kHistoryList = 4;
constexpr int kPreview = 5;
constexpr int kExtract = 213;
constexpr int kExcept = 214;
constexpr int kRelease = 215;
constexpr int kFirstSetButton = 400;
constexpr int kCannedList = 410;
constexpr int kLabelEdit = 411;
constexpr int kMemo = 412;
constexpr int kOk = 413;
constexpr int kCancel = 414;
}  // namespace clip_ids

// A history file of one-line entries (newest first), as Kelvo writes it.
std::string HistoryFile(const std::vector<std::string>& texts);
