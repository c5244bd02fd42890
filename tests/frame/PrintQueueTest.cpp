// Printing from the command line, end to end, against a print scheduler of
// the test's own: /p lands on the default queue, /pt on the named one, and
// a printer that is not there is told to the user with a failing exit.

#include <gtest/gtest.h>

#include <QComboBox>
#include <QPrintDialog>
#include <QProcess>
#include <QProcessEnvironment>

#include <algorithm>
#include <utility>

#include "CKb_zeva3View.h"
#include "CMainFrame.h"
#include "CommandIds.h"
#include "FrameTestSupport.h"
#include "PdfReading.h"
#include "PrivateScheduler.h"
#include "ShiftJisCodec.h"
#include "StartUp.h"

namespace {

const QString kText = QStringLiteral("印刷のテスト\r\n吾輩は猫である。名前はまだ無い。\r\n");
const QStringList kLines = {QStringLiteral("印刷のテスト"), QStringLiteral("吾輩は猫である。名前はまだ無い。")};

class PrintQueueTest : public testing::Test {
 protected:
  void SetUp() override {
    std::string why = PrivateScheduler::Unavailable();
    if (!why.empty()) GTEST_SKIP() << why;
    scheduler = std::make_unique<PrivateScheduler>();
    ASSERT_TRUE(scheduler->Running()) << scheduler->ErrorLog();
    WriteFileBytes(document, kanji::ShiftJisCodec::Encode(kText.toStdString()).bytes);
  }

  // The editor as the desktop starts it: its own process and settings,
  // nothing of the user's print configuration. What it wrote goes to
  // `output` and `errors` when given.
  int RunEditor(const QStringList& arguments, QString* output = nullptr, QString* errors = nullptr) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QStringLiteral("KB_ZEVA3_INI"), QString::fromStdString(dir.File("editor.ini")));
    environment.insert(QStringLiteral("HOME"), QString::fromStdString(dir.Path().string()));
    environment.remove(QStringLiteral("PRINTER"));
    environment.remove(QStringLiteral("LPDEST"));
    QProcess editor;
    editor.setProcessEnvironment(environment);
    editor.start(QStringLiteral(KB_EDITOR_PATH), arguments);
    if (!editor.waitForFinished(60000)) {
      editor.kill();
      editor.waitForFinished();
      ADD_FAILURE() << "the editor did not end";
    }
    if (output) *output = QString::fromLocal8Bit(editor.readAllStandardOutput());
    if (errors) *errors = QString::fromLocal8Bit(editor.readAllStandardError());
    return editor.exitStatus() == QProcess::NormalExit ? editor.exitCode() : -1;
  }

  // The same start-up in this process, where its messages are answered.
  int StartInProcess(const QStringList& arguments) {
    int exitCode = -1;
    EXPECT_FALSE(StartEditor(*CKb_zeva3App::Instance(), arguments, &exitCode));
    return exitCode;
  }

  QString Document() const { return QString::fromStdString(document); }

  ProfileFile& profile = FreshSettings();
  ScriptedUser user;
  TempDir dir;
  std::string document = dir.File("印刷.txt");
  std::unique_ptr<PrivateScheduler> scheduler;
};

TEST_F(PrintQueueTest, SlashPPrintsTheFileOnTheDefaultQueueAndEnds) {
  EXPECT_EQ(RunEditor({QStringLiteral("/p"), Document()}), 0);
  std::vector<std::string> jobs = scheduler->Jobs("Main", 1);
  ASSERT_EQ(jobs.size(), 1u) << scheduler->ErrorLog();
  EXPECT_EQ(PdfLines(jobs[0]), kLines);
  EXPECT_TRUE(scheduler->Jobs("Other", 0, std::chrono::seconds(0)).empty());
}

TEST_F(PrintQueueTest, SlashPtPrintsOnTheNamedQueueWhateverTheDriverAndPort) {
  EXPECT_EQ(RunEditor({QStringLiteral("/pt"), Document(), QStringLiteral("Other"), QStringLiteral("winspool"),
                       QStringLiteral("Ne00:")}),
            0);
  std::vector<std::string> jobs = scheduler->Jobs("Other", 1);
  ASSERT_EQ(jobs.size(), 1u) << scheduler->ErrorLog();
  EXPECT_EQ(PdfLines(jobs[0]), kLines);
  EXPECT_TRUE(scheduler->Jobs("Main", 0, std::chrono::seconds(0)).empty());
}

