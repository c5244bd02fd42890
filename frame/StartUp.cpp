#include "StartUp.h"

#include <cstdio>

#include "CKb_zeva3App.h"
#include "CKb_zeva3Doc.h"
#include "CMainFrame.h"
#include "CommandLine.h"
#include "ModalSeam.h"
#include "Strings.h"
#include "VersionDialog.h"

namespace {

void Print(const QString& text) { std::fputs(text.toLocal8Bit().constData(), stdout); }

void Tell(const char* text, platform::MessageIcon icon) {
  platform::ShowMessage(nullptr, {QString::fromUtf8(text), QString::fromUtf8(strings::kAppName), icon,
                                  platform::MessageButtons::Ok});
}

}  // namespace

std::unique_ptr<CMainFrame> StartEditor(CKb_zeva3App& app, const QStringList& arguments, int* exitCode) {
  *exitCode = 0;
  CommandLine line = ParseCommandLine(arguments);
  switch (line.action) {
    case CommandLine::Action::Help:
      Print(CommandLineHelp());
      return nullptr;
    case CommandLine::Action::Version:
      Print(VersionDialog::Text() + QLatin1Char('\n'));
      return nullptr;
    case CommandLine::Action::Invalid:
      Print(CommandLineHelp());
      *exitCode = 2;
      return nullptr;
    case CommandLine::Action::Unregister:
      // Nothing of the desktop's is registered yet, so nothing is left behind.
      Tell(strings::kUnregistered, platform::MessageIcon::Information);
      return nullptr;
    case CommandLine::Action::Print:
    case CommandLine::Action::PrintTo:
      Tell(strings::kPrintingNotYet, platform::MessageIcon::Exclamation);
      *exitCode = 1;
      return nullptr;
    case CommandLine::Action::NewDocument:
    case CommandLine::Action::Open:
      break;
  }
  auto frame = std::make_unique<CMainFrame>(app.Profile(), &app, &app.RecentFiles());
  app.Attach(&frame->Document(), frame.get());
  bool started = line.action == CommandLine::Action::Open ? frame->Document().OpenDocumentFile(line.path)
                                                          : frame->Document().OnNewDocument();
  if (!started) {
    *exitCode = 1;
    return nullptr;
  }
  QObject::connect(&app, &QCoreApplication::aboutToQuit, &app, [&app] { app.SaveStandardSettings(); });
  return frame;
}
