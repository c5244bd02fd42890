// Every command that has a handler, run the way the user runs it - its menu
// item, its accelerator, its tool-bar button, each way it has - through the
// main window's dispatcher to the handler the program really has, and
// judged by what it did to the text, the settings file or the window.
// A command given a handler later fails the guard at the end until it has
// a case here.

#include <gtest/gtest.h>

#include <QApplication>
#include <QButtonGroup>
#include <QClipboard>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>

#include <algorithm>
#include <functional>
#include <set>

#include "ByteStrings.h"
#include "CCustomButtonDlg.h"
#include "CCyclePopupDlg.h"
#include "CExtAssocDlg.h"
#include "CExtUnassocDlg.h"
#include "CFindReplaceDlg.h"
#include "CGotoLineDlg.h"
#include "CKanjiCodeDlg.h"
#include "CKb_zeva3Doc.h"
#include "CKb_zeva3View.h"
#include "CLineEndDlg.h"
#include "CMainFrame.h"
#include "CMiniLauncherDlg.h"
#include "CPhraseDlg.h"
#include "CPrintPreviewDlg.h"
#include "CommandIds.h"
#include "CommandTable.h"
#include "FrameTestSupport.h"
#include "MenuLayout.h"
#include "PdfReading.h"
#include "TextFinder.h"
#include "VersionDialog.h"

namespace {

enum class Way { Menu, Accelerator, ToolBar };

const char* WayName(Way way) {
  switch (way) {
    case Way::Menu: return "Menu";
    case Way::Accelerator: return "Key";
    case Way::ToolBar: return "Button";
  }
  return "";
}

class Bench;

struct CommandCase {
  const char* name;
  int id;
  std::function<void(Bench&)> arrange;
  std::function<void(Bench&)> check;
};

struct Invocation {
  const CommandCase* command;
  Way way;
};

void PrintTo(const Invocation& i, std::ostream* os) { *os << i.command->name << " by " << WayName(i.way); }

CKb_zeva3App& App() { return *CKb_zeva3App::Instance(); }

std::string FixturePath(const char* name) { return std::string(KB_TEST_DATA_DIR) + "/" + name; }

// A main window as the program builds it, the application its last target.
class Bench {
 public:
  Bench() {
    profile.WriteProfileInt("Config", "WordWrap", 0);
    App().Attach(&frame.Document(), &frame);
    frame.Document().OnNewDocument();
    frame.show();
    frame.activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(&frame));
    control().setFocus();
    WritableAsWhenFocusReturns(frame.View());
    QApplication::clipboard()->clear();
  }

  void Show(const std::string& shiftJis) {
    frame.View().ShowDocument(shiftJis, {});
    WritableAsWhenFocusReturns(frame.View());
    control().setFocus();
  }
  void Select(long anchor, long caret) { control().SetSelection(anchor, caret); }
  void Type(const QString& text) { QTest::keyClicks(&control(), text); }
  std::string Text() { return frame.View().TextForSave(nullptr); }
  long Caret() { return control().CaretPosition(); }
  EditorControl& control() { return frame.View().Control(); }
  QString Clipboard() { return QApplication::clipboard()->text(); }
  // A dialog of type D is expected; `act` answers it. The caption it had is kept.
  template <class D>
  void Expect(std::function<void(D&)> act) {
    platform::SetDialogHandler([this, act = std::move(act)](QDialog& dialog) {
      auto* typed = dynamic_cast<D*>(&dialog);
      if (!typed) {
        ADD_FAILURE() << "unexpected dialog " << dialog.metaObject()->className();
        return 0;
      }
      dialogCaptions << dialog.windowTitle();
      act(*typed);
      return dialog.result();
    });
  }

  ProfileFile& profile = FreshSettings();
  ScriptedUser user;
  TempDir dir;
  CMainFrame frame{profile, &App(), &App().RecentFiles()};
  QStringList dialogCaptions;
  QList<QUrl> opened;
  QStringList started;
};

void Reject(QDialog& dialog) { dialog.reject(); }