// Without a printer's name /pt printed on the default printer and ended
// with success: it is a usage error, as /p without a file is.
TEST_F(PrintQueueTest, SlashPtWithoutAPrinterPrintedOnTheDefaultPrinter) {
  QString output;
  EXPECT_EQ(RunEditor({QStringLiteral("/pt"), Document()}, &output), 2);
  EXPECT_TRUE(output.startsWith(QStringLiteral("使い方: kb_zeva3"))) << output.toStdString();
  EXPECT_TRUE(scheduler->Jobs("Main", 0, std::chrono::seconds(1)).empty());
  EXPECT_TRUE(scheduler->Jobs("Other", 0, std::chrono::seconds(0)).empty());
}

// With the default "Load" setting (Shift-JIS), /p printed EUC, JIS and
// UTF-8 files as mojibake without a word. A file plainly in another code is
// printed in that code, and standard error says so.
TEST_F(PrintQueueTest, SlashPPrintedEucJisAndUtf8FilesAsMojibake) {
  const struct {
    const char* fixture;
    const char* code;
  } files[] = {{"euc_prose.txt", "EUC"}, {"jis_prose.txt", "JIS"}, {"utf8_prose.txt", "UTF-8"}, {"sjis_prose.txt", nullptr}};
  std::size_t printed = 0;
  for (const auto& file : files) {
    const std::string path = dir.File(file.fixture);
    WriteFileBytes(path, ReadFileBytes(std::string(KB_TEST_DATA_DIR) + "/" + file.fixture));
    QString errors;
    EXPECT_EQ(RunEditor({QStringLiteral("/p"), QString::fromStdString(path)}, nullptr, &errors), 0) << file.fixture;
    std::vector<std::string> jobs = scheduler->Jobs("Main", ++printed);
    ASSERT_EQ(jobs.size(), printed) << scheduler->ErrorLog();
    // "job-9.pdf" before "job-10.pdf": the last job is the newest.
    std::sort(jobs.begin(), jobs.end(), [](const std::string& a, const std::string& b) {
      return std::pair(a.size(), a) < std::pair(b.size(), b);
    });
    // The second line is wrapped on paper.
    EXPECT_TRUE(PdfLines(jobs.back()).join(QString()).startsWith(
        QStringLiteral("吾輩は猫である。名前はまだ無い。どこで生れたかとんと見当がつかぬ。何でも薄暗いじめじめした所で")))
        << file.fixture;
    const QString told = QStringLiteral("%1\nは %2 で書かれているようなので、%2 として印刷します。\n")
                             .arg(QString::fromStdString(path), QString::fromLatin1(file.code ? file.code : "?"));
    EXPECT_EQ(errors.contains(told), file.code != nullptr) << errors.toStdString();
    EXPECT_EQ(errors.contains(QStringLiteral("として印刷します")), file.code != nullptr) << errors.toStdString();
  }
}

