#pragma once

// What the command line asks for. Options begin with "/" or "-", but so
// does every absolute path here: only the exact option words count as
// options ("/p" and "/pt" as written, "/Unregister" and "/Unregserver" in
// any letter case), and anything else is a file.

#include <QString>
#include <QStringList>

struct CommandLine {
  enum class Action { NewDocument, Open, Print, PrintTo, Unregister, Help, Version, Invalid };
  Action action = Action::NewDocument;
  QString path;
  QString printer, driver, port;  // PrintTo
};

// `arguments` without the program's name.
CommandLine ParseCommandLine(const QStringList& arguments);

// The --help text.
QString CommandLineHelp();
