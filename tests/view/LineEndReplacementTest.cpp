// Line-ending replacement through the view's command, its dialog answered
// through the modal seam.

#include "LineEndReplacement.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "CKb_zeva3View.h"
#include "CLineEndDlg.h"
#include "CommandIds.h"
#include "GuiTestSupport.h"

namespace {

using namespace std::string_literals;

class LineEndTest : public testing::Test {
 protected:
  void Show(const std::string& text) {
    view.ShowDocument(text, {});
    WritableAsWhenFocusReturns(view);
  }
  // Runs the command, choosing `choice` in the dialog and pressing "実行".
  void Replace(CLineEndDlg::Choice choice) {
    platform::SetDialogHandler([this, choice](QDialog& dialog) {
      // The dialog has the focus: the view has made the text read-only, and
      // the command runs before its timer makes it writable again.
      view.Control().SetReadOnly(true);
      auto& lineEnd = dynamic_cast<CLineEndDlg&>(dialog);
      EXPECT_TRUE(lineEnd.Radio(CLineEndDlg::CrLf)->isChecked()) << "CR+LF at every opening";
      lineEnd.Radio(choice)->click();
      lineEnd.OkButton()->click();
      return dialog.result();
    });
    view.OnCommand(ids::kLineEndReplacement);
  }
  std::string Text() const { return view.TextForSave(nullptr); }

  TestSettings settings;
  ScriptedUser user;
  CKb_zeva3View view{settings.profile};
};

struct EndingCase {
  std::string text;
  CLineEndDlg::Choice choice;
  std::string after;
};

TEST_F(LineEndTest, EveryLineEndingBecomesTheChosenOneAndEveryOtherByteIsKept) {
  const EndingCase cases[] = {
      {"a\r\nb\rc\nd", CLineEndDlg::Lf, "a\nb\nc\nd"},
      {"a\rb\nc\r\n", CLineEndDlg::CrLf, "a\r\nb\r\nc\r\n"},
      {"a\rb\nc\r\n", CLineEndDlg::Cr, "a\rb\rc\r"},
      {"\n\r", CLineEndDlg::CrLf, "\r\n\r\n"},  // LF then CR is two line endings
      {"a\r", CLineEndDlg::CrLf, "a\r\n"},      // a trailing lone CR
      {"\x82\xa0\n\x82\n\x80\xff\r", CLineEndDlg::CrLf, "\x82\xa0\r\n\x82\r\n\x80\xff\r\n"},  // bytes that are no character
  };
  for (const EndingCase& c : cases) {
    Show(c.text);
    Replace(c.choice);
    EXPECT_EQ(Text(), c.after) << testing::PrintToString(c.text);
    EXPECT_TRUE(view.IsModified());
  }
}

// ConvertLineEnd's terminated-string form stops at the first 0x00: the rest
// of the text would be lost.
TEST_F(LineEndTest, ATextWithNulIsConvertedPastIt) {
  Show("a\0b\nc\0\n"s);
  Replace(CLineEndDlg::CrLf);
  EXPECT_EQ(Text(), "a\0b\r\nc\0\r\n"s);
}

TEST_F(LineEndTest, AnUnchangedTextIsLeftAloneAndNotMarkedModified) {
  for (std::string text : {"a\r\nb\r\n", ""}) {
    Show(text);
    Replace(CLineEndDlg::CrLf);
    EXPECT_EQ(Text(), text);
    EXPECT_FALSE(view.IsModified()) << testing::PrintToString(text);
    EXPECT_FALSE(view.Control().isUndoAvailable());
  }
}

TEST_F(LineEndTest, OneUndoRestoresTheBytesExactly) {
  std::string text = "\x88\x9f\r\nb\rc\n\x80\n\n\r"s;
  Show(text);
  Replace(CLineEndDlg::Lf);
  view.OnCommand(ids::kUndo);
  EXPECT_EQ(Text(), text);
  EXPECT_FALSE(view.Control().isUndoAvailable());
  EXPECT_FALSE(view.IsModified());
}

TEST_F(LineEndTest, TheCaretKeepsItsLineAndColumnAndEnterFollowsTheNewEnding) {
  Show("ab\ncd\nefg");
  view.Control().SetSelection(5, 5);  // line 1, after "cd"
  Replace(CLineEndDlg::CrLf);
  EXPECT_EQ(view.Control().CaretPosition(), 6);
  WritableAsWhenFocusReturns(view);
  QTest::keyClick(&view.Control(), Qt::Key_Return);
  EXPECT_EQ(Text(), "ab\r\ncd\r\n\r\nefg");
}

TEST_F(LineEndTest, CancelChangesNothing) {
  Show("a\nb");
  platform::SetDialogHandler([](QDialog& dialog) {
    auto& lineEnd = dynamic_cast<CLineEndDlg&>(dialog);
    lineEnd.Radio(CLineEndDlg::Cr)->click();
    lineEnd.CancelButton()->click();
    EXPECT_EQ(lineEnd.m_endingChoice, CLineEndDlg::Cr) << "the choice is read back however the dialog ends";
    return dialog.result();
  });
  view.OnCommand(ids::kLineEndReplacement);
  EXPECT_EQ(Text(), "a\nb");
  EXPECT_FALSE(view.IsModified());
}

TEST(LineEndDialog, HasItsTextsAndOpensWithCrLfEvenAfterLf) {
  CLineEndDlg first;
  EXPECT_EQ(first.windowTitle(), QStringLiteral("改行コード一括置換"));
  EXPECT_EQ(first.Radio(CLineEndDlg::Cr)->text(), QStringLiteral("CR (Macintosh)"));
  EXPECT_EQ(first.Radio(CLineEndDlg::Lf)->text(), QStringLiteral("LF (UNIX)"));
  EXPECT_EQ(first.Radio(CLineEndDlg::CrLf)->text(), QStringLiteral("CR+LF (Windows)"));
  EXPECT_EQ(first.OkButton()->text(), QStringLiteral("実行"));
  EXPECT_EQ(first.CancelButton()->text(), QStringLiteral("キャンセル"));
  EXPECT_EQ(first.findChild<QLabel*>()->text(),
            QStringLiteral("　現在開かれている文書内にある\n改行コード[CR]・[LF]・[CR+LF]を、\n以下のコードに一括置換します。"));
  first.Radio(CLineEndDlg::Lf)->click();
  first.OkButton()->click();
  EXPECT_EQ(first.m_endingChoice, CLineEndDlg::Lf);
  CLineEndDlg second;
  EXPECT_TRUE(second.Radio(CLineEndDlg::CrLf)->isChecked());
  EXPECT_EQ(second.m_endingChoice, CLineEndDlg::CrLf);
}

}  // namespace
