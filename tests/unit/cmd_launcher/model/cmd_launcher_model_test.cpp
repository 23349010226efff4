#include "cmd_launcher/model/cmd_launcher_model.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "support/fake_hotkey_registrar.h"
#include "support/fake_locale.h"
#include "support/fake_model.h"
#include "support/memory_file_system.h"
#include "support/system_code_page.h"

namespace {

class CmdLauncherModelTest : public ::testing::Test {
 protected:
  // Keywords get identifiers 1001, 1002 … in table order.
  void Keywords(std::vector<std::u16string> words) {
    std::vector<CmdKeyword> list;
    int id = 1001;
    for (auto& w : words) list.push_back({id++, std::move(w), u""});
    model.SetKeywords(std::move(list));
  }
  void Show() {
    model.Show(options);
    model.TakeEffects();
  }
  // Keystrokes as the box sees them: the key goes down, its character comes, the key goes up.
  void Type(std::u16string_view text) {
    for (char16_t c : text) {
      model.KeyDown(CmdKey::kOther, false, false);
      model.Character(c, false);
      KeyUp();
    }
  }
  void KeyUp() { model.KeyUp(false); }
  // The user moves the list's highlight to the row, and the key that moved it goes up.
  void MoveTo(int row) {
    model.RowChosen(row);
    KeyUp();
  }
  bool Key(CmdKey key, bool textSelected = false) {
    return model.KeyDown(key, false, textSelected);
  }
  std::vector<std::u16string> Rows() const {
    std::vector<std::u16string> rows;
    for (std::size_t i = 0; i < model.RowCount(); ++i) rows.push_back(model.Row(i));
    return rows;
  }

