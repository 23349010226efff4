// The files and folders the settings name: that they exist, and that the menu definition file,
// the canned-text files and the history file read as Kelvo reads them.
#include <algorithm>

#include "base/number_text.h"
#include "base/text_case.h"
#include "check/check_context.h"
#include "clip/model/canned_file.h"
#include "clip/model/history_file.h"
#include "popup_menu/model/launcher_menu_model.h"
#include "util/file_listing.h"
#include "util/path_text.h"
#include "util/text_file.h"

namespace {

bool IsNetworkPath(std::u16string_view path) {
  return path.size() >= 2 && (path[0] == u'\\' || path[0] == u'/') &&
         (path[1] == u'\\' || path[1] == u'/');
}

// Web addresses, shell folders and mail links are started by the shell, not found on disk.
bool IsShellName(std::u16string_view value) {
  return value.find(u"://") != std::u16string_view::npos ||
         EqualsNoCase(value.substr(0, 7), u"mailto:") ||
         EqualsNoCase(value.substr(0, 6), u"shell:");
}

bool HasFolder(std::u16string_view path) {
  return path.find_first_of(u"\\/:") != std::u16string_view::npos;
}

std::u16string Resolved(const CheckContext& c, const std::u16string& value) {
  return HasDrivePart(value) ? value : c.exeDir + value;
}

bool IsImage(std::u16string_view path) {
  const std::u16string_view ext = FileExtension(path);
  for (std::u16string_view known : {u".bmp", u".jpg", u".jpeg", u".png", u".gif"}) {
    if (EqualsNoCase(ext, known)) return true;
  }
  return false;
}

void CheckProgram(CheckContext& c, const std::u16string& where, const FileEntry& e) {
  if (IsShellName(e.value) || e.value.find(u'%') != std::u16string::npos) return;
  if (!HasFolder(e.value)) {
    if (!c.services.programs.Exists(e.value)) {
      c.Error(e.line,
              where + u": プログラム " + e.value +
                  u" が見つかりません（Windows がプログラムを探す場所にありません）。",
              u"フルパスで書きます。");
    }
    return;
  }
  const std::u16string path = Resolved(c, e.value);
  if (!c.services.files.FileExists(path) && !c.services.files.DirectoryExists(path)) {
    c.Error(e.line, where + u": " + path + u" がありません。");
  }
}

void CheckMenuFile(CheckContext& c, const std::u16string& path) {
  const FileContents contents = c.services.files.Read(path);
  if (contents.status == ReadStatus::kUnreadable) {
    c.report.Unreadable(c.Shown(path),
                        u"メニュー定義ファイルを読み込めません。メニューに項目が入りません。");
    return;
  }
  if (contents.status != ReadStatus::kRead) return;
  KeptLineBytes kept;
  const DecodedLines lines = DecodeLines(contents.bytes, c.services.codePage, kept);
  PopupLauncher menu;
  std::vector<MenuLineNote> notes;
  AddDefinitionItems(menu, lines.lines, &notes);
  for (const MenuLineNote& note : notes) {
    switch (note.problem) {
      case MenuLineProblem::kCloseWithoutSubmenu:
        c.Add(path, note.line, Severity::kWarning,
              u"「<」で閉じるサブメニューがありません。この行は無視されます。");
        break;
      case MenuLineProblem::kSecondBoundary:
        c.Add(path, note.line, Severity::kWarning,
              u"2 つ目の「--」は無視されます（貼り付け項目はすでに始まっています）。");
        break;
      case MenuLineProblem::kTooDeep:
        c.Add(path, note.line, Severity::kWarning,
              u"サブメニューが深すぎます（" + IntToText(kMaxMenuDepth) +
                  u" 段まで）。このサブメニューは作られず、中の項目は 1 つ上の段に入ります。");
        break;
      case MenuLineProblem::kBreakWithoutItem:
        c.Add(path, note.line, Severity::kWarning,
              u"「|」の後に項目がないため、列は分かれません。");
        break;
    }
  }
}

void CheckCannedFile(CheckContext& c, const std::u16string& where, const FileEntry& e,
                     bool isSetButton) {
  const std::u16string path = Resolved(c, e.value);
  const CannedFileRead read = ReadCannedFile(c.services.files, c.services.codePage, path);
  if (read.status == CannedFileStatus::kMissing && isSetButton) {
    c.Warning(e.line,
              where + u": ファイル " + path + u" がありません。このセットのボタンは押せません。");
  } else if (read.status == CannedFileStatus::kUnreadable) {
    c.report.Unreadable(c.Shown(path), u"定型文ファイルを読み込めません（" + where + u"）。");
  } else if (read.status == CannedFileStatus::kTooLarge) {
    c.Add(path, 0, Severity::kError,
          u"定型文ファイルが 16 MB を超えるため、Kelvo は読みません（" + where + u"）。");
  }
}

void CheckHistoryFile(CheckContext& c, const std::u16string& where, const FileEntry& e) {
  if (!c.ini->ReadBool(u"ClipboardList", u"SaveHistory",
                       DefaultBool(u"ClipboardList", u"SaveHistory")))
    return;  // Kelvo reads the file only when it saves the history
  const std::u16string path = Resolved(c, e.value);
  const FileContents contents = c.services.files.Read(path);
  if (contents.status == ReadStatus::kUnreadable) {
    c.report.Unreadable(c.Shown(path), u"履歴ファイルを読み込めません（" + where +
                                           u"）。Kelvo はこのファイルを上書きしません。");
  } else if (contents.status == ReadStatus::kRead &&
             ParseHistoryFile(contents.bytes, c.services.codePage, c.services.locale, 0).status !=
                 HistoryReadStatus::kLoaded) {
    c.Add(path, 0, Severity::kError,
          u"履歴ファイルに中身があるのに、記録が 1 件も読めません。Kelvo "
          u"はこのファイルを読まず、上書きもしません（" +
              where + u"）。");
  }
}

}  // namespace

