// The view's set-up from the settings and its own commands, headless.

#include "CKb_zeva3View.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QFocusEvent>
#include <QFontInfo>
#include <QMimeData>
#include <QUrl>
#include <QTest>

#include "FileName.h"
#include "GuiTestSupport.h"
#include "ViewInternals.h"

namespace {

class ViewTest : public testing::Test {
 protected:
  void Show(const std::string& text = "some text") { view.ShowDocument(text, {}); }
  std::string Settings() const { return ReadFileBytes(settings.path); }

  TestSettings settings;
  ScriptedUser user;
  CKb_zeva3View view{settings.profile};
};

TEST_F(ViewTest, WithoutSettingsTheTextIsGothic12PointBlackOnWhiteAndWrapped) {
  Show();
  CharFormat format = view.Control().DefaultFormat();
  EXPECT_EQ(format.face, QStringLiteral("ＭＳ ゴシック"));
  EXPECT_EQ(format.twips, 240);
  EXPECT_EQ(format.colour, QColor(Qt::black));
  EXPECT_FALSE(format.bold || format.italic || format.underline || format.strikeOut);
  EXPECT_EQ(view.Control().Background(), QColor(Qt::white));
  EXPECT_TRUE(view.Control().IsWrapping());
  EXPECT_TRUE(view.IsWordWrapChecked());
  EXPECT_EQ(ViewInternals::PrintMargins(view), 1080);
  EXPECT_FALSE(std::filesystem::exists(settings.path)) << "set-up writes nothing";
}

TEST_F(ViewTest, SettingsAreReadAtEverySetUpWithOnlyTheLowEightBitsOfColours) {
  WriteFileBytes(settings.path,
                 "[TextColor]\nRed=256\nGreen=255\nBlue=1\n[BgColor]\nRed=0\nGreen=0\nBlue=0\n"
                 "[Font]\nName=IPAGothic\nSize=300\nBold=5\nItalic=1\n");
  Show();
  CharFormat format = view.Control().DefaultFormat();
  EXPECT_EQ(format.colour, QColor(0, 255, 1));
  EXPECT_EQ(view.Control().Background(), QColor(Qt::black));
  EXPECT_EQ(format.face, QStringLiteral("IPAGothic"));
  EXPECT_EQ(format.twips, 300);
  EXPECT_TRUE(format.bold && format.italic);
}

TEST_F(ViewTest, WordWrapTwoCountsAsOnAndTheCommandTurnsItOffWritingZero) {
  WriteFileBytes(settings.path, "[Config]\nWordWrap=2\n");
  Show();
  EXPECT_TRUE(view.IsWordWrapChecked());
  view.OnWordWrap();
  EXPECT_FALSE(view.Control().IsWrapping());
  EXPECT_FALSE(view.IsWordWrapChecked());
  EXPECT_EQ(Settings(), "[Config]\nWordWrap=0\n");
  view.OnWordWrap();
  EXPECT_EQ(Settings(), "[Config]\nWordWrap=1\n");
}

TEST_F(ViewTest, FontCommandWritesEverySettingInOrderAndKeepsTheSelection) {
  Show("0123456789");
  view.Control().SetSelection(2, 6);
  platform::SetFontHandler([](const platform::FontChoice& initial) {
    EXPECT_EQ(initial.pointSizeTenths, 120);
    platform::FontChoice choice;
    choice.face = QStringLiteral("IPAPGothic");
    choice.pointSizeTenths = 105;
    choice.weight = 400;
    choice.underline = true;
    choice.colour = QColor(1, 2, 3);
    return std::optional(choice);
  });
  view.OnFontSettings();
  EXPECT_EQ(view.Control().SelectionStart(), 2);
  EXPECT_EQ(view.Control().SelectionEnd(), 6);
  EXPECT_EQ(Settings(),
            "[TextColor]\r\nRed=1\r\nGreen=2\r\nBlue=3\r\n[Font]\r\nName=IPAPGothic\r\nSize=210\r\n"
            "Strike=0\r\nUnder=1\r\nItalic=0\r\nBold=0\r\n");
  EXPECT_EQ(view.Control().DefaultFormat().twips, 210);
}

// "ＭＳ ゴシック" exists here only as a substitution: the font dialog opened on
// another face, and OK without a change wrote that face to the settings.
TEST_F(ViewTest, FontDialogStartedOnAnotherFaceThanTheOneDrawnAndOkWroteIt) {
  Show();
  QString drawn = QFontInfo(QFont(QStringLiteral("ＭＳ ゴシック"))).family();
  platform::SetFontHandler([&](const platform::FontChoice& initial) {
    EXPECT_EQ(initial.face, drawn);
    return std::optional(initial);
  });
  view.OnFontSettings();
  EXPECT_EQ(settings.profile.GetProfileString("Font", "Name", ""), "ＭＳ ゴシック");
  EXPECT_EQ(view.Control().DefaultFormat().face, QStringLiteral("ＭＳ ゴシック"));
}

TEST_F(ViewTest, BoldIsWrittenOnlyAboveWeight400) {
  Show();
  for (auto [weight, bold] : {std::pair{400, 0}, std::pair{401, 1}}) {
    platform::SetFontHandler([weight = weight](const platform::FontChoice& initial) {
      platform::FontChoice choice = initial;
      choice.weight = weight;
      return std::optional(choice);
    });
    view.OnFontSettings();
    EXPECT_EQ(settings.profile.GetProfileInt("Font", "Bold", -1), bold) << weight;
  }
}

TEST_F(ViewTest, CancelledDialogsChangeNothing) {
  Show();
  platform::SetFontHandler([](const platform::FontChoice&) { return std::optional<platform::FontChoice>(); });
  platform::SetColourHandler([](const QColor&) { return std::optional<QColor>(); });
  view.OnFontSettings();
  view.OnBackgroundColour();
  EXPECT_FALSE(std::filesystem::exists(settings.path));
  EXPECT_EQ(view.Control().Background(), QColor(Qt::white));
}

TEST_F(ViewTest, BackgroundColourCommandAppliesAndWritesTheColour) {
  Show();
  platform::SetColourHandler([](const QColor& initial) {
    EXPECT_EQ(initial, QColor(Qt::white));
    return std::optional(QColor(10, 20, 30));
  });
  view.OnBackgroundColour();
  EXPECT_EQ(view.Control().Background(), QColor(10, 20, 30));
  EXPECT_EQ(Settings(), "[BgColor]\r\nRed=10\r\nGreen=20\r\nBlue=30\r\n");
}

TEST_F(ViewTest, PasteIsEnabledOnlyWithTextOnTheClipboardAndPastesPlainText) {
  Show("ab");
  WritableAsWhenFocusReturns(view);
  QApplication::clipboard()->clear();
  EXPECT_FALSE(view.CanPaste());
  auto* data = new QMimeData;
  data->setHtml(QStringLiteral("<b>太字</b>"));
  data->setText(QStringLiteral("太字"));
  QApplication::clipboard()->setMimeData(data);
  EXPECT_TRUE(view.CanPaste());
  view.Control().SetSelection(1, 1);
  view.OnPaste();
  EXPECT_EQ(view.TextForSave(nullptr), "a\x91\xbe\x8e\x9a" "b");
}

TEST_F(ViewTest, InsertTwiceLeavesOverwriteAsItWas) {
  Show();
  QTest::keyClick(&view.Control(), Qt::Key_Insert);
  EXPECT_TRUE(view.IsOverwrite());
  EXPECT_TRUE(view.Control().IsOverwrite());
  QTest::keyClick(&view.Control(), Qt::Key_Insert);
  EXPECT_FALSE(view.IsOverwrite());
  EXPECT_FALSE(view.Control().IsOverwrite());
}

TEST_F(ViewTest, ReadOnlyWithoutFocusAndWritableWithinOneTimerTickAfterIt) {
  Show("abc");
  QFocusEvent out(QEvent::FocusOut);
  QApplication::sendEvent(&view.Control(), &out);
  EXPECT_TRUE(view.Control().IsReadOnly());
  QTest::qWait(2 * CKb_zeva3View::kTimerPeriodMs);
  EXPECT_TRUE(view.Control().IsReadOnly()) << "no focus, no editing";
  QFocusEvent in(QEvent::FocusIn);
  QApplication::sendEvent(&view.Control(), &in);
  EXPECT_TRUE(view.Control().IsReadOnly()) << "the next tick makes it writable, not the focus itself";
  QTRY_VERIFY_WITH_TIMEOUT(!view.Control().IsReadOnly(), 10 * CKb_zeva3View::kTimerPeriodMs);
}

TEST_F(ViewTest, LongFaceNamesReadFromTheSettingsAreCutTo31BytesWithoutSplittingACharacter) {
  std::string face;
  for (int i = 0; i < 20; ++i) face += "ゴ";  // two bytes each in Shift-JIS
  settings.profile.WriteProfileString("Font", "Name", face);
  Show();
  EXPECT_EQ(view.Control().DefaultFormat().face.size(), 15);
}

// A face chosen in the font dialog is cut to the 31 bytes its Shift-JIS form
// may take. Characters Shift-JIS lacks are written as one "?" each, so
// they count one byte; one outside the BMP is two UTF-16 units, never
// halved.
TEST_F(ViewTest, ChosenFacesAreCutAtTheirShiftJisLength) {
  const QString a29(29, QLatin1Char('A'));
  const QString hangul = QString::fromUtf8("\xEA\xB0\x80");   // U+AC00, not in Shift-JIS
  const QString astral = QString::fromUtf8("\xF0\xA0\x80\x8B");  // U+2000B, two UTF-16 units
  const struct {
    const char* name;
    QString chosen;
    QString drawn;
  } cases[] = {
      {"thirty-one ASCII bytes fit", a29 + QStringLiteral("BC"), a29 + QStringLiteral("BC")},
      {"a pair over the end is left out", a29 + QStringLiteral("Bゴ"), a29 + QStringLiteral("B")},
      {"half-width kana count one byte", a29 + QStringLiteral("ｱｲｳ"), a29 + QStringLiteral("ｱｲ")},
      {"a character Shift-JIS lacks counts one byte", a29 + hangul + hangul + hangul, a29 + hangul + hangul},
      {"the regression: a character outside the BMP split into half a surrogate pair", a29 + astral + QStringLiteral("B"),
       a29 + astral + QStringLiteral("B")},
      {"nor is it kept whole past the end", a29 + QStringLiteral("BC") + astral, a29 + QStringLiteral("BC")},
  };
  Show();
  for (const auto& c : cases) {
    platform::SetFontHandler([&](const platform::FontChoice& initial) {
      platform::FontChoice choice = initial;
      choice.face = c.chosen;
      return std::optional(choice);
    });
    view.OnFontSettings();
    EXPECT_EQ(view.Control().DefaultFormat().face, c.drawn) << c.name;
  }
}

TEST_F(ViewTest, FilesDroppedOnTheTextGoToTheMainWindow) {
  Show();
  QStringList received;
  QObject::connect(&view, &CKb_zeva3View::FilesDropped, [&](const QStringList& paths) { received = paths; });
  QMimeData data;
  data.setUrls({QUrl::fromLocalFile(QStringLiteral("/tmp/a.txt")), QUrl::fromLocalFile(QStringLiteral("/tmp/b.txt"))});
  // A drop follows the drag entering the widget, as on the desktop.
  QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(view.Control().viewport(), &enter);
  EXPECT_TRUE(enter.isAccepted());
  QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(view.Control().viewport(), &drop);
  EXPECT_EQ(received, QStringList({QStringLiteral("/tmp/a.txt"), QStringLiteral("/tmp/b.txt")}));
  EXPECT_EQ(view.TextForSave(nullptr), "some text") << "the drop inserts nothing";
}

// A file named in Shift-JIS or EUC bytes comes percent-encoded byte for byte
// in the drop's URL list, which QUrl decodes as UTF-8 with U+FFFD.
TEST_F(ViewTest, FilesDroppedKeepTheBytesOfTheirNames) {
  Show();
  QStringList received;
  QObject::connect(&view, &CKb_zeva3View::FilesDropped, [&](const QStringList& paths) { received = paths; });
  QMimeData data;
  data.setData(QStringLiteral("text/uri-list"),
               "# a comment line\r\nfile:///tmp/%93%FA%96%7B.txt\r\nfile://localhost/tmp/%E3%83%A1%20x.txt\r\n"
               "https://example.com/a.txt\r\n");
  QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(view.Control().viewport(), &enter);
  QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(view.Control().viewport(), &drop);
  ASSERT_EQ(received.size(), 2);
  EXPECT_EQ(FileName::Bytes(received[0]), "/tmp/\x93\xfa\x96\x7b.txt");
  EXPECT_EQ(received[1], QStringLiteral("/tmp/メ x.txt"));
}

}  // namespace
