// The main window's own behaviour: placement, the window commands, status
// panes and dropped files.

#include <gtest/gtest.h>

#include <QAction>
#include <QDropEvent>
#include <QImage>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QStyleOptionToolBar>
#include <QMimeData>
#include <QTest>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>

#include "ByteStrings.h"
#include "CKb_zeva3Doc.h"
#include "CKb_zeva3View.h"
#include "CMainFrame.h"
#include "CommandIds.h"
#include "FrameTestSupport.h"
#include "PlacementRecorder.h"
#include "WindowPlacement.h"
#include "ViewInternals.h"

namespace {

using platform::MessageIcon;

TEST(WindowPlacement, DefaultsAreCentredOnTheScreenAndNothingIsClamped) {
  ProfileFile& profile = FreshSettings();
  EXPECT_EQ(PlacementFromSettings(profile, QSize(1024, 768)), QRect(192, 144, 640, 480));
  profile.WriteProfileInt("Size", "SizeX", 1101);  // wider than the screen: a negative default x
  EXPECT_EQ(PlacementFromSettings(profile, QSize(1024, 768)).x(), -38);
  profile.WriteProfileInt("Position", "PosX", -300);
  profile.WriteProfileInt("Position", "PosY", 5000);
  EXPECT_EQ(PlacementFromSettings(profile, QSize(1024, 768)).topLeft(), QPoint(-300, 5000));
}

class MainFrameTest : public testing::Test {
 protected:
  void Start() {
    frame = std::make_unique<CMainFrame>(profile, nullptr, nullptr);
    frame->Document().OnNewDocument();
    frame->show();
    frame->UpdateIdle();
  }
  CommandUpdate Update(int id) { return frame->Dispatcher().Update(id); }

