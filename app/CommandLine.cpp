#include "CommandLine.h"

namespace {

bool IsOptionWord(const QString& argument, const QString& word, Qt::CaseSensitivity cs) {
  if (argument.size() < 2 || (argument[0] != QLatin1Char('/') && argument[0] != QLatin1Char('-'))) return false;
  return argument.mid(1).compare(word, cs) == 0;
}

// Marks of a start by the desktop's object machinery: they change nothing.
bool IsIgnoredOption(const QString& argument) {
  return IsOptionWord(argument, QStringLiteral("Embedding"), Qt::CaseInsensitive) ||
         IsOptionWord(argument, QStringLiteral("Automation"), Qt::CaseInsensitive);
}

}  // namespace

CommandLine ParseCommandLine(const QStringList& arguments) {
  CommandLine line;
  QStringList words;
  for (const QString& argument : arguments) {
    if (argument == QLatin1String("--help") || argument == QLatin1String("-h")) {
      line.action = CommandLine::Action::Help;
      return line;
    }
    if (argument == QLatin1String("--version")) {
      line.action = CommandLine::Action::Version;
      return line;
    }
    if (!IsIgnoredOption(argument)) words << argument;
  }
  if (words.isEmpty()) return line;
  const QString& first = words[0];
  if (IsOptionWord(first, QStringLiteral("Unregister"), Qt::CaseInsensitive) ||
      IsOptionWord(first, QStringLiteral("Unregserver"), Qt::CaseInsensitive)) {
    line.action = CommandLine::Action::Unregister;
    return line;
  }
  if (IsOptionWord(first, QStringLiteral("pt"), Qt::CaseSensitive)) {
    // Without a printer's name the job would go to the default printer,
    // which is /p's: a usage error as much as a missing file.
    if (words.size() < 3 || words[2].isEmpty()) return {CommandLine::Action::Invalid, {}, {}, {}, {}};
    line.action = CommandLine::Action::PrintTo;
    line.path = words[1];
    line.printer = words.value(2);
    line.driver = words.value(3);
    line.port = words.value(4);
    return line;
  }
  if (IsOptionWord(first, QStringLiteral("p"), Qt::CaseSensitive)) {
    if (words.size() < 2) return {CommandLine::Action::Invalid, {}, {}, {}, {}};
    line.action = CommandLine::Action::Print;
    line.path = words[1];
    return line;
  }
  line.action = CommandLine::Action::Open;
  line.path = first;
  return line;
}

QString CommandLineHelp() {
  return QStringLiteral(
      "使い方: kb_zeva3 [ファイル]\n"
      "  kb_zeva3               新しい文書で起動します\n"
      "  kb_zeva3 ファイル      ファイルを開いて起動します\n"
      "  kb_zeva3 /p ファイル   ファイルを印刷します\n"
      "  kb_zeva3 /pt ファイル プリンタ ドライバ ポート\n"
      "                         ファイルを指定のプリンタで印刷します\n"
      "  kb_zeva3 /Unregister   デスクトップへの登録を解除します\n"
      "  kb_zeva3 --version     版を表示します\n");
}
