#include "CMainFrame.h"

#include <QCloseEvent>
#include <QFileDialog>
#include <QShortcut>

#include "CKb_zeva3Doc.h"
#include "CKb_zeva3View.h"
#include "Strings.h"

CMainFrame::CMainFrame(ProfileFile& profile, QWidget* parent)
    : QMainWindow(parent), m_view(new CKb_zeva3View(profile, this)), m_document(new CKb_zeva3Doc(profile, *m_view, this)) {
  setCentralWidget(m_view);
  resize(640, 480);
  connect(m_document, &CKb_zeva3Doc::PathNameChanged, this, &CMainFrame::UpdateTitle);
  connect(m_view, &CKb_zeva3View::FilesDropped, this,
          [this](const QStringList& paths) { m_document->OpenDroppedFile(paths.first()); });
  connect(&m_view->Control(), &EditorControl::ContentChanged, this, &CMainFrame::UpdateTitle);
  new QShortcut(QKeySequence::New, this, [this] { m_document->OnNewDocument(); });
  new QShortcut(QKeySequence::Open, this, [this] { OnFileOpen(); });
  new QShortcut(QKeySequence::Save, this, [this] { m_document->Save(); });
  new QShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S), this, [this] { m_document->SaveAs(); });
  UpdateTitle();
}

void CMainFrame::UpdateTitle() {
  setWindowTitle(m_document->Title() + QStringLiteral(" - ") + QString::fromUtf8(strings::kAppTitle));
  setWindowModified(m_view->IsModified());
}

void CMainFrame::OnFileOpen() {
  QString path = QFileDialog::getOpenFileName(this, QString(), m_document->PathName());
  if (!path.isEmpty()) m_document->OpenDocumentFile(path);
}

void CMainFrame::closeEvent(QCloseEvent* event) {
  if (m_document->SaveModified()) event->accept();
  else event->ignore();
}