// The cases. Positions are bytes of the text as the control holds it
// (ASCII here, so the same as the file's).
const CommandCase kCases[] = {
    // Editing and the caret.
    {"Copy", ids::kCopy, [](Bench& b) { b.Show("abcd"); b.Select(1, 3); },
     [](Bench& b) {
       EXPECT_EQ(b.Clipboard(), QStringLiteral("bc"));
       EXPECT_EQ(b.Text(), "abcd") << "copying leaves the text";
     }},
    {"Cut", ids::kCut, [](Bench& b) { b.Show("abcd"); b.Select(1, 3); },
     [](Bench& b) {
       EXPECT_EQ(b.Clipboard(), QStringLiteral("bc"));
       EXPECT_EQ(b.Text(), "ad");
     }},
    {"Paste", ids::kPaste,
     [](Bench& b) {
       b.Show("abcd");
       QApplication::clipboard()->setText(QStringLiteral("犬"));
       b.Select(1, 3);
     },
     [](Bench& b) { EXPECT_EQ(ToHex(b.Text()), ToHex("a" + Hex("8C A2") + "d")); }},
    {"SelectAll", ids::kSelectAll, [](Bench& b) { b.Show("ab\r\ncd"); b.Select(2, 2); },
     [](Bench& b) {
       EXPECT_EQ(b.control().SelectionStart(), 0);
       EXPECT_EQ(b.control().SelectionEnd(), 6);
     }},
    {"Undo", ids::kUndo, [](Bench& b) { b.Show("abc"); b.Select(3, 3); b.Type(QStringLiteral("x")); },
     [](Bench& b) { EXPECT_EQ(b.Text(), "abc"); }},
    {"LineStart", ids::kLineStart, [](Bench& b) { b.Show("ab\r\ncde\r\nf"); b.Select(6, 6); },
     [](Bench& b) { EXPECT_EQ(b.Caret(), 4); }},
    {"LineEnd", ids::kLineEnd, [](Bench& b) { b.Show("ab\r\ncde\r\nf"); b.Select(5, 5); },
     [](Bench& b) { EXPECT_EQ(b.Caret(), 7); }},
    {"DocumentStart", ids::kDocumentStart, [](Bench& b) { b.Show("ab\r\ncde\r\nf"); b.Select(6, 6); },
     [](Bench& b) { EXPECT_EQ(b.Caret(), 0); }},
    {"DocumentEnd", ids::kDocumentEnd, [](Bench& b) { b.Show("ab\r\ncde\r\nf"); b.Select(1, 1); },
     [](Bench& b) { EXPECT_EQ(b.Caret(), 10); }},
    {"GoToLine", ids::kGoToLine,
     [](Bench& b) {
       b.Show("ab\r\ncde\r\nf");
       b.Expect<CGotoLineDlg>([](CGotoLineDlg& d) {
         d.LineEdit()->setText(QStringLiteral("3"));
         d.OkButton()->click();
       });
     },
     [](Bench& b) {
       EXPECT_EQ(b.dialogCaptions, QStringList{QStringLiteral("行指定ジャンプ")});
       EXPECT_EQ(b.Caret(), 9);
     }},
    {"LineEndReplacement", ids::kLineEndReplacement,
     [](Bench& b) {
       b.Show("a\rb\r\nc\n");
       b.Expect<CLineEndDlg>([](CLineEndDlg& d) {
         d.Radio(CLineEndDlg::Lf)->click();
         d.OkButton()->click();
       });
     },
     [](Bench& b) {
       EXPECT_EQ(b.dialogCaptions, QStringList{QStringLiteral("改行コード一括置換")});
       EXPECT_EQ(b.Text(), "a\nb\nc\n");
     }},
    {"Find", ids::kFind, [](Bench& b) { b.Show("abc"); },
     [](Bench& b) {
       CFindReplaceDlg* dialog = b.frame.View().Finder().Dialog();
       ASSERT_NE(dialog, nullptr);
       EXPECT_TRUE(dialog->isVisible());
       EXPECT_EQ(dialog->windowTitle(), QStringLiteral("検索"));
       dialog->close();
     }},
    {"Replace", ids::kReplace, [](Bench& b) { b.Show("abc"); },
     [](Bench& b) {
       CFindReplaceDlg* dialog = b.frame.View().Finder().Dialog();
       ASSERT_NE(dialog, nullptr);
       EXPECT_TRUE(dialog->isVisible());
       EXPECT_EQ(dialog->windowTitle(), QStringLiteral("置換"));
       dialog->close();
     }},

    // Printing: to a PDF file as the print dialog's answer.
    {"Print", ids::kPrint,
     [](Bench& b) {
       b.Show("\x88\xf3\x8d\xfc");  // 印刷
       b.Expect<QPrintDialog>([&b](QPrintDialog& d) {
         d.printer()->setOutputFormat(QPrinter::PdfFormat);
         d.printer()->setOutputFileName(QString::fromStdString(b.dir.File("out.pdf")));
         d.setResult(QDialog::Accepted);
       });
     },
     [](Bench& b) { EXPECT_EQ(PdfLines(b.dir.File("out.pdf")), QStringList{QStringLiteral("印刷")}); }},
    {"PrintPreview", ids::kPrintPreview,
     [](Bench& b) {
       b.Show("a\f");
       b.Expect<CPrintPreviewDlg>([](CPrintPreviewDlg& d) {
         EXPECT_EQ(d.PageCount(), 1);
         d.reject();
       });
     },
     [](Bench& b) { EXPECT_EQ(b.dialogCaptions, QStringList{QStringLiteral("印刷プレビュー")}); }},
    {"PrintSetup", ids::kPrintSetup, [](Bench& b) { b.Expect<QPageSetupDialog>(Reject); },
     [](Bench& b) { EXPECT_EQ(b.dialogCaptions.size(), 1); }},

    // Phrases: five registered, the third marked.
    {"InsertPhrase", ids::kInsertPhrase,
     [](Bench& b) {
       for (int i = 1; i <= 5; ++i) b.profile.WriteProfileString("LineWord", "Word" + std::to_string(i), "w" + std::to_string(i));
       b.profile.WriteProfileInt("LineWord", "CheckNum", 2);
       b.Show("ab");
       b.Select(1, 1);
     },
     [](Bench& b) { EXPECT_EQ(b.Text(), "aw3b"); }},
    {"PhraseSettings", ids::kPhraseSettings,
     [](Bench& b) {
       b.Expect<CPhraseDlg>([](CPhraseDlg& d) {
         d.WordEdit(1)->setText(QStringLiteral("二番"));
         d.Radio(1)->click();
         d.OkButton()->click();
       });
     },
     [](Bench& b) {
       EXPECT_EQ(b.dialogCaptions, QStringList{QStringLiteral("一言挿入の設定")});
       EXPECT_EQ(b.profile.GetProfileString("LineWord", "Word2", ""), "二番");
       EXPECT_EQ(b.profile.GetProfileInt("LineWord", "CheckNum", -1), 1);
     }},
    {"Phrase1", ids::kPhrase1, [](Bench& b) { b.profile.WriteProfileString("LineWord", "Word1", "一"); },
     [](Bench& b) { EXPECT_EQ(ToHex(b.Text()), "88 EA"); }},
    {"Phrase2", ids::kPhrase1 + 1, [](Bench& b) { b.profile.WriteProfileString("LineWord", "Word2", "二"); },
     [](Bench& b) { EXPECT_EQ(ToHex(b.Text()), "93 F1"); }},
    {"Phrase3", ids::kPhrase1 + 2, [](Bench& b) { b.profile.WriteProfileString("LineWord", "Word3", "三"); },
     [](Bench& b) { EXPECT_EQ(ToHex(b.Text()), "8E 4F"); }},
    {"Phrase4", ids::kPhrase1 + 3, [](Bench& b) { b.profile.WriteProfileString("LineWord", "Word4", "四"); },
     [](Bench& b) { EXPECT_EQ(ToHex(b.Text()), "8E 6C"); }},
    {"Phrase5", ids::kPhrase1 + 4, [](Bench& b) { b.profile.WriteProfileString("LineWord", "Word5", "ｺﾞ"); },
     [](Bench& b) { EXPECT_EQ(ToHex(b.Text()), "BA DE"); }},

    // The view's settings.
    {"WordWrap", ids::kWordWrap, [](Bench&) {},
     [](Bench& b) { EXPECT_EQ(b.profile.GetProfileInt("Config", "WordWrap", -1), 1); }},
    {"AutoIndent", ids::kAutoIndent, [](Bench&) {},
     [](Bench& b) { EXPECT_EQ(b.profile.GetProfileInt("Config", "Indent", -1), 1); }},
    {"FontSettings", ids::kFontSettings,
     [](Bench& b) {
       platform::SetFontHandler([](const platform::FontChoice& initial) {
         platform::FontChoice chosen = initial;
         chosen.face = QStringLiteral("Kb Test Face");
         chosen.weight = 700;
         return std::optional(chosen);
       });
       (void)b;
     },
     [](Bench& b) {
       EXPECT_EQ(b.profile.GetProfileString("Font", "Name", ""), "Kb Test Face");
       EXPECT_EQ(b.profile.GetProfileInt("Font", "Bold", -1), 1);
     }},
    {"BackgroundColour", ids::kBackgroundColour,
     [](Bench&) { platform::SetColourHandler([](const QColor&) { return std::optional(QColor(1, 2, 3)); }); },
     [](Bench& b) {
       EXPECT_EQ(b.profile.GetProfileInt("BgColor", "Red", -1), 1);
       EXPECT_EQ(b.profile.GetProfileInt("BgColor", "Green", -1), 2);
       EXPECT_EQ(b.profile.GetProfileInt("BgColor", "Blue", -1), 3);
     }},
    {"KanjiCodeSettings", ids::kKanjiCodeSettings,
     [](Bench& b) {
       b.Expect<CKanjiCodeDlg>([](CKanjiCodeDlg& d) {
         d.SaveGroup()->button(CKanjiCodeDlg::kFirstSaveButton + 2)->click();
         d.accept();
       });
     },
     [](Bench& b) {
       EXPECT_EQ(b.dialogCaptions, QStringList{QStringLiteral("漢字コード設定")});
       b.frame.UpdateIdle();
       EXPECT_EQ(b.frame.PaneText(4), QStringLiteral("SJS→JIS"));
     }},

    // Help: the test program has no pages beside it, nor the page about the program.
    {"QuickHelp", ids::kQuickHelp, [](Bench&) { QStandardPaths::setTestModeEnabled(true); },
     [](Bench& b) {
       QStandardPaths::setTestModeEnabled(false);
       ASSERT_EQ(b.user.asked.size(), 1u);
       EXPECT_EQ(b.user.asked[0].text, QStringLiteral("ヘルプＨＴＭＬを閲覧することができません。"));
       EXPECT_EQ(b.user.asked[0].caption, QStringLiteral("ヘルプエラー"));
     }},
    {"HelpHtml", ids::kHelpHtml, [](Bench&) { QStandardPaths::setTestModeEnabled(true); },
     [](Bench& b) {
       QStandardPaths::setTestModeEnabled(false);
       ASSERT_EQ(b.user.asked.size(), 1u);
       EXPECT_EQ(b.user.asked[0].caption, QStringLiteral("ヘルプエラー"));
     }},
    {"HomePage", ids::kHomePage, [](Bench&) { QStandardPaths::setTestModeEnabled(true); },
     [](Bench& b) {
       QStandardPaths::setTestModeEnabled(false);
       ASSERT_EQ(b.user.asked.size(), 1u);
       EXPECT_EQ(b.user.asked[0].caption, QStringLiteral("ヘルプエラー"));
     }},

    // The document's commands.
    {"Save", ids::kFileSave,
     [](Bench& b) {
       WriteFileBytes(b.dir.File("old.txt"), "abc");
       ASSERT_TRUE(b.frame.Document().OpenDocumentFile(QString::fromStdString(b.dir.File("old.txt"))));
       WritableAsWhenFocusReturns(b.frame.View());
       b.Select(0, 0);
       b.Type(QStringLiteral("x"));
     },
     [](Bench& b) {
       EXPECT_EQ(ReadFileBytes(b.dir.File("old.txt")), "xabc");
       EXPECT_FALSE(b.frame.View().IsModified());
     }},
    {"SaveAs", ids::kFileSaveAs,
     [](Bench& b) {
       b.Show("new" + Hex("90 56"));  // new新
       platform::SetSavePathHandler(
           [&b](const QString&) { return std::optional(QString::fromStdString(b.dir.File("chosen.txt"))); });
     },
     [](Bench& b) {
       EXPECT_EQ(ToHex(ReadFileBytes(b.dir.File("chosen.txt"))), ToHex("new" + Hex("90 56")));
       EXPECT_EQ(b.frame.Document().PathName(), QString::fromStdString(b.dir.File("chosen.txt")));
     }},
    {"CustomButtonSettings", ids::kCustomButtonSettings,
     [](Bench& b) {
       b.Expect<CCustomButtonDlg>([](CCustomButtonDlg& d) {
         d.findChild<QListWidget*>(QStringLiteral("list"))->setCurrentRow(12);  // コピー
         d.accept();
       });
     },
     [](Bench& b) {
       EXPECT_EQ(b.dialogCaptions, QStringList{QStringLiteral("カスタムボタンの設定")});
       EXPECT_EQ(b.profile.GetProfileString("MenuCommand", "Custom", ""), "<");
     }},
    {"CustomButton", ids::kCustomButton,
     [](Bench& b) {
       b.profile.WriteProfileString("MenuCommand", "Custom", "<");  // コピー
       b.Show("abcd");
       b.Select(0, 2);
     },
     [](Bench& b) {
       QApplication::processEvents();  // the chosen command is posted, not sent
       EXPECT_EQ(b.Clipboard(), QStringLiteral("ab"));
     }},
    {"CycleMenuSettings", ids::kCycleMenuSettings, [](Bench& b) { b.Expect<CCyclePopupDlg>(Reject); },
     [](Bench& b) {
       EXPECT_EQ(b.dialogCaptions, QStringList{QStringLiteral("カスタマイズ　サイクルポップアップ")});
       EXPECT_FALSE(std::filesystem::exists(b.profile.Path()) &&
                    b.profile.GetProfileString("MenuCommand", "Page1", "none") != "none")
           << "cancelled: nothing written";
     }},

    // The window's commands.
    {"Minimise", ids::kMinimise, [](Bench&) {},
     [](Bench& b) { EXPECT_TRUE(b.frame.windowState() & Qt::WindowMinimized); }},
    {"MaximiseRestore", ids::kMaximiseRestore, [](Bench&) {},
     [](Bench& b) {
       QApplication::processEvents();
       EXPECT_TRUE(b.frame.isMaximized());
     }},
    {"FlatToolBar", ids::kFlatToolBar, [](Bench&) {},
     [](Bench& b) {
       EXPECT_EQ(b.profile.GetProfileInt("Config", "Flat", -1), 0);
       ASSERT_EQ(b.user.asked.size(), 1u);
       EXPECT_EQ(b.user.asked[0].text, QStringLiteral("次回起動時にツールバーが\n通常ボタン表示になります。"));
     }},
    {"NewWindow", ids::kNewWindow,
     [](Bench& b) {
       platform::SetProgramHandler([&b](const QString& program, const QStringList&) {
         b.started << program;
         return true;
       });
     },
     [](Bench& b) { EXPECT_EQ(b.started, QStringList{QCoreApplication::applicationFilePath()}); }},
    {"QuickTile", ids::kQuickTile,
     [](Bench& b) {
       b.profile.WriteProfileInt("Position", "TilePosX", 70);
       b.profile.WriteProfileInt("Position", "TilePosY", 60);
       b.profile.WriteProfileInt("Size", "TileSizeX", 500);
       b.profile.WriteProfileInt("Size", "TileSizeY", 400);
     },
     [](Bench& b) {
       QApplication::processEvents();
       EXPECT_EQ(b.frame.frameGeometry(), QRect(70, 60, 500, 400));
       EXPECT_TRUE(QTest::qWaitFor([&] { return b.profile.GetProfileInt("Position", "PosX", -1) == 70; }));
     }},
    {"RegisterQuickTile", ids::kRegisterQuickTile, [](Bench&) {},
     [](Bench& b) {
       ASSERT_EQ(b.user.asked.size(), 1u);
       EXPECT_EQ(b.user.asked[0].text, QStringLiteral("クイックタイルに現在の\n窓の配置を登録しますか？"));
       EXPECT_EQ(b.profile.GetProfileInt("Size", "TileSizeX", -1), b.frame.frameGeometry().width());
     }},
    {"AssociateExtension", ids::kAssociateExtension, [](Bench& b) { b.Expect<CExtAssocDlg>(Reject); },
     [](Bench& b) { EXPECT_EQ(b.dialogCaptions, QStringList{QStringLiteral("拡張子関連付け")}); }},
    {"RemoveAssociation", ids::kRemoveAssociation, [](Bench& b) { b.Expect<CExtUnassocDlg>(Reject); },
     [](Bench& b) { EXPECT_EQ(b.dialogCaptions, QStringList{QStringLiteral("拡張子関連付け解除")}); }},
    {"MiniLauncher", ids::kMiniLauncher, [](Bench&) {},
     [](Bench& b) {
       ASSERT_EQ(b.user.asked.size(), 1u);
       EXPECT_EQ(b.user.asked[0].text,
                 QStringLiteral("未保存のファイルは実行できません。\n文書を保存してから実行して下さい。"));
     }},
    {"MiniLauncherSettings", ids::kMiniLauncherSettings, [](Bench& b) { b.Expect<CMiniLauncherDlg>(Reject); },
     [](Bench& b) { EXPECT_EQ(b.dialogCaptions, QStringList{QStringLiteral("ミニランチャーの機能設定")}); }},
    {"ToolBar", ids::kToolBar, [](Bench& b) { ASSERT_TRUE(b.frame.ToolBar()->isVisible()); },
     [](Bench& b) { EXPECT_FALSE(b.frame.ToolBar()->isVisible()); }},
    {"StatusBar", ids::kStatusBar, [](Bench& b) { ASSERT_TRUE(b.frame.statusBar()->isVisible()); },
     [](Bench& b) { EXPECT_FALSE(b.frame.statusBar()->isVisible()); }},
    {"Exit", ids::kExit, [](Bench&) {}, [](Bench& b) { EXPECT_FALSE(b.frame.isVisible()); }},

    // The application's commands.
    {"FileNew", ids::kFileNew,
     [](Bench& b) {
       ASSERT_TRUE(b.frame.Document().OpenDocumentFile(QString::fromStdString(FixturePath("ascii.txt"))));
     },
     [](Bench& b) {
       EXPECT_EQ(b.Text(), "");
       EXPECT_TRUE(b.frame.Document().PathName().isEmpty());
     }},
    {"FileOpen", ids::kFileOpen,
     [](Bench&) {
       platform::SetOpenPathHandler(
           [](const QStringList&) { return std::optional(QString::fromStdString(FixturePath("sjis_prose.txt"))); });
     },
     [](Bench& b) { EXPECT_EQ(ToHex(b.Text()), ToHex(ReadFileBytes(FixturePath("sjis_prose.txt")))); }},
    {"RecentFile1", ids::kRecentFile1,
     [](Bench& b) {
       WriteFileBytes(b.dir.File("recent.txt"), "recent");
       ASSERT_TRUE(b.frame.Document().OpenDocumentFile(QString::fromStdString(b.dir.File("recent.txt"))));
       ASSERT_TRUE(b.frame.Document().OnNewDocument());
     },
     [](Bench& b) { EXPECT_EQ(b.Text(), "recent"); }},
    {"About", ids::kAbout, [](Bench& b) { b.Expect<VersionDialog>(Reject); },
     [](Bench& b) { EXPECT_EQ(b.dialogCaptions, QStringList{QStringLiteral("バージョン情報")}); }},
};

