#include "clip/model/clip_window_model.h"

#include "clip/model/canned_text.h"
#include "settings/settings_store.h"
#include "util/text_helpers.h"

namespace {

constexpr char16_t kFindSection[] = u"FindHistory";
constexpr int kFindItems = 40;
constexpr char16_t kHistoryCaption[] = u"クリップボード履歴";
constexpr char16_t kStoppedMark[] = u"  (×)";

CannedMessage ErrorBox(std::u16string text) {
  return CannedMessage{std::move(text), u"エラー", kMbOk | kMbIconError};
}

}  // namespace

ClipWindowModel::ClipWindowModel(MainModel& main, Services services)
    : main_(main),
      services_(std::move(services)),
      view_(history_, services_.locale),
      capture_(services_.clock, services_.locale),
      canned_(services_.files, services_.codePage, services_.clock, services_.locale) {}

// A read still running finishes before the history it would fill goes.
ClipWindowModel::~ClipWindowModel() = default;

double ClipWindowModel::Now() const { return DaysFromDateTime(services_.clock.Now()); }

// ---------------------------------------------------------------------------------------------
// Set-up and the history file

void ClipWindowModel::SetUp(const UsrIniFile& ini) {
  const CaptureSettings old = capture_.Settings();
  view_.LoadSettings(ini);
  capture_.Configure(ReadCaptureSettings(ini, services_.files, main_.ExeDir));
  capture_.Capturing = capture_.Settings().Enable;
  LoadHistoryFile(!setUpOnce_, old);
  Tell(canned_.LoadSettings(ini, main_.ExeDir));
  if (const auto& broken = capture_.Exclusions().BrokenPattern()) {
    Tell(ErrorBox(u"不正な正規表現です\n" + *broken));
  }
  // The search words the user typed are kept across reloads; the file has them from the last hide.
  if (!setUpOnce_) ini.ReadItemList(findItems_, kFindSection, kFindItems);
  setUpOnce_ = true;
}

void ClipWindowModel::LoadHistoryFile(bool firstSetUp, const CaptureSettings& old) {
  // A reload while the first read still runs compares with what that read found.
  HistoryArrived();
  const CaptureSettings& now = capture_.Settings();
  if (!now.SaveHistory) return;
  if (firstSetUp) {
    StartHistoryRead(now.ClipDataPath);
    return;
  }
  // A reload keeps what was captured; the file is read again only when it is new to this run.
  const bool newFile = !old.SaveHistory || historyBlocked_ ||
                       services_.locale.CompareNoCase(old.ClipDataPath, now.ClipDataPath) != 0;
  if (!newFile) return;
  ApplyHistoryRead(ReadHistoryFile(services_.files, services_.codePage, services_.locale,
                                   now.ClipDataPath, Now()));
}

void ClipWindowModel::StartHistoryRead(const std::u16string& path) {
  historyRead_ = std::make_unique<BackgroundTask<HistoryRead>>(
      [&files = services_.files, &codePage = services_.codePage, &locale = services_.locale, path,
       now = Now()] { return ReadHistoryFile(files, codePage, locale, path, now); },
      services_.historyArrived);
}

void ClipWindowModel::HistoryArrived() {
  if (!historyRead_) return;
  std::optional<HistoryRead> read = historyRead_->Take();
  historyRead_.reset();
  if (read) ApplyHistoryRead(std::move(*read));
}

void ClipWindowModel::ApplyHistoryRead(HistoryRead read) {
  historyBlocked_ = read.status == HistoryReadStatus::kUnreadable;
  if (read.status != HistoryReadStatus::kLoaded) return;
  // Merged after what this run captured, without the texts it already holds.
  history_.MergeBelow(std::move(read.items));
  if (rowsMirrored_ && visible_) {
    view_.FillHistList(0);
    effects_.historyRows = true;
  }
}

void ClipWindowModel::StoreHistory(bool mayShowBox) {
  // Never a store of this run's entries alone over a file whose read has not arrived yet.
  HistoryArrived();
  const CaptureSettings& settings = capture_.Settings();
  if (!settings.SaveHistory) return;
  const HistoryStoreResult result =
      StoreHistoryFile(services_.files, services_.codePage, services_.locale, settings.ClipDataPath,
                       Now(), history_, historyBlocked_);
  if (result == HistoryStoreResult::kMerged) HistoryChanged();
  if (result == HistoryStoreResult::kStored || result == HistoryStoreResult::kMerged) return;
  // Once per run: a later store tries again, but says nothing new.
  if (storeFailureTold_) return;
  storeFailureTold_ = true;
  if (main_.IniFile) {
    const LocalDateTime at = services_.clock.Now();
    main_.IniFile->WriteString(u"ErrorLog", kHistoryErrorLogKey,
                               HistoryStoreLogValue(result, settings.ClipDataPath,
                                                    services_.locale.ShortDate(at) + u" " +
                                                        services_.locale.LongTime(at)));
  }
  if (mayShowBox) Tell(ErrorBox(HistoryStoreFailureMessage(result, settings.ClipDataPath)));
}

