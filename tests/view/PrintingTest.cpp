// Printing the view's text to a PDF file through the print command: what
// comes out (text, pages, margins, font, colours) and what is told when
// nothing can be printed.

#include "CKb_zeva3View.h"

#include <gtest/gtest.h>

#include <QDoubleSpinBox>
#include <QImage>
#include <QPageSetupDialog>
#include <QPrintDialog>

#include <algorithm>

#include "CPrintPreviewDlg.h"
#include "CommandIds.h"
#include "GuiTestSupport.h"
#include "PdfReading.h"
#include "ShiftJisCodec.h"

namespace {

constexpr double kMarginPoints = 1080.0 / 20.0;  // twips to points

std::string Sjis(const QString& text) { return kanji::ShiftJisCodec::Encode(text.toStdString()).bytes; }

class PrintingTest : public testing::Test {
 protected:
  void Show(const QString& text) { view.ShowDocument(Sjis(text), {}); }

  // Print (Ctrl+P) with the dialog answered: A4, to `pdf`.
  void PrintToPdf(int fromPage = 0, int toPage = 0) {
    platform::SetDialogHandler([&](QDialog& dialog) {
      auto* printDialog = dynamic_cast<QPrintDialog*>(&dialog);
      if (!printDialog) {
        ADD_FAILURE() << "not the print dialog";
        return 0;
      }
      QPrinter* printer = printDialog->printer();
      printer->setOutputFormat(QPrinter::PdfFormat);
      printer->setOutputFileName(QString::fromStdString(pdf));
      printer->setPageSize(QPageSize(QPageSize::A4));
      printer->setFromTo(fromPage, toPage);
      return int(QDialog::Accepted);
    });
    view.OnCommand(ids::kPrint);
  }

  // Lines "行 1" ... numbered from one.
  static QString NumberedLines(int count) {
    QString text;
    for (int i = 1; i <= count; ++i) text += QStringLiteral("行%1は日本語の文です。\r\n").arg(i);
    return text;
  }