bool InMenus(int id) {
  for (const res::Menu& menu : res::MenuBar())
    for (const res::MenuItem& item : menu.items)
      if (item.id == id) return true;
  return false;
}

const res::Accelerator* AcceleratorOf(int id) {
  for (const res::Accelerator& accelerator : res::Accelerators())
    if (accelerator.id == id) return &accelerator;
  return nullptr;
}

bool OnToolBar(int id) {
  const std::vector<int>& buttons = res::ToolBarSlots();
  return std::find(buttons.begin(), buttons.end(), id) != buttons.end();
}

std::vector<Invocation> EveryWayOfEveryCommand() {
  std::vector<Invocation> invocations;
  for (const CommandCase& command : kCases) {
    if (InMenus(command.id)) invocations.push_back({&command, Way::Menu});
    if (AcceleratorOf(command.id)) invocations.push_back({&command, Way::Accelerator});
    if (OnToolBar(command.id)) invocations.push_back({&command, Way::ToolBar});
  }
  return invocations;
}

class EveryCommand : public testing::TestWithParam<Invocation> {
 protected:
  // The menu item as the user finds it: the menu prepared as it opens,
  // the recent files in place of their placeholder.
  QAction* MenuItem(int id) {
    for (QAction* title : bench.frame.menuBar()->actions()) {
      QMenu* menu = title->menu();
      if (!menu) continue;
      bench.frame.PrepareMenu(menu);
      for (QAction* item : menu->actions())
        if (item->isVisible() && !item->isSeparator() &&
            (item == bench.frame.Action(id) || (item->data().toInt() == id && id != 0)))
          return item;
    }
    return nullptr;
  }

