// The custom button dialog as it opens: texts, the whole table in order,
// the picture, and the entry it starts on.

#include "CCustomButtonDlg.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QListWidget>

#include "CommandTable.h"
#include "DialogTestSupport.h"

namespace {

TEST(CustomButtonDlg, ShowsTheWholeTableInOrderWithItsTextsAndPicture) {
  CCustomButtonDlg dialog(12);
  EXPECT_EQ(dialog.windowTitle(), QStringLiteral("カスタムボタンの設定"));
  ASSERT_EQ(dialog.m_list->count(), 52);
  for (int row = 0; row < 52; ++row)
    EXPECT_EQ(dialog.m_list->item(row)->text(), QString::fromUtf8(CommandTable[static_cast<std::size_t>(row)].name));
  EXPECT_EQ(dialog.m_list->currentRow(), 12);
  EXPECT_EQ(Button(dialog, "ok")->text(), QStringLiteral("オッケー！！"));
  EXPECT_EQ(Button(dialog, "cancel")->text(), QStringLiteral("キャンセル"));
  auto* explanation = dialog.findChild<QLabel*>(QStringLiteral("explanation"));
  ASSERT_NE(explanation, nullptr);
  EXPECT_EQ(explanation->text(),
            QStringLiteral("↑カスタムボタンに任意の\nコマンドを登録できます。\n頻繁に使う機能を登録して\nおくと便利です。"));
  auto* picture = dialog.findChild<QLabel*>(QStringLiteral("picture"));
  ASSERT_NE(picture, nullptr);
  EXPECT_EQ(picture->pixmap().size(), QSize(23, 23));
  EXPECT_LT(picture->geometry().bottom(), explanation->geometry().top()) << "the arrow points up at it";
}

TEST(CustomButtonDlg, IndicesOutsideTheTableOpenOnTheSettingsEntry) {
  for (int index : {-1, -49, 52, 100}) {
    CCustomButtonDlg dialog(index);
    EXPECT_EQ(dialog.m_index, 41) << index;
    EXPECT_EQ(dialog.m_list->currentRow(), 41) << index;
  }
  CCustomButtonDlg separator(47);
  EXPECT_EQ(separator.m_list->currentRow(), 47);
}

}  // namespace
