#include "clip/model/canned_page.h"

#include <algorithm>
#include <utility>

#include "base/number_text.h"
#include "base/width_fold.h"
#include "platform/clock.h"
#include "settings/settings_schema.h"
#include "settings/settings_store.h"
#include "util/file_listing.h"

namespace {

constexpr std::u16string_view kSection = u"ClipboardList";
constexpr std::u16string_view kFileKey = u"TextDataFile";
constexpr std::u16string_view kDefaultFile = DefaultText(kSection, u"TextDataFile");
constexpr std::u16string_view kSetKey = u"TextDataBtn";

constexpr std::u16string_view kDuplicate = u"同じ文がすでに登録されています";
constexpr std::u16string_view kCannotRead = u"定型文ファイルを読み込めません。";
constexpr std::u16string_view kTooLargeToRead =
    u"定型文ファイルが大きすぎるため読み込めません（16 MB まで）。";
constexpr std::u16string_view kNoChanges = u"読み込めるようになるまで、定型文は変更できません。";
constexpr std::u16string_view kCannotSave = u"定型文ファイルを保存できません。";
constexpr std::u16string_view kChangedElsewhere =
    u"定型文ファイルがほかのプログラムで変更されていたため、読み込み直しました。"
    u"もう一度操作してください。";
constexpr std::u16string_view kChangedWhileEditing =
    u"定型文ファイルがほかのプログラムで変更されていたため、読み込み直しました。"
    u"編集中の内容はそのまま残っています。もう一度 OK を押すと保存します。";
constexpr std::u16string_view kTooLargeToSave =
    u"定型文ファイルが大きくなりすぎるため保存できません（16 MB まで）。";

CannedMessage Error(std::u16string text) {
  return {std::move(text), u"エラー", kMbOk | kMbIconError};
}

bool InRange(int row, std::size_t count) {
  return row >= 0 && static_cast<std::size_t>(row) < count;
}

}  // namespace

CannedTextPage::CannedTextPage(FileSystem& fileSystem, const CodePage& codePage, const Clock& clock,
                               const Locale& locale)
    : fileSystem_(fileSystem), codePage_(codePage), clock_(clock), locale_(locale) {}

// ---- Set-up and sets

CannedResult CannedTextPage::LoadSettings(const UsrIniFile& ini, const std::u16string& exeDir) {
  editing_ = false;
  exeDir_ = exeDir;
  textDataPath_ = ini.ReadString(kSection, kFileKey, kDefaultFile);
  AppFileExists(fileSystem_, exeDir, textDataPath_);
  ReadSets(ini, exeDir);
  return ReadCurrent(-1, true);
}

void CannedTextPage::ReadSets(const UsrIniFile& ini, const std::u16string& exeDir) {
  setBarShown_ = false;
  for (int n = 0; n < kCannedSets; ++n) {
    std::u16string path = ini.ReadString(kSection, std::u16string(kSetKey) + IntToText(n + 1), u"");
    setBarShown_ = setBarShown_ || !path.empty();
    setEnabled_[n] = AppFileExists(fileSystem_, exeDir, path);
    textDataFiles_[n] = std::move(path);
  }
}

bool CannedTextPage::SetButtonEnabled(int set) const {
  return set >= 0 && set < kCannedSets && setEnabled_[set];
}

CannedResult CannedTextPage::SelectTextData(int set, UsrIniFile& ini) {
  if (set < 0 || set >= kCannedSets) return {};
  const std::u16string& path = textDataFiles_[set];
  if (path.empty() || !fileSystem_.FileExists(path)) return {};
  editing_ = false;
  CannedFileRead read = ReadCannedFile(fileSystem_, codePage_, path);
  if (read.status == CannedFileStatus::kMissing) return {};
  // The current set stays when the other one cannot be read.
  if (read.status != CannedFileStatus::kDone) return {false, ReadFailure(read.status, path)};
  textDataPath_ = path;
  TakeItems(std::move(read.items));
  blocked_ = CannedFileStatus::kDone;
  selected_ = items_.Count() > 0 ? 0 : -1;
  ini.WriteString(kSection, kFileKey, AppRelativePath(textDataPath_, exeDir_));
  return {true, std::nullopt};
}

CannedResult CannedTextPage::Reload() {
  editing_ = false;
  return ReadCurrent(0, false);
}

CannedResult CannedTextPage::ReadCurrent(int select, bool createMissing) {
  CannedFileRead read = ReadCannedFile(fileSystem_, codePage_, textDataPath_);
  switch (read.status) {
    case CannedFileStatus::kDone:
      TakeItems(std::move(read.items));
      blocked_ = CannedFileStatus::kDone;
      selected_ = items_.Count() > 0 ? select : -1;
      return {true, std::nullopt};
    case CannedFileStatus::kMissing:
      return createMissing ? CreateMissing() : CannedResult{};
    default:
      // The items stay on view for pasting; changes wait until the file reads again.
      blocked_ = read.status;
      return {false, ReadFailure(read.status, textDataPath_)};
  }
}

