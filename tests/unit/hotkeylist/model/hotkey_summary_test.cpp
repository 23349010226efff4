#include "hotkeylist/model/hotkey_summary.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "base/text_codec.h"
#include "support/fake_hotkey_registrar.h"
#include "support/fake_keyboard_layout.h"
#include "support/fake_locale.h"

namespace {

constexpr WindowHandle kMainWnd = 0x42;

class HotKeySummaryTest : public ::testing::Test {
 protected:
  HKeyRec& Add(int id, HKeyShortCut shortCut) {
    auto rec = std::make_unique<HKeyRec>(registrar_, kMainWnd, id, shortCut);
    HKeyRec& added = *rec;
    if (list_.empty()) first_ = &added;
    list_.push_back(std::move(rec));
    return added;
  }
  HKeyRec& Rec() { return first_ ? *first_ : Add(101, kShortCutCtrl | 'A'); }
  std::u16string Summary() { return HotKeySummary(Rec()); }
  std::vector<std::u16string> Rows() { return HotKeyListRows(list_, names_, locale_); }

  FakeHotKeyRegistrar registrar_;
  HKeyRec* first_ = nullptr;
  FakeKeyboardLayout layout_;
  KeyNameTable names_{layout_};
  FakeLocale locale_;
  HKeyList list_;
};

TEST_F(HotKeySummaryTest, EachRuleTakesPrecedenceOverTheLaterOnes) {
  HKeyRec& rec = Rec();
  EXPECT_EQ(Summary(), u"");  // a hotkey that only types keys
  rec.SendKey[0] = u"abc";
  EXPECT_EQ(Summary(), u"");
  rec.WallPaper = u"sky.jpg";
  EXPECT_EQ(Summary(), u"壁紙: sky.jpg");
  rec.Sound = u"ding.wav";
  EXPECT_EQ(Summary(), u"サウンド: ding.wav");
  rec.ZrMacro = u"macro.mac";
  EXPECT_EQ(Summary(), u"ZRマクロ: macro.mac");
  rec.MinimizeWndTitleR[0] = u"- Notepad";
  EXPECT_EQ(Summary(), u"最小化: - Notepad");
  rec.CloseWndTitle[0] = u"Mail";
  EXPECT_EQ(Summary(), u"閉じる: Mail");
  rec.ActivateWndTitleM[0] = u"/^Edit/";
  EXPECT_EQ(Summary(), u"アクティブ: /^Edit/");
  rec.Execute[0] = u"C:\\Tools\\app.exe";
  EXPECT_EQ(Summary(), u"app.exe");
  rec.SetCommand(u"CLIPBOARD");
  EXPECT_EQ(Summary(), u"コマンド: CLIPBOARD");
  rec.Description = u"説明";
  EXPECT_EQ(Summary(), u"説明");
}

TEST_F(HotKeySummaryTest, WindowTestsJoinTheNonEmptyOnesInFieldOrder) {
  HKeyRec& rec = Rec();
  rec.ActivateWndTitleM[0] = u"/x/";
  rec.ActivateWndClass[0] = u"Notepad";
  EXPECT_EQ(Summary(), u"アクティブ: Notepad,/x/");
  rec.ActivateWndTitle[0] = u"Memo";
  rec.ActivateWndTitleR[0] = u"End";
  EXPECT_EQ(Summary(), u"アクティブ: Notepad,Memo,End,/x/");

  HKeyRec& closing = Add(102, 'B');
  closing.CloseWndClass[0] = u"A";
  closing.CloseWndTitleR[0] = u"C";
  EXPECT_EQ(HotKeySummary(closing), u"閉じる: A,C");

  HKeyRec& minimising = Add(103, 'C');
  minimising.MinimizeWndTitle[0] = u"B";
  minimising.MinimizeWndTitleM[0] = u"D";
  EXPECT_EQ(HotKeySummary(minimising), u"最小化: B,D");
}

TEST_F(HotKeySummaryTest, ProgramsShowByFileNameDocumentsByWholePath) {
  struct Case {
    const char16_t* execute;
    const char16_t* params;
    const char16_t* expected;
  };
  const Case cases[] = {
      {u"C:\\Tools\\app.exe", u"", u"app.exe"},
      {u"C:\\Tools\\APP.EXE", u"-x", u"APP.EXE -x"},
      {u"D:\\bin\\run.Com", u"", u"run.Com"},
      {u"\\\\server\\share\\go.bat", u"a b", u"go.bat a b"},
      {u"tools/app.exe", u"", u"app.exe"},
      {u"app.exe", u"", u"app.exe"},
      {u"C:\\Docs\\list.txt", u"", u"C:\\Docs\\list.txt"},
      {u"C:\\Docs\\list.txt", u"/p", u"C:\\Docs\\list.txt /p"},
      {u"C:\\Tools\\app.exe.lnk", u"", u"C:\\Tools\\app.exe.lnk"},
      {u"C:\\prog.exe\\readme", u"", u"C:\\prog.exe\\readme"},  // the dot is in a folder
      {u"C:\\Tools\\exe", u"", u"C:\\Tools\\exe"},
  };
  for (const Case& c : cases) {
    HKeyRec& rec = Rec();
    rec.Execute[0] = c.execute;
    rec.ExeParam[0] = c.params;
    EXPECT_EQ(Summary(), c.expected) << Utf16ToUtf8(c.execute);
  }
}

TEST_F(HotKeySummaryTest, ParametersAloneDoNotMakeAProgram) {
  Rec().ExeParam[0] = u"-x";
  Rec().Sound = u"a.wav";
  EXPECT_EQ(Summary(), u"サウンド: a.wav");
}

TEST_F(HotKeySummaryTest, OnlyTheFirstSlotCounts) {
  HKeyRec& rec = Rec();
  rec.Execute[1] = u"C:\\Tools\\app.exe";
  rec.ActivateWndClass[1] = u"Notepad";
  rec.CloseWndTitle[9] = u"Mail";
  rec.MinimizeWndClass[2] = u"Chat";
  EXPECT_EQ(Summary(), u"");
  rec.ZrMacro = u"m.mac";
  EXPECT_EQ(Summary(), u"ZRマクロ: m.mac");
}

TEST_F(HotKeySummaryTest, RowsListOnlyGlobalHotKeysWithTheirDisplayText) {
  Add(100, kShortCutCtrl | 'Z').Description = u"below the range";
  Add(101, kWinFlag | kShortCutShift | kShortCutAlt | 'B').Description = u"first";
  Add(200, kShortCutCtrl | 0x70).SetCommand(u"EXIT");
  Add(201, kShortCutCtrl | 'C').Description = u"above the range";
  Add(1001, 0).Description = u"keyword";
  Add(1251, 0).Description = u"launcher entry";
  Add(102, 0);  // a shortcut without a key still gets a row
  EXPECT_EQ(Rows(), (std::vector<std::u16string>{
                        u"\t",
                        u"Ctrl+F1\tコマンド: EXIT",
                        u"Win+Shift+Alt+B\tfirst",
                    }));
}

TEST_F(HotKeySummaryTest, RowsSortWithoutRegardToCaseAndKeepTableOrderOnTies) {
  layout_.SetName(0xBC, u"comma");
  layout_.SetName(0xBD, u"Comma!");
  layout_.SetName(0xBE, u"COMMA");
  const KeyNameTable names(layout_);
  Add(101, 'D').Description = u"d";
  Add(102, 0xBC).Description = u"x";
  Add(103, 'Z').Description = u"z";
  Add(104, 0xBD).Description = u"";
  Add(105, 0xBE).Description = u"X";
  Add(106, kShortCutCtrl | 'A').Description = u"ctrl";
  // In code-unit order the upper-case names would come first and "comma" after "Ctrl+A".
  EXPECT_EQ(HotKeyListRows(list_, names, locale_), (std::vector<std::u16string>{
                                                       u"comma\tx",
                                                       u"COMMA\tX",
                                                       u"Comma!\t",
                                                       u"Ctrl+A\tctrl",
                                                       u"D\td",
                                                       u"Z\tz",
                                                   }));
}

TEST(HotKeyRowLayoutTest, SplitsAtTheFirstTabAndPlacesTheSummaryAfterTheWidestText) {
  HotKeyRowLayout layout = LayoutHotKeyRow(u"Ctrl+A\tnotes\twith tab", 57);
  EXPECT_EQ(layout.left, u"Ctrl+A");
  EXPECT_EQ(layout.right, u"notes\twith tab");
  EXPECT_EQ(layout.rightX, 57 + 32);

  layout = LayoutHotKeyRow(u"Ctrl+A\t", 0);
  EXPECT_EQ(layout.left, u"Ctrl+A");
  EXPECT_EQ(layout.right, u"");
  EXPECT_EQ(layout.rightX, 32);

  layout = LayoutHotKeyRow(u"no tab", 10);
  EXPECT_EQ(layout.left, u"no tab");
  EXPECT_EQ(layout.right, u"");
}

}  // namespace
