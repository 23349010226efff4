#include "core/paste_into_target.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/fake_paste_sender.h"

namespace {

class PasteIntoTargetTest : public ::testing::Test, protected FakePasteServices {
 protected:
  PasteIntoTargetTest() {
    windows.Add(7, u"target", u"Notepad");
    windows.Add(8, u"", u"RichEdit");
  }
  PasteOutcome Paste(const std::u16string& text,
                     ClipboardPrivacy privacy = ClipboardPrivacy::kShared) {
    return PasteIntoTarget(text, target, u"EDIT;TEDIT", services, privacy);
  }
};

}  // namespace

TEST_F(PasteIntoTargetTest, TheTextGoesOnTheClipboardAsShared) {
  EXPECT_EQ(Paste(u"a\r\nb", ClipboardPrivacy::kShared), PasteOutcome::kPastedByKeys);
  EXPECT_EQ(clipboard.text, u"a\r\nb");  // as it is: no macros
  EXPECT_FALSE(clipboard.isPrivate);
  EXPECT_EQ(Paste(u"\\Y", ClipboardPrivacy::kPrivate), PasteOutcome::kPastedByKeys);
  EXPECT_EQ(clipboard.text, u"\\Y");
  EXPECT_TRUE(clipboard.isPrivate);
  EXPECT_EQ(Paste(u""), PasteOutcome::kNothing);
  EXPECT_EQ(clipboard.writes.size(), 2u);
}

TEST_F(PasteIntoTargetTest, CtrlVWaitsUntilShiftAltAndWinAreReleased) {
  keys.HoldFor(kVkShift, 3);  // Shift+Enter chose the entry
  keys.HoldFor(kVkRWin, 5);
  EXPECT_EQ(Paste(u"x"), PasteOutcome::kPastedByKeys);
  EXPECT_EQ(keys.Events(),
            (std::vector<std::string>{"down 0x11", "down 0x56", "up 0x56", "up 0x11"}));
  // Five polls of 10 ms, then the usual pause before the keys.
  EXPECT_EQ(std::vector<std::string>(keys.log.begin(), keys.log.begin() + 6),
            (std::vector<std::string>{"sleep 10", "sleep 10", "sleep 10", "sleep 10", "sleep 10",
                                      "sleep 50"}));
}

TEST_F(PasteIntoTargetTest, AModifierHeldTooLongLeavesTheTextOnTheClipboard) {
  keys.HoldForever(kVkMenu);
  EXPECT_EQ(Paste(u"x"), PasteOutcome::kOnClipboard);
  EXPECT_TRUE(keys.Events().empty());
  EXPECT_EQ(keys.NowMs(), static_cast<std::uint64_t>(kModifierWaitMs));
  EXPECT_EQ(clipboard.text, u"x");
  EXPECT_EQ(desktop.log.back(), "detach 70");
}

TEST_F(PasteIntoTargetTest, ThePasteMessageNeedsNoReleasedKeys) {
  windows.Find(8)->cls = u"Edit";
  keys.HoldForever(kVkShift);
  EXPECT_EQ(Paste(u"x"), PasteOutcome::kPastedByMessage);
  EXPECT_EQ(sender.log, (std::vector<std::string>{"paste 8"}));
  EXPECT_TRUE(keys.log.empty());
}
