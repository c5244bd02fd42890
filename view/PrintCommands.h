#pragma once

// Printing the shown document: print with the desktop's print dialog, print
// again without it, print preview, page set-up, and printing from the
// command line to the default or a named queue. One printer description
// lives as long as the view, so the printer, the paper and the pages per
// sheet chosen carry over to the next print; the page range and the copies
// do not: each print and each preview starts from the whole document and
// one copy.
//
// Every print is laid out to a PDF first: printed to a file, that is the
// output; printed to a queue, that PDF is the job, and a queue that is
// missing or refuses the job is told to the user instead of printing
// nowhere. A long print shows its progress and can be stopped
// (ProgressWatch); a stopped print sends nothing and leaves no file.

#include <QPrinter>
#include <QString>

#include "SheetLayout.h"

class EditorControl;
class QWidget;

class PrintCommands {
 public:
  PrintCommands(const EditorControl& control, const int& marginTwips, QWidget* owner);

  // The document's name, the job's title.
  void SetTitle(const QString& title) { m_title = title; }

  void Print();
  void PrintDirect();
  // `pagesShown` (1 or 2; 0 for not set) is what the preview starts with
  // and what the user left it at.
  void Preview(int& pagesShown);
  void SetUp();
  // `queue` empty: the default queue. False after telling the user why
  // nothing was printed, or when the user stopped it.
  bool PrintToQueue(const QString& queue);

  QPrinter& Printer() { return m_printer; }

 private:
  bool PrintOn(QPrinter& chosen);
  bool PrintToFile(QPrinter& printer);
  bool SendToQueue(const QString& queue, const QPrinter& settings, const SheetPages& pages);
  // Lays the text out on `target` on the paper of `settings`, `pages` a
  // sheet: the pages painted, 0 when none could be or the user stopped.
  int Lay(QPrinter& target, const QPrinter& settings, const SheetPages& pages, bool* stopped) const;
  void StartAfresh();
  void Tell(const QString& text, bool failure) const;

  const EditorControl& m_control;
  const int& m_marginTwips;
  QWidget* m_owner;
  QString m_title;
  QPrinter m_printer{QPrinter::HighResolution};
  SheetPages m_sheetPages;
};
