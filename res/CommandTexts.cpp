#include "CommandTexts.h"

#include "CommandIds.h"

namespace res {

const CommandText kCommandTexts[] = {
    {ids::kNewWindow, "もう一つエディタを起動します。\n新しい窓を開く(Alt+N)"},
    {ids::kGoToLine, "行番号を指定して移動します。\n行指定移動(Ctrl+G)"},
    {ids::kMiniLauncher, "登録アプリケーションを起動します。\nミニランチャー(F3)"},
    {ids::kQuickTile, "登録された位置に窓を配置します。\nクイックタイル(Ctrl+T)"},
    {ids::kWordWrap, "行末で文字を折り返します。\n行末で折り返し(Ctrl+U)"},
    {ids::kQuickHelp, "クイックヘルプを閲覧します。\nクイックヘルプ"},
    {ids::kHelpHtml, "ヘルプHTMLを閲覧します。\nヘルプHTML(F1)"},
    {ids::kRegisterQuickTile, "現在の窓配置を登録します。\nクイックタイルの登録"},
    {ids::kMiniLauncherSettings, "ミニランチャーの機能を設定します。\nミニランチャー設定"},
    {ids::kFontSettings, "表示文字のフォントを設定します。\nフォント設定"},
    {ids::kAssociateExtension, "拡張子をこのエディタに関連付けます。\n拡張子関連付け"},
    {ids::kKanjiCodeSettings, "漢字コード変換の設定をします。\n漢字コード設定"},
    {ids::kRemoveAssociation, "拡張子関連付け情報を解除します。\n拡張子関連解除"},
    {ids::kBackgroundColour, "背景色を設定します。\n背景色設定"},
    {ids::kCycleMenuSettings, "サイクルポップアップのカスタマイズをします。\nサイクルメニュー設定"},
    {ids::kDocumentEnd, "文書の末尾に移動します。\n末尾に移動(Ctrl+↓)"},
    {ids::kMaximiseRestore, "窓の最大・通常を切り替えます。\n最大化・通常化(Ctrl+W)"},
    {ids::kMinimise, "窓を最小化します。\n最小化(Ctrl+E)"},
    {ids::kLineStart, "行頭に移動します。\n行頭に移動(Ctrl+←)"},
    {ids::kLineEnd, "行末に移動します。\n行末に移動(Ctrl+→)"},
    {ids::kDocumentStart, "文書の先頭に移動します。\n先頭に移動(Ctrl+↑)"},
    {ids::kFlatToolBar, "ツールバーの表示方法を変更します。\nフラットツールバー"},
    {ids::kInsertPhrase, "あらかじめ登録された単語を挿入します。\n一言挿入(Ctrl+1...5)"},
    {ids::kPhraseSettings, "一言挿入の単語設定を行います。\n一言挿入の設定(&K)"},
    {ids::kPhrase1, "一言挿入１"},
    {ids::kPhrase1 + 1, "一言挿入２"},
    {ids::kPhrase1 + 2, "一言挿入３"},
    {ids::kPhrase1 + 3, "一言挿入４"},
    {ids::kPhrase1 + 4, "一言挿入５"},
    {ids::kAutoIndent, "改行時にタブや空白を自動挿入します。\nオートインデント"},
    {ids::kLineEndReplacement, "文書全体の改行コードを統一します。\n改行コード置換"},
    {ids::kHomePage, "このエディタのサポートホームページを開きます。\nホームページ"},
    {ids::kCustomButton, "登録した機能を呼び出します。\nカスタムボタン(Ctrl+B)"},
    {ids::kCustomButtonSettings, "カスタムボタンに機能を設定します。\nカスタムボタン設定"},
    {ids::kFileNew, "新規にファイルを作成します。\n新規ファイル(Ctrl+N)"},
    {ids::kFileOpen, "既存のファイルを開きます。\n開く(Ctrl+O)"},
    {ids::kFileSave, "ファイルを上書き保存します。\n上書き保存(Ctrl+S)"},
    {ids::kFileSaveAs, "名前を付けてファイルを保存します。\n名前をつけて保存"},
    {ids::kPrintSetup, "プリンタの設定を行います。\nプリンタの設定"},
    {ids::kPrint, "編集中の文書を印刷します。\n印刷(Ctrl+P)"},
    {ids::kPrintPreview, "印刷のプレビューをします。\n印刷プレビュー"},
    {ids::kRecentFile1, "最近のファイルを開きます。\n最近のファイル"},
    {ids::kRecentFile1 + 1, "最近のファイルを開きます。\n最近のファイル"},
    {ids::kRecentFile1 + 2, "最近のファイルを開きます。\n最近のファイル"},
    {ids::kRecentFile1 + 3, "最近のファイルを開きます。\n最近のファイル"},
    {ids::kCopy, "選択範囲をクリップボードにコピーします。\nコピー(Ctrl+C)"},
    {ids::kCut, "選択範囲をクリップボードに切り取ります。\n切り取り(Ctrl+X)"},
    {ids::kFind, "文字列を検索します。\n検索(Ctrl+F)"},
    {ids::kPaste, "クリップボードの内容を貼り付けます。\n貼り付け(Ctrl+V)"},
    {ids::kReplace, "文字列を置き換えます。\n置換(Ctrl+H)"},
    {ids::kSelectAll, "文書全体を選択します。\n全て選択(Ctrl+A)"},
    {ids::kUndo, "直前に行った動作を元に戻します。\n元に戻す(Ctrl+Z)"},
    {ids::kAbout, "バージョン情報を表示します。\nバージョン情報"},
    {ids::kExit, "エディタを終了します。\n終了(Alt+F4)"},
    {ids::kToolBar, "ツールバーの表示・非表示を切り替えます。\nツールバー表示"},
    {ids::kStatusBar, "ステータスバーの表示・非表示を切り替えます。\nステータスバー表示"},
    {ids::kEmptyPage, "コマンドが登録されていません。"},
};
const int kCommandTextCount = static_cast<int>(sizeof kCommandTexts / sizeof kCommandTexts[0]);

namespace {

std::string_view TextOf(int id) {
  for (const CommandText& t : kCommandTexts)
    if (t.id == id) return t.text;
  return {};
}

}  // namespace

std::string_view CommandPrompt(int id) {
  std::string_view text = TextOf(id);
  return text.substr(0, text.find('\n'));
}

std::string_view CommandToolTip(int id) {
  std::string_view text = TextOf(id);
  std::size_t lineBreak = text.find('\n');
  return lineBreak == std::string_view::npos ? std::string_view{} : text.substr(lineBreak + 1);
}

}  // namespace res