  void Invoke(int id, Way way) {
    switch (way) {
      case Way::Menu: {
        QAction* item = MenuItem(id);
        ASSERT_NE(item, nullptr);
        ASSERT_TRUE(item->isEnabled()) << "disabled in its menu";
        item->trigger();
        break;
      }
      case Way::Accelerator: {
        const res::Accelerator* accelerator = AcceleratorOf(id);
        QTest::keyClick(&bench.control(), accelerator->keys.key(), accelerator->keys.keyboardModifiers());
        break;
      }
      case Way::ToolBar: {
        bench.frame.UpdateIdle();
        auto* button = qobject_cast<QToolButton*>(bench.frame.ToolBar()->widgetForAction(bench.frame.Action(id)));
        ASSERT_NE(button, nullptr);
        ASSERT_TRUE(button->isEnabled()) << "disabled on the tool bar";
        QTest::mouseClick(button, Qt::LeftButton);
        break;
      }
    }
  }

  Bench bench;
};

TEST_P(EveryCommand, DoesWhatItsHandlerIsFor) {
  const CommandCase& command = *GetParam().command;
  command.arrange(bench);
  if (HasFatalFailure()) return;
  Invoke(command.id, GetParam().way);
  if (HasFatalFailure()) return;
  command.check(bench);
}

