#pragma once
#include <string>
#include <vector>

enum class Severity { kError, kWarning };

// One thing the settings checker found: where, how bad, what, and the fix where one is clear.
struct Finding {
  std::u16string file;  // as shown: the name alone beside the settings file, else the full path
  int line = 0;         // 1-based; 0 for the file as a whole
  Severity severity = Severity::kError;
  std::u16string problem;
  std::u16string fix;
};

// What a check found, in the order found, with the exit code it earns: 0 without errors, 1 with
// errors, 2 when a file could not be read.
class CheckReport {
 public:
  void Add(Finding finding);
  // A file that exists but cannot be read: an error that earns exit code 2.
  void Unreadable(std::u16string file, std::u16string problem);
  // A line after the findings that is no finding (what was left unchecked, and why).
  void Note(std::u16string text) { notes_.push_back(std::move(text)); }

  // Puts the findings of each file together, files in the order first reported, each in line
  // order.
  void SortByPlace();

  const std::vector<Finding>& Findings() const { return findings_; }
  const std::vector<std::u16string>& Notes() const { return notes_; }
  int Errors() const;
  int Warnings() const;
  int ExitCode() const;
  // One line per finding ("Kelvo.INI(12): エラー: … → …"), the notes, then the counts; every
  // line ends with CR LF.
  std::u16string Text() const;

 private:
  std::vector<Finding> findings_;
  std::vector<std::u16string> notes_;
  bool unreadable_ = false;
};
