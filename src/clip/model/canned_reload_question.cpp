#include "clip/model/canned_reload_question.h"

CannedResult AskToReloadTextData(CannedTextPage& page, Dialogs& dialogs, DeferredWork& work) {
  int answer = 0;
  {
    const DeferredWork::Scope busy(work, BusyPart::kClipWindow);
    answer = dialogs.ShowMessage(u"定型文の定義ファイルを再読み込みしますか", u"確認",
                                 kMbYesNo | kMbIconQuestion);
  }
  if (answer != kIdYes) return {};
  return page.Reload();
}
