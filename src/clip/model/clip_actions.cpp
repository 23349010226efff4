#include "clip/model/clip_actions.h"

#include <iterator>

namespace {

constexpr ClipActionText kTexts[] = {
    {u"貼り付け(&P)", u""},
    {u"クリップボードに入れる(&C)\tCtrl+C", u""},
    {u"定型文に追加登録(&T)", u""},
    {u"行毎に展開(&X)", u""},
    {u"ソート : テキスト (&S)", u""},
    {u"ソート : 履歴 (&H) ", u""},
    {u"ソート : サイズ (&Z) ", u""},
    {u"ソート : 行数 (&L) ", u""},
    {u"項目を削除(&D)", u"選択している項目を削除"},
    {u"表示項目を全て削除(&K)", u"一覧に表示されている項目を全て削除"},
    {u"履歴をとらない(&N)", u""},
    {u"履歴に名前を付けて保存(&A)", u""},
    {u"履歴をファイルから読込(&R)", u""},
    {u"抽出", u"検索語を含む項目を抽出"},
    {u"除外", u"検索語を含む項目を一覧から除外"},
    {u"解除", u"一覧の絞り込みを解除"},
    {u"クリップボードから追加登録(&A)", u""},
    {u"クリップボードから挿入(&S)", u""},
    {u"項目を編集(&I)\tCtrl+Enter", u""},
    {u"定型文の定義ファイルを編集(&E)", u""},
    {u"定型文の定義ファイルを再読み込み(&R)", u""},
    {u"切り取り(&T)\tCtrl+X", u"切り取り|選択部分を切り取ってクリップボードに入れます"},
    {u"コピー(&C)\tCtrl+C", u"コピー|選択部分をコピーしてクリップボードに入れます"},
    {u"貼り付け(&P)\tCtrl+V", u"貼り付け|クリップボードの内容を挿入します"},
    {u"すべて選択(&A)\tCtrl+A", u"すべて選択|ドキュメント全体を選択します"},
    {u"元に戻す(&U)\tCtrl+Z", u"元に戻す|直前の操作を元に戻します"},
    {u"セパレータを挿入(&L)", u""},
};

static_assert(std::size(kTexts) ==
              static_cast<std::size_t>(kLastClipAction) - static_cast<int>(kFirstClipAction) + 1);

}  // namespace

ClipActionText ClipActionTexts(ClipAction action) {
  return kTexts[static_cast<int>(action) - static_cast<int>(kFirstClipAction)];
}

std::optional<ClipAction> ClipActionOf(int id) {
  if (id < static_cast<int>(kFirstClipAction) || id > static_cast<int>(kLastClipAction)) {
    return std::nullopt;
  }
  return static_cast<ClipAction>(id);
}
