#include "hotkeys/key_text.h"

#include <gtest/gtest.h>

#include <string>

#include "support/fake_keyboard_layout.h"

namespace {

constexpr HKeyShortCut kShift = kShortCutShift;
constexpr HKeyShortCut kCtrl = kShortCutCtrl;
constexpr HKeyShortCut kAlt = kShortCutAlt;
constexpr HKeyShortCut kWin = kWinFlag;

class KeyTextTest : public ::testing::Test {
 protected:
  FakeKeyboardLayout layout_;
  KeyNameTable names_{layout_};
};

struct ParseCase {
  const char16_t* text;
  HKeyShortCut expected;
};

TEST_F(KeyTextTest, ParsesModifiersInAnyOrderAndCase) {
  const ParseCase cases[] = {
      {u"Ctrl+Alt+Del", kCtrl | kAlt | 0x2E},
      {u"ctrl+alt+del", kCtrl | kAlt | 0x2E},
      {u"^alt+DEL", kCtrl | kAlt | 0x2E},
      {u"Alt+Ctrl+Del", kCtrl | kAlt | 0x2E},
      {u"Shift+Shift+A", kShift | 0x41},
      {u"Shift+A", kShift | 0x41},
      {u"SHIFT+^ALT+a", kShift | kCtrl | kAlt | 0x41},
      {u"^^Z", kCtrl | 0x5A},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(TextToHotKey(c.text, names_), c.expected) << "case " << (&c - cases);
  }
}

TEST_F(KeyTextTest, WinIsTakenOutWhereverItStands) {
  const ParseCase cases[] = {
      {u"Ctrl+Win+A", kWin | kCtrl | 0x41},
      {u"win+ctrl+a", kWin | kCtrl | 0x41},
      {u"Ctrl+AWin+", kWin | kCtrl | 0x41},
      {u"WIN+F12", kWin | 0x7B},
      {u"Win+", kWin},          // no key: only the Win flag
      {u"Win+Ctrl+Foo", kWin},  // unknown key: the modifiers go, the Win flag stays
      {u"Win+Win+A", kWin},     // only the first "Win+" is removed
  };
  for (const auto& c : cases) {
    EXPECT_EQ(TextToHotKey(c.text, names_), c.expected);
  }
}

TEST_F(KeyTextTest, UnknownOrMissingKeyGivesZero) {
  for (const char16_t* text : {u"", u"Ctrl+Foo", u"Ctrl+", u"Shift+Alt+", u"^", u"Ctrl+A+", u" A",
                               u"F25", u"F0", u"Num 5", u"Ctrl+Del "}) {
    EXPECT_EQ(TextToHotKey(text, names_), 0u);
  }
}

TEST_F(KeyTextTest, FixedNamesParse) {
  const ParseCase cases[] = {
      {u"BkSp", 0x08}, {u"Tab", 0x09},   {u"Enter", 0x0D}, {u"Esc", 0x1B},  {u"Space", 0x20},
      {u"PgUp", 0x21}, {u"PgDn", 0x22},  {u"End", 0x23},   {u"Home", 0x24}, {u"Left", 0x25},
      {u"Up", 0x26},   {u"Right", 0x27}, {u"Down", 0x28},  {u"Ins", 0x2D},  {u"Del", 0x2E},
      {u"0", 0x30},    {u"9", 0x39},     {u"a", 0x41},     {u"Z", 0x5A},    {u"F1", 0x70},
      {u"f9", 0x78},   {u"F10", 0x79},   {u"F24", 0x87},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(TextToHotKey(c.text, names_), c.expected);
  }
}

TEST_F(KeyTextTest, DigitsAreMainRowKeysNeverKeypad) {
  for (int digit = 0; digit <= 9; ++digit) {
    const std::u16string text(1, static_cast<char16_t>(u'0' + digit));
    EXPECT_EQ(TextToHotKey(text, names_), static_cast<HKeyShortCut>(0x30 + digit));
    // The keypad key shows the same name.
    EXPECT_EQ(HotKeyToText(0x60 + digit, names_), text);
  }
}

TEST_F(KeyTextTest, LayoutNamesParseAndRoundTrip) {
  EXPECT_EQ(TextToHotKey(u"Ctrl+:", names_), kCtrl | 0xBA);
  EXPECT_EQ(TextToHotKey(u"num *", names_), 0x6Au);
  // A name holding "+" still works after the modifiers.
  EXPECT_EQ(TextToHotKey(u"Alt+Num +", names_), kAlt | 0x6B);
  for (const HKeyShortCut shortCut : {kCtrl | 0xBA, kWin | kShift | 0xBB, kAlt | 0x6A,
                                      kWin | kShift | kCtrl | kAlt | 0x87, kCtrl | 0x65}) {
    const std::u16string text = HotKeyToText(shortCut, names_);
    const HKeyShortCut back = TextToHotKey(text, names_);
    // Keypad digits come back as the main-row digit of the same name.
    const HKeyShortCut expected = (shortCut & 0xFF) == 0x65 ? (shortCut & ~0xFFu) | 0x35 : shortCut;
    EXPECT_EQ(back, expected);
  }
}

TEST_F(KeyTextTest, LowestCodeWinsWhenTheLayoutRepeatsAName) {
  FakeKeyboardLayout layout;
  layout.SetName(0xC0, u"@");
  layout.SetName(0xE2, u"@");
  layout.SetName(0xDE, u"A");  // a fixed name owns the lower code
  const KeyNameTable names(layout);
  EXPECT_EQ(TextToHotKey(u"@", names), 0xC0u);
  EXPECT_EQ(TextToHotKey(u"a", names), 0x41u);
}

TEST_F(KeyTextTest, ACaretThatEndsTheTextIsTheKeyOfThatName) {
  FakeKeyboardLayout layout;
  layout.SetName(0xDE, u"^");  // the key right of "-" on a Japanese keyboard
  const KeyNameTable names(layout);
  const ParseCase cases[] = {
      {u"^", 0xDE},
      {u"Ctrl+^", kCtrl | 0xDE},
      {u"^^", kCtrl | 0xDE},
      {u"Shift+^", kShift | 0xDE},
      {u"Win+Alt+^", kWin | kAlt | 0xDE},
      {u"^A", kCtrl | 0x41},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(TextToHotKey(c.text, names), c.expected) << "case " << (&c - cases);
    EXPECT_EQ(TextToHotKey(HotKeyToText(c.expected, names), names), c.expected);
  }
}

TEST_F(KeyTextTest, TableAsksTheLayoutOnlyWhileBuilt) {
  FakeKeyboardLayout layout;
  const KeyNameTable names(layout);
  const int built = layout.calls();
  EXPECT_LE(built, 248);
  for (int i = 0; i < 100; ++i) {
    TextToHotKey(u"Win+Ctrl+Alt+:", names);
    HotKeyToText(kCtrl | 0xBA, names);
  }
  EXPECT_EQ(layout.calls(), built);
}

TEST_F(KeyTextTest, HotKeyToTextOrdersModifiers) {
  struct Case {
    HKeyShortCut shortCut;
    const char16_t* text;
  };
  const Case cases[] = {
      {kWin | kCtrl | kAlt | 0x70, u"Win+Ctrl+Alt+F1"},
      {kAlt | kCtrl | kShift | 0x41, u"Shift+Ctrl+Alt+A"},
      {0x2E, u"Del"},
      {kWin, u"Win+"},                 // Win flag and no key
      {0x00FF0000 | 0x41, u"Win+A"},   // any bit of the Win byte counts
      {kWin | kCtrl | 0xFF, u"Win+"},  // a key without a name has no text, modifiers neither
      {kCtrl | 0xFF, u""},
      {0, u""},
      {kShift | 0x0141, u"Shift+A"},  // only the low byte names the key
  };
  for (const auto& c : cases) {
    EXPECT_EQ(HotKeyToText(c.shortCut, names_), c.text);
  }
  EXPECT_EQ(ShortCutToText(kCtrl | 0x2E, names_), u"Ctrl+Del");
}

}  // namespace
