#pragma once

// Help > quick help, help HTML and the program's page: pages opened with the
// desktop's default handler. The help pages lie in a "help" folder beside
// the executable (the build tree) or in the installed data directory.

#include <QString>
#include <QStringList>

class QWidget;

class HelpLauncher {
 public:
  static constexpr const char* kQuickHelp = "quick.html";
  static constexpr const char* kHelpHtml = "help.html";

  // Where help pages are looked for, in order: "help" beside the
  // executable, then "share/kb_zeva3/help" of the prefix it is installed in,
  // then that folder in the system's data directories.
  static QStringList HelpFolders();

  // The first of `folders` that holds `page`, or an empty string.
  static QString FindPage(const QString& page, const QStringList& folders);

  // Opens `page`; a page found nowhere is reported in a message box owned
  // by `owner`. What the desktop does with a page that exists is its own
  // affair: a handler that fails shows nothing.
  static void OpenHelpPage(QWidget* owner, const QString& page, const QStringList& folders = HelpFolders());

  // The page about the program: the help's own section about it (there is
  // no web site); a help found nowhere is reported as for the help pages.
  static void OpenHomePage(QWidget* owner, const QStringList& folders = HelpFolders());
};