  TempDir dir;
  std::string pdf = dir.File("out.pdf");
  TestSettings settings;
  ScriptedUser user;
  CKb_zeva3View view{settings.profile};
};

TEST_F(PrintingTest, JapaneseTextComesBackFromThePdfAsTheDocumentHasIt) {
  const QStringList lines = {QStringLiteral("吾輩は猫である。名前はまだ無い。"), QStringLiteral("ｶﾀｶﾅと ASCII 1234 の混在"),
                             QStringLiteral("どこで生れたかとんと見当がつかぬ。")};
  Show(lines.join(QStringLiteral("\r\n")));
  PrintToPdf();
  EXPECT_TRUE(user.asked.empty());
  EXPECT_EQ(PdfPageCount(pdf), 1);
  EXPECT_EQ(PdfLines(pdf), lines);
  EXPECT_TRUE(PdfFonts(pdf).contains(QStringLiteral("IPA"))) << PdfFonts(pdf).toStdString();
}

TEST_F(PrintingTest, ALineWiderThanThePageWrapsWithNothingLost) {
  QString line;
  for (int i = 0; i < 12; ++i) line += QStringLiteral("親譲りの無鉄砲で小供の時から損ばかりしている。");
  Show(line);
  PrintToPdf();
  QStringList printed = PdfLines(pdf);
  EXPECT_GT(printed.size(), 3);
  EXPECT_EQ(printed.join(QString()), line);
}

TEST_F(PrintingTest, TextStaysInsideMarginsOfThreeQuartersOfAnInchOnEverySide) {
  QString text = NumberedLines(150);
  text += QString(400, QChar(0x3042));  // a line that wraps at the right margin
  Show(text);
  PrintToPdf();
  std::vector<PdfWord> words = PdfWords(pdf);
  ASSERT_FALSE(words.empty());
  double left = 1e9, top = 1e9, right = 1e9;
  for (const PdfWord& w : words) {
    left = std::min(left, w.xMin);
    top = std::min(top, w.yMin);
    right = std::min(right, w.pageWidth - w.xMax);
    EXPECT_LE(w.xMax, w.pageWidth - kMarginPoints + 0.5);
    EXPECT_LE(w.yMax, w.pageHeight - kMarginPoints + 0.5);
  }
  EXPECT_NEAR(left, kMarginPoints, 1.0) << "the first column starts at the left margin";
  EXPECT_GE(top, kMarginPoints - 0.5);
  EXPECT_LE(top, kMarginPoints + 6) << "the first line starts at the top margin";
  EXPECT_LE(right - kMarginPoints, 13) << "a wrapped line fills the width to within a character";
}

TEST_F(PrintingTest, ManyLinesFillPagesInOrderEachLineOnce) {
  Show(NumberedLines(200));
  PrintToPdf();
  int pages = PdfPageCount(pdf);
  EXPECT_GT(pages, 2);
  QStringList printed = PdfLines(pdf);
  ASSERT_EQ(printed.size(), 200);
  for (int i = 0; i < 200; ++i) EXPECT_EQ(printed[i], QStringLiteral("行%1は日本語の文です。").arg(i + 1));
  // Full pages hold the same number of lines.
  QString first = PdfText(pdf, 1, 1);
  first.remove(QLatin1Char('\f'));
  int perPage = static_cast<int>(first.split(QLatin1Char('\n'), Qt::SkipEmptyParts).size());
  EXPECT_EQ(pages, (200 + perPage - 1) / perPage);
}

TEST_F(PrintingTest, APageRangePrintsOnlyThosePages) {
  Show(NumberedLines(200));
  PrintToPdf();
  QString second = PdfText(pdf, 2, 3);
  PrintToPdf(2, 3);
  EXPECT_EQ(PdfPageCount(pdf), 2);
  EXPECT_EQ(PdfText(pdf), second);
}

TEST_F(PrintingTest, AnEmptyDocumentPrintsOneBlankPage) {
  Show(QString());
  PrintToPdf();
  EXPECT_EQ(PdfPageCount(pdf), 1);
  EXPECT_TRUE(PdfText(pdf).trimmed().isEmpty());
}

// The darkest and the reddest pixel of the first page, rendered small.
QImage FirstPage(const std::string& pdf, const TempDir& dir) {
  ToolOutput(QStringLiteral("pdftoppm"), {QStringLiteral("-r"), QStringLiteral("40"), QStringLiteral("-png"),
                                          QStringLiteral("-singlefile"), QString::fromStdString(pdf),
                                          QString::fromStdString(dir.File("page"))});
  return QImage(QString::fromStdString(dir.File("page.png")));
}

int CountPixels(const QImage& image, const std::function<bool(QColor)>& test) {
  int count = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) count += test(image.pixelColor(x, y)) ? 1 : 0;
  return count;
}

TEST_F(PrintingTest, TextPrintsInItsColourOnWhitePaperAndWhiteTextPrintsBlack) {
  struct Case {
    const char* colour;
    std::function<bool(QColor)> inked;
  };
  const Case cases[] = {
      {"Red=200\nGreen=0\nBlue=0\n", [](QColor c) { return c.red() > 120 && c.green() < 100 && c.blue() < 100; }},
      {"Red=255\nGreen=255\nBlue=255\n", [](QColor c) { return c.lightness() < 100; }},
  };
  for (const Case& c : cases) {
    WriteFileBytes(settings.path, std::string("[TextColor]\n") + c.colour + "[BgColor]\nRed=0\nGreen=0\nBlue=80\n");
    Show(QString(40, QChar(0x25A0)));  // black squares: plenty of ink
    PrintToPdf();
    QImage page = FirstPage(pdf, dir);
    ASSERT_FALSE(page.isNull());
    EXPECT_GT(CountPixels(page, c.inked), 20) << c.colour;
    EXPECT_EQ(page.pixelColor(page.width() / 2, page.height() / 2), QColor(Qt::white)) << "no background on paper";
  }
}

