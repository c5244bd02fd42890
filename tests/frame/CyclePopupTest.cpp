// The cycle popup driven as a user drives it: synthetic presses, moves and
// releases go through the window, so Qt's own popup handling (a press
// outside an open menu closes it) and its button state take part.

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QListWidget>
#include <QTabWidget>
#include <QContextMenuEvent>
#include <QMenu>
#include <QScrollBar>
#include <QStatusBar>
#include <QTest>

#include "ByteStrings.h"
#include "CCyclePopup.h"
#include "CCyclePopupDlg.h"
#include "CKb_zeva3Doc.h"
#include "CKb_zeva3View.h"
#include "CMainFrame.h"
#include "CommandIds.h"
#include "DialogTestSupport.h"
#include "FrameTestSupport.h"
#include "RecentFileList.h"
#include "ShiftJisCodec.h"

// Readable failures: menu rows as text.
inline void PrintTo(const QString& text, std::ostream* out) { *out << text.toStdString(); }

namespace {

const QPoint kInView{150, 120};
const QStringList kDefaultPage1 = {"切り取り", "コピー", "貼り付け", "-", "全て選択", "元に戻す", "-",
                                   "←行頭に移動", "→行末に移動", "↑先頭に移動", "↓末尾に移動"};
const QStringList kDefaultPage2 = {"検索...", "置換...", "-", "行指定移動...", "-", "行末で折り返し", "改行時インデント",
                                   "-", "一言挿入", "クイックタイル", "ミニランチャー", "改行コード置換..."};
const QStringList kDefaultPage3 = {"新しい窓を開く", "-", "新規作成", "開く...", "上書き保存", "名前を付けて保存...",
                                   "-", "最近のファイル", "-", "エディタの終了"};
const QStringList kDefaultPage4 = {"サイクルメニュー設定...", "カスタムボタン設定...", "漢字コード設定...", "-",
                                   "フォント設定...", "背景色設定...", "-", "クイックヘルプ", "ヘルプHTML"};

class CyclePopupTest : public testing::Test {
 public:  // the cases' lambdas drive the fixture
  void SetUp() override {
    frame.resize(640, 480);
    frame.move(20, 20);
    ASSERT_TRUE(ShowWithNewDocument(frame));
    View().Control().setFocus();
  }
  void TearDown() override {
    if (QWidget* popup = QApplication::activePopupWidget()) popup->close();
    QApplication::processEvents();
  }

  CKb_zeva3View& View() { return frame.View(); }
  QWidget* TextArea() { return View().Control().viewport(); }
  QWindow* Window() { return frame.windowHandle(); }
  QPoint InWindow(QWidget* widget, QPoint at) { return widget->mapTo(&frame, at); }

  void Press(Qt::MouseButton button, QPoint at = kInView, QWidget* on = nullptr) {
    QTest::mousePress(Window(), button, {}, InWindow(on ? on : TextArea(), at));
  }
  void Release(Qt::MouseButton button, QPoint at = kInView, QWidget* on = nullptr) {
    QTest::mouseRelease(Window(), button, {}, InWindow(on ? on : TextArea(), at));
  }
  void Move(QPoint at) { QTest::mouseMove(Window(), InWindow(TextArea(), at)); }
  void RightClick(QPoint at = kInView) {
    Press(Qt::RightButton, at);
    Release(Qt::RightButton, at);
  }

  static QMenu* OpenPage() { return qobject_cast<QMenu*>(QApplication::activePopupWidget()); }
  static QStringList Rows(QMenu* menu) {
    QStringList rows;
    if (!menu) return {"(no page)"};
    for (QAction* action : menu->actions())
      if (action->isVisible()) rows << (action->isSeparator() ? QStringLiteral("-") : action->text());
    return rows;
  }
  static QAction* Item(QMenu* menu, const QString& text) {
    for (QAction* action : menu->actions())
      if (action->text() == text) return action;
    return nullptr;
  }
  void SetPage(int page, std::string_view bytes) {
    profile.WriteProfileString("MenuCommand", "Popup" + std::to_string(page), kanji::ShiftJisCodec::Decode(bytes));
  }
  void LoadLines(int count, int length = 10) {
    std::string text;
    for (int i = 0; i < count; ++i) text += std::string(static_cast<std::size_t>(length), 'x') + "\r\n";
    View().ShowDocument(text, {});
  }
  long FirstVisibleLine() { return View().Control().SendScintilla(QsciScintillaBase::SCI_GETFIRSTVISIBLELINE); }

