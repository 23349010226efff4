// The clipboard window's keys, row by row of its key table, as a user presses them: the list's
// keys, the search box with its filters and word history, the context menu's keys, and 行毎に展開
// on a full history. Each step checks what the window shows afterwards.
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

class ClipKeysTest : public ::testing::Test {
 protected:
  // Kelvo with CLIPBOARD on Ctrl+Alt+Shift+H and the history file holding these entries.
  [[nodiscard]] bool Start(const std::vector<std::string>& history, const std::string& more = "") {
    WriteBytes(kelvo.Folder() + L"\\CLIPDATA.txt", HistoryFile(history));
    kelvo.WriteIni(
        CrLf("[General]\nVersion=169\n"
             "[HotKey1]\nKey=Ctrl+Alt+Shift+H\nCommand=CLIPBOARD\n"
             "[ClipboardList]\nEnable=1\nSaveHistory=1\nPosX=60\nPosY=60\n" +
             more));
    return Restart();
  }
  [[nodiscard]] bool Restart() {
    if (!kelvo.Running() && !kelvo.Start()) return false;
    clipWindow = ClipWindowOf(kelvo.ProcessId());
    view = std::make_unique<ClipWindowView>(clipWindow, [this] { return pad.EditText(); });
    return clipWindow != nullptr;
  }
  [[nodiscard]] bool Open() { return OpenClipWindow(clipWindow, pad, kHotMods, 'H'); }
  ClipStep Key(const char* row, UINT mods, UINT key, std::function<bool(const ClipScreen&)> shows) {
    return {row, [=] { PressHotKey(mods, key); }, std::move(shows)};
  }
  ClipStep Reopen() {
    return {"the hotkey shows the window again", [this] { ASSERT_TRUE(Open()); },
            [](const ClipScreen& s) { return s.visible && s.selected == 0; }};
  }

  KelvoSession kelvo;
  TestWindow pad{L"Clip Keys Pad"};
  HWND clipWindow = nullptr;
  std::unique_ptr<ClipWindowView> view;
};

TEST_F(ClipKeysTest, ListKeysMoveWrapDeleteCopyPasteAndOpenTheMenu) {
  ASSERT_TRUE(Start({"alpha", "beta", "two\nlines", "gamma"}));
  ASSERT_TRUE(Open());
  const HWND list = view->Control(kHistoryList);
  RunClipSteps(
      *view,
      {
          Key("Up on the first row selects the last", 0, VK_UP,
              [](auto& s) { return s.selected == 3 && s.status0 == L"  4/  4"; }),
          Key("Down on the last row selects the first", 0, VK_DOWN,
              [](auto& s) { return s.selected == 0 && s.status0 == L"  1/  4"; }),
          Key("Down moves to the next row", 0, VK_DOWN,
              [](auto& s) { return s.selected == 1 && s.status1 == L"       4文字/     1行"; }),
          Key("Delete deletes the selected entry", 0, VK_DELETE,
              [](auto& s) {
                return s.rows == 3 && s.selected == 1 && s.status0 == L"  2/  3" &&
                       s.status1 == L"      10文字/     2行";
              }),
          Key("Ctrl+C puts the entry on the clipboard and hides", MOD_CONTROL, 'C',
              [](auto& s) { return !s.visible && s.clipboard == L"two\r\nlines"; }),
          Reopen(),
          Key("Down, then Enter pastes the entry into the window that was in front", 0, VK_DOWN,
              [](auto& s) { return s.selected == 1; }),
          Key("Enter pastes", 0, VK_RETURN,
              [](auto& s) { return !s.visible && s.pad == L"alpha"; }),
          Reopen(),
          {"A double-click pastes the row under the pointer",
           [&] { ClickAt(RowPoint(list, 2), true); },
           [](auto& s) { return !s.visible && s.pad == L"alphagamma"; }},
          Reopen(),
          Key("Apps opens the context menu", 0, VK_APPS, [](auto& s) { return s.menuOpen; }),
          Key("Esc closes only the menu", 0, VK_ESCAPE,
              [](auto& s) { return !s.menuOpen && s.visible; }),
          Key("Shift+F10 opens the context menu", MOD_SHIFT, VK_F10,
              [](auto& s) { return s.menuOpen; }),
          Key("Esc closes it again", 0, VK_ESCAPE,
              [](auto& s) { return !s.menuOpen && s.visible; }),
          Key("Alt+T shows the canned-text page", MOD_ALT, 'T',
              [](auto& s) { return s.cannedPage && s.status0.empty(); }),
          Key("Alt+C shows the history page", MOD_ALT, 'C',
              [](auto& s) { return !s.cannedPage && s.status0 == L"  1/  3"; }),
          Key("Esc hides the window", 0, VK_ESCAPE, [](auto& s) { return !s.visible; }),
      });
  // The pastes and the copy went through the clipboard and moved their entries to the top.
  EXPECT_EQ(Joined(StoredHistory(kelvo)), "gamma;alpha;");
}

