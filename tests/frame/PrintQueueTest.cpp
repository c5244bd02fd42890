// Printing from the command line, end to end, against a print scheduler of
// the test's own: /p lands on the default queue, /pt on the named one, and
// a printer that is not there is told to the user with a failing exit.

#include <gtest/gtest.h>

#include <QProcess>
#include <QProcessEnvironment>

#include "CMainFrame.h"
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
  // nothing of the user's print configuration.
  int RunEditor(const QStringList& arguments) {
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
