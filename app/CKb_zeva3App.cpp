#include "CKb_zeva3App.h"

#include <algorithm>

#include "CKb_zeva3Doc.h"
#include "CommandIds.h"
#include "FileName.h"
#include "JapaneseInterface.h"
#include "ModalSeam.h"
#include "SettingsLocation.h"
#include "VersionDialog.h"

CKb_zeva3App::CKb_zeva3App(int& argc, char** argv)
    : QApplication(argc, argv), m_profile(SettingsFilePath(applicationDirPath().toStdString())) {
  setApplicationName(QStringLiteral("Kaboma Edit 3"));
  setApplicationVersion(QStringLiteral("3.00"));
  JapaneseInterface::Install(*this);
  m_recentFiles.Load(m_profile);
  m_previewPages = m_profile.GetProfileInt("Settings", "PreviewPages", 0);
}

CKb_zeva3App* CKb_zeva3App::Instance() { return qobject_cast<CKb_zeva3App*>(QCoreApplication::instance()); }

void CKb_zeva3App::Attach(CKb_zeva3Doc* document, QWidget* mainWindow) {
  m_document = document;
  m_mainWindow = mainWindow;
  connect(document, &CKb_zeva3Doc::FileUsed, this, [this](const QString& path) { m_recentFiles.Add(path); });
}

void CKb_zeva3App::SaveStandardSettings() {
  m_recentFiles.Save(m_profile);
  if (m_previewPages != 0) m_profile.WriteProfileInt("Settings", "PreviewPages", m_previewPages);
}

QStringList CKb_zeva3App::OpenFilters() {
  return {QStringLiteral("テキストファイル(.txt;.text;.doc;.ini;.tex) (*.txt *.text *.doc *.ini *.tex)"),
          QStringLiteral("各種文書(.dat;.bat;.def;.bak;.log;.hed) (*.dat *.bat *.def *.bak *.log *.hed)"),
          QStringLiteral("ハイパーテキスト(.htm;.html;.shtml;.plg;.cgi) (*.htm *.html *.shtml *.plg *.cgi)"),
          QStringLiteral("プログラム(.h;.c;.cp;.cpp;.rc;.bas;.jav;.java;.pl) "
                         "(*.h *.c *.cp *.cpp *.rc *.bas *.jav *.java *.pl)"),
          QStringLiteral("全てのファイル(*.*) (*)")};
}

// The recent-file commands are a range of ids, taken before the table.
const CommandMap<CKb_zeva3App>& CKb_zeva3App::Commands() {
  static const CommandMap<CKb_zeva3App> commands{
      {ids::kFileNew, [](CKb_zeva3App& a) { a.m_document->OnNewDocument(); }},
      {ids::kFileOpen, [](CKb_zeva3App& a) { a.OnFileOpen(); }},
      {ids::kAbout, [](CKb_zeva3App& a) {
         VersionDialog dialog(a.m_mainWindow);
         platform::ExecDialog(dialog);
       }},
  };
  return commands;
}

bool CKb_zeva3App::HandlesCommand(int id) const {
  if (id >= ids::kRecentFile1 && id < ids::kRecentFile1 + RecentFileList::kSize)
    return id - ids::kRecentFile1 < m_recentFiles.Entries().size();
  return m_document && Commands().Handles(id);
}

void CKb_zeva3App::OnCommand(int id) {
  if (id >= ids::kRecentFile1 && id < ids::kRecentFile1 + RecentFileList::kSize) return OnRecentFile(id - ids::kRecentFile1);
  Commands().Run(*this, id);
}

bool CKb_zeva3App::OnUpdateCommand(int id, CommandUpdate& update) {
  if (id != ids::kRecentFile1) return false;
  update.enabled = !m_recentFiles.Entries().isEmpty();
  return true;
}

// Choosing the file that is open reads it again: the document is made new
// (with the save prompt) before the chosen file is opened.
namespace {
QString FolderOf(const QString& path) { return path.left(std::max<qsizetype>(1, path.lastIndexOf(QLatin1Char('/')))); }
}  // namespace

// The dialog starts in the shown document's folder, or for an untitled
// one in the folder a file was last opened from.
void CKb_zeva3App::OnFileOpen() {
  QString folder = m_document->PathName().isEmpty() ? m_lastOpenFolder : FolderOf(m_document->PathName());
  std::optional<QString> path = platform::ChooseOpenPath(m_mainWindow, OpenFilters(), folder);
  if (!path) return;
  m_lastOpenFolder = FolderOf(*path);
  if (!m_document->OnNewDocument()) return;
  m_document->OpenDocumentFile(*path);
}

void CKb_zeva3App::OnRecentFile(int index) {
  QString path = m_recentFiles.Entries().value(index);
  if (!m_document->OpenDocumentFile(path) && !FileName::Exists(path)) m_recentFiles.Remove(index);
}
