#pragma once

#include <QStringList>

#include <memory>

class CKb_zeva3App;
class CMainFrame;

// Start-up after the application object exists: acts on the command line
// and builds the main window. Returns the window to run, or nothing with
// the process's exit code in `exitCode` (a file that cannot be opened,
// --help, --version, /Unregister, printing).
// `arguments` without the program's name.
std::unique_ptr<CMainFrame> StartEditor(CKb_zeva3App& app, const QStringList& arguments, int* exitCode);
