// Kaboma Edit 3: one process, one document, one main window.

#include <QGuiApplication>

#include <string_view>

#include "CKb_zeva3App.h"
#include "CMainFrame.h"
#include "FileName.h"
#include "StartUp.h"

namespace {

// The version and the usage are printed, never shown: they need no display
// (over ssh, in a package check).
bool OnlyPrints(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    std::string_view argument = argv[i];
    if (argument == "--version" || argument == "--help" || argument == "-h") return true;
  }
  return false;
}

// The words after the program's name, by their bytes: a file named in
// Shift-JIS or EUC must reach the file system as it was given, and Qt's
// arguments() read such bytes as U+FFFD. The application object has taken
// its own options out of argv by now.
QStringList Arguments(int argc, char** argv) {
  QStringList arguments;
  for (int i = 1; i < argc; ++i) arguments << FileName::FromBytes(argv[i]);
  return arguments;
}

}  // namespace

int main(int argc, char** argv) {
  if (OnlyPrints(argc, argv)) qputenv("QT_QPA_PLATFORM", "offscreen");
  CKb_zeva3App app(argc, argv);
  // The desktop entry the desktop shows for our windows (the application id
  // under Wayland).
  QGuiApplication::setDesktopFileName(QStringLiteral("kb_zeva3"));
  int exitCode = 0;
  std::unique_ptr<CMainFrame> frame = StartEditor(app, Arguments(argc, argv), &exitCode);
  if (!frame) return exitCode;
  frame->show();
  frame->activateWindow();
  return app.exec();
}
