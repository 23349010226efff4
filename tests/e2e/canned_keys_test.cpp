// The canned-text page's keys and mouse, row by row of its key table: the set buttons and
// Alt+1…8, Delete and 項目を削除 (which touch the canned-text file and never the history), Enter
// and Ctrl+C, the edit panel (Ctrl+Enter, Enter and TAB in the body, Enter in the label, Esc,
// the escape-code menu, an OK that meets a file changed elsewhere) and dragging a row.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "clip_driver.h"
#include "clip_keys_driver.h"
#include "desktop_driver.h"
#include "kelvo_session.h"

namespace {

using namespace clip_ids;

constexpr UINT kHotMods = MOD_CONTROL | MOD_ALT | MOD_SHIFT;

class CannedKeysTest : public ::testing::Test {
 protected:
  // Kelvo with CLIPBOARD_T on Ctrl+Alt+Shift+T; set 1 is TEXTDATA.txt, set 2 second.txt, set 3
  // names a missing file.
  [[nodiscard]] bool Start(const std::string& set1, const std::string& general = "") {
    const std::string set2 = "s2a\ns2b\n";
    WriteBytes(kelvo.Folder() + L"\\TEXTDATA.txt", CrLf(set1));
    WriteBytes(kelvo.Folder() + L"\\second.txt", CrLf(set2));
    kelvo.WriteIni(CrLf(
        "[General]\nVersion=169\n" + general +
        "[HotKey1]\nKey=Ctrl+Alt+Shift+T\nCommand=CLIPBOARD_T\n"
        "[ClipboardList]\nEnable=1\nSaveHistory=1\nPosX=60\nPosY=60\nTextDataFile=TEXTDATA.txt\n"
        "TextDataBtn1=TEXTDATA.txt\nTextDataBtn2=second.txt\nTextDataBtn3=missing.txt\n"));
    if (!kelvo.Start()) return false;
    clipWindow = ClipWindowOf(kelvo.ProcessId());
    view = std::make_unique<ClipWindowView>(clipWindow, [this] { return pad.EditText(); });
    return clipWindow != nullptr;
  }
  [[nodiscard]] bool Open() { return OpenClipWindow(clipWindow, pad, kHotMods, 'T'); }
  std::string File() { return kelvo.ReadFileBytes(L"TEXTDATA.txt"); }
  ClipStep Key(const char* row, UINT mods, UINT key, std::function<bool(const ClipScreen&)> shows) {
    return {row, [=] { PressHotKey(mods, key); }, std::move(shows)};
  }
  std::wstring FieldText(int id) {
    wchar_t text[512] = {};
    SendMessageW(view->Control(id), WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text));
    return text;
  }

  KelvoSession kelvo;
  TestWindow pad{L"Canned Keys Pad"};
  HWND clipWindow = nullptr;
  std::unique_ptr<ClipWindowView> view;
};