void ClipWindowModel::StoreHistoryAtExit(bool mayShowBox) {
  storedAtExit_ = true;
  StoreHistory(mayShowBox);
}

void ClipWindowModel::WindowGone() {
  if (!storedAtExit_) StoreHistory(false);
}

void ClipWindowModel::SaveHistoryTo(const std::u16string& path) {
  if (!WriteHistoryFile(services_.files, services_.locale, path, history_.Items())) {
    Tell(ErrorBox(u"履歴ファイルを保存できません。\n" + path));
  }
}

void ClipWindowModel::LoadHistoryFrom(const std::u16string& path) {
  HistoryRead read =
      ReadHistoryFile(services_.files, services_.codePage, services_.locale, path, Now());
  if (read.status == HistoryReadStatus::kUnreadable) {
    Tell(ErrorBox(u"履歴ファイルを読み込めません。\n" + path));
    return;
  }
  if (read.status != HistoryReadStatus::kLoaded) return;
  history_.Assign(std::move(read.items));
  view_.FillHistList(0);
  effects_.historyRows = true;
}

void ClipWindowModel::ReadFindItems(const UsrIniFile& ini) {
  ini.ReadItemList(findItems_, kFindSection, kFindItems);
}

void ClipWindowModel::WriteFindItems(UsrIniFile& ini) const {
  ini.WriteItemList(findItems_, kFindSection, kFindItems);
}

// ---------------------------------------------------------------------------------------------
// Showing and capturing

void ClipWindowModel::Shown() {
  // A hotkey pressed while the history is still read shows it once it is there.
  HistoryArrived();
  visible_ = true;
  view_.FillHistList(0);
  effects_.historyRows = true;
}

void ClipWindowModel::HistoryChanged() {
  if (!rowsMirrored_) return;
  view_.FillHistList(0);
  effects_.historyRows = true;
}

void ClipWindowModel::ClipboardChanged() {
  const CaptureResult result =
      capture_.CaptureClip(services_.clipboard, history_, canned_.Bodies());
  if (result == CaptureResult::kCaptured) HistoryChanged();
}

void ClipWindowModel::ToggleCapture() {
  capture_.Capturing = !capture_.Capturing;
  effects_.caption = true;
}

std::u16string ClipWindowModel::Caption() const {
  std::u16string caption = kHistoryCaption;
  if (!capture_.Capturing) caption += kStoppedMark;
  return caption;
}

// ---------------------------------------------------------------------------------------------
// Actions

std::u16string ClipWindowModel::SelectedText() const {
  return page_ == ClipPage::kHistory ? view_.SelText(-1) : canned_.SelText(-1);
}

bool ClipWindowModel::Enabled(ClipAction action, const ClipActionContext& context) const {
  const bool history = page_ == ClipPage::kHistory;
  switch (action) {
    case ClipAction::kPaste:
    case ClipAction::kCopyClip:
      return !SelectedText().empty() && (history || !canned_.Editing());
    case ClipAction::kRegToText:
      return !SelectedText().empty();
    case ClipAction::kDelItem:
      return history ? !SelectedText().empty() : canned_.CanDelete();
    case ClipAction::kRegFromClip:
      return canned_.CanRegFromClip(context.clipboardHasText);
    case ClipAction::kInsFromClip:
      return canned_.CanInsFromClip(context.clipboardHasText);
    case ClipAction::kEditTextItem:
      return !history && canned_.CanEditItem();
    case ClipAction::kEditTextData:
      return canned_.CanEditTextData(main_.Editor);
    case ClipAction::kReloadTextData:
      return canned_.CanReload();
    case ClipAction::kInsSep:
      return canned_.CanInsSep();
    case ClipAction::kExLine:
      return history && view_.CanExpand();
    case ClipAction::kSortText:
    case ClipAction::kSortTime:
    case ClipAction::kSortLength:
    case ClipAction::kSortLineCnt:
      return view_.CanSort();
    case ClipAction::kAllDel:
      return view_.CanDeleteAll();
    case ClipAction::kStop:
    case ClipAction::kLoadHist:
      return true;
    case ClipAction::kSaveHist:
      return !history_.Empty();
    case ClipAction::kListExtract:
    case ClipAction::kListExcept:
      return view_.CanFilter(context.findText);
    case ClipAction::kListRelease:
      return view_.Filtered();
    default:
      return false;  // the edit fields' actions are the window's
  }
}

