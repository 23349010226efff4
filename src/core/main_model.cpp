#include "core/main_model.h"

#include <array>
#include <unordered_map>
#include <utility>
#include <variant>
#include <vector>

#include "base/number_text.h"
#include "base/text_case.h"
#include "core/tray_keeper.h"
#include "settings/settings_layout.h"
#include "settings/settings_schema.h"
#include "util/file_listing.h"
#include "util/path_text.h"

namespace {

constexpr int kHotKeySections = 100;
constexpr int kKeywordSections = 250;
constexpr int kFirstHotKeyId = 100;
constexpr int kFirstKeywordId = 1000;
constexpr int kFirstLaunchDirId = 1251;

bool ContainsUpper(const std::u16string& upperText, std::u16string_view part) {
  return upperText.find(part) != std::u16string::npos;
}

class BusyCursor {
 public:
  explicit BusyCursor(AppShell& shell) : shell_(shell) { shell_.SetBusyCursor(true); }
  ~BusyCursor() { shell_.SetBusyCursor(false); }
  BusyCursor(const BusyCursor&) = delete;
  BusyCursor& operator=(const BusyCursor&) = delete;

 private:
  AppShell& shell_;
};

}  // namespace

std::u16string UnreadableSettingsMessage(const std::u16string& fileName) {
  return u"設定ファイルを読み込めません。\n" + fileName +
         u"\n\nほかのプログラムが使用中か、アクセスが拒否されています。ファイルは変更していません。"
         u"\n読めるようにしてから、設定を再読込してください。";
}

std::u16string VanishedSettingsMessage(const std::u16string& fileName) {
  return u"設定ファイルが見つかりません。\n" + fileName +
         u"\n\nドライブが外されたか、ファイルが移動された可能性があります。"
         u"いまの設定のまま動き続け、ファイルは作りません。"
         u"\nファイルを元に戻してから、設定を再読込してください。";
}

std::u16string MixedEncodingMessage(const std::u16string& fileName, int line,
                                    const std::u16string& text) {
  return u"設定ファイルに、ほかの行と文字コードが異なる行があります。\n" + fileName + u"\n\n" +
         IntToText(line) + u" 行目: " + text +
         u"\n\nこの行の値は意図したとおりに読めていない可能性があります。"
         u"この行はそのまま残します。ファイル全体を同じ文字コードで保存し直してください。";
}

MainModel::MainModel(LoadServices services, std::u16string exePath, WindowHandle wnd,
                     FontDescription mainFont, int appVersion)
    : ExeDir(DirectoryPart(exePath)),
      services_(services),
      exePath_(std::move(exePath)),
      wnd_(wnd),
      mainFont_(std::move(mainFont)),
      appVersion_(appVersion) {}

MainModel::~MainModel() { ClearHotKeys(); }

std::u16string MainModel::SettingsFileName() const { return WithExtension(exePath_, u".INI"); }

LoadResult MainModel::LoadSettings(AppShell& shell, TrayKeeper& tray) {
  BusyCursor busy(shell);
  const LoadResult result = RegisterHotKeys(tray);
  if (LoadWentAhead(result)) ReadWindowSettings(shell);
  return result;
}

LoadResult MainModel::LoadHotKeys(AppShell& shell, TrayKeeper& tray) {
  BusyCursor busy(shell);
  return RegisterHotKeys(tray);
}

void MainModel::LoadWindowSettings(AppShell& shell) {
  BusyCursor busy(shell);
  ReadWindowSettings(shell);
}

LoadResult MainModel::RegisterHotKeys(TrayKeeper& tray) {
  const bool firstLoad = !IniFile;
  if (firstLoad) {
    IniFile = std::make_unique<UsrIniFile>(SettingsFileName(), services_.files, services_.codePage);
  } else {
    IniFile->Load();
  }
  const LoadResult result = IniFile->LastLoad();
  if (result == LoadResult::kUnreadable || result == LoadResult::kVanished) {
    // The user's file cannot be read now, or is gone: it is neither replaced nor upgraded, and
    // the first-start contents are never written over what it held. A reload keeps the running
    // configuration; a first load runs with no hotkeys, and the tray icon is still shown so that
    // the user can reload from its menu.
    if (firstLoad) tray.Apply(false);
    return result;
  }
  BringUpToDate(result == LoadResult::kLoaded);
  ReadGeneral();
  BuildHotKeyTable();
  NoTrayIcon = IniFile->ReadBool(u"General", u"NoTrayIcon", DefaultBool(u"General", u"NoTrayIcon"));
  tray.Apply(NoTrayIcon);
  return result;
}

