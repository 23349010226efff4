#pragma once
#include <string>
#include <vector>

#include "platform/dialogs.h"

// Records every message box and answers with the scripted button.
class FakeDialogs : public Dialogs {
 public:
  struct Message {
    std::u16string text;
    std::u16string caption;
    unsigned flags = 0;
  };

  int ShowMessage(const std::u16string& text, const std::u16string& caption,
                  unsigned flags) override {
    messages.push_back({text, caption, flags});
    return answer;
  }

  std::vector<Message> messages;
  int answer = kIdOk;
};