  FakeLocale locale;
  CmdLauncherOptions options;
  CmdLauncherModel model{locale};
};

using Words = std::vector<std::u16string>;

TEST_F(CmdLauncherModelTest, ListsMatchesInCaseBlindOrderWithTheEarlierOfEqualKeywordsSelected) {
  Keywords({u"zip", u"Calc", u"calendar", u"CALC", u"cmd"});
  Show();
  EXPECT_EQ(Rows(), (Words{u"Calc", u"CALC", u"calendar", u"cmd", u"zip"}));
  EXPECT_EQ(model.Text(), u"");
  EXPECT_FALSE(model.ListOpen());  // nothing typed: the list stays closed
  Type(u"CA");
  EXPECT_EQ(Rows(), (Words{u"Calc", u"CALC", u"calendar"}));
  EXPECT_EQ(model.Text(), u"Calc");
  EXPECT_EQ(model.Prefix(), u"CA");
  EXPECT_EQ(model.SelStart(), 2);
  EXPECT_TRUE(model.ListOpen());
  Type(u"lc");
  // Both spellings are listed; the record earlier in the table is the one selected.
  EXPECT_EQ(Rows(), (Words{u"Calc", u"CALC"}));
  EXPECT_EQ(model.SelectedId(), 1002);
}

TEST_F(CmdLauncherModelTest, SkipInputCompletesAsFarAsTheKeywordsAgreeAndNoFurther) {
  options.SkipInput = true;
  Keywords({u"calc", u"calendar", u"ab", u"ABC", u"xy"});
  Show();
  Type(u"c");
  EXPECT_EQ(model.Prefix(), u"cal");
  EXPECT_EQ(Rows(), (Words{u"calc", u"calendar"}));
  EXPECT_EQ(model.Text(), u"calc");
  EXPECT_EQ(model.SelStart(), 3);
  // The shorter keyword ends the completion: nothing is read past it.
  Key(CmdKey::kBackspace);
  EXPECT_EQ(model.Prefix(), u"");  // SkipInput: Backspace empties the prefix at once
  Type(u"a");
  EXPECT_EQ(model.Prefix(), u"ab");
  EXPECT_EQ(model.Text(), u"ab");
  // With one match the prefix becomes the whole keyword.
  Key(CmdKey::kBackspace);
  Type(u"x");
  EXPECT_EQ(model.Prefix(), u"xy");
  EXPECT_TRUE(model.OneLeft());
  EXPECT_EQ(model.SelectedId(), 1005);
}

TEST_F(CmdLauncherModelTest, CompletionAndBackspaceNeverSplitASurrogatePair) {
  options.SkipInput = true;
  // U+2000B and U+2000C share their high surrogate.
  Keywords({u"a\U0002000Bx", u"a\U0002000Cy", u"q\U0002000Br", u"q\U0002000Bs"});
  Show();
  Type(u"a");
  EXPECT_EQ(model.Prefix(), u"a");
  Key(CmdKey::kBackspace);
  Type(u"q");
  EXPECT_EQ(model.Prefix(), u"q\U0002000B");
  options.SkipInput = false;
  Show();
  Type(u"q");
  // A character outside the basic plane arrives as two messages and is tested whole.
  Type(u"\U0002000B");
  EXPECT_EQ(model.Prefix(), u"q\U0002000B");
  Key(CmdKey::kBackspace);
  EXPECT_EQ(model.Prefix(), u"q");
}

TEST_F(CmdLauncherModelTest, ACharacterThatContinuesNothingIsDroppedWithTheNgSound) {
  options.NgSound = u"ng.wav";
  options.CnfSound = u"ok.wav";
  Keywords({u"calc", u"cmd"});
  Show();
  Type(u"c");
  model.TakeEffects();
  Type(u"z");
  EXPECT_EQ(model.Prefix(), u"c");
  EXPECT_EQ(Rows(), (Words{u"calc", u"cmd"}));
  EXPECT_EQ(model.TakeEffects().sound, u"ng.wav");
  Type(u"m");
  EXPECT_EQ(model.TakeEffects().sound, u"ok.wav");  // one keyword left
  EXPECT_TRUE(model.OneLeft());
}

TEST_F(CmdLauncherModelTest, BackspaceWithoutSkipInputRemovesOneCharacterUnlessOneIsLeft) {
  Keywords({u"calc", u"calendar", u"cmd"});
  Show();
  Type(u"cal");
  EXPECT_TRUE(Key(CmdKey::kBackspace));
  EXPECT_EQ(model.Prefix(), u"ca");
  EXPECT_TRUE(model.ListOpen());
  Type(u"le");
  EXPECT_TRUE(model.OneLeft());
  Key(CmdKey::kBackspace);
  EXPECT_EQ(model.Prefix(), u"");
  // With an empty prefix the box handles the key itself.
  EXPECT_FALSE(Key(CmdKey::kBackspace));
}

TEST_F(CmdLauncherModelTest, CtrlOrAltCharactersChangeNothing) {
  Keywords({u"calc", u"cmd"});
  Show();
  Type(u"c");
  const std::u16string text = model.Text();
  EXPECT_TRUE(model.Character(u'\x03', true));  // Ctrl+C
  EXPECT_TRUE(model.Character(u'a', true));
  model.KeyUp(true);
  EXPECT_EQ(model.Prefix(), u"c");
  EXPECT_EQ(model.Text(), text);
  // Ctrl held does not close the list either.
  EXPECT_TRUE(model.ListOpen());
  model.KeyDown(CmdKey::kOther, true, false);
  EXPECT_TRUE(model.ListOpen());
}

TEST_F(CmdLauncherModelTest, EnterRunsTheSelectedRecordOnceAndIgnoresInputUntilTheNextShow) {
  Keywords({u"calc", u"cmd"});
  Show();
  Type(u"x");  // nothing selected: Enter with the list closed does nothing
  EXPECT_TRUE(Key(CmdKey::kEnter));
  EXPECT_FALSE(model.TakeEffects().hide);
  Show();
  Type(u"cm");
  Key(CmdKey::kEnter);
  CmdLauncherEffects run = model.TakeEffects();
  EXPECT_TRUE(run.hide);
  EXPECT_EQ(run.runId, 1002);
  EXPECT_FALSE(model.Enabled());
  Key(CmdKey::kEnter);
  Type(u"d");
  model.TextEdited(u"", 0);
  model.Execute();
  EXPECT_FALSE(model.TakeEffects().runId);
  Show();
  EXPECT_TRUE(model.Enabled());
  EXPECT_EQ(model.Prefix(), u"");
}

TEST_F(CmdLauncherModelTest, EnterWithTheListOpenHidesEvenWithoutASelection) {
  Keywords({u"calc", u"calendar"});
  Show();
  Type(u"c");
  ASSERT_TRUE(model.ListOpen());
  model.TextEdited(u"ca", 2);  // the user's own text, of no record, with the list open
  Key(CmdKey::kEnter);
  const CmdLauncherEffects e = model.TakeEffects();
  EXPECT_TRUE(e.hide);
  EXPECT_FALSE(e.runId);
}

TEST_F(CmdLauncherModelTest, EscClosesTheListFirstThenTheWindow) {
  Keywords({u"calc", u"calendar"});
  Show();
  Type(u"ca");
  ASSERT_TRUE(model.ListOpen());
  Key(CmdKey::kEscape);
  EXPECT_FALSE(model.ListOpen());
  EXPECT_EQ(model.SelStart(), 2);
  EXPECT_FALSE(model.TakeEffects().hide);
  Key(CmdKey::kEscape);
  const CmdLauncherEffects e = model.TakeEffects();
  EXPECT_TRUE(e.hide);
  EXPECT_FALSE(e.runId);
}

TEST_F(CmdLauncherModelTest, TheListsStateAndItsHighlightedRowFollowEveryKindOfEvent) {
  Keywords({u"calc", u"calendar", u"cmd"});
  Show();
  const struct {
    const char* step;
    std::function<void()> act;
    bool open;
    int row;
    std::u16string text;
  } steps[] = {
      {"shown", [] {}, false, -1, u""},
      {"typed: the list opens on the row the box shows", [&] { Type(u"c"); }, true, 0, u"calc"},
      {"moved down the list", [&] { MoveTo(2); }, true, 2, u"cmd"},
      {"closed with the mouse", [&] { model.ListDropped(false); }, false, 2, u"cmd"},
      {"the user's own text", [&] { model.TextEdited(u"ca", 2); }, false, 2, u"ca"},
      {"a key up with the list closed takes no row", [&] { KeyUp(); }, false, 2, u"ca"},
      {"opened with the mouse", [&] { model.ListDropped(true); }, true, 2, u"ca"},
      {"a key up with it open takes the row", [&] { KeyUp(); }, true, 2, u"cmd"},
      {"Esc closes only the list", [&] { Key(CmdKey::kEscape); }, false, 2, u"cmd"},
      {"the wheel over the closed box", [&] { model.RowChosen(1); }, true, 1, u"calendar"},
      {"Backspace refills the list from its first row", [&] { Key(CmdKey::kBackspace); }, true, 0,
       u"calc"},
      {"Delete empties the box", [&] { Key(CmdKey::kDelete); }, false, -1, u""},
      {"a row no longer listed", [&] { model.RowChosen(7); }, true, -1, u""},
      {"typed again", [&] { Type(u"ca"); }, true, 0, u"calc"},
      {"hidden", [&] { model.Hidden(); }, false, 0, u"calc"},
      {"shown again", [&] { Show(); }, false, -1, u""},
  };
  for (const auto& s : steps) {
    s.act();
    EXPECT_EQ(model.ListOpen(), s.open) << s.step;
    EXPECT_EQ(model.ListRow(), s.row) << s.step;
    EXPECT_EQ(model.Text(), s.text) << s.step;
  }
}

TEST_F(CmdLauncherModelTest, AListClosedOrOpenedByTheMouseDecidesWhatEnterAndEscDo) {
  Keywords({u"calc", u"calendar"});
  Show();
  Type(u"c");
  model.TextEdited(u"zz", 2);  // no record: only an open list lets Enter act
  model.ListDropped(false);
  Key(CmdKey::kEnter);
  EXPECT_FALSE(model.TakeEffects().hide) << "Enter presses the button, which has no record";
  model.ListDropped(true);
  Key(CmdKey::kEnter);
  const CmdLauncherEffects run = model.TakeEffects();
  EXPECT_TRUE(run.hide) << "with the list open Enter runs whatever is shown";
  EXPECT_FALSE(run.runId);

  Show();
  Type(u"c");
  model.ListDropped(false);
  Key(CmdKey::kEscape);
  EXPECT_TRUE(model.TakeEffects().hide) << "no list left to close: Esc hides the window";
}

TEST_F(CmdLauncherModelTest, AutomaticRunWaitsOnATimerAndRunsOnce) {
  options.CnfExecute = true;
  options.ExeDelay = 300;
  Keywords({u"calc", u"cmd"});
  Show();
  Type(u"c");
  EXPECT_FALSE(model.TakeEffects().startTimer);
  Type(u"m");
  EXPECT_EQ(model.TakeEffects().startTimer, 300);
  // The user takes it back before the wait is over: nothing runs.
  Key(CmdKey::kBackspace);
  EXPECT_EQ(model.Prefix(), u"");
  EXPECT_TRUE(model.TakeEffects().cancelTimer);
  model.TimerElapsed();
  EXPECT_FALSE(model.TakeEffects().runId);
  Type(u"cm");
  model.TakeEffects();
  // Enter during the wait runs it; the timer that fires afterwards does not run it again.
  Key(CmdKey::kEnter);
  EXPECT_EQ(model.TakeEffects().runId, 1002);
  model.TimerElapsed();
  EXPECT_FALSE(model.TakeEffects().runId);
  Show();
  Type(u"cm");
  model.TakeEffects();
  model.TimerElapsed();
  EXPECT_EQ(model.TakeEffects().runId, 1002);
}

TEST_F(CmdLauncherModelTest, AutomaticRunNeedsSomethingTyped) {
  options.CnfExecute = true;
  Keywords({u"only"});
  model.Show(options);
  const CmdLauncherEffects e = model.TakeEffects();
  EXPECT_TRUE(model.OneLeft());
  EXPECT_FALSE(e.startTimer);
  EXPECT_FALSE(e.runId);
}

TEST_F(CmdLauncherModelTest, UserEditsSetThePrefixUpToTheCaret) {
  Keywords({u"calc", u"cmd"});
  Show();
  Type(u"ca");
  model.TextEdited(u"cm", 2);
  EXPECT_EQ(model.Prefix(), u"cm");
  EXPECT_EQ(model.SelectedId(), std::nullopt) << "the text is not a keyword";
  model.TextEdited(u"cmd", 1);
  EXPECT_EQ(model.Prefix(), u"c");
  EXPECT_EQ(model.SelectedId(), 1002);
  model.TextEdited(u"", 0);
  EXPECT_EQ(model.Prefix(), u"");
  EXPECT_EQ(Rows(), (Words{u"calc", u"cmd"}));
}

TEST_F(CmdLauncherModelTest, DeleteEmptiesThePrefixOnlyWithoutASelection) {
  Keywords({u"calc", u"calendar"});
  Show();
  Type(u"cal");
  EXPECT_FALSE(Key(CmdKey::kDelete, true));  // the box then deletes the selected completion
  EXPECT_EQ(model.Prefix(), u"cal");
  EXPECT_FALSE(Key(CmdKey::kDelete, false));
  EXPECT_EQ(model.Prefix(), u"");
}

TEST_F(CmdLauncherModelTest, AReloadWhileShownRefillsTheListAndSelectsByTheNewTable) {
  Keywords({u"calc", u"cmd"});
  Show();
  Type(u"cm");
  ASSERT_EQ(model.SelectedId(), 1002);
  model.SetKeywords({{1001, u"cmd", u"new.exe"}});
  EXPECT_EQ(Rows(), (Words{u"cmd"}));
  EXPECT_EQ(model.SelectedId(), 1001);
  EXPECT_EQ(model.GlyphFile(), u"new.exe");
  model.SetKeywords({});
  EXPECT_EQ(model.RowCount(), 0u);
  EXPECT_EQ(model.SelectedId(), std::nullopt);
  EXPECT_EQ(model.Text(), u"cm");
}

// The box is filled again only when the version moves: a show or a key that lists the same rows
// must keep it, and every change of the rows must move it.
TEST_F(CmdLauncherModelTest, TheRowsVersionMovesOnlyWhenTheListedRowsChange) {
  Keywords({u"calc", u"cmd", u"zip"});
  Show();
  std::uint64_t version = model.RowsVersion();
  const auto moved = [&] { return std::exchange(version, model.RowsVersion()) != version; };
  model.Hidden();
  Show();
  EXPECT_FALSE(moved()) << "a second show lists the same rows";
  Type(u"c");
  EXPECT_TRUE(moved());
  EXPECT_EQ(Rows(), (Words{u"calc", u"cmd"}));
  Type(u"m");
  EXPECT_TRUE(moved());
  Type(u"q");  // continues nothing: dropped, the rows stay
  EXPECT_FALSE(moved());
  Key(CmdKey::kBackspace);
  KeyUp();
  EXPECT_EQ(Rows().size(), 3u);
  EXPECT_TRUE(moved());
  model.SetKeywords({{1001, u"calc", u""}, {1002, u"cmd", u""}, {1003, u"zip", u""}});
  EXPECT_TRUE(moved()) << "a new table's rows are other entries, even with the same texts";
}

TEST(CmdLauncherOptionsTest, OutOfRangeNumbersAreBroughtIntoRange) {
  MemoryFileSystem files;
  UsrIniFile ini(u"C:\\K.INI", files, SystemCodePage());
  CmdLauncherOptions o = ReadCmdLauncherOptions(ini);
  EXPECT_EQ(o.ExeDelay, 250);
  EXPECT_EQ(o.ListSize, 10);
  EXPECT_TRUE(o.Dropdown);
  EXPECT_EQ(o.FgColorK, 0xFF000008u);
  ini.WriteInteger(u"CmdLauncher", u"ExeDelay", -1);
  ini.WriteInteger(u"CmdLauncher", u"ListSize", 0);
  ini.WriteInteger(u"CmdLauncher", u"ListWidth", -5);
  o = ReadCmdLauncherOptions(ini);
  EXPECT_EQ(o.ExeDelay, 0);
  EXPECT_EQ(o.ListSize, 1);
  EXPECT_EQ(o.ListWidth, 0);
  ini.WriteInteger(u"CmdLauncher", u"ExeDelay", 999999);
  EXPECT_EQ(ReadCmdLauncherOptions(ini).ExeDelay, kMaxExeDelay);
}

TEST(CmdKeywordsTest, TakesTheKeywordRecordsWithTheirIconOrFirstProgram) {
  FakeHotKeyRegistrar registrar;
  HKeyList table;
  auto add = [&](int id) -> HKeyRec& {
    auto rec = std::make_unique<HKeyRec>(registrar, 1, id, 0);
    HKeyRec& added = *rec;
    table.push_back(std::move(rec));
    return added;
  };
  add(101).Keyword = u"not a keyword";
  HKeyRec& a = add(1001);
  a.Keyword = u"a";
  a.Icon = u"a.ico";
  a.Execute[0] = u"a.exe";
  HKeyRec& b = add(1251);
  b.Keyword = u"b";
  b.Execute[0] = u"C:\\b.lnk";
  const std::vector<CmdKeyword> k = CmdKeywords(table, 1);
  ASSERT_EQ(k.size(), 2u);
  EXPECT_EQ(k[0].glyphFile, u"a.ico");
  EXPECT_EQ(k[1].id, 1251);
  EXPECT_EQ(k[1].glyphFile, u"C:\\b.lnk");
  EXPECT_TRUE(CmdKeywords(table, -1).empty());
}

}  // namespace

