#include "check/check_report.h"

#include <algorithm>
#include <utility>

#include "base/number_text.h"

void CheckReport::Add(Finding finding) { findings_.push_back(std::move(finding)); }

void CheckReport::Unreadable(std::u16string file, std::u16string problem) {
  unreadable_ = true;
  Add({std::move(file), 0, Severity::kError, std::move(problem), {}});
}

void CheckReport::SortByPlace() {
  std::vector<std::u16string> files;
  for (const Finding& f : findings_) {
    if (std::find(files.begin(), files.end(), f.file) == files.end()) files.push_back(f.file);
  }
  const auto rank = [&](const Finding& f) {
    return std::make_pair(std::find(files.begin(), files.end(), f.file) - files.begin(), f.line);
  };
  std::stable_sort(findings_.begin(), findings_.end(),
                   [&](const Finding& a, const Finding& b) { return rank(a) < rank(b); });
}

int CheckReport::Errors() const {
  return static_cast<int>(std::count_if(findings_.begin(), findings_.end(), [](const Finding& f) {
    return f.severity == Severity::kError;
  }));
}

int CheckReport::Warnings() const { return static_cast<int>(findings_.size()) - Errors(); }

int CheckReport::ExitCode() const {
  if (unreadable_) return 2;
  return Errors() > 0 ? 1 : 0;
}

std::u16string CheckReport::Text() const {
  std::u16string text;
  for (const Finding& f : findings_) {
    text += f.file;
    if (f.line > 0) text += u"(" + IntToText(f.line) + u")";
    text += f.severity == Severity::kError ? u": エラー: " : u": 警告: ";
    text += f.problem;
    if (!f.fix.empty()) text += u" → " + f.fix;
    text += u"\r\n";
  }
  for (const std::u16string& note : notes_) text += note + u"\r\n";
  if (findings_.empty()) {
    text += u"問題は見つかりませんでした。\r\n";
  } else {
    text += u"エラー " + IntToText(Errors()) + u" 件、警告 " + IntToText(Warnings()) + u" 件\r\n";
  }
  return text;
}
