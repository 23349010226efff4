#include "core/deferred_work.h"

#include <gtest/gtest.h>

#include <deque>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

namespace {

// Drives the queue with a script of words, separated by spaces:
//   +load +hotkey +clip +box +menu +other   a part begins      -load …   the last one ends
//   start capture store reload close        asks for the item
//   reload!   the outermost hotkey's own reload     close!   the close of the session's end
//   notice:T  a load notice with text T             key:N    hotkey N
//   pump      delivers the posted messages, one at a time, each written as "/"
// and writes down what ran, in order.
class Script {
 public:
  Script()
      : work_([this] { posted_.push_back(true); },
              [this](const DeferredItem& item) { Ran(item); }) {}

  std::string Run(const std::string& script) {
    std::istringstream words(script);
    for (std::string word; words >> word;) Step(word);
    return log_.empty() ? log_ : log_.substr(1);
  }

 private:
  static BusyPart Part(const std::string& name) {
    static const std::map<std::string, BusyPart> parts{
        {"load", BusyPart::kLoad},         {"hotkey", BusyPart::kHotKey},
        {"clip", BusyPart::kClipWindow},   {"box", BusyPart::kNoticeBox},
        {"menu", BusyPart::kLauncherMenu}, {"other", BusyPart::kOther}};
    return parts.at(name);
  }

  void Step(const std::string& word) {
    if (word[0] == '+') {
      scopes_[word.substr(1)].push_back(
          std::make_unique<DeferredWork::Scope>(work_, Part(word.substr(1))));
    } else if (word[0] == '-') {
      scopes_[word.substr(1)].pop_back();
    } else if (word == "pump") {
      Pump();
    } else {
      work_.Ask(Item(word));
    }
  }

  static DeferredItem Item(const std::string& word) {
    if (word == "start") return deferred::FinishStart{};
    if (word == "capture") return deferred::Capture{};
    if (word == "store") return deferred::StoreSettings{};
    if (word == "reload") return deferred::Reload{};
    if (word == "reload!") return deferred::Reload{true};
    if (word == "close") return deferred::Close{};
    if (word == "close!") return deferred::Close{true};
    if (word.rfind("notice:", 0) == 0) {
      return deferred::LoadNotice{std::u16string(word.begin() + 7, word.end()), u"", 0};
    }
    if (word.rfind("key:", 0) == 0) return deferred::HotKey{std::stoi(word.substr(4)), {}};
    ADD_FAILURE() << "unknown word " << word;
    return deferred::Capture{};
  }

  void Pump() {
    while (!posted_.empty()) {
      posted_.pop_front();
      log_ += " /";
      work_.Posted();
    }
  }

  void Ran(const DeferredItem& item) {
    std::string text;
    if (std::holds_alternative<deferred::FinishStart>(item)) text = "start";
    if (std::holds_alternative<deferred::Capture>(item)) text = "capture";
    if (std::holds_alternative<deferred::StoreSettings>(item)) text = "store";
    if (std::holds_alternative<deferred::Reload>(item)) text = "reload";
    if (const auto* close = std::get_if<deferred::Close>(&item)) {
      text = close->sessionEnds ? "close!" : "close";
    }
    if (const auto* notice = std::get_if<deferred::LoadNotice>(&item)) {
      text = "notice:" + std::string(notice->text.begin(), notice->text.end());
    }
    if (const auto* key = std::get_if<deferred::HotKey>(&item)) {
      text = "key:" + std::to_string(key->id);
    }
    log_ += " " + text;
  }

  std::deque<bool> posted_;
  DeferredWork work_;
  std::map<std::string, std::vector<std::unique_ptr<DeferredWork::Scope>>> scopes_;
  std::string log_;
};

struct Row {
  const char* script;
  const char* ran;
};

void Check(const std::vector<Row>& rows) {
  for (const Row& row : rows) {
    EXPECT_EQ(Script().Run(row.script), row.ran) << row.script;
  }
}

}  // namespace

TEST(DeferredWorkTest, WhatIsReadyRunsAtOnceAndTheRestFromOnePostedMessage) {
  Check({
      {"reload close", "reload close"},
      {"+other close pump", ""},
      {"+other close -other", ""},
      {"+other close -other pump", "/ close"},
      // The last of the nested parts posts, once however often the work is asked for.
      {"+hotkey +hotkey reload reload -hotkey pump -hotkey pump", "/ reload"},
      // A part that began before the message arrived keeps the work until its own end.
      {"+clip reload -clip +clip pump -clip pump", "/ / reload"},
  });
}

TEST(DeferredWorkTest, EachKindWaitsForItsOwnParts) {
  Check({
      {"+load reload store close key:1 capture", "capture"},
      {"+hotkey reload store capture key:1", "store capture key:1"},
      {"+clip reload store capture key:1", "store"},
      {"+box reload notice:A pump store capture key:1", "reload store capture key:1"},
      {"+menu +other reload store capture key:1 notice:A pump",
       "reload store capture key:1 / notice:A"},
      {"+box +menu close", ""},
  });
}

TEST(DeferredWorkTest, TheOutermostHotKeyReloadsBeforeItsTidyUpButNotInsideAnother) {
  Check({
      {"+hotkey reload!", "reload"},
      {"+hotkey +hotkey reload! -hotkey pump", "/ reload"},
      {"+hotkey reload reload!", "reload"},
      {"+hotkey +clip reload! -clip pump", "/ reload"},
  });
}

TEST(DeferredWorkTest, ASecondAskAddsNothingButEveryHotKeyPressCounts) {
  Check({
      {"+load reload reload store store close close -load pump", "/ store reload close"},
      {"+clip capture capture key:1 key:1 -clip pump", "/ capture key:1 / key:1"},
      {"notice:A notice:B pump", "/ notice:B"},
      {"+other close! close -other pump", "/ close!"},
      {"+other close close! -other pump", "/ close!"},
  });
}

TEST(DeferredWorkTest, TheStartRunsFirstAndHotKeysWaitForIt) {
  Check({
      {"start key:2 reload key:1 close store pump", "/ start store reload key:2 / key:1 / close"},
      {"start notice:A pump", "/ start notice:A"},
  });
}

TEST(DeferredWorkTest, HotKeysRunInPressOrderEachFromItsOwnMessageAfterAReload) {
  Check({
      {"+clip key:3 key:1 reload key:2 -clip pump", "/ reload key:3 / key:1 / key:2"},
      // The close goes last: the keys pressed before it still run.
      {"+clip key:1 close key:2 -clip pump", "/ key:1 / key:2 / close"},
  });
}

TEST(DeferredWorkTest, OneNoticeBoxAtATimeAndTheNewestWordAfterIt) {
  Check({
      {"notice:A", ""},
      {"+load notice:A -load pump", "/ notice:A"},
      {"+box notice:A notice:B pump -box pump", "/ notice:B"},
      // The close waits for the notice that is still to be shown.
      {"+box notice:A close -box pump", "/ notice:A close"},
  });
}
