#include "MenuLayout.h"

#include "CommandIds.h"

namespace res {

const std::vector<Menu>& MenuBar() {
  static const std::vector<Menu> menus = {
      {"ファイル(&F)",
       {{ids::kNewWindow, "新しい窓を開く(&W)\tAlt+N"},
        {0, ""},
        {ids::kFileNew, "新規作成(&N)\tCtrl+N"},
        {ids::kFileOpen, "開く(&O)...\tCtrl+O"},
        {ids::kFileSave, "上書き保存(&S)\tCtrl+S"},
        {ids::kFileSaveAs, "名前を付けて保存(&A)..."},
        {0, ""},
        {ids::kPrint, "印刷(&P)...\tCtrl+P"},
        {ids::kPrintPreview, "印刷プレビュー(&V)"},
        {ids::kPrintSetup, "プリンタの設定(&R)..."},
        {0, ""},
        {ids::kRecentFile1, "最近のファイル"},
        {0, ""},
        {ids::kExit, "エディタの終了(&X)\tAlt+F4"}}},
      {"編集(&E)",
       {{ids::kCut, "切り取り(&T)\tCtrl+X"},
        {ids::kCopy, "コピー(&C)\tCtrl+C"},
        {ids::kPaste, "貼り付け(&P)\tCtrl+V"},
        {0, ""},
        {ids::kSelectAll, "全て選択(&L)\tCtrl+A"},
        {ids::kUndo, "元に戻す(&U)\tCtrl+Z"},
        {0, ""},
        {ids::kLineStart, "行頭に移動(&M)\tCtrl+←"},
        {ids::kLineEnd, "行末に移動(&R)\tCtrl+→"},
        {ids::kDocumentStart, "先頭に移動(&S)\tCtrl+↑"},
        {ids::kDocumentEnd, "末尾に移動(&B)\tCtrl+↓"},
        {0, ""},
        {ids::kGoToLine, "行指定移動(&G)...\tCtrl+G"},
        {0, ""},
        {ids::kFind, "検索(&F)...\tCtrl+F"},
        {ids::kReplace, "置換(&E)...\tCtrl+H"}}},
      {"表示(&V)",
       {{ids::kWordWrap, "行末で折り返し(&W)\tCtrl+U"},
        {ids::kAutoIndent, "改行時インデント(&A)"},
        {0, ""},
        {ids::kMaximiseRestore, "最大化・通常化(&B)\tCtrl+W"},
        {ids::kMinimise, "窓を最小化(&M)\tCtrl+E"},
        {0, ""},
        {ids::kFlatToolBar, "フラットツールバー(&F)..."},
        {0, ""},
        {ids::kToolBar, "ツールバー表示(&T)"},
        {ids::kStatusBar, "ステータスバー表示(&S)"}}},
      {"ツール(&T)",
       {{ids::kInsertPhrase, "一言挿入(&I)\tCtrl+1...5"},
        {ids::kPhraseSettings, "一言挿入の設定(&K)..."},
        {0, ""},
        {ids::kQuickTile, "クイックタイル(&Q)\tCtrl+T"},
        {ids::kRegisterQuickTile, "クイックタイルの登録(U)..."},
        {0, ""},
        {ids::kMiniLauncher, "ミニランチャー(&L)\tF3"},
        {ids::kMiniLauncherSettings, "ミニランチャーの設定(&M)..."},
        {0, ""},
        {ids::kLineEndReplacement, "改行コード置換(&C)..."}}},
      {"設定(&C)",
       {{ids::kCycleMenuSettings, "サイクルメニュー設定(&C)..."},
        {ids::kCustomButtonSettings, "カスタムボタン設定(&B)..."},
        {ids::kKanjiCodeSettings, "漢字コード設定(&K)..."},
        {0, ""},
        {ids::kFontSettings, "フォント設定(&F)..."},
        {ids::kBackgroundColour, "背景色設定(&T)..."},
        {0, ""},
        {ids::kAssociateExtension, "拡張子関連付け(&A)..."},
        {ids::kRemoveAssociation, "拡張子関連解除(&U)..."}}},
      {"ヘルプ(&H)",
       {{ids::kQuickHelp, "クイックヘルプ(&Q)\tF1"},
        {ids::kHelpHtml, "ヘルプHTML(&H)"},
        {0, ""},
        {ids::kAbout, "バージョン(&A)..."},
        {ids::kHomePage, "ホームページ(&P)"}}},
  };
  return menus;
}

namespace {

QKeyCombination Ctrl(Qt::Key key) { return QKeyCombination(Qt::ControlModifier, key); }
QKeyCombination Alt(Qt::Key key) { return QKeyCombination(Qt::AltModifier, key); }
QKeyCombination Shift(Qt::Key key) { return QKeyCombination(Qt::ShiftModifier, key); }
QKeyCombination Plain(Qt::Key key) { return QKeyCombination(key); }

}  // namespace

const std::vector<Accelerator>& Accelerators() {
  static const std::vector<Accelerator> accelerators = [] {
    std::vector<Accelerator> list;
    for (int i = 0; i < 5; ++i) {
      auto digit = static_cast<Qt::Key>(Qt::Key_1 + i);
      list.push_back({Ctrl(digit), ids::kPhrase1 + i});
      list.push_back({QKeyCombination(Qt::ControlModifier | Qt::KeypadModifier, digit), ids::kPhrase1 + i});
    }
    const Accelerator rest[] = {
        {Ctrl(Qt::Key_A), ids::kSelectAll},      {Ctrl(Qt::Key_B), ids::kCustomButton},
        {Ctrl(Qt::Key_C), ids::kCopy},           {Ctrl(Qt::Key_Insert), ids::kCopy},
        {Ctrl(Qt::Key_E), ids::kMinimise},       {Ctrl(Qt::Key_F), ids::kFind},
        {Ctrl(Qt::Key_G), ids::kGoToLine},       {Ctrl(Qt::Key_H), ids::kReplace},
        {Ctrl(Qt::Key_N), ids::kFileNew},        {Alt(Qt::Key_N), ids::kNewWindow},
        {Ctrl(Qt::Key_O), ids::kFileOpen},       {Ctrl(Qt::Key_P), ids::kPrint},
        {Ctrl(Qt::Key_S), ids::kFileSave},       {Ctrl(Qt::Key_T), ids::kQuickTile},
        {Ctrl(Qt::Key_U), ids::kWordWrap},       {Ctrl(Qt::Key_V), ids::kPaste},
        {Shift(Qt::Key_Insert), ids::kPaste},    {Ctrl(Qt::Key_W), ids::kMaximiseRestore},
        {Ctrl(Qt::Key_X), ids::kCut},            {Shift(Qt::Key_Delete), ids::kCut},
        {Ctrl(Qt::Key_Z), ids::kUndo},           {Alt(Qt::Key_Backspace), ids::kUndo},
        {Ctrl(Qt::Key_Left), ids::kLineStart},   {Ctrl(Qt::Key_Right), ids::kLineEnd},
        {Ctrl(Qt::Key_Up), ids::kDocumentStart}, {Ctrl(Qt::Key_Down), ids::kDocumentEnd},
        {Plain(Qt::Key_F1), ids::kQuickHelp},                {Plain(Qt::Key_F3), ids::kMiniLauncher},
    };
    list.insert(list.end(), std::begin(rest), std::end(rest));
    return list;
  }();
  return accelerators;
}

const std::vector<int>& ToolBarSlots() {
  static const std::vector<int> layout = {
      ids::kNewWindow, 0,          ids::kFileNew, ids::kFileOpen, ids::kFileSave,      0,
      ids::kPrintPreview, ids::kPrint, 0,          ids::kUndo,     ids::kCut,          ids::kCopy,
      ids::kPaste,     0,          ids::kFind,    ids::kReplace,  ids::kGoToLine,     0,
      ids::kInsertPhrase, ids::kQuickTile, ids::kMiniLauncher, ids::kCustomButton, 0, ids::kExit};
  return layout;
}

}  // namespace res
