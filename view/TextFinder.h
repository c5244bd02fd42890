#pragma once

// Edit > find (Ctrl+F) and Edit > replace (Ctrl+H): runs the modeless find
// and replace dialog against the editing control. The string found is
// selected; the search wraps around at either end of the text and says so
// in the status bar; a string found nowhere is reported by name. Replacing
// everything is one undo step and its count goes to the status bar.

#include <QObject>
#include <QPointer>

#include <optional>

#include "TextSearcher.h"

class CFindReplaceDlg;
class EditorControl;
class QWidget;

class TextFinder : public QObject {
  Q_OBJECT

 public:
  // `owner` is the window the dialog belongs to (looked up when it opens).
  TextFinder(EditorControl& control, QWidget& owner);
  ~TextFinder() override;

  void OpenFind();
  void OpenReplace();
  CFindReplaceDlg* Dialog() const;

  // What the dialog's buttons do, with the dialog's string and options.
  bool FindNext(bool down);
  bool ReplaceNext(bool down);
  int ReplaceAll();

 signals:
  // A line for the status bar's message pane.
  void StatusMessage(const QString& text);

 private:
  void Open(bool replace);
  std::optional<TextSearcher> Searcher();
  std::optional<TextMatch> Find(const TextSearcher& searcher, bool down, bool* wrapped) const;
  void Select(const TextMatch& match);
  void ReportNotFound();
  QWidget* MessageOwner() const;

  EditorControl& m_control;
  QWidget& m_owner;
  QPointer<CFindReplaceDlg> m_dialog;
};
