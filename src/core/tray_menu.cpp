#include "core/tray_menu.h"

std::vector<MenuEntry> TrayMenuItems(const std::u16string& Editor, const std::u16string& PopupFile,
                                     bool aboutBoxShown) {
  std::vector<MenuEntry> items = {
      {MenuCommand::kEditSettings, u"設定ファイル編集(&E)", !Editor.empty()},
      {MenuCommand::kEditMenuFile, u"メニュー定義ファイル編集(&D)",
       !Editor.empty() && !PopupFile.empty()},
      {MenuCommand::kReload, u"設定再読込(&R)", true},
      {MenuCommand{}, u"", true, true},
      {MenuCommand::kHotKeyList, u"ホットキー一覧表示(&L)", true},
  };
  if (!aboutBoxShown) items.push_back({MenuCommand::kAbout, u"バージョン情報(&A)", true});
  items.push_back({MenuCommand::kExit, u"終了(&X)", true});
  return items;
}

std::u16string EditorParameters(const std::u16string& file, const std::u16string& EditParam) {
  const std::u16string arg = file.find(u' ') == std::u16string::npos ? file : u"\"" + file + u"\"";
  if (EditParam.empty()) return arg;
  constexpr std::u16string_view kFileMarker = u"$FILE$";
  if (EditParam.find(kFileMarker) == std::u16string::npos) return EditParam + u" " + arg;
  std::u16string params;
  std::size_t from = 0;
  for (std::size_t at; (at = EditParam.find(kFileMarker, from)) != std::u16string::npos;
       from = at + kFileMarker.size()) {
    params += EditParam.substr(from, at - from) + arg;
  }
  return params + EditParam.substr(from);
}
