#pragma once

// The editor view: the window the user reads and edits the text in. It owns
// the editing control, applies the appearance settings each time a document
// is shown, runs the font, background-colour, word-wrap and paste commands,
// and keeps the text read-only while it lacks the keyboard focus (a 50 ms
// timer makes it writable again once the focus is back).

#include <QBasicTimer>
#include <QColor>
#include <QStringList>
#include <QWidget>

#include <memory>

#include "CachedPaneText.h"
#include "CommandTarget.h"
#include "MinuteClock.h"
#include "DocumentText.h"
#include "EditorControl.h"
#include "NoticeBar.h"
#include "PrintCommands.h"

class ClipboardTextWatch;
class ProfileFile;
class TextFinder;

class CKb_zeva3View : public QWidget, public DocumentText, public CommandTarget {
  Q_OBJECT

 public:
  static constexpr int kTimerPeriodMs = 50;
  static constexpr int kPrintMarginTwips = 1080;
  static constexpr int kMaxFaceBytes = 31;

  CKb_zeva3View(ProfileFile& profile, QWidget* parent = nullptr);

  EditorControl& Control() { return *m_control; }
  const EditorControl& Control() const { return *m_control; }
  const NoticeBar& Notice() const { return *m_notice; }
  TextFinder& Finder() { return *m_finder; }
  PrintCommands& Printing() { return *m_printing; }
  // The document's name, the title of its print jobs.
  void SetPrintTitle(const QString& title) { m_printing->SetTitle(title); }

  // DocumentText
  void ShowDocument(const std::string& text, const DocumentCodes& codes) override;
  bool ShowStreamedDocument(const QString& path, std::size_t size, const DocumentCodes& codes) override;
  void ShowNotice(const QString& text) override { m_notice->ShowText(text); }
  void OfferReopen(KanjiCode code, const std::function<void()>& reopen) override;
  void OfferReload(const std::function<void()>& reload) override;
  std::string TextForSave(std::vector<kanji::Unencodable>* missing) const override;
  std::string Utf8TextForSave() const override;
  void SaveTextPieces(const std::function<void(std::string_view)>& each,
                      std::vector<kanji::Unencodable>* missing) const override;
  KanjiCode SaveCode() const override { return m_saveCode; }
  bool IsModified() const override { return m_control->IsModified(); }
  void ClearModified() override { m_control->ClearModified(); }
  void MakeWritable() override { m_control->SetReadOnly(false); }
  QWidget* Window() override { return window(); }

  // CommandTarget: the editing commands and the status bar panes.
  bool HandlesCommand(int id) const override;
  void OnCommand(int id) override;
  // A part built above this layer whose commands this class answers for
  // (the cycle popup settings): asked after the class's own.
  void AttachCommands(CommandTarget* part) { m_attachedCommands = part; }
  bool OnUpdateCommand(int id, CommandUpdate& update) override;

  // The text of status bar pane `id`.
  QString PaneText(int id) const;

  // Commands.
  void OnFontSettings();
  void OnBackgroundColour();
  void OnWordWrap();
  bool IsWordWrapChecked() const { return m_wordWrap == 1; }
  void OnPaste();
  void OnGoToLine();
  void OnLineEndReplacement();
  void OnPrintPreview();
  bool CanPaste() const;

  // The code the shown document was read in.
  KanjiCode LoadCode() const { return m_loadCode; }
  bool IsOverwrite() const { return m_overwrite; }

  // The cycle popup's state (its page and a drag scrolling the text), kept
  // here because the view's focus, keys and set-up reset it.
  int CycleIndex() const { return m_cycleIndex; }
  void SetCycleIndex(int index) { m_cycleIndex = index; }
  bool IsDragScrolling() const { return m_dragScrolling; }
  void SetDragScrolling(bool scrolling) { m_dragScrolling = scrolling; }

 signals:
  // Files dropped on the editing area, for the main window to open.
  void FilesDropped(const QStringList& paths);
  // Every timer tick: the idle-time update of bars and panes runs on it.
  void Tick();
  // A line for the status bar's message pane.
  void StatusMessage(const QString& text);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void timerEvent(QTimerEvent* event) override;

 private:
  static const CommandMap<CKb_zeva3View>& Commands();
  void SetUpFromSettings();
  void OnFocusGained();
  void OnFocusLost();
  static bool FocusStaysInWindow(Qt::FocusReason reason);
  void OnKeyDown(int key);
  void TakeCodes(const DocumentCodes& codes);
  int CaretRow() const;
  // The typing-mode pane's first refresh in the process puts the view back
  // in insert mode.
  void TakeFirstModeRefresh();

  ProfileFile& m_profile;
  NoticeBar* m_notice;
  EditorControl* m_control;
  TextFinder* m_finder;
  std::unique_ptr<PrintCommands> m_printing;
  QBasicTimer m_timer;
  ClipboardTextWatch* m_clipboardText;
  // Only caches of the panes' texts: reading a pane changes no state.
  mutable MinuteClock m_clock;
  mutable CachedPaneText<std::size_t> m_sizePane;
  mutable CachedPaneText<int> m_linePane;
  // The caret's display row when the running composition started: the line
  // pane counts no preedit, which may wrap onto rows of its own.
  int m_compositionRow = 0;
  mutable CachedPaneText<std::pair<KanjiCode, KanjiCode>> m_codesPane;
  CommandTarget* m_attachedCommands = nullptr;

  // Tests read and set what the commands and panes work from.
  friend struct ViewInternals;

  KanjiCode m_loadCode = KanjiCode::None;
  KanjiCode m_saveCode = KanjiCode::None;
  // The UTF-8 file shown began with a byte-order mark.
  bool m_byteOrderMark = false;
  QColor m_textColour;
  QColor m_backColour;
  QString m_fontName;
  int m_fontSize = 0;
  int m_fontStrike = 0, m_fontUnder = 0, m_fontItalic = 0, m_fontBold = 0;
  bool m_hasFocus = false;
  bool m_overwrite = false;
  long m_prevTextLength = 0;
  int m_wordWrap = 0;
  int m_printMargins = 0;
  int m_cycleIndex = 0;
  bool m_dragScrolling = false;
};
