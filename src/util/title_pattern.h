#pragma once
#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

// Why a pattern did not compile: PCRE2's message and the offset (in UTF-16 units) where it
// stopped.
struct PatternError {
  std::u16string message;
  std::size_t offset = 0;
};

// What a search found; kGaveUp when the work budget ran out before an answer.
enum class PatternMatch { kNoMatch, kMatch, kGaveUp };

// A compiled regular expression over window titles and clipboard texts (PCRE2 on UTF-16 text).
// Letter case is significant unless the pattern is compiled caseless, every line-break sequence
// counts as a newline, and an empty match does not count. Each match runs on a bounded budget, so
// a pattern that backtracks without end gives up quickly. Matching reuses one work area, so a
// pattern serves one thread at a time.
class TitlePattern {
 public:
  // Nothing when the pattern does not compile; `error`, when given, then says why.
  static std::optional<TitlePattern> Compile(std::u16string_view pattern, bool caseless = false,
                                             PatternError* error = nullptr);

  // Whether the pattern finds a non-empty match anywhere in text.
  PatternMatch Match(std::u16string_view text) const;
  // Giving up counts as no match (window titles).
  bool Matches(std::u16string_view text) const { return Match(text) == PatternMatch::kMatch; }

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