TEST_F(ClipKeysTest, TheSearchBoxFiltersAndKeepsItsWordsAcrossARestart) {
  ASSERT_TRUE(
      Start({"kelvo one", "千代田区", "test two", "other", "KELVO three"}, "PreviewLn=1\n"));
  ASSERT_TRUE(Open());
  const HWND find = view->Control(kFind);
  const HWND findEdit = FindWindowExW(find, nullptr, L"Edit", nullptr);
  const auto click = [&](int id) { return [&, id] { ClickAt(CentreOf(view->Control(id))); }; };
  RunClipSteps(*view,
               {
                   {"Tab moves to the search box; kelvo and Enter extract",
                    [] {
                      PressHotKey(0, VK_TAB);
                      TypeKeys("kelvo");
                      PressHotKey(0, VK_RETURN);
                    },
                    [](auto& s) { return s.rows == 2 && s.status0 == L"  1/  2(5)"; }},
                   {"解除 shows every entry again", click(kRelease),
                    [](auto& s) { return s.rows == 5 && s.status0 == L"  1/  5"; }},
                   {"除外 removes the rows with the word",
                    [&] {
                      SendMessageW(findEdit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"千代田"));
                      ClickAt(CentreOf(view->Control(kExcept)));
                    },
                    [](auto& s) { return s.rows == 4 && s.status0 == L"  1/  4(5)"; }},
                   {"Extract works on the rows left",
                    [&] {
                      ClickAt(CentreOf(findEdit));
                      SendMessageW(findEdit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"test"));
                      PressHotKey(0, VK_RETURN);
                    },
                    [](auto& s) {
                      return s.rows == 1 && s.status0 == L"  1/  1(5)" && s.preview == L"test two";
                    }},
                   Key("F4 opens the list of search words", 0, VK_F4,
                       [&](auto& s) {
                         return s.searchListOpen && SendMessageW(find, CB_GETCOUNT, 0, 0) == 3;
                       }),
                   Key("Esc closes only the list", 0, VK_ESCAPE,
                       [](auto& s) { return !s.searchListOpen && s.visible; }),
                   Key("Ctrl+C in the search box copies the selected entry and hides", MOD_CONTROL,
                       'C', [](auto& s) { return !s.visible && s.clipboard == L"test two"; }),
               });
  // Hiding wrote the words, newest first; they come back after a restart.
  EXPECT_TRUE(WaitFor([&] {
    const std::u16string ini = kelvo.ReadIniText();
    return ini.find(u"[FindHistory]\r\nItem1=test\r\nItem2=千代田\r\nItem3=kelvo\r\nItem4=\r\n") !=
           std::u16string::npos;
  })) << Utf8(kelvo.ReadIniText());
  EXPECT_EQ(kelvo.Stop(), 0);
  ASSERT_TRUE(Restart());
  ASSERT_TRUE(Open());
  EXPECT_EQ(SendMessageW(view->Control(kFind), CB_GETCOUNT, 0, 0), 3);

  // 表示項目を全て削除 deletes the rows shown; the status bar and the preview follow at once.
  RunClipSteps(*view, {
                          {"kelvo and Enter extract two rows",
                           [] {
                             PressHotKey(0, VK_TAB);
                             TypeKeys("kelvo");
                             PressHotKey(0, VK_RETURN);
                             PressHotKey(0, VK_TAB);
                           },
                           [](auto& s) { return s.rows == 2 && s.preview == L"kelvo one"; }},
                          Key("Apps, K deletes the two shown entries", 0, VK_APPS,
                              [](auto& s) { return s.menuOpen; }),
                          Key("the rest are shown", 0, 'K',
                              [](auto& s) {
                                return s.rows == 3 && s.status0 == L"  1/  3" &&
                                       s.preview == L"test two";
                              }),
                          Key("Apps, K once more deletes every entry", 0, VK_APPS,
                              [](auto& s) { return s.menuOpen; }),
                          Key("nothing is left to show", 0, 'K',
                              [](auto& s) {
                                return s.rows == 0 && s.status0 == L"-/0(0)" && s.status1.empty() &&
                                       !s.previewShown;
                              }),
                      });
}