void ClipWindowModel::Run(ClipAction action, const ClipActionContext& context) {
  if (!Enabled(action, context)) return;
  const auto sort = [this](HistorySort order) {
    view_.Sort(order);
    effects_.historyRows = true;
  };
  switch (action) {
    case ClipAction::kPaste:
      effects_.paste = SelectedText();
      break;
    case ClipAction::kCopyClip:
      effects_.copy = SelectedText();
      break;
    case ClipAction::kExLine:
      ExpandLines();
      break;
    case ClipAction::kSortText:
      sort(HistorySort::kText);
      break;
    case ClipAction::kSortTime:
      sort(HistorySort::kTime);
      break;
    case ClipAction::kSortLength:
      sort(HistorySort::kLength);
      break;
    case ClipAction::kSortLineCnt:
      sort(HistorySort::kLineCount);
      break;
    case ClipAction::kDelItem:
      // Each page deletes its own row: the canned page never touches the history.
      if (page_ == ClipPage::kCanned) {
        RunCanned(action);
      } else if (view_.DeleteSelected()) {
        effects_.historyRows = true;
      }
      break;
    case ClipAction::kAllDel:
      view_.DeleteAllShown();
      effects_.historyRows = true;
      break;
    case ClipAction::kStop:
      ToggleCapture();
      break;
    case ClipAction::kListExtract:
    case ClipAction::kListExcept:
    case ClipAction::kListRelease:
      Filter(action, context.findText);
      break;
    default:
      RunCanned(action);
      break;
  }
}

void ClipWindowModel::ExpandLines() {
  const std::size_t limit = HistoryLimit(capture_.Settings().MaxItems);
  switch (view_.ExpandLines(limit)) {
    case ExpandResult::kExpanded:
      effects_.historyRows = true;
      break;
    case ExpandResult::kWouldCut:
      Tell(CannedMessage{ExpandRefusal(limit), u"警告", kMbOk | kMbIconExclamation});
      break;
    case ExpandResult::kNothing:
      break;
  }
}

void ClipWindowModel::Filter(ClipAction action, const std::u16string& words) {
  if (action == ClipAction::kListRelease) {
    view_.Release();
  } else {
    // The box's list is filled again only when the word moved in it: refilling a combo box
    // costs more than the search itself.
    const std::vector<std::u16string> itemsBefore = findItems_;
    PushHistoryItem(findItems_, words, services_.locale);
    effects_.findItems = findItems_ != itemsBefore;
    if (action == ClipAction::kListExtract) {
      view_.Extract(words);
    } else {
      view_.Except(words);
    }
  }
  effects_.historyRows = true;
}

void ClipWindowModel::RunCanned(ClipAction action) {
  CannedResult result;
  switch (action) {
    case ClipAction::kRegToText:
      result = canned_.AddTextItem(SelectedText(), -1);
      break;
    case ClipAction::kRegFromClip:
      result = canned_.RegFromClip(services_.clipboard);
      break;
    case ClipAction::kInsFromClip:
      result = canned_.InsFromClip(services_.clipboard);
      break;
    case ClipAction::kInsSep:
      result = canned_.InsSepItem();
      break;
    case ClipAction::kDelItem:
      result = canned_.DeleteSelected();
      break;
    case ClipAction::kReloadTextData:
      result = canned_.Reload();
      break;
    default:
      return;
  }
  effects_.cannedRows = true;
  Tell(result);
}

void ClipWindowModel::Tell(const CannedResult& result) {
  if (result.message) Tell(*result.message);
}

void ClipWindowModel::SelectCannedSet(int set) {
  if (!main_.IniFile) return;
  const CannedResult result = canned_.SelectTextData(set, *main_.IniFile);
  if (result.changed) main_.IniFile->UpdateFile();
  effects_.cannedRows = true;
  Tell(result);
}

void ClipWindowModel::DropCanned(int target) {
  Tell(canned_.MoveSelected(target));
  effects_.cannedRows = true;
}

void ClipWindowModel::EditDone(bool ok, std::u16string_view label, std::u16string_view body) {
  if (!canned_.Editing()) return;
  if (ok) {
    Tell(canned_.EditOk(label, body));
  } else {
    canned_.CancelEdit();
  }
  effects_.cannedRows = true;
}
