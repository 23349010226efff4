#include "util/error_box.h"

void ShowError(Dialogs& dialogs, const std::u16string& message) {
  if (message.empty()) return;
  dialogs.ShowMessage(message, u"エラー", kMbOk | kMbIconError);
}
