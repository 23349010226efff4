#pragma once
#include <windows.h>

#include <chrono>
#include <functional>
#include <string>

#include "drive/file_bytes.h"
#include "drive/program_control.h"
#include "drive/waiting.h"

// One run of the real Kelvo.exe in a fresh temporary folder, driven as a user would: the driver
// starts it, waits for its main window, starts it a second time with arguments and ends it.
class KelvoSession {
 public:
  KelvoSession();
  // A session whose program folder is the path `inner` made inside the fresh folder; it holds no
  // Kelvo.exe: the caller puts one there (the package test unzips the release into it).
  explicit KelvoSession(const std::wstring& inner);
  // A session whose program folder's full path is `folderLength` characters long (folders of up
  // to 200 characters nested inside the fresh folder), with Kelvo.exe copied in.
  explicit KelvoSession(std::size_t folderLength);
  ~KelvoSession();
  KelvoSession(const KelvoSession&) = delete;
  KelvoSession& operator=(const KelvoSession&) = delete;

  const std::wstring& Folder() const { return folder_; }
  std::wstring IniPath() const { return folder_ + L"\\Kelvo.INI"; }
  std::wstring ExePath() const { return folder_ + L"\\Kelvo.exe"; }

  void WriteIni(const std::string& bytes) const;
  std::string ReadIni() const;
  // The settings file decoded by its byte-order mark or the ANSI code page, as Kelvo reads it.
  std::u16string ReadIniText() const;

  // Starts the resident instance and waits until its first settings load is done.
  bool Start(bool trayExpected = true);
  // Starts Kelvo.exe again with these arguments and returns its exit code.
  DWORD StartAgain(const std::wstring& arguments);
  // Starts Kelvo.exe again without waiting; the caller waits for and closes the process handle.
  HANDLE LaunchAgain(const std::wstring& arguments) const;
  // Closes the main window and returns the exit code; -2 when the process had to be killed.
  long Stop();

  // Waits until Kelvo ends by itself and returns its exit code; -2 when it does not end.
  long WaitForExit();
  // Copies a program of the build (a test helper) into the folder; returns its path there.
  std::wstring CopyProgram(const std::wstring& name) const;
  std::string ReadFileBytes(const std::wstring& name) const;

  HWND MainWindow() const { return mainWindow_; }
  DWORD ProcessId() const { return process_ ? GetProcessId(process_) : 0; }
  bool Running() const;
  // How many settings loads the resident instance has finished; -1 when it does not answer. A
  // load registers the hotkeys, so a test that reloads waits for this to grow before it presses.
  long long LoadsDone() const;
  // Whether the main window answers a message within 5 s.
  bool Answers() const;

 private:
  std::wstring root_;  // the fresh folder, removed at the end
  std::wstring folder_;
  HANDLE process_ = nullptr;
  HWND mainWindow_ = nullptr;
};

// Whether this process can register the combination now (it is released at once again).
bool CanRegister(UINT modifiers, UINT virtualKey);

std::string Utf8(const std::u16string& text);

// The text with every LF made a CR LF, as settings files are written.
std::string CrLf(const std::string& text);
