// Auto-indent through the view: keys typed into the control, the check run
// once the control has finished each change.

#include "AutoIndent.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QTest>

#include "CKb_zeva3View.h"
#include "CommandIds.h"
#include "GuiTestSupport.h"
#include "ViewInternals.h"

namespace {

class AutoIndentTest : public testing::Test {
 protected:
  void SetUp() override { settings.profile.WriteProfileInt("Config", "Indent", 1); }
  void Show(const std::string& text, long caret) {
    view.ShowDocument(text, {});
    WritableAsWhenFocusReturns(view);
    control().SetSelection(caret, caret);
  }
  void Key(int key) {
    QTest::keyClick(&control(), static_cast<Qt::Key>(key));
    QCoreApplication::processEvents();
  }
  std::string Text() const { return view.TextForSave(nullptr); }
  bool Checked() {
    CommandUpdate update;
    EXPECT_TRUE(view.OnUpdateCommand(ids::kAutoIndent, update));
    return update.checked.value_or(false);
  }
  EditorControl& control() { return view.Control(); }

  TestSettings settings;
  ScriptedUser user;
  CKb_zeva3View view{settings.profile};
};

struct EnterCase {
  const char* text;
  long caret;
  const char* after;
  long caretAfter;
};

TEST_F(AutoIndentTest, EnterCopiesTheLeadingSpacesAndTabsOfTheLineItEnds) {
  const EnterCase cases[] = {
      {"  abc", 5, "  abc\r\n  ", 9},
      {"\t abc", 5, "\t abc\r\n\t ", 9},
      {"\x81\x40" "abc", 6, "\x81\x40" "abc\r\n", 8},  // a full-width space (3 positions) is no indentation
      {"    abc", 2, "  \r\n    abc", 6},             // the line ended is the two spaces alone
      {"  a\rb", 3, "  a\r  \rb", 6},                   // CR-only text: Enter gives CR
      {"  a\nb", 3, "  a\n  \nb", 6},                   // LF-only text: Enter gives LF
      {"abc", 3, "abc\r\n", 5},
  };
  for (const EnterCase& c : cases) {
    Show(c.text, c.caret);
    Key(Qt::Key_Return);
    EXPECT_EQ(Text(), c.after) << c.text;
    EXPECT_EQ(control().CaretPosition(), c.caretAfter) << c.text;
  }
}

TEST_F(AutoIndentTest, APasteEndingInALineBreakIndentsFromThePastedLine) {
  Show("x", 0);
  control().ReplaceSelection(QStringLiteral("  foo\r\n"));
  QCoreApplication::processEvents();
  EXPECT_EQ(Text(), "  foo\r\n  x");
}

TEST_F(AutoIndentTest, ChangesThatDoNotGrowTheTextAddNothing) {
  Show("  a\r\nz", 6);
  Key(Qt::Key_Backspace);  // a deletion leaves a line break before the caret
  EXPECT_EQ(Text(), "  a\r\n");
  Show("  ax\rb", 0);
  control().SetSelection(3, 4);
  Key(Qt::Key_Return);  // a CR typed over one character
  EXPECT_EQ(Text(), "  a\r\rb");
}

TEST_F(AutoIndentTest, TheCheckIsNotReenteredByItsOwnInsertionAndLaterChecksAddNothing) {
  Show("  abc", 5);
  Key(Qt::Key_Return);
  Key(Qt::Key_X);
  view.OnCommand(ids::kUndo);  // removes the x
  QCoreApplication::processEvents();
  EXPECT_EQ(Text(), "  abc\r\n  ");
}

TEST_F(AutoIndentTest, TheIndentationAndThenTheLineBreakCanBeUndone) {
  Show("  abc", 5);
  Key(Qt::Key_Return);
  view.OnCommand(ids::kUndo);
  EXPECT_EQ(Text(), "  abc\r\n");
  view.OnCommand(ids::kUndo);
  QCoreApplication::processEvents();
  EXPECT_EQ(Text(), "  abc");
}

TEST_F(AutoIndentTest, IndentTwoCountsAsOffAndTheToggleThenWritesZeroThenOne) {
  settings.profile.WriteProfileInt("Config", "Indent", 2);
  Show("  abc", 5);
  EXPECT_FALSE(Checked());
  Key(Qt::Key_Return);
  EXPECT_EQ(Text(), "  abc\r\n");
  view.OnCommand(ids::kAutoIndent);
  EXPECT_EQ(settings.profile.GetProfileInt("Config", "Indent", -1), 0);
  EXPECT_FALSE(Checked());
  view.OnCommand(ids::kAutoIndent);
  EXPECT_EQ(settings.profile.GetProfileInt("Config", "Indent", -1), 1);
  EXPECT_TRUE(Checked());
}

TEST_F(AutoIndentTest, TheSettingIsReadAtEveryChangeAndTheLengthFollowsOnlyWhileOn) {
  Show("  abc", 5);
  EXPECT_EQ(ViewInternals::PrevTextLength(view), 5);
  settings.profile.WriteProfileInt("Config", "Indent", 0);
  Key(Qt::Key_X);
  EXPECT_EQ(ViewInternals::PrevTextLength(view), 5) << "not updated while off";
  settings.profile.WriteProfileInt("Config", "Indent", 1);
  Key(Qt::Key_Return);
  EXPECT_EQ(Text(), "  abcx\r\n  ");
  EXPECT_EQ(ViewInternals::PrevTextLength(view), 8) << "the inserted indentation is not counted";
}

}  // namespace
