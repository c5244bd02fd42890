// Phrase insertion and the phrase settings dialog, answered through the
// modal seam.

#include "Phrases.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "CKb_zeva3View.h"
#include "CPhraseDlg.h"
#include "CommandIds.h"
#include "GuiTestSupport.h"

namespace {

// Types each character as a key press carrying it (also characters no key
// of a US keyboard gives).
void Type(QWidget* widget, const QString& text) {
  for (QChar c : text) {
    QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
    QApplication::sendEvent(widget, &press);
  }
}

class PhrasesTest : public testing::Test {
 protected:
  void Show(const std::string& text) {
    view.ShowDocument(text, {});
    WritableAsWhenFocusReturns(view);
  }
  std::string Text() const { return view.TextForSave(nullptr); }
  // Runs the settings dialog with `answer` acting on it.
  void RunSettings(std::function<int(CPhraseDlg&)> answer) {
    platform::SetDialogHandler([answer](QDialog& dialog) { return answer(dynamic_cast<CPhraseDlg&>(dialog)); });
    view.OnCommand(ids::kPhraseSettings);
  }

  TestSettings settings;
  ScriptedUser user;
  CKb_zeva3View view{settings.profile};
};

TEST_F(PhrasesTest, WithoutSettingsEachPhraseIsItsKeyNameAndTheMarkedOneIsTheFirst) {
  Show("");
  view.OnCommand(ids::kPhrase1 + 2);
  view.OnCommand(ids::kInsertPhrase);
  EXPECT_EQ(Text(), "Word3Word1");
  EXPECT_TRUE(user.asked.empty());
  EXPECT_FALSE(std::filesystem::exists(settings.path));
}

TEST_F(PhrasesTest, AnEmptiedBoxWritesAnEmptyPhraseWhichThenRefusesToInsert) {
  Show("x");
  RunSettings([](CPhraseDlg& dialog) {
    dialog.WordEdit(1)->clear();
    dialog.Radio(3)->click();
    dialog.OkButton()->click();
    return dialog.result();
  });
  EXPECT_EQ(ReadFileBytes(settings.path),
            "[LineWord]\r\nCheckNum=3\r\nWord1=Word1\r\nWord2=\r\nWord3=Word3\r\nWord4=Word4\r\nWord5=Word5\r\n");
  view.OnCommand(ids::kPhrase1 + 1);
  EXPECT_EQ(Text(), "x");
  ASSERT_EQ(user.asked.size(), 1u);
  EXPECT_EQ(user.asked[0].text, QStringLiteral("単語が登録されていません。"));
  EXPECT_EQ(user.asked[0].caption, QStringLiteral("一言挿入"));
  EXPECT_EQ(user.asked[0].icon, platform::MessageIcon::Exclamation);
  view.OnCommand(ids::kInsertPhrase);
  EXPECT_EQ(Text(), "Word4x") << "the marked phrase is read at each use";
}

TEST_F(PhrasesTest, CancelWritesNothing) {
  Show("");
  RunSettings([](CPhraseDlg& dialog) {
    dialog.WordEdit(0)->setText(QStringLiteral("changed"));
    dialog.Radio(2)->click();
    dialog.CancelButton()->click();
    return dialog.result();
  });
  EXPECT_FALSE(std::filesystem::exists(settings.path));
}

TEST_F(PhrasesTest, AMarkOutOfRangeInsertsTheFirstPhraseAndOpensWithTheFirstButton) {
  WriteFileBytes(settings.path, "[LineWord]\nCheckNum=7\nWord1=first\n");
  Show("");
  view.OnCommand(ids::kInsertPhrase);
  EXPECT_EQ(Text(), "first");
  RunSettings([](CPhraseDlg& dialog) {
    EXPECT_TRUE(dialog.Radio(0)->isChecked());
    EXPECT_EQ(dialog.WordEdit(0)->text(), QStringLiteral("first"));
    EXPECT_EQ(dialog.WordEdit(4)->text(), QStringLiteral("Word5"));
    return 0;
  });
}

TEST_F(PhrasesTest, APhraseOverASelectionIsOneUndoStep) {
  Show("hello world");
  view.Control().SetSelection(6, 11);
  view.OnCommand(ids::kPhrase1);
  EXPECT_EQ(Text(), "hello Word1");
  EXPECT_EQ(view.Control().CaretPosition(), 11) << "the caret ends after the phrase";
  view.OnCommand(ids::kUndo);
  EXPECT_EQ(Text(), "hello world");
  EXPECT_FALSE(view.Control().isUndoAvailable());
}

TEST_F(PhrasesTest, JapanesePhrasesAndBytesThatAreNoCharacterArriveIntact) {
  WriteFileBytes(settings.path, "[LineWord]\nWord2=\x82\xa0\x80z\n");  // "あ", a lone 0x80, "z"
  Show("");
  view.OnCommand(ids::kPhrase1 + 1);
  EXPECT_EQ(Text(), "\x82\xa0\x80z");
}

TEST_F(PhrasesTest, ABoxTakesAtMost255BytesAsTyped) {
  CPhraseDlg dialog({}, 0);
  QLineEdit* box = dialog.WordEdit(0);
  Type(box, QString(128, u'あ'));
  EXPECT_EQ(box->text(), QString(127, u'あ')) << "127 full-width characters are 254 bytes";
  Type(box, QStringLiteral("ab"));
  EXPECT_EQ(box->text(), QString(127, u'あ') + u'a') << "one half-width character fills the box";
  box->setText(QString(200, u'ｱ'));
  Type(box, QString(60, u'ｲ'));
  EXPECT_EQ(box->text().size(), 255) << "half-width katakana count one byte each";
}

TEST_F(PhrasesTest, APhraseOver255BytesFromTheFileFailsOnOkAndKeepsTheDialogOpen) {
  std::string tooLong(256, 'a');
  WriteFileBytes(settings.path, "[LineWord]\nWord3=" + tooLong + "\n");
  Show("");
  RunSettings([](CPhraseDlg& dialog) {
    dialog.show();
    bool accepted = false;
    QObject::connect(&dialog, &QDialog::accepted, [&] { accepted = true; });
    dialog.OkButton()->click();
    EXPECT_FALSE(accepted);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(dialog.focusWidget(), dialog.WordEdit(2));
    dialog.WordEdit(2)->setText(QStringLiteral("short"));
    dialog.OkButton()->click();
    EXPECT_TRUE(accepted);
    return dialog.result();
  });
  ASSERT_EQ(user.asked.size(), 1u);
  EXPECT_EQ(user.asked[0].text, QStringLiteral("255 文字以内で入力してください。"));
  EXPECT_EQ(user.asked[0].caption, QStringLiteral("Kaboma Edit 3"));
  EXPECT_EQ(user.asked[0].icon, platform::MessageIcon::Exclamation);
  EXPECT_EQ(settings.profile.GetProfileString("LineWord", "Word3", ""), "short");
}

// Regression: a pasted line break was dropped in silence (the settings file
// refused the phrase) and characters Shift-JIS lacks became "?" unasked.
TEST_F(PhrasesTest, APhraseTheFileCannotHoldAsTypedIsToldBeforeAnythingIsWritten) {
  struct Case {
    QString typed;
    platform::MessageAnswer answer;
    const char* told;
    bool accepted;
    std::string stored;
  };
  const Case cases[] = {
      {QStringLiteral("one\ntwo"), platform::MessageAnswer::Ok, "単語には改行を含められません。", false, "Word2"},
      {QStringLiteral("a\rb"), platform::MessageAnswer::Ok, "単語には改行を含められません。", false, "Word2"},
      {QStringLiteral("café"), platform::MessageAnswer::Cancel, "「é」", false, "Word2"},
      {QStringLiteral("café"), platform::MessageAnswer::Ok, "「é」", true, "caf?"},
  };
  Show("");
  for (const Case& c : cases) {
    user.asked.clear();
    user.answers = {c.answer};
    bool accepted = false;
    RunSettings([&](CPhraseDlg& dialog) {
      QObject::connect(&dialog, &QDialog::accepted, [&] { accepted = true; });
      dialog.WordEdit(1)->setText(c.typed);
      dialog.OkButton()->click();
      if (!accepted) dialog.reject();
      return dialog.result();
    });
    ASSERT_EQ(user.asked.size(), 1u) << c.typed.toStdString();
    EXPECT_TRUE(user.asked[0].text.contains(QString::fromUtf8(c.told))) << user.asked[0].text.toStdString();
    EXPECT_EQ(accepted, c.accepted) << c.typed.toStdString();
    EXPECT_EQ(settings.profile.GetProfileString("LineWord", "Word2", "Word2"), c.stored) << c.typed.toStdString();
  }
}

TEST(PhraseDialog, HasItsTexts) {
  CPhraseDlg dialog({}, 0);
  EXPECT_EQ(dialog.windowTitle(), QStringLiteral("一言挿入の設定"));
  EXPECT_EQ(dialog.Radio(0)->text(), QStringLiteral("単語登録１　(Ctrl+1)"));
  EXPECT_EQ(dialog.Radio(4)->text(), QStringLiteral("単語登録５　(Ctrl+5)"));
  EXPECT_EQ(dialog.OkButton()->text(), QStringLiteral("オッケー！！"));
  EXPECT_EQ(dialog.CancelButton()->text(), QStringLiteral("キャンセル"));
  QStringList labels;
  for (QLabel* label : dialog.findChildren<QLabel*>()) labels << label->text();
  ASSERT_EQ(labels.size(), 2);
  EXPECT_TRUE(labels[0].startsWith(QStringLiteral("　「一言挿入」は、")));
  EXPECT_TRUE(labels[1].endsWith(QStringLiteral("呼び出して下さい。")));
}

}  // namespace