TEST_F(ClipKeysTest, ExpandByLinesOnAFullHistoryAndTheRepeatedLinesSurviveARestart) {
  ASSERT_TRUE(Start({"top", "x\ny", "y", "m\nn"}, "MaxItems=4\n"));
  ASSERT_TRUE(Open());
  RunClipSteps(
      *view,
      {
          Key("Up selects the last entry", 0, VK_UP, [](auto& s) { return s.selected == 3; }),
          Key("Apps opens the menu", 0, VK_APPS, [](auto& s) { return s.menuOpen; }),
          Key("X at the end of a full history would cut the entry's lines", 0, 'X',
              [&](auto&) { return !MessageBoxesOf(kelvo.ProcessId()).empty(); }),
      });
  // The refusal says why, in a box of the window's own that keeps it from taking clicks.
  const std::vector<MessageBoxInfo> boxes = MessageBoxesOf(kelvo.ProcessId());
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].caption, L"警告");
  EXPECT_EQ(boxes[0].text,
            L"この項目を行毎に展開すると、行の一部が履歴の最大件数 (MaxItems = 4) を超えて失われる"
            L"ため、展開しませんでした。");
  EXPECT_EQ(GetWindow(boxes[0].hwnd, GW_OWNER), clipWindow);
  EXPECT_FALSE(IsWindowEnabled(clipWindow));
  CloseMessageBox(boxes[0].hwnd);
  EXPECT_TRUE(WaitFor([&] { return IsWindowEnabled(clipWindow) != FALSE; }));
  // The box gives the activation back; Wine may hand it to its desktop window a moment later
  // (a late focus event), and the next key would then reach neither window.
  ASSERT_TRUE(BringToFront(clipWindow));

  RunClipSteps(
      *view,
      {
          Key("Home selects the first entry", 0, VK_HOME, [](auto& s) { return s.selected == 0; }),
          Key("Down selects the two lines", 0, VK_DOWN, [](auto& s) { return s.selected == 1; }),
          Key("Apps opens the menu", 0, VK_APPS, [](auto& s) { return s.menuOpen; }),
          Key("X expands them in place; the oldest entry makes room", 0, 'X',
              [](auto& s) {
                return s.rows == 4 && s.status0 == L"  2/  4" &&
                       s.status1 == L"       1文字/     1行";
              }),
      });
  EXPECT_EQ(Joined(StoredHistory(kelvo)), "top;x;y;y;");
  EXPECT_EQ(kelvo.Stop(), 0);
  ASSERT_TRUE(Restart());
  EXPECT_EQ(Joined(StoredHistory(kelvo)), "top;x;y;y;");
}

}  // namespace
