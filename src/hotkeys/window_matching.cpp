#include "hotkeys/window_matching.h"

#include <optional>
#include <string_view>

#include "util/error_box.h"
#include "util/title_pattern.h"

namespace {

bool StartsWith(std::u16string_view title, std::u16string_view prefix, const Locale& locale) {
  return title.size() >= prefix.size() &&
         locale.CompareCase(title.substr(0, prefix.size()), prefix) == 0;
}

bool EndsWith(std::u16string_view title, std::u16string_view suffix, const Locale& locale) {
  return title.size() >= suffix.size() &&
         locale.CompareCase(title.substr(title.size() - suffix.size()), suffix) == 0;
}

// The title-part test of one walk. A pattern between slashes is compiled when the first window
// reaches it and then serves every further window of the walk.
class TitlePartTest {
 public:
  explicit TitlePartTest(std::u16string_view text) : text_(text) {
    isPattern_ = !text.empty() && text.front() == u'/' && text.back() == u'/';
  }

  enum class Outcome { Pass, Fail, BadPattern };

  Outcome Check(std::u16string_view title) {
    if (!isPattern_) {
      return title.find(text_) != std::u16string_view::npos ? Outcome::Pass : Outcome::Fail;
    }
    if (!compiled_) {
      // "/" alone is an empty pattern, as is "//".
      const std::u16string_view body =
          text_.size() >= 2 ? text_.substr(1, text_.size() - 2) : std::u16string_view();
      compiled_.emplace(TitlePattern::Compile(body));
    }
    if (!*compiled_) return Outcome::BadPattern;
    return (*compiled_)->Matches(title) ? Outcome::Pass : Outcome::Fail;
  }

 private:
  std::u16string_view text_;
  bool isPattern_ = false;
  std::optional<std::optional<TitlePattern>> compiled_;  // outer: tried; inner: compiled
};

}  // namespace

bool FindWindows(const WindowTests& tests, std::vector<WindowHandle>& list,
                 const WindowSystem& windows, const Locale& locale, Dialogs& dialogs) {
  if (tests.cls.empty() && tests.title.empty() && tests.titleR.empty() && tests.titleM.empty()) {
    return false;
  }
  list.clear();
  TitlePartTest titlePart(tests.titleM);
  // A title is asked for only when it is tested: for another program's window each question is a
  // round trip to the window system, and an activation by class alone asks it of every window.
  const bool titleTested = !tests.title.empty() || !tests.titleR.empty() || !tests.titleM.empty();
  for (const WindowHandle window : windows.TopLevelWindows()) {
    if (!windows.IsVisible(window)) continue;
    const std::u16string title = titleTested ? windows.Title(window) : std::u16string();
    if (!tests.title.empty() && !StartsWith(title, tests.title, locale)) continue;
    if (!tests.titleR.empty() && !EndsWith(title, tests.titleR, locale)) continue;
    if (!tests.titleM.empty()) {
      const auto outcome = titlePart.Check(title);
      if (outcome == TitlePartTest::Outcome::BadPattern) {
        list.clear();
        ShowError(dialogs, kInvalidPatternError);
        return false;
      }
      if (outcome == TitlePartTest::Outcome::Fail) continue;
    }
    if (!tests.cls.empty() && windows.ClassName(window) != tests.cls) continue;
    list.push_back(window);
  }
  return !list.empty();
}

void ActivateWindows(const std::vector<WindowHandle>& list, WindowSystem& windows,
                     bool keysFollow) {
  for (std::size_t i = 0; i < list.size(); ++i) {
    const WindowHandle window = list[i];
    if (windows.IsIconic(window)) windows.SendRestore(window);
    if (keysFollow && i + 1 == list.size()) {
      windows.SetForegroundForKeys(window);
    } else {
      windows.SetForeground(window);
    }
  }
}

void MinimizeWindows(const std::vector<WindowHandle>& list, WindowSystem& windows) {
  for (const WindowHandle window : list) windows.ShowWindow(window, kSwMinimize);
}

void CloseWindows(const std::vector<WindowHandle>& list, WindowSystem& windows) {
  for (const WindowHandle window : list) windows.PostClose(window);
}
