// The status panes as the user reads them, on texts where characters,
// UTF-8 bytes and Shift-JIS bytes differ in number: kanji and kana,
// half-width katakana (one byte each), bytes no character stands for, and
// JIS and EUC files shown as Shift-JIS. The sizes expected are the files'
// own byte counts and hand arithmetic on them, never the program's.

#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QTest>

#include "ByteStrings.h"
#include "CKb_zeva3Doc.h"
#include "CKb_zeva3View.h"
#include "CMainFrame.h"
#include "EditorControl.h"
#include "FrameTestSupport.h"

namespace {

// Pane positions, left to right after the message pane.
enum Pane { kModified = 1, kSize = 2, kLine = 3, kCodes = 4, kMode = 5, kDate = 6, kTime = 7 };

std::string FixturePath(const char* name) { return std::string(KB_TEST_DATA_DIR) + "/" + name; }
std::size_t FileSize(const char* name) { return ReadFileBytes(FixturePath(name)).size(); }

struct PaneCase {
  const char* fixture;
  int loadSetting;
  std::size_t size;        // Shift-JIS bytes of the text as shown
  const char* codes;       // the code pane
  bool severalLines;       // a selection from line 2 down to line 4 is possible
  const char* typed;       // typed at the end of the first line
  std::size_t typedBytes;  // its Shift-JIS bytes
};

void PrintTo(const PaneCase& c, std::ostream* os) { *os << c.fixture; }

// The prose has four lines ending in CR LF; as JIS and EUC it ends them in
// LF, so the text shown is four bytes shorter than the Shift-JIS file.
const PaneCase kPaneCases[] = {
    {"sjis_prose.txt", 4, FileSize("sjis_prose.txt"), "SJS→SJS", true, "漢", 2},
    {"euc_prose.txt", 4, FileSize("sjis_prose.txt") - 4, "EUC→EUC", true, "あ", 2},
    {"jis_prose.txt", 4, FileSize("sjis_prose.txt") - 4, "JIS→JIS", true, "カ", 2},
    {"halfwidth_katakana.txt", 1, 16, "SJS→SJS", false, "ｱ", 1},  // ｶﾀｶﾅ と ひらがな: 4 + 1 + 2 + 1 + 8
    {"invalid_bytes.txt", 1, 19, "SJS→SJS", false, "x", 1},
};

class StatusPanes : public testing::TestWithParam<PaneCase> {
 protected:
  void SetUp() override {
    profile.WriteProfileInt("Config", "WordWrap", 0);
    profile.WriteProfileInt("KanaCode", "Load", GetParam().loadSetting);
    profile.WriteProfileInt("KanaCode", "Save", 4);  // as read
    ASSERT_TRUE(ShowWithNewDocument(frame));
    ASSERT_TRUE(frame.Document().OpenDocumentFile(QString::fromStdString(FixturePath(GetParam().fixture))));
    WritableAsWhenFocusReturns(frame.View());
    control().setFocus();
    frame.UpdateIdle();
  }
  void Keys(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QTest::keyClick(&control(), key, modifiers);
    frame.UpdateIdle();
  }
  // Characters no key of a plain keyboard gives: key events that carry
  // only their text, as a keyboard layout delivers them.
  void Type(const QString& text) {
    for (QChar character : text) {
      QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(character));
      QApplication::sendEvent(&control(), &press);
      QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(character));
      QApplication::sendEvent(&control(), &release);
    }
  }
  QString Pane(int position) { return frame.PaneText(position); }
  static QString Bytes(std::size_t n) { return QStringLiteral("%1バイト").arg(n); }
  EditorControl& control() { return frame.View().Control(); }

  ProfileFile& profile = FreshSettings();
  ScriptedUser user;
  CMainFrame frame{profile, nullptr, nullptr};
};

TEST_P(StatusPanes, ShowShiftJisBytesTheSelectionsFirstLineAndTheCodes) {
  const PaneCase& c = GetParam();
  EXPECT_EQ(Pane(kModified), QStringLiteral("○"));
  EXPECT_EQ(Pane(kSize), Bytes(c.size));
  EXPECT_EQ(Pane(kLine), QStringLiteral("1行"));
  EXPECT_EQ(Pane(kCodes), QString::fromUtf8(c.codes));

  // A selection made downwards: the pane shows where it starts, not where
  // the caret is.
  Keys(Qt::Key_Home, Qt::ControlModifier);
  if (c.severalLines) {
    Keys(Qt::Key_Down);
    Keys(Qt::Key_Down, Qt::ShiftModifier);
    Keys(Qt::Key_Down, Qt::ShiftModifier);
    ASSERT_EQ(control().LineFromPosition(control().CaretPosition()), 3) << "the caret is on line 4";
    EXPECT_EQ(Pane(kLine), QStringLiteral("2行"));
  } else {
    Keys(Qt::Key_End, Qt::ShiftModifier);
    EXPECT_EQ(Pane(kLine), QStringLiteral("1行"));
  }
  EXPECT_EQ(Pane(kSize), Bytes(c.size)) << "selecting changes nothing";
  EXPECT_EQ(Pane(kModified), QStringLiteral("○"));

  Keys(Qt::Key_Home, Qt::ControlModifier);
  Keys(Qt::Key_End);
  Type(QString::fromUtf8(c.typed));
  frame.UpdateIdle();
  EXPECT_EQ(Pane(kModified), QStringLiteral("●"));
  EXPECT_EQ(Pane(kSize), Bytes(c.size + c.typedBytes));
  EXPECT_EQ(Pane(kLine), QStringLiteral("1行"));
  EXPECT_EQ(Pane(kCodes), QString::fromUtf8(c.codes)) << "typing changes no code";
}

