#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "desktop_driver.h"
#include "kelvo_session.h"

// Driving the clipboard window of a running Kelvo: the driver copies texts itself, finds the
// window and its lists, and reads the history as Kelvo stores it.

// Places a text on the clipboard, as another program's copy; a private copy carries the mark
// that password managers set.
bool SetClipboard(const std::wstring& text, bool markedPrivate = false);
std::wstring ClipboardText();

// Kelvo's clipboard window ("TClipBdList").
HWND ClipWindowOf(DWORD processId);
// The n-th child of a class (0 for the first).
HWND ChildOfClass(HWND parent, const wchar_t* cls, int n = 0);
void WriteBytes(const std::wstring& path, const std::string& bytes);

// The texts of a history file's one-line entries, top first, and a list of texts as "a;b;".
std::vector<std::string> Entries(const std::string& file);
std::string Joined(const std::vector<std::string>& texts);

// The history as Kelvo stores it now: it writes the file when the session asks to end.
std::vector<std::string> StoredHistory(KelvoSession& kelvo);
// Copies a text and waits until Kelvo has it at the top of its history.
bool CopyAndWait(KelvoSession& kelvo, const std::string& text);
// Brings the pad to the front and presses the hotkey that shows the clipboard window.
bool OpenClipWindow(HWND clipWindow, const TestWindow& pad, UINT modifiers, UINT key);