void CheckPath(CheckContext& c, const FileSection& s, const FileEntry& e, SettingType type) {
  const std::u16string where = CheckContext::Where(s, e);
  if (IsNetworkPath(e.value)) {
    c.Warning(e.line, where + u": ネットワーク上のパス " + e.value + u" は調べていません。");
    return;
  }
  const std::u16string path = Resolved(c, e.value);
  switch (type) {
    case SettingType::kProgram:
      CheckProgram(c, where, e);
      break;
    case SettingType::kFile:
      if (!c.services.files.FileExists(path))
        c.Warning(e.line, where + u": ファイル " + path + u" がありません。");
      break;
    case SettingType::kImage:
      if (EqualsNoCase(e.value, u"none")) break;
      if (!c.services.files.FileExists(path)) {
        c.Warning(e.line,
                  where + u": ファイル " + path + u" がありません。押すと壁紙がなくなります。");
      } else if (!IsImage(path)) {
        c.Warning(
            e.line,
            where +
                u": 壁紙にできるのは .bmp、.jpg、.png、.gif です。押しても壁紙は変わりません。");
      }
      break;
    case SettingType::kFolder:
      if (!c.services.files.DirectoryExists(path))
        c.Warning(e.line, where + u": フォルダー " + path + u" がありません。");
      break;
    case SettingType::kOutputFile: {
      const std::u16string folder(DirectoryPart(e.value));
      if (!folder.empty() && !c.services.files.DirectoryExists(folder))
        c.Warning(e.line,
                  where + u": フォルダー " + folder + u" がないため、壁紙を書き込めません。");
      break;
    }
    case SettingType::kMenuFile:
      if (!c.services.files.FileExists(path)) {
        c.Warning(e.line, where + u": メニュー定義ファイル " + path +
                              u" がありません。メニューに項目が入りません。");
      } else {
        CheckMenuFile(c, path);
      }
      break;
    case SettingType::kCannedFile:
      CheckCannedFile(c, where, e, FoldedName(e.key).rfind(u"textdatabtn", 0) == 0);
      break;
    case SettingType::kHistoryFile:
      CheckHistoryFile(c, where, e);
      break;
    default:
      break;
  }
}

void CheckNamedFiles(CheckContext& c) {
  for (const FileSection* s : c.ReadSections()) {
    const bool actions = s->known->name == u"HotKey#" || s->known->name == u"CmdKwd#";
    if (actions && c.ini->ReadString(s->name, u"Key", u"").empty()) continue;  // never read
    for (const FileEntry& e : s->entries) {
      if (s->Find(e.key) != &e || e.value.empty()) continue;
      const SettingKey* row = FindSettingKey(*s->known, e.key);
      if (!row) continue;
      // Keys Kelvo skips were reported already.
      if (actions && HasCommand(c, s->name) && (row->key.back() == u'#' || row->key == u"ZrMacro"))
        continue;
      if (row->key == u"ExeDir#" &&
          c.ini->ReadString(s->name, u"Execute" + e.key.substr(6), u"").empty())
        continue;
      CheckPath(c, *s, e, row->type);
    }
  }
}