void MainModel::ReadWindowSettings(AppShell& shell) {
  CmdLauncherFont = IniFile->ReadFont(u"CmdLauncher", &mainFont_);
  NoTitleBar =
      IniFile->ReadBool(u"CmdLauncher", u"NoTitleBar", DefaultBool(u"CmdLauncher", u"NoTitleBar"));
  shell.ApplyCmdLauncherBorder(NoTitleBar);
  shell.LoadClipSettings();
  PopupFile =
      IniFile->ReadString(u"PopupMenu", u"PopupFile", DefaultText(u"PopupMenu", u"PopupFile"));
  AppFileExists(services_.files, ExeDir, PopupFile);  // only to make the path absolute
  shell.BuildLauncherMenu();
  IniFile->UpdateFile();
  // Last, once the load has written what it writes: the listing reads the file system meanwhile.
  StartLaunchDirListing();
}

void MainModel::BringUpToDate(bool fileExisted) {
  const int oldVersion =
      IniFile->ReadInteger(u"General", u"Version", DefaultInteger(u"General", u"Version"));
  if (oldVersion < appVersion_) {
    IniFile->WriteInteger(u"General", u"Version", appVersion_);
    if (fileExisted) ApplyUpgrades(*IniFile, oldVersion);
  }
  if (!fileExisted) WriteFirstStartContents(*IniFile, appVersion_);
}

const HKeyRec* MainModel::Record(int id) const {
  const auto found = recordsById_.find(id);
  return found == recordsById_.end() ? nullptr : found->second;
}

void MainModel::Keep(std::unique_ptr<HKeyRec> rec) {
  recordsById_.emplace(rec->Id, rec.get());  // the first record of an identifier is the one run
  HKeyList.push_back(std::move(rec));
}

void MainModel::ReadGeneral() {
  Editor = IniFile->ReadString(u"General", u"Editor", u"");
  if (Editor.empty()) Editor = kDefaultEditor;
  const std::u16string upper = services_.locale.ToUpper(Editor);
  ZrEditorPath.clear();
  if (ContainsUpper(upper, u"ZRW32.EXE") || ContainsUpper(upper, u"ZRLOAD.EXE"))
    ZrEditorPath = Editor;
  if (ZrEditorPath.empty())
    ZrEditorPath =
        IniFile->ReadString(u"General", u"ZrEditor", DefaultText(u"General", u"ZrEditor"));
  // The default is computed: KelvoWall.BMP beside Kelvo.exe.
  WallBmpName = IniFile->ReadString(u"General", u"WallBmpName", ExeDir + u"KelvoWall.BMP");
  WmPasteClass = IniFile->ReadString(u"General", u"WmPasteClass", kDefaultWmPasteClass);
}

void MainModel::ClearHotKeys() {
  launchDirListing_.reset();  // waited for: what it lists belongs to the table that goes
  recordsById_.clear();
  HKeyList.clear();  // each record unregisters its hotkey as it goes
  FirstKwdIndex = -1;
}

void MainModel::BuildHotKeyTable() {
  ClearHotKeys();
  // Key names come from the keyboard layout, which the user may have switched since the last load.
  keyNames_ = std::make_unique<KeyNameTable>(services_.keyboard);
  const int keyWait =
      IniFile->ReadInteger(u"General", u"KeyWait", DefaultInteger(u"General", u"KeyWait"));
  for (int n = 1; n <= kHotKeySections; ++n) {
    const std::u16string section = NumberedName(u"HotKey", n);
    const std::u16string text = IniFile->ReadString(section, u"Key", u"");
    if (text.empty()) continue;
    AddEntry(std::make_unique<HKeyRec>(services_.hotkeys, wnd_, kFirstHotKeyId + n,
                                       TextToHotKey(text, *keyNames_)),
             section, keyWait);
  }
  FirstKwdIndex = static_cast<int>(HKeyList.size());
  for (int n = 1; n <= kKeywordSections; ++n) {
    const std::u16string section = NumberedName(u"CmdKwd", n);
    std::u16string keyword = IniFile->ReadString(section, u"Key", u"");
    if (keyword.empty()) continue;
    auto rec = std::make_unique<HKeyRec>(services_.hotkeys, wnd_, kFirstKeywordId + n,
                                         TextToHotKey(u"", *keyNames_));
    rec->Keyword = std::move(keyword);
    rec->Icon = IniFile->ReadString(section, u"Icon", u"");
    AddEntry(std::move(rec), section, keyWait);
  }
}

void MainModel::AddEntry(std::unique_ptr<HKeyRec> rec, const std::u16string& section, int keyWait) {
  if (rec->Registered == 0) {
    const LocalDateTime now = services_.clock.Now();
    IniFile->WriteString(
        u"ErrorLog", section,
        u"登録失敗 " + services_.locale.ShortDate(now) + u" " + services_.locale.LongTime(now));
    return;  // the record is destroyed here, which unregisters nothing that was registered
  }
  rec->Section = section;
  rec->Description = IniFile->ReadString(section, u"Description", u"");
  rec->Delay = keyWait;
  rec->Sound = IniFile->ReadString(section, u"Sound", u"");
  rec->WallPaper = IniFile->ReadString(section, u"WallPaper", u"");
  rec->SetCommand(services_.locale.ToUpper(IniFile->ReadString(section, u"Command", u"")));
  if (std::holds_alternative<SlotAction>(rec->Action())) ReadActions(*rec, section);
  Keep(std::move(rec));
}