TEST_P(StatusPanes, DateAndTimeAreTheLocalClocks) {
  QString dayBefore = LocalClock("%m/%d"), minuteBefore = LocalClock("%H:%M");
  frame.UpdateIdle();
  QString date = Pane(kDate), time = Pane(kTime);
  // The minute (or the day) may turn between the readings.
  EXPECT_TRUE(date == dayBefore || date == LocalClock("%m/%d")) << date.toStdString();
  EXPECT_TRUE(time == minuteBefore || time == LocalClock("%H:%M")) << time.toStdString();
  EXPECT_EQ(Pane(kMode), QStringLiteral("挿入"));
}

// A screen reader reads each pane by what it is, then what it shows; the
// modified mark, a circle, as words.
TEST(StatusPaneNames, SayWhatEachPaneIsAndFollowItsText) {
  ProfileFile& profile = FreshSettings();
  ScriptedUser user;
  CMainFrame frame{profile, nullptr, nullptr};
  ASSERT_TRUE(ShowWithNewDocument(frame));
  frame.UpdateIdle();
  auto name = [&frame](int position) { return frame.PaneLabel(position)->accessibleName(); };
  EXPECT_EQ(name(kModified), QStringLiteral("変更なし"));
  EXPECT_EQ(name(kSize), QStringLiteral("サイズ 0バイト"));
  EXPECT_EQ(name(kLine), QStringLiteral("行 1行"));
  EXPECT_EQ(name(kCodes), QStringLiteral("漢字コード SJS→SJS"));
  EXPECT_EQ(name(kMode), QStringLiteral("入力モード 挿入"));
  EXPECT_EQ(name(kDate), QStringLiteral("日付 ") + frame.PaneText(kDate));
  EXPECT_EQ(name(kTime), QStringLiteral("時刻 ") + frame.PaneText(kTime));
  frame.View().Control().ReplaceSelection(QStringLiteral("あ\r\n"));
  frame.UpdateIdle();
  EXPECT_EQ(name(kModified), QStringLiteral("変更あり"));
  EXPECT_EQ(name(kSize), QStringLiteral("サイズ 4バイト"));
  EXPECT_EQ(name(kLine), QStringLiteral("行 2行"));
}

// With wrapping on, each display row of a wrapped line is a line of the
// line pane, as the go-to-line command counts them.
TEST(StatusLinePane, CountsWrappedRowsAsLines) {
  ProfileFile& profile = FreshSettings();
  profile.WriteProfileInt("Config", "WordWrap", 1);
  ScriptedUser user;
  CMainFrame frame{profile, nullptr, nullptr};
  ASSERT_TRUE(ShowWithNewDocument(frame));
  EditorControl& control = frame.View().Control();
  control.setText(QString(300, QChar(u'あ')) + QStringLiteral("\r\nx"));
  using Sci = QsciScintillaBase;
  const long rows = control.SendScintilla(Sci::SCI_WRAPCOUNT, 0UL);
  ASSERT_GT(rows, 2) << "the first line wraps";

  control.SendScintilla(Sci::SCI_GOTOPOS, static_cast<unsigned long>(control.LineEndPosition(0)));
  frame.UpdateIdle();
  EXPECT_EQ(frame.PaneText(3), QStringLiteral("%1行").arg(rows)) << "the end of the long line is on its last row";
  control.SendScintilla(Sci::SCI_DOCUMENTEND);
  frame.UpdateIdle();
  EXPECT_EQ(frame.PaneText(3), QStringLiteral("%1行").arg(rows + 1));
  control.SendScintilla(Sci::SCI_DOCUMENTSTART);
  frame.UpdateIdle();
  EXPECT_EQ(frame.PaneText(3), QStringLiteral("1行"));
}

// A window narrower than the panes cuts them at its right edge; squeezing
// them drew each pane's text over its neighbour's.
TEST(StatusPaneRow, NarrowWindowCutsThePanesInsteadOfOverlappingThem) {
  ProfileFile& profile = FreshSettings();
  ScriptedUser user;
  CMainFrame frame{profile, nullptr, nullptr};
  ASSERT_TRUE(ShowWithNewDocument(frame));
  frame.resize(220, 300);
  QApplication::processEvents();
  for (int position = kSize; position <= kTime; ++position) {
    const QLabel* left = frame.PaneLabel(position - 1);
    const QLabel* pane = frame.PaneLabel(position);
    EXPECT_EQ(pane->width(), pane->maximumWidth()) << "pane " << position << " keeps its width";
    EXPECT_GE(pane->x(), left->x() + left->width()) << "pane " << position << " starts after pane " << position - 1;
  }
}

INSTANTIATE_TEST_SUITE_P(Texts, StatusPanes, testing::ValuesIn(kPaneCases),
                         [](const testing::TestParamInfo<PaneCase>& info) {
                           std::string name = info.param.fixture;
                           return name.substr(0, name.find('.'));
                         });

}  // namespace