TEST_F(CmdLauncherModelTest, AConsumedKeyTakesItsCharacterWithIt) {
  Keywords({u"calc", u"calendar", u"cmd"});
  for (const bool dropdown : {true, false}) {
    options.Dropdown = dropdown;
    Show();
    Type(u"cal");
    // Backspace goes down and is handled; the backspace character the keyboard makes of it
    // must not delete the completion the box now shows.
    EXPECT_TRUE(Key(CmdKey::kBackspace));
    EXPECT_TRUE(model.Character(u'\b', false));
    KeyUp();
    EXPECT_EQ(model.Prefix(), u"ca") << dropdown;
    EXPECT_EQ(model.Text(), u"calc") << dropdown;
    EXPECT_EQ(model.SelStart(), 2);
    EXPECT_EQ(model.SelLength(), 100);
    EXPECT_EQ(model.ListOpen(), dropdown);
    EXPECT_EQ(model.SelectedId(), 1001) << "the button is enabled for calc";
    Key(CmdKey::kEnter);
    EXPECT_EQ(model.TakeEffects().runId, 1001) << dropdown;
  }
  // Esc's character after the list was closed by Esc leaves the selection as Esc made it.
  options.Dropdown = true;
  Show();
  Type(u"c");
  ASSERT_TRUE(model.ListOpen());
  EXPECT_TRUE(Key(CmdKey::kEscape));
  EXPECT_TRUE(model.Character(0x1B, false));
  EXPECT_EQ(model.SelStart(), 1);
  EXPECT_EQ(model.SelLength(), 100);
  // A key the box handles itself does not swallow the next character.
  EXPECT_FALSE(Key(CmdKey::kLeft));
  EXPECT_TRUE(model.Character(u'a', false));
  EXPECT_EQ(model.Prefix(), u"ca");
}

