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

// The texts of a history file's one-line entries, top first, and a list of texts as "a;b;".
std::vector<std::string> Entries(const std::string& file);
std::string Joined(const std::vector<std::string>& texts);

// The history as Kelvo stores it now: it writes the file when the session asks to end.
std::vector<std::string> StoredHistory(KelvoSession& kelvo);
// Copies a text and waits until Kelvo has it at the top of its history.
bool CopyAndWait(KelvoSession& kelvo, const std::string& text);
// Brings the pad to the front and presses the hotkey that shows the clipboard window.
bool OpenClipWindow(HWND clipWindow, const TestWindow& pad, UINT modifiers, UINT key);

// What another process's controls show, read through a buffer in that process: the common
// controls do not carry their texts across processes by themselves.
std::wstring StatusText(HWND statusBar, int part);
RECT StatusPartRect(HWND statusBar, int part);
// A rectangle a control of another process gives by message (SB_GETRECT, TCM_GETITEMRECT).
bool RemoteRect(HWND control, UINT message, WPARAM wp, RECT& rect);

// The screen point at the middle of a window, and of a row of a list box of Kelvo.
POINT CentreOf(HWND window);
POINT RowPoint(HWND list, int row);
// Mouse input as a user gives it: a click or double-click at a screen point, a right click, and
// a drag from one point to another in small steps.
void ClickAt(POINT at, bool twice = false);
void RightClickAt(POINT at);
void DragFromTo(POINT from, POINT to);
