#pragma once

// The editing control: the one place that talks to the QScintilla widget.
// It holds Unicode (UTF-8) text and gives the rest of the program what it
// asks of a plain-text edit control: the whole text as Shift-JIS bytes in
// and out, lines, the selection, the modified flag, read-only state, one
// default character format and background, wrapping, paste and undo.
//
// Positions are the control's own (byte offsets into its UTF-8 text);
// lines are logical lines, each ended by CR, LF or CR LF as the text has it.

#include <Qsci/qsciscintilla.h>

#include <QColor>
#include <QString>

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "InputComposition.h"
#include "RepeatedCommitFilter.h"
#include "ShiftJisCodec.h"

// The one character format the whole text is shown in.
struct CharFormat {
  QString face;
  int twips = 240;  // height in 1/20 point
  QColor colour = Qt::black;
  bool bold = false;
  bool italic = false;
  bool underline = false;
  bool strikeOut = false;
  bool operator==(const CharFormat&) const = default;
};

class EditorControl : public QsciScintilla {
  Q_OBJECT

 public:
  // The text is read-only while the view lacks the focus, so that no stray
  // key changes it. A change the program makes on the user's command is let
  // through for its duration: the command often ends in a dialog that still
  // holds the focus (line-ending replacement, phrases, find and replace).
  class WritableWhile {
   public:
    explicit WritableWhile(EditorControl& control) : m_control(control), m_wasReadOnly(control.IsReadOnly()) {
      if (m_wasReadOnly) m_control.SetReadOnly(false);
    }
    ~WritableWhile() {
      if (m_wasReadOnly) m_control.SetReadOnly(true);
    }
    WritableWhile(const WritableWhile&) = delete;
    WritableWhile& operator=(const WritableWhile&) = delete;

   private:
    EditorControl& m_control;
    bool m_wasReadOnly;
  };

  explicit EditorControl(QWidget* parent = nullptr);

  // Replaces the whole text with Shift-JIS bytes as one new document (no
  // undo history, not modified). Enter then inserts the line ending the
  // first line has (CR LF when there is none).
  void SetShiftJisText(std::string_view shiftJis);
  // The same for a text of `size` bytes that `produce` hands over in
  // pieces; returns what `produce` returns. A large text's pieces are made
  // and decoded on another thread: `produce` must touch no widget.
  using PieceProducer = std::function<bool(const std::function<void(std::string_view)>&)>;
  bool SetShiftJisText(std::size_t size, const PieceProducer& produce);
  // The same for the bytes of a UTF-8 file (Utf8FileCodec: bytes that are
  // no UTF-8 show as boxes and are kept). FileLength then counts UTF-8.
  void SetUtf8FileText(std::string_view bytes);
  bool SetUtf8FileText(std::size_t size, const PieceProducer& produce);
  // The whole text as Shift-JIS; characters it cannot hold become "?" and
  // are listed in `missing` when given. Pairs read in a second form are
  // written as read, or in their standard form when `held` says so.
  using HeldPairs = kanji::ShiftJisCodec::HeldPairs;
  std::string ShiftJisText(std::vector<kanji::Unencodable>* missing = nullptr,
                           HeldPairs held = HeldPairs::AsRead) const;
  // The same in pieces of about a megabyte, never held whole.
  void ShiftJisPieces(const std::function<void(std::string_view)>& each,
                      std::vector<kanji::Unencodable>* missing = nullptr, HeldPairs held = HeldPairs::AsRead) const;
  std::string_view Utf8Text() const;
  // The text's length in the bytes of the file it was filled from (Shift-JIS,
  // or UTF-8 after SetUtf8FileText), kept current at every change.
  std::size_t FileLength() const;
  std::size_t ShiftJisLength() const { return FileLength(); }

  long TextLength() const;  // in positions
  int LineCount() const;
  int LineFromPosition(long position) const;
  long LineStart(int line) const;
  long CaretPosition() const;
  long SelectionStart() const;
  long SelectionEnd() const;
  void SetSelection(long anchor, long caret);
  // Replaces the selection as one undoable step, whether the text is
  // read-only or not. A change that would take the text past what the
  // control holds is refused whole (and the user told): false.
  bool ReplaceSelection(const QString& text);
  bool ReplaceSelection(std::string_view utf8);
  // Replaces positions [start, end) with UTF-8 text the same way.
  bool ReplaceRange(long start, long end, std::string_view utf8);
  long LineEndPosition(int line) const;  // before the line's line break
  // Enter inserts the line ending `text` starts with, CR LF when none.
  void FollowLineEndingOf(std::string_view text);

