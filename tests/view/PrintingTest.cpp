// Printing the view's text to a PDF file through the print command: what
// comes out (text, pages, margins, font, colours) and what is told when
// nothing can be printed.

#include "CKb_zeva3View.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDoubleSpinBox>
#include <QElapsedTimer>
#include <QImage>
#include <QLabel>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QProgressBar>
#include <QTest>

#include <algorithm>

#include "CPrintPreviewDlg.h"
#include "CommandIds.h"
#include "GuiTestSupport.h"
#include "PdfReading.h"
#include "PreviewCanvas.h"
#include "ProgressWatch.h"
#include "ShiftJisCodec.h"

namespace {

// Dark pixels: the ink on a page.
int Ink(const QImage& image) {
  int dark = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) dark += qGray(image.pixel(x, y)) < 128 ? 1 : 0;
  return dark;
}

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

  void Preview(const std::function<void(CPrintPreviewDlg&)>& look) {
    platform::SetDialogHandler([&](QDialog& dialog) {
      auto* preview = dynamic_cast<CPrintPreviewDlg*>(&dialog);
      if (!preview) {
        ADD_FAILURE() << "not the preview";
        return 0;
      }
      preview->resize(900, 700);
      preview->show();
      QCoreApplication::processEvents();
      look(*preview);
      return 0;
    });
    view.OnCommand(ids::kPrintPreview);
  }

  // Numbered lines that fill `pages` pages exactly, as a print lays them out.
  QString Pages(int pages) {
    Show(NumberedLines(100));
    PrintToPdf();
    QString first = PdfText(pdf, 1, 1);
    first.remove(QLatin1Char('\f'));
    const int perPage = static_cast<int>(first.split(QLatin1Char('\n'), Qt::SkipEmptyParts).size());
    std::filesystem::remove(pdf);
    return NumberedLines(perPage * pages);
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

TEST_F(PrintingTest, PreviewShowsAsManyPagesAsPrintAndTurnsThem) {
  Show(NumberedLines(200));
  PrintToPdf();
  int printed = PdfPageCount(pdf);
  view.Printing().Printer().setPageSize(QPageSize(QPageSize::A4));
  int shown = -1, afterKeys = -1;
  Preview([&](CPrintPreviewDlg& preview) {
    preview.FinishCounting();
    shown = preview.PageCount();
    const double fitted = preview.Canvas()->Scale();
    preview.ZoomIn();
    EXPECT_GT(preview.Canvas()->Scale(), fitted);
    preview.ZoomOut();
    EXPECT_DOUBLE_EQ(preview.Canvas()->Scale(), fitted);
    preview.NextPage();
    preview.NextPage();
    preview.PreviousPage();
    afterKeys = preview.CurrentPage();
  });
  EXPECT_EQ(shown, printed);
  EXPECT_EQ(afterKeys, 2);
}

// Page 1 held characters drawn as boxes (a form feed, a byte that is no
// character, a pair without one): the pages after it were white in the
// preview, in one- and two-page modes alike, while the print was right.
TEST_F(PrintingTest, PreviewDrewPagesAfterAMarkerBoxWhite) {
  view.ShowDocument("\x0c \x80 \x85\x40 " + Sjis(Pages(3)), {});
  Preview([&](CPrintPreviewDlg& preview) {
    preview.FinishCounting();
    ASSERT_EQ(preview.PageCount(), 3);
    for (int sheet = 1; sheet <= 3; ++sheet) EXPECT_GT(Ink(preview.SheetImage(sheet, 0.08)), 50) << "page " << sheet;
    for (int pagesShown : {1, 2}) {
      if (preview.PagesShown() != pagesShown) preview.TogglePagesShown();
      for (int turn = 0; turn < 3; ++turn) {
        QImage shown = preview.Canvas()->grab().toImage();
        for (int index = 0; index < pagesShown && preview.CurrentPage() + index <= 3; ++index)
          EXPECT_GT(Ink(shown.copy(preview.Canvas()->SheetRect(index))), 50)
              << pagesShown << " pages shown, page " << preview.CurrentPage() + index;
        preview.NextPage();
      }
      while (preview.CurrentPage() > 1) preview.PreviousPage();
    }
  });
}

// Two pages were shown as a book: page 1 alone on the right, page 2 below
// it on the left and cut. Now a spread is two sheets side by side, 1-2,
// then 3-4, and a page turn goes to the next spread.
TEST_F(PrintingTest, TwoPagePreviewWasLaidOutAsABook) {
  Show(Pages(5));
  Preview([&](CPrintPreviewDlg& preview) {
    preview.FinishCounting();
    preview.NextPage();
    preview.TogglePagesShown();
    EXPECT_EQ(preview.CurrentPage(), 1) << "page 2 shows in the spread of 1 and 2";
    const QRect left = preview.Canvas()->SheetRect(0), right = preview.Canvas()->SheetRect(1);
    EXPECT_EQ(left.top(), right.top());
    EXPECT_EQ(left.size(), right.size());
    EXPECT_GT(right.left(), left.right());
    EXPECT_TRUE(preview.Canvas()->rect().contains(right)) << "the second page is not cut";
    const QString label = preview.findChild<QLabel*>(QStringLiteral("pageLabel"))->text();
    EXPECT_EQ(label, QStringLiteral("1 / 5 ページ"));
    std::vector<int> spreads;
    for (int turn = 0; turn < 4; ++turn, preview.NextPage()) spreads.push_back(preview.CurrentPage());
    EXPECT_EQ(spreads, (std::vector<int>{1, 3, 5, 5}));
  });
}

// After printing pages 2-3 twice, the preview showed only those pages as
// "1 / 2 ページ" and the next print started with them and two copies.
TEST_F(PrintingTest, TheLastPrintsPageRangeAndCopiesCarriedOver) {
  Show(Pages(5));
  PrintToPdf(2, 3);
  view.Printing().Printer().setCopyCount(2);
  ASSERT_EQ(PdfPageCount(pdf), 2);
  Preview([&](CPrintPreviewDlg& preview) {
    preview.FinishCounting();
    EXPECT_EQ(preview.PageCount(), 5);
    EXPECT_EQ(preview.findChild<QLabel*>(QStringLiteral("pageLabel"))->text(), QStringLiteral("1 / 5 ページ"));
  });
  int from = -1, to = -1, copies = -1;
  platform::SetDialogHandler([&](QDialog& dialog) {
    QPrinter* printer = dynamic_cast<QPrintDialog&>(dialog).printer();
    from = printer->fromPage();
    to = printer->toPage();
    copies = printer->copyCount();
    return 0;
  });
  view.OnCommand(ids::kPrint);
  EXPECT_EQ(from, 0);
  EXPECT_EQ(to, 0);
  EXPECT_EQ(copies, 1);
  // Printing again without the dialog prints the whole document too.
  PrintToPdf(2, 3);
  view.OnCommand(ids::kPrintDirect);
  EXPECT_EQ(PdfPageCount(pdf), 5);
}

// A preview of a long text showed nothing until every page was laid out
// (8 s for 1,018 pages): the first page shows at once, the rest are
// counted between the user's events, and a count that lasts shows its
// progress.
TEST_F(PrintingTest, ALongPreviewShowsItsFirstPageBeforeItsPagesAreCounted) {
  Show(NumberedLines(56 * 300));
  Preview([&](CPrintPreviewDlg& preview) {
    EXPECT_GT(Ink(preview.SheetImage(1, 0.08)), 50);
    if (!preview.Counted()) {
      EXPECT_EQ(preview.findChild<QLabel*>(QStringLiteral("pageLabel"))->text(), QStringLiteral("1 / ? ページ"));
    }
    QProgressBar* counting = preview.findChild<QProgressBar*>(QStringLiteral("counting"));
    QElapsedTimer waited;
    waited.start();
    while (!preview.Counted() && waited.elapsed() < 60000) QCoreApplication::processEvents();
    ASSERT_TRUE(preview.Counted());
    EXPECT_GE(preview.PageCount(), 300);
    EXPECT_FALSE(counting->isVisibleTo(&preview)) << "counted: the progress is gone";
    EXPECT_TRUE(preview.findChild<QLabel*>(QStringLiteral("pageLabel"))->text().endsWith(
        QStringLiteral(" / %1 ページ").arg(preview.PageCount())));
  });
}

// A long print could not be stopped: past half a second a progress window
// shows, and Escape in it stops the print; nothing is left of it.
TEST_F(PrintingTest, ALongPrintShowsProgressAndEscapeStopsIt) {
  Show(NumberedLines(56 * 40));
  ProgressWatch::SetShowAfterForTesting(0);
  int shown = 0;
  platform::SetProgressWindowHandler([&](QDialog& window) {
    ++shown;
    EXPECT_EQ(window.windowModality(), Qt::ApplicationModal);
    EXPECT_NE(window.findChild<QProgressBar*>(), nullptr);
    QTest::keyClick(&window, Qt::Key_Escape);
  });
  PrintToPdf();
  ProgressWatch::SetShowAfterForTesting(-1);
  platform::SetProgressWindowHandler({});
  EXPECT_EQ(shown, 1);
  EXPECT_FALSE(std::filesystem::exists(pdf)) << "no half-printed file";
  EXPECT_TRUE(user.asked.empty()) << "stopped by the user: nothing to tell";
}

}  // namespace
