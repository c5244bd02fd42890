#include "StartUp.h"

#include <cstdio>

#include "CKb_zeva3App.h"
#include "CKb_zeva3Doc.h"
#include "CKb_zeva3View.h"
#include "CMainFrame.h"
#include "CommandLine.h"
#include "DesktopExport.h"
#include "DocumentFileCodeCheck.h"
#include "DesktopLocations.h"
#include "DocumentIcon.h"
#include "InterruptedSaves.h"
#include "ModalSeam.h"
#include "ShellFileTypes.h"
#include "Strings.h"
#include "VersionDialog.h"

namespace {

void Print(const QString& text) { std::fputs(text.toLocal8Bit().constData(), stdout); }
void PrintError(const QString& text) { std::fputs(text.toLocal8Bit().constData(), stderr); }

void Tell(const char* text, platform::MessageIcon icon) {
  platform::ShowMessage(nullptr, {QString::fromUtf8(text), QString::fromUtf8(strings::kAppName), icon,
                                  platform::MessageButtons::Ok});
}

// /p and /pt: the file is opened in a window never shown, printed to the
// default or the named queue (the driver and port words are not needed),
// and the process ends. Nothing of the editor's state is written back.
// A file plainly in another code than the setting's is printed in that
// code, as the window would offer to read it, and standard error says so.
int PrintAndEnd(CKb_zeva3App& app, const CommandLine& line) {
  CMainFrame frame(app.Profile(), &app, &app.RecentFiles());
  CKb_zeva3Doc& document = frame.Document();
  if (!document.OpenDocumentFile(line.path)) return 1;
  if (std::optional<KanjiCode> code = document.PlainlyIn()) {
    if (!document.ReopenIn(*code)) return 1;
    PrintError(QString::fromUtf8(strings::kPrintsInCode).arg(document.PathName(), QString::fromLatin1(KanjiCodeDisplayName(*code))) +
               QLatin1Char('\n'));
  }
  QString queue = line.action == CommandLine::Action::PrintTo ? line.printer : QString();
  return frame.View().Printing().PrintToQueue(queue) ? 0 : 1;
}

// The document type is registered at every start that runs the editor, its
// icon adjusted as the main window comes up, and the result shown to the
// desktop.
void RegisterWithDesktop() {
  DesktopLocations desktop = DesktopLocations::FromEnvironment();
  RegisterShellFileTypes(desktop.ClassesStore(), QCoreApplication::applicationFilePath().toStdString());
  AdjustDocumentIcon(desktop.ClassesStore());
  DesktopExport::Export(desktop);
}

bool UnregisterFromDesktop() {
  DesktopLocations desktop = DesktopLocations::FromEnvironment();
  bool removed = UnregisterShellFileTypes(desktop.ClassesStore());
  return DesktopExport::Export(desktop) && removed;
}

}  // namespace

std::unique_ptr<CMainFrame> StartEditor(CKb_zeva3App& app, const QStringList& arguments, int* exitCode) {
  *exitCode = 0;
  CommandLine line = ParseCommandLine(arguments);
  if (line.action != CommandLine::Action::Help && line.action != CommandLine::Action::Version &&
      line.action != CommandLine::Action::Invalid && line.action != CommandLine::Action::Unregister)
    RegisterWithDesktop();
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
      if (UnregisterFromDesktop()) Tell(strings::kUnregistered, platform::MessageIcon::Information);
      else Tell(strings::kUnregisterIncomplete, platform::MessageIcon::Exclamation);
      return nullptr;
    case CommandLine::Action::Print:
    case CommandLine::Action::PrintTo:
      *exitCode = PrintAndEnd(app, line);
      return nullptr;
    case CommandLine::Action::NewDocument:
    case CommandLine::Action::Open:
      break;
  }
  auto frame = std::make_unique<CMainFrame>(app.Profile(), &app, &app.RecentFiles());
  app.Attach(&frame->Document(), frame.get());
  // Saves a killed editor left unfinished are offered back first.
  InterruptedSaves::OfferAllBut(nullptr, line.action == CommandLine::Action::Open ? line.path : QString());
  bool started = line.action == CommandLine::Action::Open ? frame->Document().OpenDocumentFile(line.path)
                                                          : frame->Document().OnNewDocument();
  if (!started) {
    *exitCode = 1;
    return nullptr;
  }
  QObject::connect(&app, &QCoreApplication::aboutToQuit, &app, [&app] { app.SaveStandardSettings(); });
  return frame;
}
