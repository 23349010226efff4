#include "cmd_launcher/model/cmd_launcher_model.h"

#include <algorithm>
#include <string_view>
#include <utility>

#include "base/text_codec.h"
#include "base/width_fold.h"
#include "settings/settings_schema.h"

namespace {

constexpr std::u16string_view kSection = u"CmdLauncher";

// The code units of the character that starts at `at`: two for a surrogate pair.
std::size_t CharLength(std::u16string_view text, std::size_t at) {
  if (at + 1 < text.size() && IsHighSurrogate(text[at]) && IsLowSurrogate(text[at + 1])) return 2;
  return 1;
}

bool StartsWith(std::u16string_view text, std::u16string_view prefix) {
  return text.size() >= prefix.size() && text.compare(0, prefix.size(), prefix) == 0;
}

CmdImeMode ReadImeMode(const UsrIniFile& ini) {
  constexpr const SettingKey& row = SettingRow(kSection, u"ImeMode");
  const auto choice = FindChoice(row.choices, ini.ReadString(kSection, row.key, row.text));
  return choice ? static_cast<CmdImeMode>(*choice) : CmdImeMode::kAuto;
}

}  // namespace

bool ClosesIme(CmdImeMode mode, bool keywordsPlainAscii) {
  switch (mode) {
    case CmdImeMode::kOff:
      return true;
    case CmdImeMode::kKeep:
      return false;
    case CmdImeMode::kAuto:
      // A keyword in Japanese is typed through the IME; one of plain letters only without it.
      return keywordsPlainAscii;
  }
  return false;
}

std::vector<CmdKeyword> CmdKeywords(const HKeyList& table, int firstKwdIndex) {
  std::vector<CmdKeyword> keywords;
  if (firstKwdIndex < 0) return keywords;
  for (std::size_t i = static_cast<std::size_t>(firstKwdIndex); i < table.size(); ++i) {
    const HKeyRec& rec = *table[i];
    keywords.push_back({rec.Id, rec.Keyword, rec.Icon.empty() ? rec.Execute[0] : rec.Icon});
  }
  return keywords;
}

CmdLauncherOptions ReadCmdLauncherOptions(const UsrIniFile& ini) {
  CmdLauncherOptions o;
  o.PosX = ini.ReadInteger(kSection, u"PosX", DefaultInteger(kSection, u"PosX"));
  o.PosY = ini.ReadInteger(kSection, u"PosY", DefaultInteger(kSection, u"PosY"));
  o.CnfSound = ini.ReadString(kSection, u"CnfSound", DefaultText(kSection, u"CnfSound"));
  o.NgSound = ini.ReadString(kSection, u"NgSound", DefaultText(kSection, u"NgSound"));
  o.FgColorK = ini.ReadColor(kSection, u"FgColorK", DefaultColour(kSection, u"FgColorK"));
  o.BgColorK = ini.ReadColor(kSection, u"BgColorK", DefaultColour(kSection, u"BgColorK"));
  o.FgColorC = ini.ReadColor(kSection, u"FgColorC", DefaultColour(kSection, u"FgColorC"));
  o.BgColorC = ini.ReadColor(kSection, u"BgColorC", DefaultColour(kSection, u"BgColorC"));
  o.SkipInput = ini.ReadBool(kSection, u"SkipInput", DefaultBool(kSection, u"SkipInput"));
  o.Dropdown = ini.ReadBool(kSection, u"Dropdown", DefaultBool(kSection, u"Dropdown"));
  o.CnfExecute = ini.ReadBool(kSection, u"CnfExecute", DefaultBool(kSection, u"CnfExecute"));
  o.ExeDelay =
      std::clamp(ini.ReadInteger(kSection, u"ExeDelay", DefaultInteger(kSection, u"ExeDelay")), 0,
                 kMaxExeDelay);
  o.ListSize =
      std::max(1, ini.ReadInteger(kSection, u"ListSize", DefaultInteger(kSection, u"ListSize")));
  o.ListWidth =
      std::max(0, ini.ReadInteger(kSection, u"ListWidth", DefaultInteger(kSection, u"ListWidth")));
  o.ImeMode = ReadImeMode(ini);
  return o;
}

std::u16string CmdLauncherModel::Folded(std::u16string_view text) const {
  const std::u16string folded = FoldWidthKana(text, KanaFold::kWidthOnly);
  std::u16string upper = locale_.ToUpper(folded);
  // Positions in the upper-cased text must be those of the folded one.
  return upper.size() == folded.size() ? upper : folded;
}

CmdLauncherModel::TypedForm CmdLauncherModel::FormOf(std::u16string_view typed) const {
  return {Folded(typed), !typed.empty() && TakesSoundMark(typed.back())};
}

