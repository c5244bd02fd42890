// The program's file dialogs name kinds of files in Japanese: Qt's own
// words for them stay English in its Japanese translation ("Folder").

#include "JapaneseFileDialog.h"

#include <gtest/gtest.h>

#include <QAbstractFileIconProvider>
#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>

#include "TempDir.h"

namespace {

TEST(JapaneseFileDialog, KindsAreNamedInJapanese) {
  TempDir dir;
  WriteFileBytes(dir.File("memo.txt"), "x");
  WriteFileBytes(dir.File("data.bin"), "x");
  QFileDialog dialog;
  platform::MakeJapaneseFileDialog(dialog);
  const QAbstractFileIconProvider* kinds = dialog.iconProvider();
  ASSERT_NE(kinds, nullptr);
  EXPECT_EQ(kinds->type(QFileInfo(QString::fromStdString(dir.Path().string()))), QStringLiteral("フォルダ"));
  EXPECT_EQ(kinds->type(QFileInfo(QString::fromStdString(dir.File("memo.txt")))), QStringLiteral("TXT テキスト"));
  EXPECT_EQ(kinds->type(QFileInfo(QString::fromStdString(dir.File("data.bin")))), QStringLiteral("BIN ファイル"));
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
