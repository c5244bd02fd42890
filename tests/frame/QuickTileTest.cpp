// Quick tile: the registered placement, recalled on command.

#include <gtest/gtest.h>

#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QTest>

#include "CMainFrame.h"
#include "CommandIds.h"
#include "FrameTestSupport.h"
#include "QuickTile.h"

namespace {

using platform::MessageAnswer;

class QuickTileTest : public testing::Test {
 protected:
  void SetUp() override {
    frame = std::make_unique<CMainFrame>(profile, nullptr, nullptr);
    frame->show();
    frame->resize(500, 300);
    frame->move(30, 40);
    QApplication::processEvents();
  }
  void Run(int id) {
    frame->Dispatcher().Dispatch(id);
    QApplication::processEvents();
  }
  int Setting(const char* section, const char* key) { return profile.GetProfileInt(section, key, -9999); }

  ProfileFile& profile = FreshSettings();
  ScriptedUser user;
  std::unique_ptr<CMainFrame> frame;
};

TEST(QuickTileDefaults, A640By480WindowCentredOnTheScreen) {
  ProfileFile& profile = FreshSettings();
  EXPECT_EQ(QuickTile::Stored(profile, QSize(1024, 768)), QRect(192, 144, 640, 480));
  profile.WriteProfileInt("Size", "TileSizeX", 1101);  // wider than the screen: the halving truncates toward zero
  EXPECT_EQ(QuickTile::Stored(profile, QSize(1024, 768)).x(), -38);
}

TEST_F(QuickTileTest, BothCommandsAreEnabled) {
  EXPECT_TRUE(frame->Dispatcher().Update(ids::kQuickTile).enabled);
  EXPECT_TRUE(frame->Dispatcher().Update(ids::kRegisterQuickTile).enabled);
}

TEST_F(QuickTileTest, WithNothingRegisteredRestoresAMaximisedWindowCentredAndItsOwnPlacementFollows) {
  frame->showMaximized();
  QApplication::processEvents();
  Run(ids::kQuickTile);
  QSize screen = QGuiApplication::primaryScreen()->geometry().size();
  QRect expected((screen.width() - 640) / 2, (screen.height() - 480) / 2, 640, 480);
  EXPECT_FALSE(frame->isMaximized());
  EXPECT_EQ(frame->frameGeometry(), expected);
  // Stored once the window has settled, as every move is.
  EXPECT_TRUE(QTest::qWaitFor([&] { return Setting("Position", "PosX") == expected.x(); }));
  EXPECT_EQ(Setting("Position", "PosY"), expected.y());
  EXPECT_EQ(Setting("Size", "SizeX"), frame->width()) << "as the window's own resize handling stores it";
  EXPECT_TRUE(user.asked.empty());
}

// Off the right and bottom edges: Qt's offscreen platform itself pushes a
// window whose contents would start left of or above the screen back by its
// frame, so negative positions cannot be checked here.
TEST_F(QuickTileTest, ARectangleOffTheScreenIsUsedUnchanged) {
  profile.WriteProfileInt("Position", "TilePosX", 700);
  profile.WriteProfileInt("Position", "TilePosY", 5000);
  profile.WriteProfileInt("Size", "TileSizeX", 3000);
  profile.WriteProfileInt("Size", "TileSizeY", 250);
  Run(ids::kQuickTile);
  EXPECT_EQ(frame->frameGeometry(), QRect(700, 5000, 3000, 250));
}

TEST_F(QuickTileTest, RegisteringAsksThenStoresTheOuterRectangle) {
  Run(ids::kRegisterQuickTile);
  ASSERT_EQ(user.asked.size(), 1u);
  EXPECT_EQ(user.asked[0].text, QStringLiteral("クイックタイルに現在の\n窓の配置を登録しますか？"));
  EXPECT_EQ(user.asked[0].caption, QStringLiteral("Kaboma Edit 3"));
  EXPECT_EQ(user.asked[0].icon, platform::MessageIcon::Question);
  EXPECT_EQ(user.asked[0].buttons, platform::MessageButtons::YesNo);
  QRect outer = frame->frameGeometry();
  EXPECT_EQ(Setting("Position", "TilePosX"), outer.left());
  EXPECT_EQ(Setting("Position", "TilePosY"), outer.top());
  EXPECT_EQ(Setting("Size", "TileSizeX"), outer.width());
  EXPECT_EQ(Setting("Size", "TileSizeY"), outer.height());

  // And the registered rectangle comes back after the window moved.
  frame->move(5, 6);
  frame->resize(300, 200);
  Run(ids::kQuickTile);
  EXPECT_EQ(frame->frameGeometry(), outer);
}

TEST_F(QuickTileTest, RegisteringFromAMaximisedWindowStoresTheRestoredRectangle) {
  QRect normal = frame->frameGeometry();
  frame->showMaximized();
  QApplication::processEvents();
  bool maximisedWhenAsked = true;
  platform::SetMessageHandler([&](const platform::MessageRequest&) {
    maximisedWhenAsked = frame->isMaximized();
    return MessageAnswer::Yes;
  });
  Run(ids::kRegisterQuickTile);
  EXPECT_FALSE(maximisedWhenAsked) << "restored before the question";
  EXPECT_EQ(Setting("Position", "TilePosX"), normal.left());
  EXPECT_EQ(Setting("Position", "TilePosY"), normal.top());
  EXPECT_EQ(Setting("Size", "TileSizeX"), normal.width());
  EXPECT_EQ(Setting("Size", "TileSizeY"), normal.height());
}

TEST_F(QuickTileTest, AnsweringNoStoresNothingButTheWindowStaysRestored) {
  frame->showMaximized();
  QApplication::processEvents();
  user.answers = {MessageAnswer::No};
  Run(ids::kRegisterQuickTile);
  EXPECT_FALSE(frame->isMaximized());
  for (auto [section, key] : {std::pair{"Position", "TilePosX"}, {"Position", "TilePosY"}, {"Size", "TileSizeX"},
                              {"Size", "TileSizeY"}})
    EXPECT_EQ(Setting(section, key), -9999) << key;
}

}  // namespace
