#include "hotkeys/key_sequence.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/fake_hotkey_registrar.h"
#include "support/fake_key_input.h"
#include "support/fake_locale.h"

namespace {

using Log = std::vector<std::string>;

class KeySequenceTest : public ::testing::Test {
 protected:
  // A keyword record: no registration, key K with Ctrl and Alt.
  HKeyRec& Record(HKeyShortCut shortCut = kShortCutCtrl | kShortCutAlt | 0x4B) {
    record_ = std::make_unique<HKeyRec>(registrar_, 0x1234, 1001, shortCut);
    return *record_;
  }
  KeySequenceResult Send(std::u16string_view text, int delay = 0) {
    if (!record_) Record();
    return SendKeySequence(*record_, text, delay, keys_, locale_, pressed_);
  }

  FakeHotKeyRegistrar registrar_;
  std::unique_ptr<HKeyRec> record_;
  FakeKeyInput keys_;
  FakeLocale locale_;
  PressedKeys pressed_;
};

TEST_F(KeySequenceTest, TokensBecomeKeyEvents) {
  const struct {
    std::u16string text;
    Log events;
  } cases[] = {
      {u"A,/A", {"down 0x41", "up 0x41"}},
      {u"SHIFT,A,/A,/SHIFT", {"down 0x10", "down 0x41", "up 0x41", "up 0x10"}},
      {u"f5,/f5", {"down 0x74", "up 0x74"}},
      {u"F5,/F5", {"down 0x74", "up 0x74"}},
      {u"F1,F9,F10,F12", {"down 0x70", "down 0x78", "down 0x79", "down 0x7B"}},
      {u"F13", {"down 0x46"}},    // not a key word: its first character
      {u"ENTER", {"down 0x45"}},  // E, not the Enter key
      {u"WIN,/WIN", {"down 0x5B", "up 0x5B"}},
      {u"alt,Ctrl,tab", {"down 0x12", "down 0x11", "down 0x09"}},
      {u"a,7", {"down 0x41", "down 0x37"}},
      {u".", {"down 0x2E"}},       // the character's code, here the Delete key
      {u"\u3042", {"down 0x42"}},  // low 8 bits of U+3042
      {u"ALT , TAB , /TAB , /ALT", {"down 0x12", "down 0x09", "up 0x09", "up 0x12"}},
      {u"\tA\r\n", {"down 0x41"}},  // every character up to U+0020 is trimmed
      {u"A,", {"down 0x41"}},       // a trailing comma ends the sequence
      {u"", {}},
      {u"/ A", {"up 0x20"}},  // trimmed before the slash is taken off: the blank names Space
  };
  for (const auto& c : cases) {
    FakeKeyInput keys;
    record_.reset();
    Record();
    EXPECT_EQ(SendKeySequence(*record_, c.text, 0, keys, locale_, pressed_),
              KeySequenceResult::Done);
    EXPECT_EQ(keys.Events(), c.events);
  }
}

TEST_F(KeySequenceTest, PausesBeforeEveryEvent) {
  EXPECT_EQ(Send(u"A,/A", 50), KeySequenceResult::Done);
  EXPECT_EQ(keys_.log, (Log{"sleep 50", "down 0x41", "sleep 50", "up 0x41"}));
}

TEST_F(KeySequenceTest, ZeroDelayStillYieldsAndNegativeDelayDoesNotBlock) {
  Send(u"A", 0);
  Send(u"B", -1);
  EXPECT_EQ(keys_.log, (Log{"sleep 0", "down 0x41", "sleep 0", "down 0x42"}));
}

TEST_F(KeySequenceTest, WaitsUntilTheHotKeyAndModifiersAreReleased) {
  Record(kShortCutCtrl | kShortCutAlt | 0x4B);
  keys_.HoldFor(0x11, 1);  // Ctrl released after the first poll
  keys_.HoldFor(0x12, 2);  // Alt after the second
  keys_.HoldFor(0x4B, 3);  // K after the third
  Send(u"A", 10);
  EXPECT_EQ(keys_.log, (Log{"sleep 50", "sleep 50", "sleep 50", "sleep 10", "down 0x41"}));
}

TEST_F(KeySequenceTest, WaitsForEveryModifierWhateverTheCombination) {
  for (std::uint8_t modifier : {0x10, 0x11, 0x12, 0x5B, 0x5C}) {
    FakeKeyInput keys;
    keys.HoldFor(modifier, 2);
    Record(0x41);
    SendKeySequence(*record_, u"B", 0, keys, locale_, pressed_);
    EXPECT_EQ(keys.log, (Log{"sleep 50", "sleep 50", "sleep 0", "down 0x42"})) << int(modifier);
  }
}

TEST_F(KeySequenceTest, GivesUpAfterTenSecondsWithoutTypingOrReleasingAnything) {
  keys_.HoldForever(0x11);  // a stuck Ctrl, which the sequence itself would press and release
  EXPECT_EQ(Send(u"CTRL,A,/A,/CTRL", 10), KeySequenceResult::KeysHeld);
  EXPECT_TRUE(keys_.Events().empty());
  EXPECT_EQ(keys_.NowMs(), 10000u);
  EXPECT_EQ(keys_.log, Log(200, "sleep 50"));
}

TEST_F(KeySequenceTest, AKeyReleasedJustBeforeTheDeadlineStillTypes) {
  keys_.HoldFor(0x4B, 199);  // released after 9950 ms
  EXPECT_EQ(Send(u"A"), KeySequenceResult::Done);
  EXPECT_EQ(keys_.Events(), Log{"down 0x41"});
}

TEST_F(KeySequenceTest, OtherHeldKeysDoNotDelay) {
  keys_.HoldFor(0x41, 5);  // not the hotkey's key
  keys_.HoldFor(0x5D, 5);  // the menu key is no modifier
  Send(u"B");
  EXPECT_EQ(keys_.log, (Log{"sleep 0", "down 0x42"}));
}

TEST_F(KeySequenceTest, EmptyTokenStopsTheSequence) {
  const struct {
    std::u16string text;
    Log events;
  } cases[] = {
      {u"A,,B", {"down 0x41", "up 0x41"}},
      {u"A,  ,B", {"down 0x41", "up 0x41"}},
      {u"/", {}},
      {u"A,/A,/,B", {"down 0x41", "up 0x41"}},
      {u",A", {}},
  };
  for (const auto& c : cases) {
    FakeKeyInput keys;
    Record();
    EXPECT_EQ(SendKeySequence(*record_, c.text, 0, keys, locale_, pressed_),
              KeySequenceResult::EmptyToken);
    EXPECT_EQ(keys.Events(), c.events);
  }
}

TEST_F(KeySequenceTest, EmptyTokenReleasesHeldKeysInReverseOrder) {
  EXPECT_EQ(Send(u"CTRL,SHIFT,A,/A,C,C,,/C,/SHIFT,/CTRL", 20), KeySequenceResult::EmptyToken);
  EXPECT_EQ(keys_.Events(),
            (Log{"down 0x11", "down 0x10", "down 0x41", "up 0x41", "down 0x43", "down 0x43",
                 // released at once, without pauses, C only once
                 "up 0x43", "up 0x10", "up 0x11"}));
  EXPECT_EQ(keys_.log.back(), "up 0x11");
  EXPECT_EQ(keys_.log[keys_.log.size() - 4], "sleep 20");
}

}  // namespace
