#include "ui/app/command_table.h"

#include <QAction>
#include <QIcon>
#include <vector>

#include "ui/app/command_ids.h"

namespace {

std::vector<CommandEntry> BuildTable()
{
    using namespace cmd;
    return {
        {ID_FILE_NEW, QStringLiteral(u"新規作成(&N)\tCtrl+N"), {QKeySequence(Qt::CTRL | Qt::Key_N)},
         QStringLiteral(u"読み込んだ２つのファイルをクリアします。\n新規作成"), QStringLiteral(":/icons/new.png")},
        {ID_FILE_OPEN, QStringLiteral(u"開く(&O)...\tCtrl+O"), {QKeySequence(Qt::CTRL | Qt::Key_O)},
         QStringLiteral(u"比較する２つのファイルを順に開きます。\n開く"), QStringLiteral(":/icons/open.png")},
        {ID_FOLDER_COMPARE, QStringLiteral(u"フォルダを比較(&D)...\tCtrl+Shift+O"),
         {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_O)},
         QStringLiteral(u"２つのフォルダを選んで、中のファイルを比較します。\nフォルダを比較"), {}},
        {ID_FOLDER_BACK, QStringLiteral(u"フォルダの比較結果に戻る(&B)\tAlt+Up"), {QKeySequence(Qt::ALT | Qt::Key_Up)},
         QStringLiteral(u"フォルダの比較結果の一覧に戻ります。\nフォルダの比較結果"), {}},
        {ID_FILE_SAVE, QStringLiteral(u"上書き保存(&S)\tCtrl+S"), {QKeySequence(Qt::CTRL | Qt::Key_S)},
         QStringLiteral(u"読み込んだ２つのファイルの組み合わせを記録します。\n上書き保存"),
         QStringLiteral(":/icons/save.png")},
        {ID_FILE_SAVE_AS, QStringLiteral(u"名前を付けて保存(&A)...\tCtrl+Shift+S"),
         {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S)},
         QStringLiteral(u"カーソルのある側のテキストを、名前と文字コードを指定して保存します。\n名前を付けて保存"), {}},
        {ID_FILE_SAVE_DOC_A, QStringLiteral(u"DocAを保存(&1)\tCtrl+Shift+A"), {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_A)},
         QStringLiteral(u"編集したDocAを、読み込んだときの文字コードでファイルに保存します。\nDocAを保存"), {}},
        {ID_FILE_SAVE_DOC_B, QStringLiteral(u"DocBを保存(&2)\tCtrl+Shift+B"), {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_B)},
         QStringLiteral(u"編集したDocBを、読み込んだときの文字コードでファイルに保存します。\nDocBを保存"), {}},
        {ID_FILE_SAVE_REPORT, QStringLiteral(u"レポートを保存(&H)...\tCtrl+Shift+H"),
         {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_H)},
         QStringLiteral(u"比較結果をHTMLのレポートに保存します。ブラウザで表示・印刷できます。\nレポートを保存"), {}},
        {ID_FILE_RELOAD, QStringLiteral(u"再読み込み(&R)..."), {},
         QStringLiteral(u"再読み込み\n再読み込み"), QStringLiteral(":/icons/reload.png")},
        {ID_APP_EXIT, QStringLiteral(u"アプリケーションの終了(&X)"), {},
         QStringLiteral(u"アプリケーションを終了します。\n終了"), {}},
        {ID_EDIT_COPY, QStringLiteral(u"コピー(&C)\tCtrl+C"),
         {QKeySequence(Qt::CTRL | Qt::Key_C), QKeySequence(Qt::CTRL | Qt::Key_Insert)},
         QStringLiteral(u"選択範囲をクリップボードにコピーします。\nコピー"), QStringLiteral(":/icons/copy.png")},
        {ID_EDIT_FIND, QStringLiteral(u"検索(&F)...\tCtrl+Shift+F"), {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_F)},
         QStringLiteral(u"DocA・DocBの文字列を検索します。"), {}},
        {ID_EDIT_FIND_NEXT, QStringLiteral(u"次を検索(&N)\tF3"), {QKeySequence(Qt::Key_F3)},
         QStringLiteral(u"次の一致箇所へ移動します。"), {}},
        {ID_EDIT_FIND_PREV, QStringLiteral(u"前を検索(&P)\tShift+F3"), {QKeySequence(Qt::SHIFT | Qt::Key_F3)},
         QStringLiteral(u"前の一致箇所へ移動します。"), {}},
        {ID_EDIT_GOTO_LINE, QStringLiteral(u"行へ移動(&G)...\tCtrl+G"), {QKeySequence(Qt::CTRL | Qt::Key_G)},
         QStringLiteral(u"DocAまたはDocBの指定した行へ移動します。"), {}},
        {ID_EDIT_UNDO, QStringLiteral(u"元に戻す(&U)\tCtrl+Z"), {QKeySequence(Qt::CTRL | Qt::Key_Z)},
         QStringLiteral(u"フォーカスのある側の直前の編集を取り消します。\n元に戻す"), QStringLiteral(":/icons/undo.png")},
        {ID_EDIT_REDO, QStringLiteral(u"やり直し(&R)\tCtrl+Y"), {QKeySequence(Qt::CTRL | Qt::Key_Y)},
         QStringLiteral(u"取り消した編集をやり直します。\nやり直し"), QStringLiteral(":/icons/redo.png")},
        {ID_EDIT_CUT, QStringLiteral(u"切り取り(&T)\tCtrl+X"), {QKeySequence(Qt::CTRL | Qt::Key_X)},
         QStringLiteral(u"選択範囲を切り取ってクリップボードに移します。\n切り取り"), {}},
        {ID_EDIT_PASTE, QStringLiteral(u"貼り付け(&P)\tCtrl+V"), {QKeySequence(Qt::CTRL | Qt::Key_V)},
         QStringLiteral(u"クリップボードの内容をカーソルの位置に挿入します。\n貼り付け"), {}},
        {ID_COPY_TO_B, QStringLiteral(u"DocBへコピー(&B)\tAlt+Right"), {QKeySequence(Qt::ALT | Qt::Key_Right)},
         QStringLiteral(u"現在の相違箇所（または選択した行）のDocAの内容をDocBの同じ位置にコピーします。\nDocBへコピー"),
         QStringLiteral(":/icons/copy_to_b.png")},
        {ID_COPY_TO_A, QStringLiteral(u"DocAへコピー(&A)\tAlt+Left"), {QKeySequence(Qt::ALT | Qt::Key_Left)},
         QStringLiteral(u"現在の相違箇所（または選択した行）のDocBの内容をDocAの同じ位置にコピーします。\nDocAへコピー"),
         QStringLiteral(":/icons/copy_to_a.png")},
        {ID_COPY_ALL_TO_B, QStringLiteral(u"すべてDocBへ(&L)"), {},
         QStringLiteral(u"すべての相違箇所でDocAの内容をDocBにコピーします。\nすべてDocBへ"),
         QStringLiteral(":/icons/copy_all_to_b.png")},
        {ID_COPY_ALL_TO_A, QStringLiteral(u"すべてDocAへ(&K)"), {},
         QStringLiteral(u"すべての相違箇所でDocBの内容をDocAにコピーします。\nすべてDocAへ"),
         QStringLiteral(":/icons/copy_all_to_a.png")},
        {ID_VIEW_TOOLBAR, QStringLiteral(u"ﾂｰﾙ ﾊﾞｰ(&T)"), {},
         QStringLiteral(u"ツール バーの表示/非表示を切り替えます。\nツール バーの表示切り替え"), {}},
        {ID_VIEW_STATUS_BAR, QStringLiteral(u"ｽﾃｰﾀｽ ﾊﾞｰ(&S)"), {},
         QStringLiteral(u"ステータス バーの表示/非表示を切り替えます。\nステータス バーの表示切り替え"), {}},
        {ID_WINDOW_SPLIT, QStringLiteral(u"分割(&P)"), {},
         QStringLiteral(u"左右のビューウインドウを同じ幅にそろえます。\n分割"), {}},
        {ID_NEXT_PANE, QString(), {QKeySequence(Qt::Key_F6)},
         QStringLiteral(u"次のウインドウ ペインに切り替えます。\n次のペイン"), {}},
        {ID_PREV_PANE, QString(), {QKeySequence(Qt::SHIFT | Qt::Key_F6)},
         QStringLiteral(u"前のウインドウ ペインに切り替えます。\n前のペイン"), {}},
        {ID_VIEW_SOURCE, QStringLiteral(u"元データの表示(&O)"), {},
         QStringLiteral(u"オリジナルのデータを表示します。"), {}},
        {ID_VIEW_RESULT, QStringLiteral(u"比較結果の表示(&R)"), {},
         QStringLiteral(u"比較結果を表示します。\n比較結果"), QStringLiteral(":/icons/show_result.png")},
        {ID_VIEW_PAIRED, QStringLiteral(u"変更行を並べて表示(&B)\tCtrl+B"), {QKeySequence(Qt::CTRL | Qt::Key_B)},
         QStringLiteral(u"変更された行を変更後の行と横に並べ、変わった文字に色を付けて表示します。\n変更行を並べて表示"),
         QStringLiteral(":/icons/paired.png")},
        {ID_VIEW_EOL_KIND, QStringLiteral(u"改行を種類別に表示(&E)\tCtrl+Shift+E"),
         {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_E)},
         QStringLiteral(u"改行コード CR・LF・CR+LF を区別できる印で表示します。\n改行を種類別に表示"), {}},
        {ID_VIEW_WRAP, QStringLiteral(u"折り返して表示(&W)\tCtrl+Shift+W"), {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_W)},
         QStringLiteral(u"長い行をペインの幅で折り返して表示します。\n折り返して表示"), {}},
        {ID_COMPARE, QStringLiteral(u"比較(&C)\tCtrl+J"), {QKeySequence(Qt::CTRL | Qt::Key_J)},
         QStringLiteral(u"２つのテキストを比較します。\n比較"), QStringLiteral(":/icons/compare.png")},
        {ID_COMPARE_DETAILED, QStringLiteral(u"詳細比較(&S)\tCtrl+M"), {QKeySequence(Qt::CTRL | Qt::Key_M)},
         QStringLiteral(u"詳細モードで比較します。大きいテキストの場合処理時間がややかかります。\n詳細比較"),
         QStringLiteral(":/icons/compare_detailed.png")},
        {ID_COMPARE_MINIMAL, QStringLiteral(u"最小差分比較(&I)\tCtrl+Shift+J"),
         {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_J)},
         QStringLiteral(u"相違行が最も少なくなるように比較します。繰り返しの多いテキストに向いています。\n最小差分比較"),
         QStringLiteral(":/icons/compare_minimal.png")},
        {ID_COMPARE_STOP, QStringLiteral(u"中止(&D)\tCtrl+D"), {QKeySequence(Qt::CTRL | Qt::Key_D)},
         QStringLiteral(u"処理を中止します\n処理中断"), QStringLiteral(":/icons/stop.png")},
        {ID_PREV_DIFF, QStringLiteral(u"前の相違点(&P)\tCtrl+R"),
         {QKeySequence(Qt::CTRL | Qt::Key_R), QKeySequence(Qt::Key_F8)},
         QStringLiteral(u"前の相違地点へ移動します。\n前相違地点"), QStringLiteral(":/icons/prev_diff.png")},
        {ID_NEXT_DIFF, QStringLiteral(u"次の相違点(&N)\tCtrl+F"),
         {QKeySequence(Qt::CTRL | Qt::Key_F), QKeySequence(Qt::Key_F7)},
         QStringLiteral(u"次の相違地点へ移動します。\n次相違地点"), QStringLiteral(":/icons/next_diff.png")},
        {ID_COMPARE_METHOD, QStringLiteral(u"比較方法の設定(&P)"), {},
         QStringLiteral(u"１行の内\"ダブルコーテーション\"の中を除外できます。"), {}},
        {ID_REBUILD_NEWLINES, QStringLiteral(u"改行の構築(&F)"), {},
         QStringLiteral(u"改行コードをCR+LFに再構築します。"), {}},
        {ID_FONT_SETTINGS, QStringLiteral(u"フォント設定(&F)"), {},
         QStringLiteral(u"比較結果を表示するフォントを設定します。"), {}},
        {ID_COLOR_SETTINGS, QStringLiteral(u"配色とメッセージの設定(&C)"), {},
         QStringLiteral(u"比較結果画面の配色とメッセージの設定"), {}},
        {ID_ENVIRONMENT_SETTINGS, QStringLiteral(u"環境設定(&E)"), {},
         QStringLiteral(u"起動させた直後の動作を設定します。"), {}},
        {ID_HELP_USAGE, QStringLiteral(u"kestrilaneの使い方(&H)"), {},
         QStringLiteral(u"kestrilaneの使い方（ヘルプウインドウの表示）"), {}},
        {ID_APP_ABOUT, QStringLiteral(u"Kestrilane のバージョン情報(&A)..."), {},
         QStringLiteral(u"プログラム情報、バージョン、著作権を表示します。\nバージョン情報"),
         QStringLiteral(":/icons/about.png")},
        {ID_MERGE, QStringLiteral(u"自動マージ処理(&M)"), {},
         QStringLiteral(u"両方のドキュメントの結合をオプションを指定して実行し名前をつけてファイルに保存できます。"), {}},
        {ID_SWAP_SIDES, QStringLiteral(u"左右を入れ替え(&W)\tCtrl+Shift+X"), {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_X)},
         QStringLiteral(u"DocAとDocBを入れ替えて比較し直します。"), {}},
    };
}

}  // namespace

const CommandEntry* FindCommand(int id)
{
    static const std::vector<CommandEntry> table = BuildTable();
    for (const CommandEntry& entry : table) {
        if (entry.id == id)
            return &entry;
    }
    return nullptr;
}

QAction* CreateCommandAction(const CommandEntry& entry, QObject* parent)
{
    auto* action = new QAction(parent);
    action->setObjectName(QStringLiteral("cmd%1").arg(entry.id));
    action->setData(entry.id);
    // The keys after the tab are shown by the menu from the shortcut itself.
    action->setText(entry.menuText.section(QLatin1Char('\t'), 0, 0));
    action->setShortcuts(entry.keys);
    const qsizetype newline = entry.prompt.indexOf(QLatin1Char('\n'));
    action->setStatusTip(newline < 0 ? entry.prompt : entry.prompt.left(newline));
    if (newline >= 0)
        action->setToolTip(entry.prompt.mid(newline + 1));
    if (!entry.icon.isEmpty())
        action->setIcon(QIcon(entry.icon));
    return action;
}

int CommandId(const QAction* action)
{
    return action ? action->data().toInt() : 0;
}