// The first start creates the file (empty); a file removed meanwhile gets the items held back.
CannedResult CannedTextPage::CreateMissing() {
  blocked_ = CannedFileStatus::kDone;
  selected_ = -1;
  CannedResult result = SaveTextData();
  result.changed = true;
  return result;
}

// ---- The list

void CannedTextPage::Select(int row) {
  if (editing_) return;
  selected_ = InRange(row, Count()) ? row : -1;
}

std::u16string CannedTextPage::SelText(int row) const {
  if (row < 0) row = selected_;
  if (editing_ || !InRange(row, Count())) return {};
  return CannedPasteText(items_[static_cast<std::size_t>(row)], clock_, locale_);
}

bool CannedTextPage::CanPaste() const {
  return !editing_ && InRange(selected_, Count()) &&
         !CannedBody(items_[static_cast<std::size_t>(selected_)]).empty();
}

bool CannedTextPage::CanInsFromClip(bool clipboardHasText) const {
  return clipboardHasText && !editing_ && selected_ >= 0;
}

bool CannedTextPage::CanEditTextData(std::u16string_view editorSetting) const {
  return !editorSetting.empty() && CanReload();
}

bool CannedTextPage::CanReload() const {
  return !editing_ && fileSystem_.FileExists(textDataPath_);
}

// ---- Changes

CannedResult CannedTextPage::AddTextItem(std::u16string_view text, int position) {
  if (text.empty()) return {};
  const bool append = position < 0 || static_cast<std::size_t>(position) >= Count();
  // While an item is edited its row must stay where it is; only RegToText reaches here then.
  if (editing_ && !append) return {};
  if (auto refusal = Refusal()) return {false, std::move(refusal)};
  std::u16string item = OneLineText(text);
  // The same text to the user: letter case and character width aside (ＡＢＣ and abc, ｶﾞ and
  // ガ), hiragana and katakana apart.
  const auto sameForm = [&](std::u16string_view text) {
    return locale_.ToUpper(FoldWidthKana(text, KanaFold::kWidthOnly));
  };
  const std::u16string form = sameForm(item);
  for (const std::u16string& existing : Items()) {
    if (sameForm(existing) == form) {
      return {false,
              CannedMessage{std::u16string(kDuplicate), u"警告", kMbOk | kMbIconExclamation}};
    }
  }
  const std::size_t index = append ? Count() : static_cast<std::size_t>(position);
  CannedItems changed = items_;
  changed.Insert(index, std::move(item));
  const bool shifts = selected_ >= 0 && static_cast<std::size_t>(selected_) >= index;
  return Commit(std::move(changed), shifts ? selected_ + 1 : selected_);
}

CannedResult CannedTextPage::RegFromClip(Clipboard& clipboard) {
  // One unit more than a file may hold: a longer text is refused by the write, not cut.
  const auto text = clipboard.ReadText(kMaxCannedFileBytes + 1);
  if (!text) return {};
  return AddTextItem(*text, -1);
}

CannedResult CannedTextPage::InsFromClip(Clipboard& clipboard) {
  if (selected_ < 0) return {};
  const auto text = clipboard.ReadText(kMaxCannedFileBytes + 1);
  if (!text) return {};
  return AddTextItem(*text, selected_);
}

CannedResult CannedTextPage::InsSepItem() {
  if (editing_) return {};
  if (auto refusal = Refusal()) return {false, std::move(refusal)};
  CannedItems changed = items_;
  if (selected_ < 0) {
    changed.Insert(Count(), std::u16string(kCannedSeparator));
    return Commit(std::move(changed), selected_);
  }
  changed.Insert(static_cast<std::size_t>(selected_), std::u16string(kCannedSeparator));
  return Commit(std::move(changed), selected_ + 1);
}

CannedResult CannedTextPage::DeleteSelected() {
  if (editing_ || !InRange(selected_, Count())) return {};
  if (auto refusal = Refusal()) return {false, std::move(refusal)};
  CannedItems changed = items_;
  changed.Remove(static_cast<std::size_t>(selected_));
  const int last = static_cast<int>(changed.Count()) - 1;
  return Commit(std::move(changed), selected_ <= last ? selected_ : last);
}

CannedResult CannedTextPage::MoveSelected(int target) {
  if (!AcceptsDrop() || !InRange(selected_, Count()) || !InRange(target, Count())) return {};
  if (target == selected_) return {};
  if (auto refusal = Refusal()) return {false, std::move(refusal)};
  CannedItems changed = items_;
  changed.Move(static_cast<std::size_t>(selected_), static_cast<std::size_t>(target));
  return Commit(std::move(changed), target);
}

