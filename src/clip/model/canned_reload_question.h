#pragma once
#include "clip/model/canned_page.h"
#include "core/deferred_work.h"
#include "platform/dialogs.h"

// After the canned-text file was opened in the user's editor: asks whether to read it again and
// reads it on Yes. The question's box lets other messages in (an exit among them), so it is a
// busy part of `work`: what they ask for runs after the window that asked has finished.
CannedResult AskToReloadTextData(CannedTextPage& page, Dialogs& dialogs, DeferredWork& work);
