#include "HelpLauncher.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QUrl>

#include "ModalSeam.h"
#include "Strings.h"

namespace {

constexpr const char* kDataFolder = "kb_zeva3/help";

}  // namespace

QStringList HelpLauncher::HelpFolders() {
  QDir executable(QCoreApplication::applicationDirPath());
  QStringList folders = {executable.filePath(QStringLiteral("help")),
                         QDir::cleanPath(executable.filePath(QStringLiteral("../share/")) + QLatin1Char('/') +
                                         QLatin1String(kDataFolder))};
  for (const QString& dataDir : QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation))
    folders << QDir(dataDir).filePath(QLatin1String(kDataFolder));
  folders.removeDuplicates();
  return folders;
}

QString HelpLauncher::FindPage(const QString& page, const QStringList& folders) {
  for (const QString& folder : folders) {
    QFileInfo file(QDir(folder).filePath(page));
    if (file.isFile()) return file.absoluteFilePath();
  }
  return QString();
}

void HelpLauncher::OpenHelpPage(QWidget* owner, const QString& page, const QStringList& folders) {
  QString path = FindPage(page, folders);
  if (path.isEmpty()) {
    platform::ShowMessage(owner, {QString::fromUtf8(strings::kHelpMissingText),
                                  QString::fromUtf8(strings::kHelpMissingCaption),
                                  platform::MessageIcon::Exclamation, platform::MessageButtons::Ok});
    return;
  }
  platform::OpenWithDesktop(QUrl::fromLocalFile(path));
}

// The program has no web site: its page is the help's own section about it.
void HelpLauncher::OpenHomePage(QWidget* owner, const QStringList& folders) {
  QString path = FindPage(kHelpHtml, folders);
  if (path.isEmpty()) return OpenHelpPage(owner, kHelpHtml, folders);  // says the help is missing
  QUrl page = QUrl::fromLocalFile(path);
  page.setFragment(QStringLiteral("about"));
  platform::OpenWithDesktop(page);
}