TEST_F(PrintingTest, AFileThatCannotBeWrittenIsReported) {
  Show(QStringLiteral("本文"));
  pdf = dir.File("missing/dir/out.pdf");
  PrintToPdf();
  ASSERT_EQ(user.asked.size(), 1u);
  EXPECT_EQ(user.asked[0].text, QString::fromStdString(pdf) + QStringLiteral("\nに書き込めません。"));
  EXPECT_EQ(user.asked[0].caption, QStringLiteral("Kb_zeva3"));
  EXPECT_EQ(user.asked[0].icon, platform::MessageIcon::Stop);
}

// Without any printer Qt hands out a PDF printer with no file: printing to
// it reported success and wrote nothing.
TEST_F(PrintingTest, QtsPrinterWithoutAFileWasSuccessWithNothingPrinted) {
  Show(QStringLiteral("本文"));
  view.Printing().Printer().setOutputFormat(QPrinter::PdfFormat);
  view.Printing().Printer().setOutputFileName(QString());
  platform::SetDialogHandler([](QDialog&) { return int(QDialog::Accepted); });
  view.OnCommand(ids::kPrint);
  ASSERT_EQ(user.asked.size(), 1u);
  EXPECT_EQ(user.asked[0].text, QStringLiteral("印刷に使えるプリンタがありません。\nプリンタを設定してから印刷してください。"));
  EXPECT_EQ(user.asked[0].icon, platform::MessageIcon::Exclamation);
}

TEST_F(PrintingTest, CancellingThePrintDialogPrintsNothing) {
  Show(QStringLiteral("本文"));
  platform::SetDialogHandler([](QDialog& dialog) { return dynamic_cast<QPrintDialog*>(&dialog) ? 0 : -1; });
  view.OnCommand(ids::kPrint);
  EXPECT_FALSE(std::filesystem::exists(pdf));
  EXPECT_TRUE(user.asked.empty());
}

TEST_F(PrintingTest, PrintingAgainWithoutTheDialogGoesWhereTheLastPrintWent) {
  Show(QStringLiteral("一回目"));
  PrintToPdf();
  std::filesystem::remove(pdf);
  Show(QStringLiteral("二回目"));
  platform::SetDialogHandler([](QDialog&) {
    ADD_FAILURE() << "no dialog expected";
    return 0;
  });
  view.OnCommand(ids::kPrintDirect);
  EXPECT_EQ(PdfLines(pdf), QStringList{QStringLiteral("二回目")});
}

// The set-up offered margins that printing then ignored.
TEST_F(PrintingTest, PageSetUpOfferedMarginsThatPrintingIgnored) {
  int marginBoxes = 0, offered = 0;
  platform::SetDialogHandler([&](QDialog& dialog) {
    EXPECT_NE(dynamic_cast<QPageSetupDialog*>(&dialog), nullptr);
    for (QDoubleSpinBox* box : dialog.findChildren<QDoubleSpinBox*>()) {
      if (!box->objectName().endsWith(QLatin1String("Margin"))) continue;
      ++marginBoxes;
      offered += box->isVisibleTo(&dialog) ? 1 : 0;
    }
    return 0;
  });
  view.OnCommand(ids::kPrintSetup);
  EXPECT_EQ(marginBoxes, 4);
  EXPECT_EQ(offered, 0);
}

TEST_F(PrintingTest, PreviewShowsAsManyPagesAsPrintAndTurnsThemWithTheKeys) {
  Show(NumberedLines(200));
  PrintToPdf();
  int printed = PdfPageCount(pdf);
  view.Printing().Printer().setPageSize(QPageSize(QPageSize::A4));
  int shown = -1, afterKeys = -1;
  platform::SetDialogHandler([&](QDialog& dialog) {
    auto* preview = dynamic_cast<CPrintPreviewDlg*>(&dialog);
    if (!preview) return 0;
    shown = preview->PageCount();
    preview->NextPage();
    preview->NextPage();
    preview->PreviousPage();
    afterKeys = preview->CurrentPage();
    return 0;
  });
  view.OnCommand(ids::kPrintPreview);
  EXPECT_EQ(shown, printed);
  EXPECT_EQ(afterKeys, 2);
}

}  // namespace