  bool IsModified() const;
  void ClearModified();
  bool IsReadOnly() const;
  void SetReadOnly(bool readOnly);
  bool IsOverwrite() const;
  void SetOverwrite(bool overwrite);

  CharFormat DefaultFormat() const { return m_format; }
  void SetDefaultFormat(const CharFormat& format);
  QColor Background() const { return m_background; }
  void SetBackground(const QColor& colour);
  bool IsWrapping() const;
  void SetWrapping(bool wrap);

  // Frees keys for the program's own accelerators: the control's built-in
  // bindings of them (word moves on Ctrl+arrows, its own clipboard keys...)
  // would otherwise take them first.
  void ReleaseKeys(const QList<QKeyCombination>& keys);

  // Whether a change that removes `removed` positions and inserts
  // `inserted` bytes keeps the text within what the control holds; when it
  // does not, the user is told (once for the refusals of one step). Every
  // change of several parts asks first, so that none is left half done.
  bool HasRoomFor(long removed, std::size_t inserted);

  bool CanPastePlainText() const;
  // Pastes the clipboard's plain text, its line breaks made the ending
  // Enter inserts.
  void PastePlainText();

  // Copy, cut and drags give other programs the characters: a pair held as
  // its bytes (the NEC "≒" of 0x8790) as the character it stands for. Beside
  // that text goes the selection as the control holds it, in a format of the
  // program's own, so that a paste into text read as Shift-JIS keeps the
  // second byte form; text from elsewhere pastes as its characters, which
  // save in their standard form, as typed ones do.
  static constexpr const char* kHeldTextFormat = "application/x-kb-zeva3-held-text";
  void UndoLast();

  // An input method's composition (the preedit) is shown in the text but
  // is no part of it: ShiftJisText and ShiftJisLength leave it out, and
  // neither the modified flag nor Undo sees it.
  bool IsComposing() const { return m_composition.IsActive(); }
  // Ends a composition where it stands, before the user's next action: what
  // it shows becomes text as if committed, once, and the input method is
  // told to start afresh.
  void FinishComposition();
  const InputComposition& Composition() const { return m_composition; }

  // Input methods ask for the text around the caret: answered from the
  // caret's line alone (the widget's own answer scans to the nearest blank
  // line, which on a large file costs a scan per keystroke).
  QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  QMimeData* toMimeData(const QByteArray& text, bool rectangular) const override;
  QByteArray fromMimeData(const QMimeData* source, bool& rectangular) const override;
  void inputMethodEvent(QInputMethodEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;
  // Whether the keyboard focus has already left this window, as the window
  // system has it now (false when it cannot tell).
  virtual bool KeyboardLeftWindow() const;

 signals:
  // The text is about to change (insert or delete at `position`).
  void TextAboutToChange(int position, int length, bool inserting);
  // The text changed; sent once per update of the display.
  void ContentChanged();
  // An insertion was refused: the text would have grown past the control's limit.
  void EditRefused();
  // An input method is about to show a composition where the caret is.
  void CompositionStarting();

 private:
  void KeepOnlyTextFieldKeys();
  std::string_view FirstLine() const;
  void ApplyDocumentOptions();
  std::string WithEnterLineEnds(std::string_view utf8) const;
  QByteArray ClipboardUtf8() const;
  void ShowBytesAsMarkers();
  void ShowHeldPairsAsMarkers();
  void ApplyFormat();
  void CoverWithStrikeOut();
  void OnModified(int position, int modificationType, const char* text, int length);
  void OnUpdateUi(int updated);
  void RestoreSelectionOfUndoneCommit();
  bool IsClearedByFocusChange(const QInputMethodEvent& event) const;
  bool RefuseInsertionPastTheLimit(long length);
  void TellOfRefusal();
  void ReportRefusedEdit();

  CharFormat m_format;
  struct Range {
    long position;
    long length;
  };
  using Decoder = std::size_t (*)(std::string_view, bool, char*, std::size_t*);
  // `expected`: the text's length in the control, as far as known.
  bool Fill(std::size_t size, std::size_t expected, const PieceProducer& produce, Decoder decode);
  bool FillInPieces(std::size_t size, const PieceProducer& produce, Decoder decode, std::size_t& length);
  void AppendUtf8(const char* text, std::size_t length);
  std::size_t FileLengthOf(long position, long length) const;
  void MeasurePendingInsertion() const;

  mutable std::size_t m_fileLength = 0;
  bool m_utf8File = false;
  mutable std::optional<Range> m_pendingInsertion;
  bool m_filling = false;
  bool m_refusalShown = false;
  QColor m_background = Qt::white;
  InputComposition m_composition{*this};
  RepeatedCommitFilter m_repeatedCommits;
};