bool CmdLauncherModel::Matches(const Entry& entry, const TypedForm& form) {
  if (!form.open) return StartsWith(entry.folded, form.folded);
  const std::size_t last = form.folded.size() - 1;
  return entry.folded.size() > last && entry.folded.compare(0, last, form.folded, 0, last) == 0 &&
         SameKanaBase(form.folded[last], entry.folded[last]);
}

std::size_t CmdLauncherModel::Origin(const Entry& entry, std::size_t folded) {
  return entry.origins.empty() ? folded : entry.origins[folded];
}

std::size_t CmdLauncherModel::EndIn(const Entry& entry, const TypedForm& form) {
  const std::size_t n = form.folded.size();
  if (n == 0 || n > entry.folded.size()) return 0;
  if (!form.open || entry.folded[n - 1] == form.folded[n - 1]) return Origin(entry, n);
  // ｶ typed against the keyword's ガ: the typed kana covers ｶ of a keyword's ｶﾞ, or nothing of
  // its ガ, which stays part of the proposed completion.
  const std::size_t start = Origin(entry, n - 1);
  return TakesSoundMark(entry.keyword[start]) ? start + 1 : start;
}

void CmdLauncherModel::SetKeywords(std::vector<CmdKeyword> keywords) {
  keywords_.clear();
  keywords_.reserve(keywords.size());
  std::vector<std::string> keys;
  keys.reserve(keywords.size());
  keywordsPlainAscii_ = true;
  for (CmdKeyword& k : keywords) {
    keys.push_back(locale_.SortKeyNoCase(k.keyword));
    keywordsPlainAscii_ = keywordsPlainAscii_ && IsPlainAscii(k.keyword);
    Entry entry{k.id, std::move(k.keyword), {}, {}, std::move(k.glyphFile)};
    std::u16string widthFolded;
    FoldWidthKana(entry.keyword, KanaFold::kWidthOnly, widthFolded, &entry.origins);
    entry.folded = locale_.ToUpper(widthFolded);
    if (entry.folded.size() != widthFolded.size()) entry.folded = std::move(widthFolded);
    if (entry.folded.size() == entry.keyword.size()) entry.origins.clear();  // positions agree
    keywords_.push_back(std::move(entry));
  }
  sorted_.resize(keywords_.size());
  for (std::size_t i = 0; i < sorted_.size(); ++i) sorted_[i] = i;
  std::stable_sort(sorted_.begin(), sorted_.end(),
                   [&](std::size_t a, std::size_t b) { return keys[a] < keys[b]; });
  // Indices into the old table mean nothing now.
  selected_.reset();
  textEntry_.reset();
  rows_.clear();
  ++rowsVersion_;
  listRow_ = -1;
  if (visible_ && !executed_) RefreshKwdList();
  if (visible_) HighlightShownRow();
}

void CmdLauncherModel::Show(const CmdLauncherOptions& options) {
  options_ = options;
  visible_ = true;
  executed_ = false;
  listOpen_ = false;
  pendingHighSurrogate_ = 0;
  keyConsumed_ = false;
  if (std::exchange(waiting_, false)) effects_.cancelTimer = true;
  prefix_.clear();
  selected_.reset();
  RefreshKwdList();
  HighlightShownRow();
}

void CmdLauncherModel::FillRows(const TypedForm& form) {
  std::vector<std::size_t> rows;
  rows.reserve(rows_.size());
  for (std::size_t i : sorted_) {
    if (Matches(keywords_[i], form)) rows.push_back(i);
  }
  // The same rows keep their version: the box is not filled again with what it lists.
  if (rows != rows_) {
    rows_ = std::move(rows);
    ++rowsVersion_;
  }
  listRow_ = -1;
}

void CmdLauncherModel::CompletePrefix(const TypedForm& form) {
  if (rows_.size() == 1) {
    prefix_ = keywords_[rows_.front()].keyword;
    return;
  }
  // The keywords agree in their folded forms; the completion is taken from the first one's own
  // text. An open kana is compared again: the keywords may all have ガ where ｶ was typed.
  const Entry& first = keywords_[rows_.front()];
  const std::size_t start = form.folded.size() - (form.open ? 1 : 0);
  std::size_t length = start;
  while (length < first.folded.size()) {
    const std::size_t n = CharLength(first.folded, length);
    const std::u16string_view next = std::u16string_view(first.folded).substr(length, n);
    const bool allAgree = std::all_of(rows_.begin(), rows_.end(), [&](std::size_t i) {
      const std::u16string& folded = keywords_[i].folded;
      return folded.size() >= length + n && std::u16string_view(folded).substr(length, n) == next;
    });
    if (!allAgree) break;
    length += n;
  }
  if (length == start) return;
  if (form.open) prefix_.pop_back();
  const std::size_t from = Origin(first, start);
  prefix_ += std::u16string_view(first.keyword).substr(from, Origin(first, length) - from);
}

