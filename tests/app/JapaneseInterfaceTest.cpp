// The whole interface speaks Japanese whatever the locale: Qt's own dialogs,
// the program's prompts, and one Japanese face for every widget.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QFontDatabase>
#include <QMessageBox>

#include <cstdlib>

#include "CKb_zeva3App.h"
#include "JapaneseInterface.h"
#include "ModalSeam.h"
#include "TempDir.h"

namespace {

class JapaneseInterfaceTest : public testing::Test {
 protected:
  static void SetUpTestSuite() {
    setenv("KB_ZEVA3_INI", dir.File("Kb_zeva3.ini").c_str(), 1);
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    setenv("LANG", "C", 1);  // an English locale must not matter
    setenv("LC_ALL", "C", 1);
    app = new CKb_zeva3App(argc, argv);
  }
  static void TearDownTestSuite() {
    delete app;
    app = nullptr;
  }
  static inline TempDir dir;
  static inline int argc = 1;
  static inline char name[] = "kb_zeva3";
  static inline char* argv[] = {name, nullptr};
  static inline CKb_zeva3App* app = nullptr;
};

TEST_F(JapaneseInterfaceTest, QtOwnDialogsAreTranslatedEvenInTheCLocale) {
  EXPECT_EQ(QCoreApplication::translate("QFileDialog", "Look in:"), QStringLiteral("アドレス:"));
  EXPECT_EQ(QCoreApplication::translate("QFontDialog", "Select Font"), QStringLiteral("フォントの選択"));
}

TEST_F(JapaneseInterfaceTest, PromptsAnswerWithJapaneseButtons) {
  auto box = platform::BuildMessageBox(nullptr, {QStringLiteral("変更を保存しますか?"), QStringLiteral("Kb_zeva3"),
                                                 platform::MessageIcon::Exclamation,
                                                 platform::MessageButtons::YesNoCancel});
  EXPECT_EQ(box->button(QMessageBox::Yes)->text(), QStringLiteral("はい"));
  EXPECT_EQ(box->button(QMessageBox::No)->text(), QStringLiteral("いいえ"));
  EXPECT_EQ(box->button(QMessageBox::Cancel)->text(), QStringLiteral("キャンセル"));
  EXPECT_EQ(box->button(QMessageBox::Yes)->shortcut(), QKeySequence(Qt::Key_Y));
  auto ok = platform::BuildMessageBox(nullptr, {QStringLiteral("x"), QStringLiteral("Kb_zeva3"),
                                                platform::MessageIcon::Information, platform::MessageButtons::Ok});
  EXPECT_EQ(ok->button(QMessageBox::Ok)->text(), QStringLiteral("OK"));
}

// Digits from one face and kana from another made the status panes ragged.
TEST_F(JapaneseInterfaceTest, EveryWidgetDrawsInOneFaceThatHasJapanese) {
  QString family = JapaneseInterface::InterfaceFontFamily();
  ASSERT_FALSE(family.isEmpty()) << "no Japanese font installed";
  EXPECT_TRUE(QFontDatabase::writingSystems(family).contains(QFontDatabase::Japanese)) << family.toStdString();
  EXPECT_EQ(QApplication::font().families().value(0), family);
}

}  // namespace

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
