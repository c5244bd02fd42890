// Kaboma Edit 3: one process, one document, one main window.

#include <QGuiApplication>

#include "CKb_zeva3App.h"
#include "CMainFrame.h"
#include "StartUp.h"

int main(int argc, char** argv) {
  CKb_zeva3App app(argc, argv);
  // The desktop entry the desktop shows for our windows (the application id
  // under Wayland).
  QGuiApplication::setDesktopFileName(QStringLiteral("kb_zeva3"));
  int exitCode = 0;
  std::unique_ptr<CMainFrame> frame = StartEditor(app, app.arguments().mid(1), &exitCode);
  if (!frame) return exitCode;
  frame->show();
  frame->activateWindow();
  return app.exec();
}