void CmdLauncherModel::RefreshKwdList() {
  text_.clear();
  textEntry_.reset();
  const TypedForm form = FormOf(prefix_);
  FillRows(form);
  if (!prefix_.empty()) {
    if (rows_.empty()) {
      text_ = prefix_;
    } else {
      if (options_.SkipInput) CompletePrefix(form);
      textEntry_ = rows_.front();
      text_ = keywords_[*textEntry_].keyword;
    }
  }
  if (options_.Dropdown && rows_.size() > 1 && !text_.empty()) listOpen_ = true;
  UpdateKwdSelection();
}

void CmdLauncherModel::SelectFromPrefix() {
  if (rows_.empty() || prefix_.empty()) {
    selStart_ = 0;
  } else if (textEntry_) {
    selStart_ = static_cast<int>(EndIn(keywords_[*textEntry_], FormOf(prefix_)));
  } else {
    // The user's own text, whose start the prefix is.
    selStart_ = static_cast<int>(std::min(prefix_.size(), text_.size()));
  }
  selLength_ = kSelLength;
}

bool CmdLauncherModel::AutoRunDue() const {
  // A run without anything typed would fire at every show when the table has one keyword.
  return options_.CnfExecute && rows_.size() == 1 && !prefix_.empty() && selected_.has_value() &&
         !executed_;
}

void CmdLauncherModel::UpdateKwdSelection() {
  selected_.reset();
  if (!text_.empty()) {
    const std::u16string folded = Folded(text_);
    for (std::size_t i = 0; i < keywords_.size(); ++i) {
      if (keywords_[i].folded == folded) {
        selected_ = i;
        break;
      }
    }
  }
  if (rows_.size() == 1 && !options_.CnfSound.empty()) effects_.sound = options_.CnfSound;
  SelectFromPrefix();
  if (AutoRunDue()) {
    waiting_ = true;
    effects_.startTimer = options_.ExeDelay;
    effects_.cancelTimer = false;
  } else if (std::exchange(waiting_, false)) {
    effects_.cancelTimer = true;
    effects_.startTimer.reset();
  }
}

std::optional<int> CmdLauncherModel::SelectedId() const {
  if (!selected_) return std::nullopt;
  return keywords_[*selected_].id;
}

std::u16string CmdLauncherModel::GlyphFile() const {
  return selected_ ? keywords_[*selected_].glyphFile : std::u16string();
}

void CmdLauncherModel::RemoveLastCharacter() {
  std::size_t n = 1;
  if (prefix_.size() >= 2 && IsLowSurrogate(prefix_.back()) &&
      IsHighSurrogate(prefix_[prefix_.size() - 2])) {
    n = 2;
  }
  prefix_.resize(prefix_.size() - n);
}

void CmdLauncherModel::Execute() {
  if (executed_ || !visible_) return;
  listOpen_ = false;
  executed_ = true;  // every further key is ignored until the next show
  if (std::exchange(waiting_, false)) effects_.cancelTimer = true;
  effects_.startTimer.reset();
  effects_.hide = true;
  if (selected_) effects_.runId = keywords_[*selected_].id;
}

void CmdLauncherModel::TimerElapsed() {
  if (!std::exchange(waiting_, false)) return;
  if (AutoRunDue()) Execute();
}

void CmdLauncherModel::HighlightShownRow() {
  if (listRow_ < 0 && !rows_.empty() && !text_.empty() && Row(0) == text_) listRow_ = 0;
}

bool CmdLauncherModel::KeyDown(CmdKey key, bool ctrlOrAlt, bool textSelected) {
  if (executed_) return true;
  keyConsumed_ = HandleKeyDown(key, ctrlOrAlt, textSelected);
  HighlightShownRow();
  return keyConsumed_;
}

bool CmdLauncherModel::HandleKeyDown(CmdKey key, bool ctrlOrAlt, bool textSelected) {
  switch (key) {
    case CmdKey::kBackspace:
      if (prefix_.empty()) return false;
      if (rows_.size() == 1 || options_.SkipInput) {
        prefix_.clear();
      } else {
        RemoveLastCharacter();
      }
      listOpen_ = false;
      RefreshKwdList();
      return true;
    case CmdKey::kEnter:
      // With the list open Enter runs whatever is shown; otherwise it presses the default
      // button, which acts only while a record is selected.
      if (listOpen_ || selected_) Execute();
      return true;
    case CmdKey::kEscape:
      if (listOpen_) {
        listOpen_ = false;
        SelectFromPrefix();
      } else {
        listOpen_ = false;
        if (std::exchange(waiting_, false)) effects_.cancelTimer = true;
        effects_.hide = true;
      }
      return true;
    case CmdKey::kLeft:
    case CmdKey::kRight:
      return false;
    case CmdKey::kUp:
    case CmdKey::kDown:
      listOpen_ = true;
      return false;
    case CmdKey::kDelete:
      if (!prefix_.empty()) {
        if (!textSelected) prefix_.clear();
        listOpen_ = false;
        RefreshKwdList();
      }
      return false;
    case CmdKey::kOther:
      if (!ctrlOrAlt) listOpen_ = false;
      return false;
  }
  return false;
}