TEST_F(CmdLauncherModelTest, ATypedCharacterPutsTheCaretAtTheStartUntilAListRowIsSelected) {
  Keywords({u"calc", u"calendar", u"notepad"});
  Show();
  model.KeyDown(CmdKey::kOther, false, false);
  model.Character(u'c', false);
  EXPECT_EQ(model.SelStart(), 0);
  EXPECT_EQ(model.SelLength(), 0);
  // The key goes up with the open list's first row selected: the completion is selected again.
  KeyUp();
  EXPECT_EQ(model.SelStart(), 1);
  EXPECT_EQ(model.SelLength(), 100);
  // One keyword left: the list stays closed and the caret stays at the start.
  Show();
  Type(u"n");
  EXPECT_FALSE(model.ListOpen());
  EXPECT_EQ(model.Text(), u"notepad");
  EXPECT_EQ(model.SelStart(), 0);
  EXPECT_EQ(model.SelLength(), 0);
}

TEST_F(CmdLauncherModelTest, TheRowAKeyUpPutsInTheBoxIsTheRecordEnterRuns) {
  Keywords({u"calc", u"calendar"});
  Show();
  Type(u"cal");
  // Delete took the completion with the list open: no keyword equals the box text now.
  model.TextEdited(u"cal", 3);
  EXPECT_FALSE(model.SelectedId());
  MoveTo(1);
  EXPECT_EQ(model.Text(), u"calendar");
  EXPECT_EQ(model.SelectedId(), 1002);
  EXPECT_EQ(model.SelStart(), 3);
  Key(CmdKey::kEnter);
  EXPECT_EQ(model.TakeEffects().runId, 1002);
}

