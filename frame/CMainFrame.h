#pragma once

// The main window: hosts the editor view and carries the document's title.
// Menus, tool bar, status bar and placement come with the command
// dispatcher; until then the basic file keys work.

#include <QMainWindow>

class CKb_zeva3Doc;
class CKb_zeva3View;
class ProfileFile;

class CMainFrame : public QMainWindow {
  Q_OBJECT

 public:
  explicit CMainFrame(ProfileFile& profile, QWidget* parent = nullptr);

  CKb_zeva3Doc& Document() { return *m_document; }
  CKb_zeva3View& View() { return *m_view; }

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void UpdateTitle();
  void OnFileOpen();

  CKb_zeva3View* m_view;
  CKb_zeva3Doc* m_document;
};
