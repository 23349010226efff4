#pragma once
#include <memory>
#include <optional>
#include <string_view>

// A compiled regular expression over window titles and clipboard texts (PCRE2 on UTF-16 text).
// Letter case is significant, every line-break sequence counts as a newline, and an empty match
// does not count. Each match runs on a bounded budget, so a pattern that backtracks without end
// gives up quickly and reports no match. Matching reuses one work area, so a pattern serves one
// thread at a time.
class TitlePattern {
 public:
  // Nothing when the pattern does not compile.
  static std::optional<TitlePattern> Compile(std::u16string_view pattern);

  // Whether the pattern finds a non-empty match anywhere in text.
  bool Matches(std::u16string_view text) const;

  // How many patterns this process has compiled; lets tests see that a window walk compiles its
  // pattern once.
  static int CompileCount();

  TitlePattern(TitlePattern&&) noexcept;
  TitlePattern& operator=(TitlePattern&&) noexcept;
  ~TitlePattern();

 private:
  struct Compiled;
  explicit TitlePattern(std::unique_ptr<Compiled> compiled);

  std::unique_ptr<Compiled> compiled_;
};