TEST_F(CmdLauncherModelTest, KeywordsMatchAcrossCharacterWidthAndLetterCase) {
  Keywords({u"ｃａｌｃ", u"calendar", u"ＣＭＤ"});
  Show();
  Type(u"C");
  EXPECT_EQ(Rows(), (Words{u"calendar", u"ＣＭＤ", u"ｃａｌｃ"}));
  Type(u"a");
  EXPECT_EQ(Rows(), (Words{u"calendar", u"ｃａｌｃ"}));
  MoveTo(1);
  EXPECT_EQ(model.Text(), u"ｃａｌｃ");
  EXPECT_EQ(model.SelStart(), 2);
  Type(u"ｌC");
  EXPECT_EQ(Rows(), (Words{u"ｃａｌｃ"}));
  EXPECT_EQ(model.SelectedId(), 1001);
  // A text the user wrote selects the keyword it stands for.
  Show();
  model.TextEdited(u"cmd", 3);
  EXPECT_EQ(model.SelectedId(), 1003);
}

TEST_F(CmdLauncherModelTest, AVoicedKanaMatchesWhetherItsMarkIsWrittenApartOrNot) {
  // ｶﾞｲﾄﾞﾌﾞｯｸ is 9 units, its folded form ガイドブック 6.
  Keywords({u"ｶﾞｲﾄﾞﾌﾞｯｸ", u"ガイダンス", u"カメラ", u"ガイド"});
  Show();
  // Full-width kana typed against a half-width keyword: the selection starts after ｶﾞｲﾄﾞ.
  Type(u"ガイ");
  EXPECT_EQ(Rows(), (Words{u"ガイダンス", u"ガイド", u"ｶﾞｲﾄﾞﾌﾞｯｸ"}));
  MoveTo(2);
  EXPECT_EQ(model.SelStart(), 3);
  Type(u"ド");
  EXPECT_EQ(Rows(), (Words{u"ガイド", u"ｶﾞｲﾄﾞﾌﾞｯｸ"}));
  MoveTo(1);
  EXPECT_EQ(model.Text(), u"ｶﾞｲﾄﾞﾌﾞｯｸ");
  EXPECT_EQ(model.SelStart(), 5);
  EXPECT_EQ(model.SelectedId(), 1001);

  // Half-width kana typed one unit at a time against full-width keywords: ｶ may still become ガ.
  Show();
  Type(u"ｶ");
  EXPECT_EQ(Rows(), (Words{u"カメラ", u"ガイダンス", u"ガイド", u"ｶﾞｲﾄﾞﾌﾞｯｸ"}));
  const int startAfterKa[] = {1, 0, 0, 1};  // カ typed; ガ not yet; ｶ of ｶﾞ typed
  for (int row = 0; row < 4; ++row) {
    MoveTo(row);
    EXPECT_EQ(model.SelStart(), startAfterKa[row]) << row;
  }
  Type(u"ﾞｲﾄ");  // ﾄ may still become ﾄﾞ, but not ダ
  EXPECT_EQ(model.Prefix(), u"ｶﾞｲﾄ");
  EXPECT_EQ(Rows(), (Words{u"ガイド", u"ｶﾞｲﾄﾞﾌﾞｯｸ"}));
  Type(u"ﾞ");
  MoveTo(0);
  EXPECT_EQ(model.Text(), u"ガイド");
  EXPECT_EQ(model.SelStart(), 3);
  EXPECT_EQ(model.SelectedId(), 1004);
  MoveTo(1);
  EXPECT_EQ(model.SelStart(), 5);
  Key(CmdKey::kEnter);
  EXPECT_EQ(model.TakeEffects().runId, 1001);
}