  ProfileFile& profile = FreshSettings();
  ScriptedUser user;
  std::unique_ptr<CMainFrame> frame;
};

TEST_F(MainFrameTest, OpensAtTheStoredPlacementAndWritesMovesAndResizes) {
  profile.WriteProfileInt("Size", "SizeX", 500);
  profile.WriteProfileInt("Size", "SizeY", 300);
  profile.WriteProfileInt("Position", "PosX", 40);
  profile.WriteProfileInt("Position", "PosY", 30);
  Start();
  EXPECT_EQ(frame->size(), QSize(500, 300));
  frame->move(70, 80);
  frame->resize(600, 400);
  EXPECT_TRUE(QTest::qWaitFor([&] { return profile.GetProfileInt("Size", "SizeX", 0) == 600; }));
  EXPECT_EQ(profile.GetProfileInt("Position", "PosX", 0), frame->frameGeometry().x());
  EXPECT_EQ(profile.GetProfileInt("Size", "SizeY", 0), 400);
}

// A window manager reports the move of a restore before the normal frame is
// back: what is stored is read once the window has settled in the normal
// state, so nothing seen on the way into or out of maximised counts.
TEST_F(MainFrameTest, PlacementDoesNotDriftOverMaximiseAndRestore) {
  profile.WriteProfileInt("Position", "PosX", 40);
  profile.WriteProfileInt("Position", "PosY", 30);
  Start();
  QTest::qWait(2 * PlacementRecorder::kSettleMilliseconds);
  frame->move(70, 80);  // a moment later the window is maximised
  QApplication::processEvents();
  frame->showMaximized();
  QTest::qWait(2 * PlacementRecorder::kSettleMilliseconds);
  EXPECT_EQ(profile.GetProfileInt("Position", "PosX", 0), 40);
  EXPECT_EQ(profile.GetProfileInt("Position", "PosY", 0), 30);
  for (int cycle = 0; cycle < 3; ++cycle) {
    frame->showNormal();
    QTest::qWait(2 * PlacementRecorder::kSettleMilliseconds);
    QPoint settled = frame->frameGeometry().topLeft();
    EXPECT_EQ(QPoint(profile.GetProfileInt("Position", "PosX", 0), profile.GetProfileInt("Position", "PosY", 0)),
              settled);
    frame->showMaximized();
    QApplication::processEvents();
  }
}

TEST_F(MainFrameTest, AMoveJustBeforeClosingIsStored) {
  Start();
  frame->move(90, 60);
  QApplication::processEvents();
  frame->close();
  EXPECT_EQ(profile.GetProfileInt("Position", "PosX", 0), frame->frameGeometry().x());
  EXPECT_EQ(profile.GetProfileInt("Position", "PosY", 0), frame->frameGeometry().y());
}

// A hand-edited size below what the bars need: the window manager used to
// enlarge the window and push it up by its title bar at every start.
TEST_F(MainFrameTest, AStoredSizeBelowTheMinimumIsUsedAsGivenAndMovesNothing) {
  profile.WriteProfileInt("Size", "SizeX", 300);
  profile.WriteProfileInt("Size", "SizeY", 100);
  profile.WriteProfileInt("Position", "PosX", 50);
  profile.WriteProfileInt("Position", "PosY", 60);
  Start();
  QTest::qWait(2 * PlacementRecorder::kSettleMilliseconds);
  EXPECT_EQ(frame->size(), QSize(300, 100));
  EXPECT_EQ(profile.GetProfileInt("Position", "PosY", 0), 60);
  EXPECT_EQ(profile.GetProfileInt("Size", "SizeY", 0), 100);
}

TEST_F(MainFrameTest, NothingIsWrittenWhileMaximised) {
  Start();
  frame->resize(600, 400);
  frame->move(70, 80);
  ASSERT_TRUE(QTest::qWaitFor([&] { return profile.GetProfileInt("Size", "SizeX", 0) == 600; }));
  ASSERT_TRUE(QTest::qWaitFor([&] { return profile.GetProfileInt("Position", "PosX", 0) == frame->frameGeometry().x(); }));
  QPoint normalCorner = frame->frameGeometry().topLeft();
  frame->RunCommand(ids::kMaximiseRestore);
  QApplication::processEvents();
  ASSERT_TRUE(frame->isMaximized());
  ASSERT_NE(frame->size(), QSize(600, 400));
  ASSERT_NE(frame->frameGeometry().topLeft(), normalCorner);
  // The last normal placement stays, all four values of it.
  EXPECT_EQ(profile.GetProfileInt("Size", "SizeX", 0), 600);
  EXPECT_EQ(profile.GetProfileInt("Size", "SizeY", 0), 400);
  EXPECT_EQ(profile.GetProfileInt("Position", "PosX", 0), normalCorner.x());
  EXPECT_EQ(profile.GetProfileInt("Position", "PosY", 0), normalCorner.y());
  frame->RunCommand(ids::kMaximiseRestore);
  EXPECT_FALSE(frame->isMaximized());
}

TEST_F(MainFrameTest, NewWindowStoresThePlacementPlusTwentyThenStartsTheEditor) {
  Start();
  frame->resize(640, 480);
  frame->move(100, 50);
  QApplication::processEvents();
  QString started;
  QStringList startedWith{QStringLiteral("not called")};
  platform::SetProgramHandler([&](const QString& program, const QStringList& arguments) {
    // The placement is in the file before the second editor starts.
    EXPECT_EQ(profile.GetProfileInt("Position", "PosX", 0), frame->frameGeometry().x() + 20);
    EXPECT_EQ(profile.GetProfileInt("Position", "PosY", 0), frame->frameGeometry().y() + 20);
    EXPECT_EQ(profile.GetProfileInt("Size", "SizeX", 0), 640);
    EXPECT_EQ(profile.GetProfileInt("Size", "SizeY", 0), 480);
    started = program;
    startedWith = arguments;
    return true;
  });
  frame->RunCommand(ids::kNewWindow);
  EXPECT_EQ(started, QCoreApplication::applicationFilePath());
  EXPECT_TRUE(startedWith.isEmpty());
}

TEST_F(MainFrameTest, NewWindowFromAMaximisedWindowWritesNothing) {
  Start();
  frame->showMaximized();
  QApplication::processEvents();
  std::filesystem::remove(profile.Path());
  platform::SetProgramHandler([](const QString&, const QStringList&) { return true; });
  frame->RunCommand(ids::kNewWindow);
  EXPECT_FALSE(std::filesystem::exists(profile.Path()));
}

TEST_F(MainFrameTest, FlatSettingTwoGivesRaisedButtonsAndTheCommandStoresOne) {
  profile.WriteProfileInt("Config", "Flat", 2);
  Start();
  EXPECT_FALSE(frame->IsToolBarFlat());
  EXPECT_EQ(Update(ids::kFlatToolBar).checked, true);
  frame->RunCommand(ids::kFlatToolBar);
  ASSERT_EQ(user.asked.size(), 1u);
  EXPECT_EQ(user.asked[0].text, QStringLiteral("次回起動時にツールバーが\nフラットボタン表示になります。"));
  EXPECT_EQ(user.asked[0].icon, MessageIcon::Information);
  EXPECT_EQ(profile.GetProfileInt("Config", "Flat", -1), 1);
  frame->RunCommand(ids::kFlatToolBar);
  EXPECT_EQ(user.asked[1].text, QStringLiteral("次回起動時にツールバーが\n通常ボタン表示になります。"));
  EXPECT_EQ(profile.GetProfileInt("Config", "Flat", -1), 0);
  EXPECT_EQ(Update(ids::kFlatToolBar).checked, false);
}

TEST_F(MainFrameTest, MinimiseIsDisabledWhileMinimised) {
  Start();
  EXPECT_TRUE(Update(ids::kMinimise).enabled);
  frame->RunCommand(ids::kMinimise);
  QApplication::processEvents();
  if (!frame->isMinimized()) GTEST_SKIP() << "this platform does not minimise";
  EXPECT_FALSE(Update(ids::kMinimise).enabled);
}

// The menus and the tool bar share their actions: a menu opened in between
// changes a button, and the idle update, which touches a button only when
// its state differs from the one it last gave it, must set it again.
TEST_F(MainFrameTest, AButtonAMenuChangedIsSetAgainByTheNextIdleUpdate) {
  Start();
  EditorControl& control = frame->View().Control();
  WritableAsWhenFocusReturns(frame->View());
  QTest::keyClicks(&control, QStringLiteral("ab"));
  control.selectAll();
  frame->UpdateIdle();
  QAction* copy = frame->Action(ids::kCopy);
  ASSERT_TRUE(copy->isEnabled());
  QMenu* editMenu = nullptr;
  for (QAction* entry : frame->menuBar()->actions())
    if (entry->menu() && entry->menu()->actions().contains(copy)) editMenu = entry->menu();
  ASSERT_NE(editMenu, nullptr);
  control.SetSelection(0, 0);
  frame->PrepareMenu(editMenu);
  ASSERT_FALSE(copy->isEnabled()) << "nothing selected as the menu opened";
  control.selectAll();
  frame->UpdateIdle();
  EXPECT_TRUE(copy->isEnabled()) << "selected again";
}

TEST_F(MainFrameTest, StatusPanesOfANewDocumentAfterTypingAndAfterInsert) {
  Start();
  EXPECT_EQ(frame->PaneText(1), QStringLiteral("○"));
  EXPECT_EQ(frame->PaneText(2), QStringLiteral("0バイト"));
  EXPECT_EQ(frame->PaneText(3), QStringLiteral("1行"));
  EXPECT_EQ(frame->PaneText(4), QStringLiteral("SJS→SJS"));
  EXPECT_EQ(frame->PaneText(5), QStringLiteral("挿入"));
  QString dayBefore = LocalClock("%m/%d");
  frame->UpdateIdle();
  QString date = frame->PaneText(6);
  EXPECT_TRUE(date == dayBefore || date == LocalClock("%m/%d")) << "the day may turn between the readings";
  EXPECT_EQ(frame->PaneText(7).size(), 5);
  WritableAsWhenFocusReturns(frame->View());
  QTest::keyClicks(&frame->View().Control(), QStringLiteral("ab"));
  QTest::keyClick(&frame->View().Control(), Qt::Key_Return);
  frame->UpdateIdle();
  EXPECT_EQ(frame->PaneText(1), QStringLiteral("●"));
  EXPECT_EQ(frame->PaneText(2), QStringLiteral("4バイト"));
  EXPECT_EQ(frame->PaneText(3), QStringLiteral("2行"));
  QTest::keyClick(&frame->View().Control(), Qt::Key_Insert);
  frame->UpdateIdle();
  EXPECT_EQ(frame->PaneText(5), QStringLiteral("上書"));
}

TEST_F(MainFrameTest, CodePaneShowsNothingForCodesOutsideZeroToThree) {
  Start();
  ViewInternals::LoadCode(frame->View()) = KanjiCodeFromInt(7);
  ViewInternals::SaveCode(frame->View()) = KanjiCode::ShiftJis;
  frame->UpdateIdle();
  EXPECT_EQ(frame->PaneText(4), QStringLiteral("→SJS"));
}

TEST_F(MainFrameTest, DroppingThreeFilesOpensOnlyTheFirst) {
  Start();
  TempDir dir;
  for (const char* name : {"a.txt", "b.txt", "c.txt"}) WriteFileBytes(dir.File(name), name);
  QMimeData data;
  data.setUrls({QUrl::fromLocalFile(QString::fromStdString(dir.File("a.txt"))),
                QUrl::fromLocalFile(QString::fromStdString(dir.File("b.txt"))),
                QUrl::fromLocalFile(QString::fromStdString(dir.File("c.txt")))});
  QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(frame.get(), &enter);
  QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(frame.get(), &drop);
  EXPECT_EQ(frame->Document().PathName(), QString::fromStdString(dir.File("a.txt")));
  EXPECT_EQ(frame->View().TextForSave(nullptr), "a.txt");
}

TEST_F(MainFrameTest, ClosingAModifiedDocumentAsksAndCancelKeepsTheWindow) {
  Start();
  WritableAsWhenFocusReturns(frame->View());
  QTest::keyClicks(&frame->View().Control(), QStringLiteral("x"));
  user.answers = {platform::MessageAnswer::Cancel};
  EXPECT_FALSE(frame->close());
  EXPECT_TRUE(frame->isVisible());
  user.answers = {platform::MessageAnswer::No};
  EXPECT_TRUE(frame->close());
}

TEST_F(MainFrameTest, CommandsWithoutAHandlerYetShowDisabled) {
  Start();
  for (int id : {ids::kGoToLine}) EXPECT_FALSE(Update(id).enabled) << id;
  for (int id : {ids::kFileSave, ids::kFontSettings, ids::kNewWindow, ids::kExit, ids::kPrint, ids::kPrintDirect,
                 ids::kPrintPreview, ids::kPrintSetup})
    EXPECT_TRUE(Update(id).enabled) << id;
}

// The first column of `image` with a dark pixel: where the drawn text starts.
int FirstInkedColumn(const QImage& image, int from) {
  for (int x = from; x < image.width(); ++x)
    for (int y = 0; y < image.height(); ++y)
      if (qGray(image.pixel(x, y)) < 128) return x;
  return -1;
}

// The panes were centred, so a number wider than its pane lost its leading
// digits ("851840バイト" for 1,851,840).
TEST_F(MainFrameTest, AWideNumberInAStatusPaneLostItsLeadingDigits) {
  Start();
  QLabel* pane = frame->PaneLabel(2);
  ASSERT_NE(pane, nullptr);
  pane->setText(QStringLiteral("1851840バイト"));
  ASSERT_GT(pane->fontMetrics().horizontalAdvance(pane->text()), pane->contentsRect().width()) << "wider than its pane";
  int wideStart = FirstInkedColumn(pane->grab().toImage(), pane->contentsRect().left());
  pane->setText(QStringLiteral("1"));
  int digitStart = FirstInkedColumn(pane->grab().toImage(), pane->contentsRect().left());
  ASSERT_GE(digitStart, 0);
  EXPECT_NEAR(wideStart, digitStart, 1) << "the wide text starts with its leading 1, where the 1 alone starts";
}

// Only the flat tool bar (Flat=1) could be moved; the raised one was fixed.
TEST_F(MainFrameTest, TheRaisedToolBarCouldNotBeMovedOrDocked) {
  profile.WriteProfileInt("Config", "Flat", 0);
  Start();
  frame->resize(640, 480);
  QToolBar* bar = frame->ToolBar();
  ASSERT_FALSE(frame->IsToolBarFlat());
  // Dragged by its handle to the window's left edge, it docks there.
  QStyleOptionToolBar option;
  option.initFrom(bar);
  QPoint handle(bar->style()->pixelMetric(QStyle::PM_ToolBarHandleExtent, &option, bar) / 2 + 1, bar->height() / 2);
  QPoint from = bar->mapToGlobal(handle), to = frame->mapToGlobal(QPoint(4, frame->height() / 2));
  auto send = [&](QEvent::Type type, QPoint global, Qt::MouseButtons buttons) {
    QMouseEvent event(type, bar->mapFromGlobal(global), global, Qt::LeftButton, buttons, Qt::NoModifier);
    QApplication::sendEvent(bar, &event);
  };
  send(QEvent::MouseButtonPress, from, Qt::LeftButton);
  for (int step = 1; step <= 10; ++step) send(QEvent::MouseMove, from + (to - from) * step / 10, Qt::LeftButton);
  send(QEvent::MouseButtonRelease, to, Qt::NoButton);
  QApplication::processEvents();
  EXPECT_EQ(frame->toolBarArea(bar), Qt::LeftToolBarArea);
}

}  // namespace