TEST_F(CannedKeysTest, SetsDeletePasteAndCopyWorkOnTheCannedTextsAlone) {
  ASSERT_TRUE(Start("one\ntwo\nthree\n"));
  ASSERT_TRUE(CopyAndWait(kelvo, "kept in the history"));
  ASSERT_TRUE(Open());
  RunClipSteps(
      *view,
      {
          {"the set button 2 shows set 2",
           [&] { ClickAt(CentreOf(view->Control(kFirstSetButton + 1))); },
           [](auto& s) { return s.rows == 2 && s.status0 == L"  1/  2" && s.status1 == L"s2a"; }},
          Key("Alt+1 shows set 1", MOD_ALT, '1',
              [](auto& s) {
                return s.rows == 3 && s.status0 == L"  1/  3" && s.status1 == L"one";
              }),
          Key("Alt+3 names a missing file: set 1 stays", MOD_ALT, '3',
              [](auto& s) { return s.rows == 3 && s.status1 == L"one"; }),
          Key("Down selects the next text", 0, VK_DOWN,
              [](auto& s) { return s.selected == 1 && s.status0 == L"  2/  3"; }),
          Key("Delete deletes it from the canned texts", 0, VK_DELETE,
              [&](auto& s) {
                return s.rows == 2 && s.status0 == L"  2/  2" && s.status1 == L"three" &&
                       File() == "one\r\nthree\r\n";
              }),
          Key("Apps opens the menu", 0, VK_APPS, [](auto& s) { return s.menuOpen; }),
          Key("D (項目を削除) deletes the selected text", 0, 'D',
              [&](auto& s) {
                return s.rows == 1 && s.status0 == L"  1/  1" && File() == "one\r\n";
              }),
          Key("Up on the only row stays on it", 0, VK_UP, [](auto& s) { return s.selected == 0; }),
          Key("Enter pastes the text", 0, VK_RETURN,
              [](auto& s) { return !s.visible && s.pad == L"one"; }),
      });
  // The set switches wrote the set's name as it lies in Kelvo's folder; the history lost
  // nothing and did not take the pasted canned text.
  EXPECT_NE(kelvo.ReadIniText().find(u"TextDataFile=TEXTDATA.txt\r\n"), std::u16string::npos)
      << Utf8(kelvo.ReadIniText());
  EXPECT_EQ(Joined(StoredHistory(kelvo)), "kept in the history;");
  ASSERT_TRUE(Open());
  RunClipSteps(*view, {
                          Key("Home selects the first text", 0, VK_HOME,
                              [](auto& s) { return s.selected == 0; }),
                          Key("Ctrl+C puts it on the clipboard and hides", MOD_CONTROL, 'C',
                              [](auto& s) { return !s.visible && s.clipboard == L"one"; }),
                      });
}

TEST_F(CannedKeysTest, TheEditPanelTakesEnterAndTabInTheBodyAndNeverLosesAnEdit) {
  ASSERT_TRUE(Start("Greeting\tHello\nplain\n"));
  ASSERT_TRUE(Open());
  RunClipSteps(
      *view,
      {
          Key("Home selects the greeting", 0, VK_HOME, [](auto& s) { return s.selected == 0; }),
          Key("Ctrl+Enter opens the edit panel", MOD_CONTROL, VK_RETURN,
              [&](auto& s) {
                return s.editPanel && FieldText(kLabelEdit) == L"Greeting" &&
                       FieldText(kMemo) == L"Hello";
              }),
          Key("Esc presses キャンセル", 0, VK_ESCAPE,
              [&](auto& s) {
                return !s.editPanel && s.visible && File() == "Greeting\tHello\r\nplain\r\n";
              }),
          Key("Ctrl+Enter opens it again", MOD_CONTROL, VK_RETURN,
              [](auto& s) { return s.editPanel; }),
          {"a, Enter, b, TAB are typed into the body",
           [&] {
             SendMessageW(view->Control(kMemo), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L""));
             TypeKeys("a");
             PressHotKey(0, VK_RETURN);
             TypeKeys("b");
             PressHotKey(0, VK_TAB);
           },
           [&](auto& s) { return s.editPanel && FieldText(kMemo) == L"a\r\nb\t"; }},
          {"Enter in the label presses OK",
           [&] {
             ClickAt(CentreOf(view->Control(kLabelEdit)));
             PressHotKey(0, VK_RETURN);
           },
           [&](auto& s) { return !s.editPanel && File() == "Greeting\ta\\nb\\t\r\nplain\r\n"; }},
          Key("Down selects the plain text", 0, VK_DOWN, [](auto& s) { return s.selected == 1; }),
          Key("Ctrl+Enter edits it", MOD_CONTROL, VK_RETURN, [](auto& s) { return s.editPanel; }),
          Key("Apps in the body opens the escape-code menu", 0, VK_APPS,
              [](auto& s) { return s.menuOpen; }),
          Key("Up, Enter chooses its last code, \\S", 0, VK_UP, [](auto& s) { return s.menuOpen; }),
          Key("the code is typed into the body", 0, VK_RETURN,
              [&](auto& s) {
                return !s.menuOpen && FieldText(kMemo).find(L"\\S") != std::wstring::npos;
              }),
      });
  // The user's editor saves the file meanwhile: OK keeps the panel and what was typed.
  WriteBytes(kelvo.Folder() + L"\\TEXTDATA.txt", "new\r\nGreeting\ta\\nb\\t\r\nplain\r\n");
  const std::wstring typed = FieldText(kMemo);
  ClickAt(CentreOf(view->Control(kOk)));
  std::vector<MessageBoxInfo> boxes;
  ASSERT_TRUE(WaitFor([&] { return !(boxes = MessageBoxesOf(kelvo.ProcessId())).empty(); }));
  EXPECT_EQ(boxes[0].caption, L"警告");
  EXPECT_NE(boxes[0].text.find(L"編集中の内容はそのまま残っています。"), std::wstring::npos)
      << Narrow(boxes[0].text);
  EXPECT_EQ(GetWindow(boxes[0].hwnd, GW_OWNER), clipWindow);
  CloseMessageBox(boxes[0].hwnd);
  RunClipSteps(
      *view, {
                 {"the panel stays with the typed text; the list shows the file read again", [] {},
                  [&](auto& s) { return s.editPanel && FieldText(kMemo) == typed && s.rows == 3; }},
                 {"OK again writes the edit into the file as it is now",
                  [&] { ClickAt(CentreOf(view->Control(kOk))); },
                  [&](auto& s) {
                    return !s.editPanel &&
                           File() == "new\r\nGreeting\ta\\nb\\t\r\n" + Narrow(typed) + "\r\n";
                  }},
             });
}