std::optional<CannedEditFields> CannedTextPage::BeginEdit() {
  if (editing_ || !InRange(selected_, Count())) return std::nullopt;
  editing_ = true;
  editRow_ = selected_;
  editOriginal_ = items_[static_cast<std::size_t>(selected_)];
  return EditFieldsOf(editOriginal_);
}

int CannedTextPage::EditedRow() const {
  if (InRange(editRow_, Count()) && items_[static_cast<std::size_t>(editRow_)] == editOriginal_) {
    return editRow_;
  }
  const auto found = std::find(Items().begin(), Items().end(), editOriginal_);
  return found == Items().end() ? -1 : static_cast<int>(found - Items().begin());
}

CannedResult CannedTextPage::EditOk(std::u16string_view label, std::u16string_view body) {
  if (!editing_) return {};
  std::u16string item = ItemOfEditFields(label, body);
  // The item the edit began with, which a reload may have moved; when the file no longer holds
  // it, the edited text is inserted where it was rather than written over another item.
  const int row = EditedRow();
  if (row >= 0 && item == items_[static_cast<std::size_t>(row)]) {
    editing_ = false;
    return {};
  }
  if (auto refusal = Refusal()) return {false, std::move(refusal)};
  CannedItems changed = items_;
  int select = row;
  if (row >= 0) {
    changed.Replace(static_cast<std::size_t>(row), std::move(item));
  } else {
    select = std::min(editRow_, static_cast<int>(Count()));
    changed.Insert(static_cast<std::size_t>(select), std::move(item));
  }
  CannedResult result = Commit(std::move(changed), select);
  if (!result.message) editing_ = false;
  return result;
}

CannedResult CannedTextPage::SaveTextData() {
  if (auto refusal = Refusal()) return {false, std::move(refusal)};
  CannedItems same = items_;
  CannedResult result = Commit(std::move(same), selected_);
  result.changed = false;
  return result;
}

void CannedTextPage::TakeItems(CannedItems items) {
  if (items.Lines() != items_.Lines()) ++itemsVersion_;
  items_ = std::move(items);
  bodies_ = CannedBodies(items_.Lines(), clock_, locale_);
}

CannedResult CannedTextPage::Commit(CannedItems changed, int select) {
  switch (WriteCannedFile(fileSystem_, codePage_, textDataPath_, changed)) {
    case CannedFileStatus::kDone:
      TakeItems(std::move(changed));
      selected_ = select;
      return {true, std::nullopt};
    case CannedFileStatus::kUnreadable:
      blocked_ = CannedFileStatus::kUnreadable;
      return {false, Blocked()};
    case CannedFileStatus::kChanged:
      return TakeChangedFile();
    case CannedFileStatus::kTooLarge:
      return {false, Error(std::u16string(kTooLargeToSave) + u"\n" + textDataPath_)};
    default:
      return {false, Error(std::u16string(kCannotSave) + u"\n" + textDataPath_)};
  }
}

// Another program (the user's editor) saved the file since Kelvo read it: what it saved is read
// and shown, and the change is left for the user to make again, rather than overwrite it. An
// edit stays open with what was typed: OK writes it into the file as read now.
CannedResult CannedTextPage::TakeChangedFile() {
  CannedResult result = ReadCurrent(0, false);
  if (editing_) {
    const int row = EditedRow();
    selected_ = row >= 0 ? row : selected_;
  }
  if (!result.message) {
    result.message = CannedMessage{
        std::u16string(editing_ ? kChangedWhileEditing : kChangedElsewhere) + u"\n" + textDataPath_,
        u"警告", kMbOk | kMbIconExclamation};
  }
  return result;
}

// ---- Messages

std::optional<CannedMessage> CannedTextPage::Refusal() {
  if (blocked_ == CannedFileStatus::kDone) return std::nullopt;
  // A file that is gone by now may be created (the write looks again before it writes).
  if (fileSystem_.Read(textDataPath_).status == ReadStatus::kMissing) {
    blocked_ = CannedFileStatus::kDone;
    return std::nullopt;
  }
  return Blocked();
}

CannedMessage CannedTextPage::Blocked() const {
  CannedMessage message = ReadFailure(blocked_, textDataPath_);
  message.text += u"\n";
  message.text += kNoChanges;
  return message;
}

CannedMessage CannedTextPage::ReadFailure(CannedFileStatus status,
                                          const std::u16string& path) const {
  const std::u16string_view what =
      status == CannedFileStatus::kTooLarge ? kTooLargeToRead : kCannotRead;
  return Error(std::u16string(what) + u"\n" + path);
}
