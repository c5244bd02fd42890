#pragma once

// What a screen reader reads of the editing area: the text, the caret and
// the selection through Qt's accessibility interfaces (on the desktop's
// accessibility bus, AT-SPI's Text and EditableText), and the events that
// tell it of typing, deleting, caret moves and selections.
//
// The text is the control's own buffer read as it is drawn (ShownTextOffsets):
// a question costs about the text it answers with, never a copy of the
// document, and events are made only while a reader listens. (QScintilla's
// own accessible object counted the characters from the start of the text
// on every caret move, insert and delete: on a large file each keystroke
// paid for the whole text before the caret.)

#include <QAccessibleEditableTextInterface>
#include <QAccessibleTextInterface>
#include <QAccessibleWidget>
#include <QMetaObject>

#include <functional>
#include <optional>

#include "ShownTextOffsets.h"

class EditorControl;

class EditorAccessible : public QAccessibleWidget,
                         public QAccessibleTextInterface,
                         public QAccessibleEditableTextInterface {
 public:
  // The name a reader announces the editing area by.
  static QString Name();

  // Makes Qt ask this class for every EditorControl's accessible object.
  static void InstallOnce();

  // Where the events go. Qt's bridge to the accessibility bus takes them,
  // and they are made at all, only while a reader listens
  // (QAccessible::isActive()). A listener set here takes them instead,
  // whether or not one does: the tests and the benchmark stand in for the
  // bridge with one. An empty listener gives them back to Qt.
  using Listener = std::function<void(QAccessibleEvent&)>;
  static void SetListener(Listener listener);

  explicit EditorAccessible(EditorControl* control);
  ~EditorAccessible() override;
  EditorAccessible(const EditorAccessible&) = delete;
  EditorAccessible& operator=(const EditorAccessible&) = delete;

  // QAccessibleInterface
  void* interface_cast(QAccessible::InterfaceType type) override;
  QAccessible::State state() const override;
  QString text(QAccessible::Text type) const override;

  // QAccessibleTextInterface: offsets in the UTF-16 code units of the text
  // as drawn.
  void selection(int selectionIndex, int* startOffset, int* endOffset) const override;
  int selectionCount() const override;
  void addSelection(int startOffset, int endOffset) override;
  void removeSelection(int selectionIndex) override;
  void setSelection(int selectionIndex, int startOffset, int endOffset) override;
  int cursorPosition() const override;
  void setCursorPosition(int position) override;
  QString text(int startOffset, int endOffset) const override;
  QString textBeforeOffset(int offset, QAccessible::TextBoundaryType boundaryType, int* startOffset,
                           int* endOffset) const override;
  QString textAfterOffset(int offset, QAccessible::TextBoundaryType boundaryType, int* startOffset,
                          int* endOffset) const override;
  QString textAtOffset(int offset, QAccessible::TextBoundaryType boundaryType, int* startOffset,
                       int* endOffset) const override;
  int characterCount() const override;
  QRect characterRect(int offset) const override;
  int offsetAtPoint(const QPoint& point) const override;
  void scrollToSubstring(int startIndex, int endIndex) override;
  QString attributes(int offset, int* startOffset, int* endOffset) const override;

  // QAccessibleEditableTextInterface: refused while the text is read-only.
  void deleteText(int startOffset, int endOffset) override;
  void insertText(int offset, const QString& text) override;
  void replaceText(int startOffset, int endOffset, const QString& text) override;

 private:
  struct Piece {
    QString text;
    long start;
    long end;
  };
  struct Range {
    long position;
    long length;
  };

  EditorControl& Control() const;
  Piece PieceAt(long offset, QAccessible::TextBoundaryType boundaryType) const;
  Piece CharacterAt(const ShownTextOffsets::Point& at) const;
  Piece SegmentAt(long offset, const ShownTextOffsets::Point& at, bool words) const;
  Piece RowAt(const ShownTextOffsets::Point& at) const;
  Piece LineAt(const ShownTextOffsets::Point& at) const;
  static QString Answer(const Piece& piece, int* startOffset, int* endOffset);
  long ClampedOffset(int offset) const;
  void Replace(int startOffset, int endOffset, const QString& text);

  static bool Listening();
  void Send(QAccessibleEvent& event) const;
  void OnModified(int position, int modificationType, int length);
  void OnUpdateUi();
  void TellOfPendingInsertion();
  void TellOfCaretAndSelection();

  ShownTextOffsets m_offsets;
  QMetaObject::Connection m_modifiedConnection;
  QMetaObject::Connection m_updateConnection;
  // The document whose edits are told: another one is being filled until
  // the next display update, and its filling is not told piece by piece.
  void* m_document = nullptr;
  bool m_filling = false;
  std::optional<Range> m_pendingInsertion;
  long m_caretOffset = -1;
  long m_selectionStart = -1;
  long m_selectionEnd = -1;
};
