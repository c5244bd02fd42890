// Help pages and the home page: found beside the editor or in the data
// directory, opened through the desktop, reported when missing; and the
// pages describe every command of the menus.

#include "HelpLauncher.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QUrl>

#include <filesystem>

#include "CKb_zeva3View.h"
#include "CommandIds.h"
#include "GuiTestSupport.h"
#include "MenuLayout.h"

namespace {

using platform::MessageIcon;

class HelpLauncherTest : public testing::Test {
 protected:
  HelpLauncherTest() {
    platform::SetDesktopHandler([this](const QUrl& url) {
      opened << url;
      return desktopSucceeds;
    });
  }
  void MakePage(const std::string& folder, const std::string& page) {
    std::filesystem::create_directories(dir.Path() / folder);
    WriteFileBytes((dir.Path() / folder / page).string(), "<html></html>");
  }
  QString Folder(const std::string& folder) const { return QString::fromStdString((dir.Path() / folder).string()); }

  ScriptedUser user;
  TempDir dir;
  QList<QUrl> opened;
  bool desktopSucceeds = true;
};

TEST_F(HelpLauncherTest, AMissingPageIsReportedWithTheHelpErrorBox) {
  for (const char* page : {HelpLauncher::kQuickHelp, HelpLauncher::kHelpHtml}) {
    user.asked.clear();
    HelpLauncher::OpenHelpPage(nullptr, QString::fromLatin1(page), {Folder("help")});
    ASSERT_EQ(user.asked.size(), 1u) << page;
    EXPECT_EQ(user.asked[0].text, QStringLiteral("ヘルプＨＴＭＬを閲覧することができません。"));
    EXPECT_EQ(user.asked[0].caption, QStringLiteral("ヘルプエラー"));
    EXPECT_EQ(user.asked[0].icon, MessageIcon::Exclamation);
  }
  EXPECT_TRUE(opened.isEmpty());
}

TEST_F(HelpLauncherTest, TheFirstFolderHoldingThePageWinsAndTheDesktopOpensIt) {
  MakePage("installed", "help.html");
  MakePage("beside", "quick.html");
  QStringList folders = {Folder("beside"), Folder("installed")};
  HelpLauncher::OpenHelpPage(nullptr, QStringLiteral("help.html"), folders);
  HelpLauncher::OpenHelpPage(nullptr, QStringLiteral("quick.html"), folders);
  EXPECT_EQ(opened, (QList<QUrl>{QUrl::fromLocalFile(Folder("installed") + QStringLiteral("/help.html")),
                                 QUrl::fromLocalFile(Folder("beside") + QStringLiteral("/quick.html"))}));
  EXPECT_TRUE(user.asked.empty());
}

TEST_F(HelpLauncherTest, ADesktopThatFailsToOpenAnExistingPageShowsNothing) {
  MakePage("help", "quick.html");
  desktopSucceeds = false;
  HelpLauncher::OpenHelpPage(nullptr, QStringLiteral("quick.html"), {Folder("help")});
  EXPECT_EQ(opened.size(), 1);
  EXPECT_TRUE(user.asked.empty());
}

TEST_F(HelpLauncherTest, HelpIsLookedForBesideTheEditorThenInTheInstalledDataDirectory) {
  QStringList folders = HelpLauncher::HelpFolders();
  ASSERT_GE(folders.size(), 2);
  QString executableDir = QCoreApplication::applicationDirPath();
  EXPECT_EQ(folders[0], executableDir + QStringLiteral("/help"));
  EXPECT_EQ(folders[1], QDir::cleanPath(executableDir + QStringLiteral("/../share/kb_zeva3/help")));
}

// Regression: the home page command opened an invented web address.
TEST_F(HelpLauncherTest, HomePageOpensTheHelpsSectionAboutTheProgram) {
  MakePage("installed", "help.html");
  HelpLauncher::OpenHomePage(nullptr, {Folder("installed")});
  ASSERT_EQ(opened.size(), 1);
  EXPECT_TRUE(opened[0].isLocalFile());
  EXPECT_EQ(opened[0].toLocalFile(), Folder("installed") + QStringLiteral("/help.html"));
  EXPECT_EQ(opened[0].fragment(), QStringLiteral("about"));
  EXPECT_TRUE(user.asked.empty());
}

TEST_F(HelpLauncherTest, ViewCommandsOpenTheirPagesAndReportTheMissingOnes) {
  QStandardPaths::setTestModeEnabled(true);  // no installed copy of the pages takes part
  TestSettings settings;
  CKb_zeva3View view(settings.profile);
  view.OnCommand(ids::kQuickHelp);
  view.OnCommand(ids::kHelpHtml);
  EXPECT_EQ(user.asked.size(), 2u) << "the test program has no help folder beside it";
  view.OnCommand(ids::kHomePage);
  EXPECT_EQ(user.asked.size(), 3u) << "nor a page about the program";
  EXPECT_TRUE(opened.empty());
  QStandardPaths::setTestModeEnabled(false);
}

// The pages describe the editor as it is: every menu command by its name.
QString ReadPage(const char* folder, const char* page) {
  return QString::fromStdString(ReadFileBytes(std::string(folder) + "/" + page));
}

QString CommandName(const char* menuText) {
  QString name = QString::fromUtf8(menuText);
  name = name.left(name.indexOf(QLatin1Char('\t')));
  name.remove(QRegularExpression(QStringLiteral("\\(&?[A-Z]\\)")));
  name.remove(QStringLiteral("..."));
  return name;
}

TEST(HelpPages, LieBesideTheBuiltEditorAsInTheSources) {
  for (const char* page : {HelpLauncher::kQuickHelp, HelpLauncher::kHelpHtml}) {
    QString source = ReadPage(KB_HELP_SOURCE_DIR, page);
    EXPECT_TRUE(source.contains(QStringLiteral("Kaboma Edit 3"))) << page;
    EXPECT_EQ(ReadPage(KB_HELP_BUILT_DIR, page), source) << page;
  }
}

TEST(HelpPages, TheHelpNamesEveryMenuCommandAndTheQuickHelpEveryKey) {
  QString help = ReadPage(KB_HELP_SOURCE_DIR, HelpLauncher::kHelpHtml);
  QString quick = ReadPage(KB_HELP_SOURCE_DIR, HelpLauncher::kQuickHelp);
  for (const res::Menu& menu : res::MenuBar()) {
    EXPECT_TRUE(help.contains(QString::fromUtf8(menu.title).remove(QLatin1Char('&')))) << menu.title;
    for (const res::MenuItem& item : menu.items) {
      if (item.id == 0) continue;
      EXPECT_TRUE(help.contains(CommandName(item.text))) << item.text;
      QString text = QString::fromUtf8(item.text);
      if (!text.contains(QLatin1Char('\t'))) continue;
      QString keys = text.mid(text.indexOf(QLatin1Char('\t')) + 1).section(QStringLiteral("..."), 0, 0);
      EXPECT_TRUE(quick.contains(QStringLiteral("<kbd>") + keys + QStringLiteral("</kbd>"))) << item.text;
    }
  }
}

}  // namespace
