#include "util/title_pattern.h"

#include <atomic>

#define PCRE2_CODE_UNIT_WIDTH 16
#include <pcre2.h>

namespace {

// Enough for any sensible title pattern; a runaway backtracking match stops within milliseconds.
constexpr std::uint32_t kMatchLimit = 100000;
constexpr std::uint32_t kDepthLimit = 5000;

std::atomic<int> compileCount{0};

// An empty view may have no data at all, which PCRE2 takes for a missing argument.
PCRE2_SPTR Units(std::u16string_view text) {
  return reinterpret_cast<PCRE2_SPTR>(text.empty() ? u"" : text.data());
}

struct CodeFree {
  void operator()(pcre2_code* code) const { pcre2_code_free(code); }
};
struct CompileContextFree {
  void operator()(pcre2_compile_context* context) const { pcre2_compile_context_free(context); }
};
struct MatchContextFree {
  void operator()(pcre2_match_context* context) const { pcre2_match_context_free(context); }
};
struct MatchDataFree {
  void operator()(pcre2_match_data* data) const { pcre2_match_data_free(data); }
};

}  // namespace

struct TitlePattern::Compiled {
  std::unique_ptr<pcre2_code, CodeFree> code;
  std::unique_ptr<pcre2_match_context, MatchContextFree> matchContext;
  std::unique_ptr<pcre2_match_data, MatchDataFree> matchData;
};

TitlePattern::TitlePattern(std::unique_ptr<Compiled> compiled) : compiled_(std::move(compiled)) {}
TitlePattern::TitlePattern(TitlePattern&&) noexcept = default;
TitlePattern& TitlePattern::operator=(TitlePattern&&) noexcept = default;
TitlePattern::~TitlePattern() = default;

int TitlePattern::CompileCount() { return compileCount.load(); }

std::optional<TitlePattern> TitlePattern::Compile(std::u16string_view pattern) {
  ++compileCount;
  std::unique_ptr<pcre2_compile_context, CompileContextFree> compileContext(
      pcre2_compile_context_create(nullptr));
  if (!compileContext) return std::nullopt;
  pcre2_set_newline(compileContext.get(), PCRE2_NEWLINE_ANY);

  auto compiled = std::make_unique<Compiled>();
  int errorCode = 0;
  PCRE2_SIZE errorOffset = 0;
  // Titles may hold lone surrogates; they must not keep the rest of the title from matching.
  compiled->code.reset(pcre2_compile(Units(pattern), pattern.size(),
                                     PCRE2_UTF | PCRE2_MATCH_INVALID_UTF, &errorCode, &errorOffset,
                                     compileContext.get()));
  if (!compiled->code) return std::nullopt;

  compiled->matchContext.reset(pcre2_match_context_create(nullptr));
  compiled->matchData.reset(pcre2_match_data_create_from_pattern(compiled->code.get(), nullptr));
  if (!compiled->matchContext || !compiled->matchData) return std::nullopt;
  pcre2_set_match_limit(compiled->matchContext.get(), kMatchLimit);
  pcre2_set_depth_limit(compiled->matchContext.get(), kDepthLimit);
  return TitlePattern(std::move(compiled));
}

bool TitlePattern::Matches(std::u16string_view text) const {
  // Any negative result (no match, budget spent, bad text) is no match.
  const int result = pcre2_match(compiled_->code.get(), Units(text), text.size(), 0, PCRE2_NOTEMPTY,
                                 compiled_->matchData.get(), compiled_->matchContext.get());
  return result >= 0;
}
