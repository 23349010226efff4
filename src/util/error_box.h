#pragma once
#include <string>

#include "platform/dialogs.h"

// The program's one error box: caption "エラー", OK only, error icon. An empty message shows
// nothing.
void ShowError(Dialogs& dialogs, const std::u16string& message);
