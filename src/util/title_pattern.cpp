#include "util/title_pattern.h"

#include <algorithm>
#include <atomic>
#include <cstddef>
#include <string>

#define PCRE2_CODE_UNIT_WIDTH 16
#include <pcre2.h>

namespace {

// Every match runs on one budget of work for the whole text, whatever the number of places it
// starts from: a runaway pattern gives up within a few milliseconds on the longest title (2,046
// units), where PCRE2's own match limit, which counts afresh at every starting place, let such a
// pattern run for seconds. The work is counted in a callout before each item of the pattern:
// each step costs kStepCost plus a share of the backtracking frame PCRE2 copies for it, plus the
// text units the step passed over or may read before it fails. A pattern that walks a group
// over the longest title in a few steps a character stays well within the budget.
constexpr long kWorkBudget = 500000;
constexpr long kStepCost = 16;
constexpr long kFrameBytesPerUnit = 16;
// PCRE2's own limits stay as a second line: backtracking depth and the memory of its frames.
constexpr std::uint32_t kMatchLimit = 100000;
constexpr std::uint32_t kDepthLimit = 5000;
constexpr std::uint32_t kHeapLimitKib = 4096;
// A repeat count is looked for only this far from the end of an item (a character class may be
// long, and the callout runs before every step).
constexpr std::size_t kQuantifierWindow = 32;

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

bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

// The number in text at pos (advanced past it); nothing when there is no digit there.
std::optional<std::size_t> ReadNumber(std::u16string_view text, std::size_t& pos) {
  if (pos >= text.size() || !IsDigit(text[pos])) return std::nullopt;
  std::size_t value = 0;
  for (; pos < text.size() && IsDigit(text[pos]); ++pos) {
    value = std::min<std::size_t>(value * 10 + (text[pos] - u'0'), 1u << 30);
  }
  return value;
}

// The group a back reference item names by number (\1, \g1, \g{1}); nothing for any other
// item, 0 for a reference by name or relative number.
std::optional<std::size_t> BackReferenceGroup(std::u16string_view item) {
  if (item.starts_with(u"(?P=")) return 0;
  if (item.size() < 2 || item[0] != u'\\') return std::nullopt;
  std::size_t pos = 1;
  if (IsDigit(item[1])) {
    if (item[1] == u'0') return std::nullopt;  // an octal character
    return ReadNumber(item, pos);
  }
  if (item[1] == u'k') return 0;
  if (item[1] != u'g') return std::nullopt;
  pos = 2;
  if (pos < item.size() && item[pos] == u'<') return std::nullopt;  // a subroutine call
  if (pos < item.size() && item[pos] == u'{') ++pos;
  return ReadNumber(item, pos).value_or(0);
}

// The least count of a repeat "{n}", "{n,}" or "{n,m}" (possessive or lazy) that ends the item;
// nothing when it has none, and the whole text when its end looks like one but cannot be read.
std::optional<std::size_t> LeastRepeatCount(std::u16string_view item, std::size_t whole) {
  std::size_t end = item.size();
  if (end > 0 && (item[end - 1] == u'+' || item[end - 1] == u'?')) --end;
  if (end == 0 || item[end - 1] != u'}') return std::nullopt;
  if (end >= 2 && item[end - 2] == u'\\') return std::nullopt;  // a brace of its own
  const std::size_t from = end > kQuantifierWindow ? end - kQuantifierWindow : 0;
  const std::size_t open = item.substr(from, end - from).rfind(u'{');
  if (open == std::u16string_view::npos) return whole;
  std::size_t pos = from + open + 1;
  return ReadNumber(item, pos).value_or(0);
}

struct MatchBudget {
  std::u16string_view pattern;
  std::size_t textSize = 0;
  long stepCost = kStepCost;
  long left = kWorkBudget;
  std::size_t lastPosition = 0;
};

// Text units the next item may read before it fails, which no later callout shows: a back
// reference compares up to the length of its group, a repeat with a least count reads up to that
// many units. Everything an item reads and keeps shows in the position of the next callout.
std::size_t UnseenReach(const pcre2_callout_block& block, const MatchBudget& budget) {
  const std::size_t position = std::min<std::size_t>(block.current_position, budget.textSize);
  const std::size_t rest = budget.textSize - position;
  if (block.pattern_position >= budget.pattern.size()) return 0;
  const std::u16string_view item =
      budget.pattern.substr(block.pattern_position, block.next_item_length);
  if (const auto group = BackReferenceGroup(item)) {
    if (*group == 0 || *group >= block.capture_top) return rest;
    const PCRE2_SIZE start = block.offset_vector[2 * *group];
    const PCRE2_SIZE end = block.offset_vector[2 * *group + 1];
    if (start == PCRE2_UNSET || end == PCRE2_UNSET || end < start) return 0;
    return std::min<std::size_t>(end - start, rest);
  }
  return std::min(LeastRepeatCount(item, rest).value_or(0), rest);
}

int CountWork(pcre2_callout_block* block, void* data) {
  auto& budget = *static_cast<MatchBudget*>(data);
  const std::size_t position = block->current_position;
  const std::size_t passed = position > budget.lastPosition ? position - budget.lastPosition
                                                            : budget.lastPosition - position;
  budget.lastPosition = position;
  budget.left -= budget.stepCost +
                 static_cast<long>(std::min<std::size_t>(passed, budget.textSize)) +
                 static_cast<long>(UnseenReach(*block, budget));
  // A negative answer ends the whole match, which then counts as no match.
  return budget.left < 0 ? PCRE2_ERROR_CALLOUT : 0;
}

}  // namespace