TEST_F(CmdLauncherModelTest, AWrongMarkIsDroppedAndCompletionTakesTheKeywordsOwnKana) {
  options.NgSound = u"ng.wav";
  Keywords({u"ガイド", u"カメラ"});
  Show();
  Type(u"ｶ");
  model.TakeEffects();
  Type(u"ﾟ");  // カ゜ begins no keyword
  EXPECT_EQ(model.TakeEffects().sound, u"ng.wav");
  EXPECT_EQ(model.Prefix(), u"ｶ");
  EXPECT_EQ(Rows(), (Words{u"カメラ", u"ガイド"}));

  options.SkipInput = true;
  Keywords({u"ガイド", u"ガイダンス", u"ｶﾞｲﾄﾞﾌﾞｯｸ"});
  Show();
  Type(u"ｶ");  // every keyword has ガ where ｶ was typed: the prefix takes it
  EXPECT_EQ(model.Prefix(), u"ガイ");
  EXPECT_EQ(model.Text(), u"ガイダンス");
  EXPECT_EQ(model.SelStart(), 2);
  Type(u"ﾄ");  // both have ド there, and nothing after it in common
  EXPECT_EQ(model.Prefix(), u"ガイド");
  EXPECT_EQ(Rows(), (Words{u"ガイド", u"ｶﾞｲﾄﾞﾌﾞｯｸ"}));
  MoveTo(1);
  EXPECT_EQ(model.SelStart(), 5);
}

