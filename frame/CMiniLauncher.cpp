#include "CMiniLauncher.h"

#include <QFileInfo>
#include <QStandardPaths>

#include "CKb_zeva3Doc.h"
#include "CMiniLauncherDlg.h"
#include "CommandIds.h"
#include "DesktopOpen.h"
#include "FileName.h"
#include "ModalSeam.h"
#include "ProfileFile.h"
#include "RecentFileName.h"

namespace {

constexpr const char* kSection = "Lunch";
constexpr const char* kCaption = "ミニランチャー";
constexpr const char* kUnsavedText = "未保存のファイルは実行できません。\n文書を保存してから実行して下さい。";
constexpr const char* kNoAssociationText = "現在開かれているファイルは\n拡張子起動できません。";
constexpr const char* kUntitledText = "無題のファイルは実行できません。";
constexpr const char* kNotFoundText = "登録された実行ファイル\nが見つかりません。";
constexpr const char* kNotRunnableText =
    "登録された実行ファイル\nは実行できません。\n（フォルダか、実行を許可されていないファイルです）";

}  // namespace

CMiniLauncher::CMiniLauncher(ProfileFile& profile, const CKb_zeva3Doc& document, QWidget* owner)
    : m_profile(profile), m_document(document), m_owner(owner) {}

const CommandMap<CMiniLauncher>& CMiniLauncher::Commands() {
  static const CommandMap<CMiniLauncher> commands{
      {ids::kMiniLauncher, [](CMiniLauncher& l) { l.Launch(); }},
      {ids::kMiniLauncherSettings, [](CMiniLauncher& l) { l.EditSettings(); }},
  };
  return commands;
}

bool CMiniLauncher::HandlesCommand(int id) const { return Commands().Handles(id); }

void CMiniLauncher::OnCommand(int id) { Commands().Run(*this, id); }

void CMiniLauncher::Tell(const char* text) {
  platform::ShowMessage(m_owner, {QString::fromUtf8(text), QString::fromUtf8(kCaption),
                                  platform::MessageIcon::Exclamation, platform::MessageButtons::Ok});
}

// The file as last opened or saved: unsaved changes do not reach the other
// program. Its path goes as it is (there are no short names here), always
// as one argument, never through a shell.
void CMiniLauncher::Launch() {
  QString program = RecentFileName::FromStored(m_profile.GetProfileString(kSection, "Path", ""));
  int mode = m_profile.GetProfileInt(kSection, "Mode", AssociatedApp);
  const QString& document = m_document.PathName();
  if (mode == AssociatedApp) {
    if (document.isEmpty()) return Tell(kUnsavedText);
    return LaunchAssociated(document);
  }
  if (mode == RunOnly) return LaunchRegistered(program, QString(), false);
  if (document.isEmpty()) return Tell(kUntitledText);
  LaunchRegistered(program, document, true);
}

void CMiniLauncher::LaunchAssociated(const QString& document) {
  if (desktop_open::OpenWithDefaultApplication(FileName::Bytes(document).c_str()) !=
      desktop_open::kDesktopOpened)
    Tell(kNoAssociationText);
}

// A missing program and one that is there but cannot be run (a folder, a
// file without the permission) are told apart; a program that fails to
// start once found is not reported.
void CMiniLauncher::LaunchRegistered(const QString& program, const QString& document, bool withDocument) {
  QString resolved = ResolveProgram(program);
  if (resolved.isEmpty()) return Tell(Exists(program) ? kNotRunnableText : kNotFoundText);
  platform::StartProgram(resolved, withDocument ? QStringList{document} : QStringList{});
}

QString CMiniLauncher::ResolveProgram(const QString& program) {
  if (program.isEmpty()) return QString();
  if (!program.contains(QLatin1Char('/'))) return QStandardPaths::findExecutable(program);
  QFileInfo info(program);
  return info.isFile() && info.isExecutable() ? info.absoluteFilePath() : QString();
}

bool CMiniLauncher::Exists(const QString& program) {
  return program.contains(QLatin1Char('/')) && QFileInfo::exists(program);
}

void CMiniLauncher::EditSettings() {
  CMiniLauncherDlg dialog(m_profile.GetProfileInt(kSection, "Mode", AssociatedApp),
                          RecentFileName::FromStored(m_profile.GetProfileString(kSection, "Path", "")), m_owner);
  if (platform::ExecDialog(dialog) != QDialog::Accepted) return;
  m_profile.WriteProfileString(kSection, "Path", RecentFileName::ToStored(dialog.Path()));
  m_profile.WriteProfileInt(kSection, "Mode", dialog.Mode());
}