struct TitlePattern::Compiled {
  std::u16string pattern;  // items are looked up in it while matching
  long stepCost = kStepCost;
  std::unique_ptr<pcre2_code, CodeFree> code;
  std::unique_ptr<pcre2_match_context, MatchContextFree> matchContext;
  std::unique_ptr<pcre2_match_data, MatchDataFree> matchData;
};

TitlePattern::TitlePattern(std::unique_ptr<Compiled> compiled) : compiled_(std::move(compiled)) {}
TitlePattern::TitlePattern(TitlePattern&&) noexcept = default;
TitlePattern& TitlePattern::operator=(TitlePattern&&) noexcept = default;
TitlePattern::~TitlePattern() = default;

int TitlePattern::CompileCount() { return compileCount.load(); }

std::optional<TitlePattern> TitlePattern::Compile(std::u16string_view pattern, bool caseless,
                                                  PatternError* error) {
  ++compileCount;
  std::unique_ptr<pcre2_compile_context, CompileContextFree> compileContext(
      pcre2_compile_context_create(nullptr));
  if (!compileContext) return std::nullopt;
  pcre2_set_newline(compileContext.get(), PCRE2_NEWLINE_ANY);

  auto compiled = std::make_unique<Compiled>();
  compiled->pattern = std::u16string(pattern);
  int errorCode = 0;
  PCRE2_SIZE errorOffset = 0;
  // Titles may hold lone surrogates; they must not keep the rest of the title from matching.
  // A callout before every item counts the work of a match.
  compiled->code.reset(pcre2_compile(
      Units(compiled->pattern), compiled->pattern.size(),
      PCRE2_UTF | PCRE2_MATCH_INVALID_UTF | PCRE2_AUTO_CALLOUT | (caseless ? PCRE2_CASELESS : 0),
      &errorCode, &errorOffset, compileContext.get()));
  if (!compiled->code) {
    if (error) {
      PCRE2_UCHAR16 message[256] = {};
      const int length = pcre2_get_error_message(errorCode, message, std::size(message));
      error->message.assign(reinterpret_cast<const char16_t*>(message),
                            length > 0 ? static_cast<std::size_t>(length) : 0);
      error->offset = static_cast<std::size_t>(errorOffset);
    }
    return std::nullopt;
  }
  // Each step copies a backtracking frame, which grows with the number of groups.
  std::size_t frameSize = 0;
  pcre2_pattern_info(compiled->code.get(), PCRE2_INFO_FRAMESIZE, &frameSize);
  compiled->stepCost = kStepCost + static_cast<long>(frameSize) / kFrameBytesPerUnit;

  compiled->matchContext.reset(pcre2_match_context_create(nullptr));
  compiled->matchData.reset(pcre2_match_data_create_from_pattern(compiled->code.get(), nullptr));
  if (!compiled->matchContext || !compiled->matchData) return std::nullopt;
  pcre2_set_match_limit(compiled->matchContext.get(), kMatchLimit);
  pcre2_set_depth_limit(compiled->matchContext.get(), kDepthLimit);
  pcre2_set_heap_limit(compiled->matchContext.get(), kHeapLimitKib);
  return TitlePattern(std::move(compiled));
}

PatternMatch TitlePattern::Match(std::u16string_view text) const {
  MatchBudget budget;
  budget.pattern = compiled_->pattern;
  budget.textSize = text.size();
  budget.stepCost = compiled_->stepCost;
  pcre2_set_callout(compiled_->matchContext.get(), CountWork, &budget);
  const int result = pcre2_match(compiled_->code.get(), Units(text), text.size(), 0, PCRE2_NOTEMPTY,
                                 compiled_->matchData.get(), compiled_->matchContext.get());
  if (result >= 0) return PatternMatch::kMatch;
  // Any other failure (the budget, one of PCRE2's limits, its memory) left the answer open.
  return result == PCRE2_ERROR_NOMATCH ? PatternMatch::kNoMatch : PatternMatch::kGaveUp;
}