TEST(CmdLauncherImeTest, TheBoxClosesItsImeForPlainAsciiKeywordsUnlessImeModeSaysOtherwise) {
  FakeLocale locale;
  CmdLauncherModel model(locale);
  const auto closes = [&](std::vector<std::u16string> words, CmdImeMode mode) {
    std::vector<CmdKeyword> keywords;
    for (auto& w : words) keywords.push_back({1001, std::move(w), u""});
    model.SetKeywords(std::move(keywords));
    CmdLauncherOptions options;
    options.ImeMode = mode;
    model.Show(options);
    return model.ClosesIme();
  };
  EXPECT_TRUE(closes({u"calc", u"cmd /k"}, CmdImeMode::kAuto));
  EXPECT_FALSE(closes({u"calc", u"メモ帳"}, CmdImeMode::kAuto));
  EXPECT_FALSE(closes({u"calc", u"ｃｍｄ"}, CmdImeMode::kAuto));
  EXPECT_TRUE(closes({u"メモ帳"}, CmdImeMode::kOff));
  EXPECT_FALSE(closes({u"calc"}, CmdImeMode::kKeep));

  const struct {
    const char* value;
    CmdImeMode mode;
  } settings[] = {{"", CmdImeMode::kAuto},   {"auto", CmdImeMode::kAuto},
                  {"OFF", CmdImeMode::kOff}, {" keep", CmdImeMode::kKeep},
                  {"on", CmdImeMode::kAuto}, {"2", CmdImeMode::kAuto}};
  for (const auto& s : settings) {
    FakeModel fake;
    const std::string ini =
        std::string("[General]\nVersion=169\n[CmdLauncher]\nImeMode=") + s.value;
    EXPECT_EQ(ReadCmdLauncherOptions(*fake.Load(ini + "\n").IniFile).ImeMode, s.mode) << s.value;
  }
}
