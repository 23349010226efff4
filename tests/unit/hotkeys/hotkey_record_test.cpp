#include "hotkeys/hotkey_record.h"

#include <gtest/gtest.h>

#include <memory>
#include <type_traits>

#include "support/fake_hotkey_registrar.h"

namespace {

constexpr WindowHandle kMainWnd = 0x1234;

static_assert(!std::is_copy_constructible_v<HKeyRec>);
static_assert(!std::is_move_constructible_v<HKeyRec>);

TEST(HKeyRecTest, RegistersOnlyGlobalHotKeyIds) {
  struct Case {
    int id;
    bool registered;
  };
  const Case cases[] = {{100, false}, {101, true},   {150, true},   {200, true},
                        {201, false}, {1001, false}, {1251, false}, {0, false}};
  for (const auto& c : cases) {
    FakeHotKeyRegistrar registrar;
    const HKeyRec rec(registrar, kMainWnd, c.id, kShortCutCtrl | 0x41);
    EXPECT_EQ(rec.Registered, 1) << c.id;
    EXPECT_EQ(registrar.registrations().size(), c.registered ? 1u : 0u) << c.id;
  }
}

TEST(HKeyRecTest, PassesWindowIdModifiersAndKey) {
  struct Case {
    HKeyShortCut shortCut;
    std::uint32_t modifiers;
    std::uint16_t virtualKey;
  };
  const Case cases[] = {
      {kShortCutShift | 0x41, kModShift, 0x41},
      {kShortCutCtrl | 0x41, kModControl, 0x41},
      {kShortCutAlt | 0x41, kModAlt, 0x41},
      {kWinFlag | 0x41, kModWin, 0x41},
      {0x00800000 | 0x41, kModWin, 0x41},  // any bit of the Win byte
      {kWinFlag | kShortCutShift | kShortCutCtrl | kShortCutAlt | 0x70,
       kModWin | kModShift | kModControl | kModAlt, 0x70},
      {kShortCutCtrl | 0x1F2E, kModControl, 0x1F2E},  // bits 8-12 stay with the key
      {0, 0, 0},                                      // a key that could not be named
      {kShortCutCtrl, kModControl, 0},
  };
  for (const auto& c : cases) {
    FakeHotKeyRegistrar registrar;
    const HKeyRec rec(registrar, kMainWnd, 101, c.shortCut);
    EXPECT_EQ(rec.Modifiers, c.modifiers);
    EXPECT_EQ(rec.VirtualKey, c.virtualKey);
    EXPECT_EQ(rec.ShortCut, c.shortCut);
    if (c.virtualKey == 0) {
      EXPECT_TRUE(registrar.registrations().empty()) << "modifiers alone are no hotkey";
      EXPECT_EQ(rec.Registered, 0);
      continue;
    }
    ASSERT_EQ(registrar.registrations().size(), 1u);
    const auto& made = registrar.registrations()[0];
    EXPECT_EQ(made.wnd, kMainWnd);
    EXPECT_EQ(made.id, 101);
    EXPECT_EQ(made.modifiers, c.modifiers);  // nothing else, not even the no-repeat flag
    EXPECT_EQ(made.virtualKey, c.virtualKey);
  }
}

TEST(HKeyRecTest, NewRecordHasDefaults) {
  FakeHotKeyRegistrar registrar;
  const HKeyRec rec(registrar, kMainWnd, 1251, 0);
  EXPECT_EQ(rec.Delay, 50);
  EXPECT_EQ(rec.Modifiers, 0u);
  EXPECT_EQ(rec.VirtualKey, 0);
  EXPECT_TRUE(rec.Keyword.empty());
  EXPECT_TRUE(rec.Command().empty());
  for (std::size_t i = 0; i < kActionSlots; ++i) EXPECT_TRUE(rec.Execute[i].empty());
  EXPECT_FALSE(rec.Execute.Used());
}

TEST(HKeyRecTest, TakenCombinationIsNotRegistered) {
  FakeHotKeyRegistrar registrar;
  registrar.MarkTaken(kModControl | kModAlt, 0x2E);
  const HKeyRec taken(registrar, kMainWnd, 101, kShortCutCtrl | kShortCutAlt | 0x2E);
  const HKeyRec free(registrar, kMainWnd, 102, kShortCutCtrl | 0x2E);
  EXPECT_EQ(taken.Registered, 0);
  EXPECT_EQ(free.Registered, 1);
  EXPECT_EQ(registrar.registeredIds(), (std::set<int>{102}));
}

TEST(HKeyRecTest, DestructionUnregisters) {
  FakeHotKeyRegistrar registrar;
  HKeyList list;
  list.push_back(std::make_unique<HKeyRec>(registrar, kMainWnd, 101, kShortCutCtrl | 0x41));
  list.push_back(std::make_unique<HKeyRec>(registrar, kMainWnd, 102, kShortCutCtrl | 0x42));
  list.push_back(std::make_unique<HKeyRec>(registrar, kMainWnd, 1001, 0));
  EXPECT_EQ(registrar.registeredIds(), (std::set<int>{101, 102}));
  registrar.MarkTaken(kModControl, 0x43);
  list.push_back(std::make_unique<HKeyRec>(registrar, kMainWnd, 103, kShortCutCtrl | 0x43));
  list.clear();
  EXPECT_TRUE(registrar.registeredIds().empty());
  // Only what was registered is unregistered: not the keyword, not the failed hotkey.
  EXPECT_EQ(registrar.unregisterCount(), 2);

  { const HKeyRec zero(registrar, kMainWnd, 0, 0); }
  EXPECT_EQ(registrar.unregisterCount(), 2);
}

}  // namespace