namespace {

// Where each action key of a section goes: the folded key name to its array and slot.
using ActionTarget = std::pair<SlotTexts HKeyRec::*, std::size_t>;

const std::unordered_map<std::u16string, ActionTarget>& ActionKeys() {
  static const auto* table = [] {
    static constexpr std::pair<const char16_t*, SlotTexts HKeyRec::*> kWords[] = {
        {u"ActivateWndClass", &HKeyRec::ActivateWndClass},
        {u"ActivateWndTitle", &HKeyRec::ActivateWndTitle},
        {u"ActivateWndTitleR", &HKeyRec::ActivateWndTitleR},
        {u"ActivateWndTitleM", &HKeyRec::ActivateWndTitleM},
        {u"Execute", &HKeyRec::Execute},
        {u"ExeParam", &HKeyRec::ExeParam},
        {u"ExeDir", &HKeyRec::ExeDir},
        {u"SendKey", &HKeyRec::SendKey},
        {u"MinimizeWndClass", &HKeyRec::MinimizeWndClass},
        {u"MinimizeWndTitle", &HKeyRec::MinimizeWndTitle},
        {u"MinimizeWndTitleR", &HKeyRec::MinimizeWndTitleR},
        {u"MinimizeWndTitleM", &HKeyRec::MinimizeWndTitleM},
        {u"CloseWndClass", &HKeyRec::CloseWndClass},
        {u"CloseWndTitle", &HKeyRec::CloseWndTitle},
        {u"CloseWndTitleR", &HKeyRec::CloseWndTitleR},
        {u"CloseWndTitleM", &HKeyRec::CloseWndTitleM},
    };
    auto* keys = new std::unordered_map<std::u16string, ActionTarget>();
    for (const auto& [word, field] : kWords) {
      for (std::size_t n = 1; n <= kActionSlots; ++n) {
        keys->emplace(FoldedName(NumberedName(word, static_cast<int>(n))),
                      ActionTarget{field, n - 1});
      }
    }
    return keys;
  }();
  return *table;
}

}  // namespace

void MainModel::ReadActions(HKeyRec& rec, const std::u16string& section) const {
  const auto& actionKeys = ActionKeys();
  for (auto& [key, value] : IniFile->ReadSectionValues(section)) {
    const std::u16string folded = FoldedName(key);
    if (const auto target = actionKeys.find(folded); target != actionKeys.end()) {
      (rec.*target->second.first)[target->second.second] = std::move(value);
    } else if (folded == u"zrmacro") {
      rec.ZrMacro = std::move(value);
    } else {
      continue;
    }
    if (IniFile->OnRead) IniFile->OnRead(section, key);
  }
  // Parameters and working directory belong to a program; without one they are not read.
  for (std::size_t i = 0; i < kActionSlots; ++i) {
    if (std::as_const(rec).Execute[i].empty()) {
      rec.ExeParam.Clear(i);
      rec.ExeDir.Clear(i);
    }
  }
}

void MainModel::StartLaunchDirListing() {
  launchDirListing_.reset();
  std::u16string dir =
      IniFile->ReadString(u"CmdLauncher", u"LaunchDir", DefaultText(u"CmdLauncher", u"LaunchDir"));
  if (dir.empty()) return;
  if (!HasDrivePart(dir)) dir = ExeDir + dir;
  launchDirListing_ = std::make_unique<BackgroundTask<std::vector<std::u16string>>>(
      [dir, &files = services_.files, &locale = services_.locale] {
        std::vector<std::u16string> paths;
        ListFiles(files, locale, dir, paths, u"LNK", true);
        return paths;
      },
      services_.launchDirListed);
}

bool MainModel::TakeLaunchDirEntries(bool wait) {
  if (!launchDirListing_ || (!wait && !launchDirListing_->Ready())) return false;
  const std::optional<std::vector<std::u16string>> paths = launchDirListing_->Take();
  launchDirListing_.reset();
  if (!paths) return false;
  for (std::size_t i = 0; i < paths->size(); ++i) {
    auto rec = std::make_unique<HKeyRec>(services_.hotkeys, wnd_,
                                         kFirstLaunchDirId + static_cast<int>(i), 0);
    rec->Keyword = FileStem((*paths)[i]);
    rec->Section = rec->Keyword;
    rec->Execute[0] = (*paths)[i];
    Keep(std::move(rec));
  }
  return !paths->empty();
}
