// The hotkey sections' combinations: that they parse, that the keyboard has the key, that no two
// sections share one, and that Windows or another program does not hold it already.
#include <map>

#include "base/number_text.h"
#include "check/check_context.h"
#include "check/nearest_name.h"
#include "hotkeys/hotkey_record.h"
#include "hotkeys/key_text.h"

namespace {

constexpr std::uint8_t kTab = 0x09, kEscape = 0x1B, kDelete = 0x2E, kF12 = 0x7B, kF13 = 0x7C,
                       kF24 = 0x87;

// Combinations Windows takes before any program sees them, whether or not a registration of them
// succeeds: the secure attention sequence, locking, the task switchers, the Start menu, Task
// Manager, and F12, which belongs to the debugger.
struct ReservedCombination {
  std::uint32_t modifiers;
  std::uint8_t key;
};
constexpr ReservedCombination kReserved[] = {{kModControl | kModAlt, kDelete},
                                             {kModWin, 'L'},
                                             {kModAlt, kTab},
                                             {kModAlt | kModShift, kTab},
                                             {kModControl, kEscape},
                                             {kModControl | kModShift, kEscape},
                                             {kModAlt, kEscape},
                                             {0, kF12}};

bool IsReserved(std::uint32_t modifiers, std::uint8_t key) {
  for (const ReservedCombination& r : kReserved) {
    if (r.modifiers == modifiers && r.key == key) return true;
  }
  return false;
}

// "Ctrl+Alt+Ent" with the key name after the last "+" replaced by the nearest known one.
std::u16string NearestKeyText(const std::u16string& text, const KeyNameTable& names) {
  const std::size_t plus = text.rfind(u'+');
  const std::u16string keyName = text.substr(plus == std::u16string::npos ? 0 : plus + 1);
  if (keyName.empty()) return {};
  std::vector<std::u16string> candidates;
  for (int code = KeyNameTable::kFirstCode; code <= KeyNameTable::kLastCode; ++code) {
    const std::u16string& name = names.Name(static_cast<std::uint16_t>(code));
    if (!name.empty()) candidates.push_back(name);
  }
  const std::u16string nearest = NearestName(keyName, candidates);
  if (nearest.empty()) return {};
  return text.substr(0, text.size() - keyName.size()) + nearest + u" ではありませんか。";
}

}  // namespace

void CheckHotKeys(CheckContext& c) {
  const KeyNameTable names(c.services.keyboard);
  std::map<HKeyShortCut, const FileSection*> first;
  for (const FileSection* s : c.ReadSections()) {
    if (s->known->name != u"HotKey#") continue;
    const FileEntry* key = s->Find(u"Key");
    const std::u16string text = c.ini->ReadString(s->name, u"Key", u"");
    if (!key || text.empty()) continue;
    const std::u16string where = CheckContext::Where(*s, *key) + u"=" + text;
    const HKeyShortCut shortCut = TextToHotKey(text, names);
    const std::uint8_t vk = static_cast<std::uint8_t>(ShortCutCode(shortCut) & 0xFF);
    if (ShortCutCode(shortCut) == 0) {
      c.Error(key->line,
              where + u": キーの名前がわかりません。登録できず、[ErrorLog] に記録されます。",
              NearestKeyText(text, names));
      continue;
    }
    if (vk >= kF13 && vk <= kF24 && c.services.keyboard.KeyName(vk).empty()) {
      c.Warning(key->line,
                where + u": " + names.Name(vk) + u" はこのキーボードにないかもしれません。");
    }
    const std::uint32_t modifiers = HotKeyModifiers(shortCut);
    if (const auto [earlier, isNew] = first.emplace(shortCut, s); !isNew) {
      c.Error(key->line,
              where + u" は [" + earlier->second->name +
                  u"] と同じ組み合わせです。後のほうは登録できず、[ErrorLog] に記録されます。");
      continue;
    }
    if (IsReserved(modifiers, vk)) {
      c.Error(key->line, where + u" は Windows が使う組み合わせです。Kelvo には届きません。",
              u"Ctrl+Alt+ や Ctrl+Alt+Shift+ と文字の組み合わせにします。");
      continue;
    }
    if (c.services.kelvoRunning) continue;
    const int id = 100 + s->known->number;
    if (c.services.hotkeys.Register(c.services.window, id, modifiers, vk)) {
      c.services.hotkeys.Unregister(c.services.window, id);
    } else {
      c.Error(
          key->line,
          where + u" は、ほかのプログラムが使っています。登録できず、[ErrorLog] に記録されます。",
          u"別の組み合わせにするか、そのプログラムの設定を変えます。");
    }
  }
  if (c.services.kelvoRunning) {
    c.report.Note(
        u"Kelvo が動作中のため、ほかのプログラムが使っている組み合わせは調べていません"
        u"（Kelvo 自身が使っています）。Kelvo を終了してから実行すると調べます。");
  }
}