INSTANTIATE_TEST_SUITE_P(Commands, EveryCommand, testing::ValuesIn(EveryWayOfEveryCommand()),
                         [](const testing::TestParamInfo<Invocation>& info) {
                           return std::string(info.param.command->name) + "_" + WayName(info.param.way);
                         });

// Every id a menu, key, button, popup page or the custom button can send:
// the ones some target handles need a case above.
TEST(EveryCommandGuard, EveryHandledCommandHasACase) {
  Bench bench;
  std::set<int> offered;
  for (const res::Menu& menu : res::MenuBar())
    for (const res::MenuItem& item : menu.items) offered.insert(item.id);
  for (const res::Accelerator& accelerator : res::Accelerators()) offered.insert(accelerator.id);
  for (int id : res::ToolBarSlots()) offered.insert(id);
  for (const CommandEntry& entry : CommandTable) offered.insert(static_cast<int>(entry.id));
  for (int i = 0; i < 4; ++i) offered.insert(ids::kRecentFile1 + i);
  offered.erase(0);
  std::set<int> covered;
  for (const CommandCase& command : kCases) covered.insert(command.id);
  WriteFileBytes(bench.dir.File("r.txt"), "r");  // so that the first recent file has a handler
  ASSERT_TRUE(bench.frame.Document().OpenDocumentFile(QString::fromStdString(bench.dir.File("r.txt"))));
  for (int id : offered) {
    bool handled = bench.frame.View().HandlesCommand(id) || bench.frame.Document().HandlesCommand(id) ||
                   bench.frame.HandlesCommand(id) || App().HandlesCommand(id);
    if (id > ids::kRecentFile1 && id < ids::kRecentFile1 + 4) continue;  // one recent file stands for all
    EXPECT_FALSE(handled && !covered.count(id)) << "command " << id << " has a handler but no case in kCases";
  }
}

}  // namespace
