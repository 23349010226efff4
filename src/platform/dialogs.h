#pragma once
#include <string>

// Message boxes. The flags and answers are those of the system's message box
// (MB_OK 0, MB_OKCANCEL 1, MB_YESNO 4, MB_ICONERROR 0x10, MB_ICONQUESTION 0x20,
// MB_ICONEXCLAMATION 0x30; IDOK 1, IDCANCEL 2, IDYES 6).
class Dialogs {
 public:
  virtual ~Dialogs() = default;
  virtual int ShowMessage(const std::u16string& text, const std::u16string& caption,
                          unsigned flags) = 0;
};

inline constexpr unsigned kMbOk = 0x0;
inline constexpr unsigned kMbOkCancel = 0x1;
inline constexpr unsigned kMbYesNo = 0x4;
inline constexpr unsigned kMbIconError = 0x10;
inline constexpr unsigned kMbIconQuestion = 0x20;
inline constexpr unsigned kMbIconExclamation = 0x30;
inline constexpr int kIdOk = 1;
inline constexpr int kIdCancel = 2;
inline constexpr int kIdYes = 6;