TEST_F(CannedKeysTest, DraggingARowMovesIt) {
  ASSERT_TRUE(Start("r0\nr1\nr2\nr3\nr4\n"));
  ASSERT_TRUE(Open());
  const HWND list = view->Control(kCannedList);
  RunClipSteps(
      *view,
      {
          {"dragging row 0 onto row 3 puts it after row 3",
           [&] { DragFromTo(RowPoint(list, 0), RowPoint(list, 3)); },
           [&](auto& s) { return s.selected == 3 && File() == "r1\r\nr2\r\nr3\r\nr0\r\nr4\r\n"; }},
          {"dragging it back onto row 0 puts it before row 0",
           [&] { DragFromTo(RowPoint(list, 3), RowPoint(list, 0)); },
           [&](auto& s) { return s.selected == 0 && File() == "r0\r\nr1\r\nr2\r\nr3\r\nr4\r\n"; }},
      });
}

TEST_F(CannedKeysTest, AnExitWhileTheReloadQuestionIsOpenWaitsForTheAnswer) {
  // The editor is a program that ends at once, as an editor that hands the file to a running one.
  const std::wstring editor = kelvo.CopyProgram(L"record_args.exe");
  ASSERT_TRUE(Start("before\n", "Editor=" + Narrow(editor) + "\n"));
  ASSERT_TRUE(Open());
  RunClipSteps(*view,
               {
                   Key("Apps opens the menu", 0, VK_APPS, [](auto& s) { return s.menuOpen; }),
                   Key("E opens the file in the editor and asks whether to read it again", 0, 'E',
                       [&](auto&) { return !MessageBoxesOf(kelvo.ProcessId()).empty(); }),
               });
  const std::vector<MessageBoxInfo> boxes = MessageBoxesOf(kelvo.ProcessId());
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text, L"定型文の定義ファイルを再読み込みしますか");
  EXPECT_EQ(GetWindow(boxes[0].hwnd, GW_OWNER), clipWindow);
  // The user's editor saved the file, and Kelvo is told to end while the question is open.
  WriteBytes(kelvo.Folder() + L"\\TEXTDATA.txt", "after\r\n");
  DWORD_PTR answer = 0;
  ASSERT_NE(
      SendMessageTimeoutW(kelvo.MainWindow(), WM_CLOSE, 0, 0, SMTO_ABORTIFHUNG, 10000, &answer), 0);
  EXPECT_TRUE(kelvo.Running()) << "the exit did not wait for the question";
  EXPECT_TRUE(IsWindow(boxes[0].hwnd));
  // Yes reads the file again; then Kelvo ends as asked, in good order.
  PostMessageW(boxes[0].hwnd, WM_COMMAND, IDYES, 0);
  EXPECT_EQ(kelvo.WaitForExit(), 0);
}

}  // namespace