void CmdLauncherModel::TypeCharacter(std::u16string_view unit) {
  listOpen_ = false;
  // The listed keywords are those of the prefix; the longer text can only match fewer of them.
  const TypedForm form = FormOf(prefix_ + std::u16string(unit));
  const bool continues = std::any_of(rows_.begin(), rows_.end(),
                                     [&](std::size_t i) { return Matches(keywords_[i], form); });
  if (continues) {
    prefix_ += unit;
  } else if (!options_.NgSound.empty()) {
    effects_.sound = options_.NgSound;
  }
  RefreshKwdList();
  PutCaretAtStart();
}

bool CmdLauncherModel::Character(char16_t c, bool ctrlOrAlt) {
  const bool consumed = HandleCharacter(c, ctrlOrAlt);
  HighlightShownRow();
  return consumed;
}

bool CmdLauncherModel::HandleCharacter(char16_t c, bool ctrlOrAlt) {
  if (executed_) return true;
  if (std::exchange(keyConsumed_, false) && c < 0x20) return true;
  if (ctrlOrAlt) return true;
  // A character outside the basic plane comes as two messages; it is tested whole.
  if (IsHighSurrogate(c)) {
    pendingHighSurrogate_ = c;
    return true;
  }
  if (IsLowSurrogate(c)) {
    const char16_t high = std::exchange(pendingHighSurrogate_, 0);
    if (high != 0) {
      const char16_t pair[] = {high, c};
      TypeCharacter(std::u16string_view(pair, 2));
    }
    return true;
  }
  pendingHighSurrogate_ = 0;
  if (c >= 0x20 && c != 0x7F) {
    TypeCharacter(std::u16string_view(&c, 1));
    return true;
  }
  const bool discarded = c == u'\r' || c == 0x1B || c == u'\n';
  PutCaretAtStart();
  return discarded;
}

void CmdLauncherModel::PutCaretAtStart() {
  selStart_ = 0;
  selLength_ = 0;
}

void CmdLauncherModel::KeyUp(bool ctrlOrAlt) {
  if (executed_ || ctrlOrAlt || !listOpen_) return;
  if (listRow_ < 0 || static_cast<std::size_t>(listRow_) >= rows_.size()) return;
  // The row becomes the box text, and with it the record that Enter runs.
  textEntry_ = rows_[static_cast<std::size_t>(listRow_)];
  text_ = keywords_[*textEntry_].keyword;
  UpdateKwdSelection();
  HighlightShownRow();
}

void CmdLauncherModel::TextEdited(const std::u16string& text, int caret) {
  if (executed_ || !visible_) return;
  TakeText(text, caret);
}

void CmdLauncherModel::RowChosen(int row) {
  if (executed_ || !visible_) return;
  const bool listed = row >= 0 && static_cast<std::size_t>(row) < rows_.size();
  listRow_ = listed ? row : -1;
  // Moving through the rows shows them, also when the wheel turned over the closed box.
  listOpen_ = true;
  TakeText(listed ? Row(static_cast<std::size_t>(row)) : std::u16string(), 0);
  HighlightShownRow();
}

void CmdLauncherModel::TakeText(const std::u16string& text, int caret) {
  text_ = text;
  // Moving through the open list shows a listed keyword; anything else is the user's own text.
  textEntry_.reset();
  for (std::size_t i : rows_) {
    if (keywords_[i].keyword == text_) {
      textEntry_ = i;
      break;
    }
  }
  if (!listOpen_) {
    if (text_.empty()) {
      prefix_.clear();
      FillRows({});
    } else {
      std::size_t end =
          static_cast<std::size_t>(std::clamp(caret, 0, static_cast<int>(text.size())));
      // A caret inside a surrogate pair keeps the whole character.
      if (end > 0 && end < text.size() && IsHighSurrogate(text[end - 1]) &&
          IsLowSurrogate(text[end])) {
        ++end;
      }
      prefix_ = text.substr(0, end);
    }
  }
  UpdateKwdSelection();
}