// The page set-up's pages per sheet were ignored: 2 chosen with landscape
// gave landscape pages one a sheet. The dialog's lists are set here and
// landscape put on the printer as its OK does (the end-to-end test clicks
// them in the dialog itself).
TEST_F(PrintQueueTest, PagesPerSheetOfThePageSetUpWereIgnored) {
  CMainFrame frame(profile, CKb_zeva3App::Instance(), nullptr);
  QString text;
  for (int line = 1; line <= 150; ++line) text += QStringLiteral("行%1は日本語の文です。\r\n").arg(line);
  WriteFileBytes(document, kanji::ShiftJisCodec::Encode(text.toStdString()).bytes);
  ASSERT_TRUE(frame.Document().OpenDocumentFile(Document()));
  QPrinter& printer = frame.View().Printing().Printer();
  ASSERT_EQ(printer.outputFormat(), QPrinter::NativeFormat) << "a queue of the scheduler";
  platform::SetDialogHandler([](QDialog& dialog) { return dynamic_cast<QPrintDialog*>(&dialog) ? 1 : 0; });
  frame.RunCommand(ids::kPrint);
  std::vector<std::string> jobs = scheduler->Jobs("Main", 1);
  ASSERT_EQ(jobs.size(), 1u) << scheduler->ErrorLog();
  const int pages = PdfPageCount(jobs[0]);
  ASSERT_GE(pages, 3);

  platform::SetDialogHandler([&](QDialog& dialog) {
    auto* counts = dialog.findChild<QComboBox*>(QStringLiteral("pagesPerSheetCombo"));
    EXPECT_TRUE(counts && counts->isEnabled());
    if (counts) counts->setCurrentIndex(1);  // 2 (2x1)
    printer.setPageOrientation(QPageLayout::Landscape);
    return int(QDialog::Accepted);
  });
  frame.RunCommand(ids::kPrintSetup);
  int shownNext = -1;
  platform::SetDialogHandler([&](QDialog& dialog) {
    shownNext = dialog.findChild<QComboBox*>(QStringLiteral("pagesPerSheetCombo"))->currentIndex();
    return int(QDialog::Rejected);
  });
  frame.RunCommand(ids::kPrintSetup);
  EXPECT_EQ(shownNext, 1) << "the set-up shows what it chose";
  platform::SetDialogHandler([](QDialog& dialog) { return dynamic_cast<QPrintDialog*>(&dialog) ? 1 : 0; });
  frame.RunCommand(ids::kPrint);
  jobs = scheduler->Jobs("Main", 2);
  ASSERT_EQ(jobs.size(), 2u) << scheduler->ErrorLog();
  std::sort(jobs.begin(), jobs.end(), [](const std::string& a, const std::string& b) {
    return std::pair(a.size(), a) < std::pair(b.size(), b);
  });
  EXPECT_EQ(PdfPageCount(jobs[1]), (pages + 1) / 2);
  QStringList oneUp = PdfLines(jobs[0]), twoUp = PdfLines(jobs[1]);
  for (QStringList* lines : {&oneUp, &twoUp}) {
    lines->removeAll(QString());  // between the pages side by side
    lines->sort();
  }
  EXPECT_EQ(twoUp, oneUp) << "every line once";
  int left = 0, right = 0;
  for (const PdfWord& word : PdfWords(jobs[1])) {
    EXPECT_GT(word.pageWidth, word.pageHeight) << "a landscape sheet";
    left += word.xMax < word.pageWidth / 2;
    right += word.xMin > word.pageWidth / 2;
  }
  EXPECT_GT(left, 0);
  EXPECT_GT(right, 0) << "a second page beside the first";
}

TEST_F(PrintQueueTest, AnUnknownPrinterIsToldAndNothingIsPrinted) {
  EXPECT_EQ(StartInProcess({QStringLiteral("/pt"), Document(), QStringLiteral("Nowhere"), QStringLiteral("d"),
                            QStringLiteral("p")}),
            1);
  ASSERT_EQ(user.asked.size(), 1u);
  EXPECT_EQ(user.asked[0].text, QStringLiteral("プリンタ「Nowhere」が見つかりません。"));
  EXPECT_EQ(user.asked[0].caption, QStringLiteral("Kb_zeva3"));
  EXPECT_EQ(user.asked[0].icon, platform::MessageIcon::Exclamation);
  EXPECT_TRUE(scheduler->Jobs("Main", 0, std::chrono::seconds(1)).empty());
  EXPECT_TRUE(scheduler->Jobs("Other", 0, std::chrono::seconds(0)).empty());
}

TEST_F(PrintQueueTest, WithoutASchedulerEitherOptionIsToldThereIsNoPrinter) {
  scheduler->Stop();
  const QString noPrinter = QStringLiteral("印刷に使えるプリンタがありません。\nプリンタを設定してから印刷してください。");
  EXPECT_EQ(StartInProcess({QStringLiteral("/p"), Document()}), 1);
  EXPECT_EQ(StartInProcess({QStringLiteral("/pt"), Document(), QStringLiteral("Other"), QString(), QString()}), 1);
  ASSERT_EQ(user.asked.size(), 2u);
  for (const platform::MessageRequest& asked : user.asked) {
    EXPECT_EQ(asked.text, noPrinter);
    EXPECT_EQ(asked.icon, platform::MessageIcon::Exclamation);
  }
}

}  // namespace
