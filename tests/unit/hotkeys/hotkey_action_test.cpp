#include "hotkeys/hotkey_action.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

InternalAction Internal(KelvoCommand command, std::optional<int> set = std::nullopt) {
  return InternalAction{command, set};
}

SystemAction System(SystemCommand command, std::u16string word, std::u16string parameter = u"") {
  return SystemAction{command, std::move(word), std::move(parameter)};
}

TEST(HotKeyActionTest, NoCommandRunsTheSlots) {
  EXPECT_EQ(ParseHotKeyAction(u""), HotKeyAction{SlotAction{}});
  // A value of blanks alone is no command either (it used to be reported as the unknown "").
  EXPECT_EQ(ParseHotKeyAction(u" \t "), HotKeyAction{SlotAction{}});
}

TEST(HotKeyActionTest, InternalCommandsAreWholeValuesInAnyCase) {
  EXPECT_EQ(ParseHotKeyAction(u"RECYCLE"), HotKeyAction{Internal(KelvoCommand::kReload)});
  EXPECT_EQ(ParseHotKeyAction(u"recycle"), HotKeyAction{Internal(KelvoCommand::kReload)});
  EXPECT_EQ(ParseHotKeyAction(u"  Exit\t"), HotKeyAction{Internal(KelvoCommand::kExit)});
  EXPECT_EQ(ParseHotKeyAction(u"CLIPBOARD"), HotKeyAction{Internal(KelvoCommand::kClipboard)});
  EXPECT_EQ(ParseHotKeyAction(u"clipboard_c"),
            HotKeyAction{Internal(KelvoCommand::kClipboardHistory)});
  // Followed by anything, an internal command is an unknown word to the action executor.
  EXPECT_EQ(ParseHotKeyAction(u"RECYCLE NOW"),
            HotKeyAction{System(SystemCommand::kUnknown, u"RECYCLE", u"NOW")});
  EXPECT_EQ(ParseHotKeyAction(u"CLIPBOARDX"),
            HotKeyAction{System(SystemCommand::kUnknown, u"CLIPBOARDX")});
}

TEST(HotKeyActionTest, CannedTextCommandCarriesItsSet) {
  EXPECT_EQ(ParseHotKeyAction(u"CLIPBOARD_T"), HotKeyAction{Internal(KelvoCommand::kCannedText)});
  EXPECT_EQ(ParseHotKeyAction(u"CLIPBOARD_T3"),
            HotKeyAction{Internal(KelvoCommand::kCannedText, 2)});
  EXPECT_EQ(ParseHotKeyAction(u"clipboard_t8 "),
            HotKeyAction{Internal(KelvoCommand::kCannedText, 7)});
  // A suffix that is not a number chooses set 1.
  EXPECT_EQ(ParseHotKeyAction(u"CLIPBOARD_TX"),
            HotKeyAction{Internal(KelvoCommand::kCannedText, 0)});
  EXPECT_EQ(ParseHotKeyAction(u"CLIPBOARD_T 3"),
            HotKeyAction{Internal(KelvoCommand::kCannedText, 2)});
  // A number too large for 32 bits is no number either.
  EXPECT_EQ(ParseHotKeyAction(u"CLIPBOARD_T99999999999"),
            HotKeyAction{Internal(KelvoCommand::kCannedText, 0)});
  for (const char16_t* outside :
       {u"CLIPBOARD_T9", u"CLIPBOARD_T0", u"CLIPBOARD_T-1", u"CLIPBOARD_T-2147483648"}) {
    EXPECT_EQ(ParseHotKeyAction(outside),
              HotKeyAction{Internal(KelvoCommand::kCannedText, kNoCannedSet)})
        << testing::PrintToString(std::u16string(outside));
  }
}

TEST(HotKeyActionTest, SystemCommandsSplitTheirParameterAtTheFirstBlank) {
  EXPECT_EQ(ParseHotKeyAction(u"REBOOT"), HotKeyAction{System(SystemCommand::kReboot, u"REBOOT")});
  EXPECT_EQ(ParseHotKeyAction(u"setpos_fgwnd  0, 0 ,MAX,HALF "),
            HotKeyAction{
                System(SystemCommand::kSetForegroundPosition, u"setpos_fgwnd", u"0, 0 ,MAX,HALF")});
  EXPECT_EQ(ParseHotKeyAction(u" CD_OPEN E"),
            HotKeyAction{System(SystemCommand::kCdOpen, u"CD_OPEN", u"E")});
  // An unknown word keeps its spelling for the message that names it.
  EXPECT_EQ(ParseHotKeyAction(u"FOO BAR"),
            HotKeyAction{System(SystemCommand::kUnknown, u"FOO", u"BAR")});
  // Only a blank separates the parameter; a tab is part of the word.
  EXPECT_EQ(ParseHotKeyAction(u"CD_OPEN\tE"),
            HotKeyAction{System(SystemCommand::kUnknown, u"CD_OPEN\tE")});
}

TEST(HotKeyActionTest, EveryCommandWordParsesToAKnownCommand) {
  const std::vector<std::u16string_view> words = CommandWords();
  EXPECT_EQ(words.size(), 27u);
  EXPECT_NE(std::find(words.begin(), words.end(), u"CLIPBOARD_T"), words.end());
  for (const std::u16string_view word : words) {
    const HotKeyAction action = ParseHotKeyAction(word);
    const auto* system = std::get_if<SystemAction>(&action);
    EXPECT_TRUE(!system || system->command != SystemCommand::kUnknown)
        << testing::PrintToString(std::u16string(word));
  }
}

}  // namespace
