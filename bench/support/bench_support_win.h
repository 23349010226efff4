#pragma once
#include <windows.h>

#include <chrono>
#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include "drive/file_bytes.h"
#include "drive/program_control.h"
#include "drive/waiting.h"
#include "drive/window_reading.h"

// What the benchmarks share besides the driving library (tests/drive): timing, waiting for
// Kelvo's windows to settle, key presses, scratch folders and a Kelvo.exe of the build started in
// one of them.

using Stopwatch = std::chrono::steady_clock;

double MsSince(Stopwatch::time_point start);
double Median(std::vector<double> values);
// The median time of RUNS calls of the work, in milliseconds.
double MedianMs(int runs, const std::function<void()>& work);

// Waits until the window's thread has handled everything queued before this call, and has
// painted what became invalid meanwhile.
void Settled(HWND window);

// Presses the keys in order and releases them in reverse order, in one SendInput.
void PressKeys(std::initializer_list<WORD> keys);
// Brings a window of this process to the front, gives the change of focus settleMs to settle
// (keys sent in the middle of it can be lost under Wine) and presses the keys; returns the time
// of the press.
Stopwatch::time_point PressInFront(HWND window, std::initializer_list<WORD> keys, DWORD settleMs);

// A visible top-level window of this process (200 x 100 at x, 50) of a class of its own.
HWND MakeWindow(const wchar_t* className, const std::wstring& title, int x);

// Whether the first row of the list box shows something: some pixel of it on the screen
// differs from the rest.
bool FirstRowPainted(HWND list);

// Places the text on the clipboard as this window's; whether it could.
bool PutOnClipboard(HWND owner, const std::wstring& text);

// A folder of this name in the user's temporary folder, made when missing (it is reused).
std::wstring BenchFolder(const std::wstring& name);
// Kelvo.exe of the build copied into the folder, with this settings file beside it; its path.
std::wstring PlaceKelvo(const std::wstring& buildDir, const std::wstring& folder,
                        const std::string& settings);

// Waits (at most 10 s) for a top-level window of this class.
HWND WaitForWindow(const wchar_t* className);
// Posts WM_CLOSE to the program's window and waits for it to end (ended by force when it does
// not within the time), then closes the handle.
void StopProgram(HANDLE process, HWND window, DWORD waitMs = 10000);

// Private bytes of the process in MB, as Wine and Windows report them.
double PrivateMb(HANDLE process);
// Private bytes once the process has waited for input for a while.
double IdlePrivateMb(HANDLE process);

// The floor program of the build (kelvo_floor.exe) started with these arguments and ready for its
// hotkey; ended when the object goes.
class BenchFloor {
 public:
  BenchFloor(const std::wstring& buildDir, const std::wstring& arguments);
  ~BenchFloor();
  BenchFloor(const BenchFloor&) = delete;
  BenchFloor& operator=(const BenchFloor&) = delete;
  // The hidden window that takes the hotkey and owns the floor's menu.
  HWND Owner() const { return owner_; }

 private:
  HANDLE process_ = nullptr;
  HWND owner_ = nullptr;
};

// A figure that `scripts/dev bench --check` compares with bench/baseline.txt: a ratio (Kelvo's
// time over its floor's, or over a minimal program's), printed as "figure ID VALUE".
void PrintFigure(const char* id, double ratio);

// Kelvo's figure beside its floor's, with the ratio and whether it meets the goal (at most
// `goal` times the floor), as one line with the description, and the ratio as a figure.
void PrintAgainstFloor(const char* id, const char* description, double kelvoMs, double floorMs,
                       double goal);

// Kelvo.exe of the build copied into a folder with this settings file, started there and ready
// for keys: its main window exists, it waits for input and has had half a second to settle.
// It is ended (its main window closed) by Stop or at the latest when the object goes.
class BenchKelvo {
 public:
  BenchKelvo(const std::wstring& buildDir, const std::wstring& folder, const std::string& settings);
  ~BenchKelvo() { Stop(); }
  BenchKelvo(const BenchKelvo&) = delete;
  BenchKelvo& operator=(const BenchKelvo&) = delete;

  HANDLE Process() const { return process_; }
  HWND MainWindow() const { return main_; }
  void Stop();

 private:
  HANDLE process_ = nullptr;
  HWND main_ = nullptr;
};