  ProfileFile& profile = FreshSettings();
  ScriptedUser user;
  RecentFileList recentFiles;
  // Outlives the frame, whose idle updates still ask it after a case ends.
  RecordingTarget recorder;
  CMainFrame frame{profile, CKb_zeva3App::Instance(), &recentFiles};
};

TEST_F(CyclePopupTest, FirstRightClickShowsDefaultPageOneBesideThePointer) {
  RightClick();
  QMenu* page = OpenPage();
  ASSERT_NE(page, nullptr);
  EXPECT_EQ(Rows(page), kDefaultPage1);
  EXPECT_EQ(page->parentWidget(), &frame);
  EXPECT_EQ(page->pos(), View().Control().mapToGlobal(QPoint(0, 0)) + kInView + QPoint(5, 5));
}

TEST_F(CyclePopupTest, RightPressesWhilePagesAreOpenStepThroughFourPagesThenNothingThenPageOne) {
  // Each click is above and left of the open page, which opens below and
  // right of the pointer: its press closes the page, its release shows the next.
  QPoint at = kInView + QPoint(100, 100);
  RightClick(at);
  EXPECT_EQ(Rows(OpenPage()), kDefaultPage1);
  for (const QStringList& next : {kDefaultPage2, kDefaultPage3, kDefaultPage4}) {
    at -= QPoint(20, 20);
    RightClick(at);
    EXPECT_EQ(Rows(OpenPage()), next);
  }
  RightClick(at - QPoint(20, 20));
  EXPECT_EQ(OpenPage(), nullptr) << "the fifth release shows nothing";
  EXPECT_EQ(View().CycleIndex(), 0);
  RightClick();
  EXPECT_EQ(Rows(OpenPage()), kDefaultPage1);
}

TEST_F(CyclePopupTest, RightPressOutsideTheViewClosesThePageAndTheNextClickShowsTheNextPage) {
  RightClick();
  ASSERT_NE(OpenPage(), nullptr);
  QWidget* statusBar = frame.statusBar();
  Press(Qt::RightButton, QPoint(5, 5), statusBar);
  EXPECT_EQ(OpenPage(), nullptr);
  Release(Qt::RightButton, QPoint(5, 5), statusBar);
  EXPECT_EQ(OpenPage(), nullptr);
  RightClick();
  EXPECT_EQ(Rows(OpenPage()), kDefaultPage2);
}

// A quick click outside an open page: the window system may give the
// release to the page's window, which held the pointer when it came.
TEST_F(CyclePopupTest, FastClickWhoseReleaseGoesToTheClosedPageStillShowsTheNextPage) {
  RightClick();
  QWindow* pageWindow = OpenPage()->windowHandle();
  QPoint at = kInView - QPoint(20, 20);
  Press(Qt::RightButton, at);
  ASSERT_EQ(OpenPage(), nullptr);
  QTest::mouseRelease(pageWindow, Qt::RightButton, {}, pageWindow->mapFromGlobal(TextArea()->mapToGlobal(at)));
  EXPECT_EQ(Rows(OpenPage()), kDefaultPage2);
}

TEST_F(CyclePopupTest, ClosingWithoutTheRightButtonDownRestartsTheCycle) {
  struct Closer {
    const char* name;
    std::function<void(CyclePopupTest&, QMenu*)> close;
  };
  const Closer closers[] = {
      {"Escape", [](CyclePopupTest&, QMenu* page) { QTest::keyClick(page, Qt::Key_Escape); }},
      {"left press outside", [](CyclePopupTest& t, QMenu*) {
         t.Press(Qt::LeftButton);
         t.Release(Qt::LeftButton);
       }},
      {"choosing an item", [](CyclePopupTest&, QMenu* page) {
         QRect item = page->actionGeometry(Item(page, QStringLiteral("行末で折り返し")));
         QTest::mouseClick(page, Qt::RightButton, {}, item.center());  // items take either button
       }},
  };
  for (const Closer& closer : closers) {
    RightClick();
    RightClick();  // page 2
    ASSERT_EQ(Rows(OpenPage()), kDefaultPage2) << closer.name;
    closer.close(*this, OpenPage());
    EXPECT_EQ(OpenPage(), nullptr) << closer.name;
    EXPECT_EQ(View().CycleIndex(), 0) << closer.name;
    RightClick();
    EXPECT_EQ(Rows(OpenPage()), kDefaultPage1) << closer.name;
    OpenPage()->close();
  }
}

TEST_F(CyclePopupTest, AnItemFromPageTwoRunsItsCommandAndTheNextClickShowsPageOne) {
  bool wrapped = View().IsWordWrapChecked();
  RightClick();
  RightClick();
  QMenu* page = OpenPage();
  QAction* wrap = Item(page, QStringLiteral("行末で折り返し"));
  ASSERT_NE(wrap, nullptr);
  EXPECT_TRUE(wrap->isCheckable());
  EXPECT_EQ(wrap->isChecked(), wrapped) << "the update pass gives popup items their check marks";
  QTest::mouseClick(page, Qt::LeftButton, {}, page->actionGeometry(wrap).center());
  EXPECT_EQ(View().IsWordWrapChecked(), !wrapped);
  RightClick();
  EXPECT_EQ(Rows(OpenPage()), kDefaultPage1);
  RightClick();
  ASSERT_EQ(OpenPage(), page) << "an unchanged page is shown again, not built again";
  EXPECT_EQ(wrap->isChecked(), !wrapped) << "and goes through the update pass again";
}

TEST_F(CyclePopupTest, LeftClickKeyPressAndFocusLossBetweenRightClicksRestartTheCycle) {
  const std::pair<const char*, std::function<void(CyclePopupTest&)>> interruptions[] = {
      {"left click", [](CyclePopupTest& t) {
         t.Press(Qt::LeftButton);
         t.Release(Qt::LeftButton);
       }},
      {"key", [](CyclePopupTest& t) { QTest::keyClick(&t.View().Control(), Qt::Key_Right); }},
      {"focus change", [](CyclePopupTest& t) {
         t.View().Control().clearFocus();
         t.View().Control().setFocus();
       }},
  };
  for (const auto& [name, interrupt] : interruptions) {
    RightClick();
    // A right press and release on the status bar close page 1 with the
    // button down, so the cycle stands at page 2 with nothing open.
    Press(Qt::RightButton, QPoint(5, 5), frame.statusBar());
    Release(Qt::RightButton, QPoint(5, 5), frame.statusBar());
    ASSERT_EQ(View().CycleIndex(), 1) << name;
    interrupt(*this);
    EXPECT_EQ(View().CycleIndex(), 0) << name;
    RightClick();
    EXPECT_EQ(Rows(OpenPage()), kDefaultPage1) << name;
    OpenPage()->close();
  }
}

TEST_F(CyclePopupTest, AMoveOfExactlyTenPixelsStillShowsThePageElevenPixelsScrollsInstead) {
  Press(Qt::RightButton, kInView);
  Move(kInView + QPoint(6, 8));  // distance squared 100
  EXPECT_FALSE(View().IsDragScrolling());
  Release(Qt::RightButton, kInView + QPoint(6, 8));
  EXPECT_EQ(Rows(OpenPage()), kDefaultPage1);
  OpenPage()->close();

  Press(Qt::RightButton, kInView);
  Move(kInView + QPoint(11, 0));
  EXPECT_TRUE(View().IsDragScrolling());
  EXPECT_EQ(TextArea()->cursor().pixmap().size(), QSize(32, 32)) << "the drag cursor";
  EXPECT_EQ(TextArea()->cursor().hotSpot(), QPoint(15, 15));
  Release(Qt::RightButton, kInView + QPoint(11, 0));
  EXPECT_EQ(OpenPage(), nullptr);
  EXPECT_FALSE(View().IsDragScrolling());
  RightClick();
  EXPECT_EQ(Rows(OpenPage()), kDefaultPage1) << "a drag leaves the cycle at page 1";
}

TEST_F(CyclePopupTest, DragMovesScrollALineAPixelVerticallyAndEightStepsSideways) {
  if (View().IsWordWrapChecked()) View().OnWordWrap();  // off: long lines scroll sideways
  LoadLines(500, 400);
  Move(kInView);
  Press(Qt::RightButton, kInView);
  Move(kInView + QPoint(0, 20));  // starts the drag: 20 lines
  long first = FirstVisibleLine();
  EXPECT_EQ(first, 20);
  Move(kInView + QPoint(2, 25));  // 5 down, 2 sideways: vertical
  EXPECT_EQ(FirstVisibleLine(), first + 5);

  QScrollBar* sideways = View().Control().horizontalScrollBar();
  ASSERT_GT(sideways->maximum(), 20 * sideways->singleStep());
  sideways->setValue(sideways->maximum() / 2);
  int before = sideways->value();
  Move(kInView + QPoint(-1, 26));  // 3 left, 1 down
  EXPECT_EQ(sideways->value(), before - 8 * sideways->singleStep());
  EXPECT_EQ(FirstVisibleLine(), first + 5);

  // Rightward moves scroll only while the screen cursor keeps going right.
  before = sideways->value();
  QCursor::setPos(QPoint(5000, 5000));  // off every window: no move of its own
  Move(kInView + QPoint(3, 26));
  EXPECT_EQ(sideways->value(), before + 8 * sideways->singleStep());
  QCursor::setPos(QPoint(4990, 5000));
  Move(kInView + QPoint(7, 26));
  EXPECT_EQ(sideways->value(), before + 8 * sideways->singleStep()) << "the cursor went left on screen";
  QCursor::setPos(QPoint(5010, 5000));
  Move(kInView + QPoint(11, 26));
  EXPECT_EQ(sideways->value(), before + 16 * sideways->singleStep());
  Release(Qt::RightButton, kInView + QPoint(11, 26));
  EXPECT_EQ(OpenPage(), nullptr);
}

TEST_F(CyclePopupTest, TheMiddleButtonNeverShowsAPageNorPastesButDragsLikeTheRight) {
  LoadLines(300);
  QApplication::clipboard()->setText(QStringLiteral("pasted"), QClipboard::Selection);
  Press(Qt::MiddleButton);
  Release(Qt::MiddleButton);
  EXPECT_EQ(OpenPage(), nullptr);
  EXPECT_FALSE(View().IsModified());
  Move(kInView);
  Press(Qt::MiddleButton);
  Move(kInView + QPoint(0, 30));
  EXPECT_EQ(FirstVisibleLine(), 30);
  Release(Qt::MiddleButton, kInView + QPoint(0, 30));
  EXPECT_FALSE(View().IsDragScrolling());
  EXPECT_EQ(OpenPage(), nullptr);
}

TEST_F(CyclePopupTest, PagesComeFromTheSettingsAtEveryClick) {
  struct Case {
    std::string_view stored;
    QStringList rows;
  };
  const Case cases[] = {
      {"", {"【空ページ】"}},
      {":::", {"-", "-", "-"}},
      {"d\x80<", {"ホームページ", "ホームページ", "コピー"}},
      {"\xFF", {"ホームページ"}},
  };
  for (const Case& c : cases) {
    SetPage(1, c.stored);
    RightClick();
    QMenu* page = OpenPage();
    ASSERT_NE(page, nullptr);
    // Qt draws runs of separators as one; the menu holds all of them.
    QStringList rows;
    for (QAction* action : page->actions()) rows << (action->isSeparator() ? QStringLiteral("-") : action->text());
    EXPECT_EQ(rows, c.rows) << c.stored;
    page->close();
  }
}

TEST_F(CyclePopupTest, InvalidBytesSendTheHomePageCommand) {
  frame.Dispatcher().SetTargets({&recorder});
  SetPage(1, "d");
  RightClick();
  QMenu* page = OpenPage();
  QTest::mouseClick(page, Qt::LeftButton, {}, page->actionGeometry(page->actions()[0]).center());
  EXPECT_EQ(recorder.received, std::vector<int>{ids::kHomePage});
}

TEST_F(CyclePopupTest, TheEmptyPageItemIsUnavailableAndShowsItsPrompt) {
  SetPage(1, "");
  RightClick();
  QMenu* page = OpenPage();
  QAction* empty = page->actions()[0];
  EXPECT_FALSE(empty->isEnabled());
  page->setActiveAction(empty);
  EXPECT_EQ(frame.statusBar()->currentMessage(), QStringLiteral("コマンドが登録されていません。"));
}

TEST_F(CyclePopupTest, RecentFilesStandInPlaceOfTheirEntry) {
  SetPage(1, "8");
  RightClick();
  ASSERT_EQ(Rows(OpenPage()), QStringList{"最近のファイル"});
  EXPECT_FALSE(OpenPage()->actions()[0]->isEnabled()) << "no recent files yet";
  OpenPage()->close();

  recentFiles.Add(QStringLiteral("/tmp/one.txt"));
  recentFiles.Add(QStringLiteral("/tmp/two.txt"));
  RightClick();
  EXPECT_EQ(Rows(OpenPage()), (QStringList{"&1 /tmp/two.txt", "&2 /tmp/one.txt"}));
}

TEST_F(CyclePopupTest, APopupItemRunsTheMenuItemsHandlerAndShowsItsPrompt) {
  SetPage(1, "L");  // フラットツールバー...
  RightClick();
  QMenu* page = OpenPage();
  QAction* item = page->actions()[0];
  page->setActiveAction(item);
  EXPECT_EQ(frame.statusBar()->currentMessage(), QStringLiteral("ツールバーの表示方法を変更します。"));
  QTest::mouseClick(page, Qt::LeftButton, {}, page->actionGeometry(item).center());
  frame.Action(ids::kFlatToolBar)->trigger();
  ASSERT_EQ(user.asked.size(), 2u);
  EXPECT_EQ(user.asked[0].text, QStringLiteral("次回起動時にツールバーが\n通常ボタン表示になります。"));
  EXPECT_EQ(user.asked[1].text, QStringLiteral("次回起動時にツールバーが\nフラットボタン表示になります。"));
  EXPECT_EQ(user.asked[0].caption, user.asked[1].caption);
}

TEST_F(CyclePopupTest, TheControlsOwnContextMenuNeverShows) {
  QContextMenuEvent event(QContextMenuEvent::Keyboard, kInView, TextArea()->mapToGlobal(kInView));
  QApplication::sendEvent(TextArea(), &event);
  EXPECT_EQ(OpenPage(), nullptr);
}

TEST_F(CyclePopupTest, SettingsEditThePagesAsLastReadCancelWritesNothingOkWritesAllFour) {
  SetPage(1, "<");  // changed elsewhere after the pages were read
  std::string before = ReadFileBytes(profile.Path());
  int shownRows = -1;
  AnswerDialogs<CCyclePopupDlg>([&](CCyclePopupDlg& dialog) {
    shownRows = dialog.m_pageList->count();
    Button(dialog, "reset")->click();
    Button(dialog, "cancel")->click();
  });
  EXPECT_TRUE(View().HandlesCommand(ids::kCycleMenuSettings)) << "the view answers for it";
  frame.RunCommand(ids::kCycleMenuSettings);
  EXPECT_EQ(shownRows, 11) << "the dialog does not read the file again";
  EXPECT_EQ(ReadFileBytes(profile.Path()), before);

  frame.CyclePopup().m_cyclePages = {std::string("d\x80", 2), "", "", ""};
  AnswerDialogs<CCyclePopupDlg>([&](CCyclePopupDlg& dialog) {
    dialog.m_tab->setCurrentIndex(1);
    Button(dialog, "add")->click();
    Button(dialog, "ok")->click();
  });
  frame.RunCommand(ids::kCycleMenuSettings);
  EXPECT_EQ(CyclePages::Load(profile), (PageStrings{std::string("d\x80", 2), "0", "", ""}));
  RightClick();
  EXPECT_EQ(Rows(OpenPage()), (QStringList{"ホームページ", "ホームページ"}));
}

TEST_F(CyclePopupTest, TheSettingsItemOfPageFourOpensTheSettings) {
  int opened = 0;
  AnswerDialogs<CCyclePopupDlg>([&](CCyclePopupDlg& dialog) {
    ++opened;
    dialog.reject();
  });
  SetPage(1, "X");
  RightClick();
  QMenu* page = OpenPage();
  QTest::mouseClick(page, Qt::LeftButton, {}, page->actionGeometry(page->actions()[0]).center());
  EXPECT_EQ(opened, 1);
}

}  // namespace
