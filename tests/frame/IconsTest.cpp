// The program's icons and the tool-bar pictures: every button shows a
// picture with or without a desktop icon theme.

#include <gtest/gtest.h>

#include <QAction>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QToolBar>

#include "AppIcons.h"
#include "CMainFrame.h"
#include "CommandIds.h"
#include "FrameTestSupport.h"
#include "MenuLayout.h"
#include "Resources.h"
#include "ToolBarIcons.h"

namespace {

// Pixels a person would see: not fully transparent.
int VisiblePixels(const QIcon& icon, int size) {
  QImage image = icon.pixmap(QSize(size, size)).toImage();
  int count = 0;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) count += qAlpha(image.pixel(x, y)) > 0;
  return count;
}

// An icon theme of the test's own, current while the object lives.
class TestIconTheme {
 public:
  TestIconTheme() : m_oldPaths(QIcon::themeSearchPaths()), m_oldName(QIcon::themeName()) {
    QDir(Root()).mkpath(QStringLiteral("testtheme/16x16/actions"));
    QFile index(Root() + QStringLiteral("/testtheme/index.theme"));
    index.open(QIODevice::WriteOnly);
    index.write("[Icon Theme]\nName=testtheme\nDirectories=16x16/actions\n\n"
                "[16x16/actions]\nSize=16\nContext=Actions\nType=Fixed\n");
    index.close();
    QIcon::setThemeSearchPaths({Root()});
    QIcon::setThemeName(QStringLiteral("testtheme"));
  }
  ~TestIconTheme() {
    QIcon::setThemeSearchPaths(m_oldPaths);
    QIcon::setThemeName(m_oldName);
  }
  void AddPng(const QString& name, QColor colour) {
    QImage image(16, 16, QImage::Format_ARGB32);
    image.fill(colour);
    image.save(Path(name + QStringLiteral(".png")));
  }
  // A picture this program cannot draw (Qt without its SVG module).
  void AddSvg(const QString& name) {
    QFile svg(Path(name + QStringLiteral(".svg")));
    svg.open(QIODevice::WriteOnly);
    svg.write("<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"16\" height=\"16\"/>");
  }

 private:
  QString Root() const { return QString::fromStdString(m_dir.Path().string()); }
  QString Path(const QString& file) const { return Root() + QStringLiteral("/testtheme/16x16/actions/") + file; }
  TempDir m_dir;
  QStringList m_oldPaths;
  QString m_oldName;
};

QRgb CentrePixel(const QIcon& icon) { return icon.pixmap(QSize(16, 16)).toImage().pixel(8, 8); }

TEST(ToolBarIcons, EveryButtonShowsAPictureWithoutATheme) {
  QStringList oldPaths = QIcon::themeSearchPaths();
  QIcon::setThemeSearchPaths({});
  FreshSettings();
  CMainFrame frame(CKb_zeva3App::Instance()->Profile(), nullptr, nullptr);
  int buttons = 0;
  for (QAction* action : frame.ToolBar()->actions()) {
    if (action->isSeparator()) continue;
    ++buttons;
    EXPECT_GT(VisiblePixels(action->icon(), 16), 100) << action->toolTip().toStdString();
  }
  EXPECT_EQ(buttons, 18);
  QIcon::setThemeSearchPaths(oldPaths);
}

TEST(ToolBarIcons, TheThemesPictureForStandardCommandsOursForTheEditorsOwn) {
  TestIconTheme theme;
  theme.AddPng(QStringLiteral("document-new"), Qt::red);
  theme.AddPng(QStringLiteral("go-jump"), Qt::green);
  EXPECT_EQ(CentrePixel(ToolBarIcon(ids::kFileNew)), QColor(Qt::red).rgb());
  EXPECT_EQ(CentrePixel(ToolBarIcon(ids::kGoToLine)), QColor(Qt::green).rgb());
  for (int own : {ids::kNewWindow, ids::kInsertPhrase, ids::kQuickTile, ids::kMiniLauncher, ids::kCustomButton}) {
    EXPECT_TRUE(ThemeIconName(own).isEmpty()) << own;
    EXPECT_EQ(CentrePixel(ToolBarIcon(own)), CentrePixel(OwnToolBarIcon(own))) << own;
  }
  // Not in the theme: our own picture.
  EXPECT_EQ(CentrePixel(ToolBarIcon(ids::kFileOpen)), CentrePixel(OwnToolBarIcon(ids::kFileOpen)));
}

TEST(ToolBarIcons, AThemePictureThatCannotBeDrawnGivesOurs) {
  TestIconTheme theme;
  theme.AddSvg(QStringLiteral("edit-copy"));
  EXPECT_GT(VisiblePixels(ToolBarIcon(ids::kCopy), 16), 100);
}

TEST(AppIcons, ProgramAndDocumentIconsAtEverySizeAndAsSvg) {
  res::InitResources();
  const char* svgs[] = {":/icons/kb_zeva3.svg", ":/icons/kb_zeva3-doc1.svg", ":/icons/kb_zeva3-doc2.svg"};
  for (int index = 0; index < 3; ++index) {
    QFile svg(QString::fromLatin1(svgs[index]));
    ASSERT_TRUE(svg.open(QIODevice::ReadOnly)) << svgs[index];
    EXPECT_TRUE(svg.readAll().contains("<svg"));
    for (int size : {16, 24, 32, 48, 64, 128, 256}) {
      QImage image = AppIcon(index).pixmap(QSize(size, size)).toImage();
      EXPECT_EQ(image.size(), QSize(size, size)) << index << " " << size;
      EXPECT_GT(VisiblePixels(AppIcon(index), size), size * size / 3) << index << " " << size;
    }
  }
  EXPECT_NE(CentrePixel(AppIcon(1)), CentrePixel(AppIcon(2))) << "the two document icons differ";
}

TEST(AppIcons, TheMainWindowShowsTheProgramIcon) {
  FreshSettings();
  CMainFrame frame(CKb_zeva3App::Instance()->Profile(), nullptr, nullptr);
  EXPECT_EQ(frame.windowIcon().pixmap(QSize(32, 32)).toImage(), ProgramIcon().pixmap(QSize(32, 32)).toImage());
}

// The large renders are left for after the first paint: window switchers
// must still get them.
TEST(AppIcons, TheShownWindowAndItsDialogsGetTheLargestRender) {
  FreshSettings();
  CMainFrame frame(CKb_zeva3App::Instance()->Profile(), nullptr, nullptr);
  frame.Document().OnNewDocument();
  frame.show();
  QTRY_VERIFY(frame.windowIcon().availableSizes().contains(QSize(256, 256)));
  EXPECT_TRUE(QGuiApplication::windowIcon().availableSizes().contains(QSize(256, 256)));
}

}  // namespace
