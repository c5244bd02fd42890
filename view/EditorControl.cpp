#include "EditorControl.h"

#include <Qsci/qscicommand.h>
#include <Qsci/qscicommandset.h>

#include <QApplication>
#include <QClipboard>
#include <QFont>
#include <QFocusEvent>
#include <QGuiApplication>
#include <QInputMethod>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QMimeData>

#include <algorithm>
#include <iterator>

#include "DocumentFile.h"
#include "EditorAccessible.h"
#include "DocumentFilePieces.h"
#include "ModalSeam.h"
#include "PieceThread.h"
#include "ServerKeyboardFocus.h"
#include "Strings.h"
#include "Utf8FileCodec.h"

namespace {

using Sci = QsciScintillaBase;

// Faces the settings may name that this desktop has under another name.
void SubstituteFontsOnce() {
  static bool done = false;
  if (done) return;
  done = true;
  const QStringList japaneseMono = {QStringLiteral("IPAGothic"), QStringLiteral("Noto Sans Mono CJK JP"),
                                    QStringLiteral("VL Gothic"), QStringLiteral("Monospace")};
  QFont::insertSubstitutions(QStringLiteral("ＭＳ ゴシック"), japaneseMono);
  QFont::insertSubstitutions(QStringLiteral("MS Gothic"), japaneseMono);
}

// The line ending Enter inserts: the first line's, or CR LF.
int EolModeOf(std::string_view text) {
  std::size_t end = text.find_first_of("\r\n");
  if (end == std::string_view::npos) return Sci::SC_EOL_CRLF;
  if (text[end] == '\n') return Sci::SC_EOL_LF;
  return end + 1 < text.size() && text[end + 1] == '\n' ? Sci::SC_EOL_CRLF : Sci::SC_EOL_CR;
}

// A held pair's code point and what it shows (see ShowHeldPairsAsMarkers),
// in UTF-8.
struct HeldPairRepresentation {
  std::string held;
  std::string shown;
  bool character;  // shown as the character it stands for, not as its bytes
};

// Every held pair's, worked out once.
const std::vector<HeldPairRepresentation>& HeldPairRepresentations() {
  static const auto representations = [] {
    using kanji::ShiftJisCodec;
    std::vector<HeldPairRepresentation> list;
    for (unsigned lead = 0x81; lead <= 0xFC; ++lead) {
      for (unsigned trail = 0x40; trail <= 0xFC; ++trail) {
        const char32_t held = ShiftJisCodec::kHeldPairBase + (lead << 8 | trail);
        if (!ShiftJisCodec::IsHeldPair(held)) continue;
        const char32_t character = ShiftJisCodec::DuplicateCharacter(held);
        QString shown = character ? QString::fromUcs4(&character, 1)
                                  : QStringLiteral("x") + QString::number(lead << 8 | trail, 16).toUpper();
        list.push_back({QString::fromUcs4(&held, 1).toStdString(), shown.toStdString(), character != 0});
      }
    }
    return list;
  }();
  return representations;
}

// The keys a text field answers to: the caret and selection moves, deleting,
// new lines and tabs, the clipboard, undo and redo, overwrite, cancel.
bool IsTextFieldCommand(QsciCommand::Command command) {
  using C = QsciCommand;
  static const C::Command kept[] = {
      C::LineDown,        C::LineDownExtend,        C::LineUp,          C::LineUpExtend,
      C::CharLeft,        C::CharLeftExtend,        C::CharRight,       C::CharRightExtend,
      C::WordLeft,        C::WordLeftExtend,        C::WordRight,       C::WordRightExtend,
      C::Home,            C::HomeExtend,            C::HomeDisplay,     C::HomeDisplayExtend,
      C::HomeWrap,        C::HomeWrapExtend,        C::VCHome,          C::VCHomeExtend,
      C::VCHomeWrap,      C::VCHomeWrapExtend,      C::LineEnd,         C::LineEndExtend,
      C::LineEndDisplay,  C::LineEndDisplayExtend,  C::LineEndWrap,     C::LineEndWrapExtend,
      C::DocumentStart,   C::DocumentStartExtend,   C::DocumentEnd,     C::DocumentEndExtend,
      C::PageUp,          C::PageUpExtend,          C::PageDown,        C::PageDownExtend,
      C::Delete,          C::DeleteBack,            C::DeleteBackNotLine, C::DeleteWordLeft,
      C::DeleteWordRight, C::SelectAll,             C::SelectionCut,    C::SelectionCopy,
      C::Paste,           C::EditToggleOvertype,    C::Newline,         C::Tab,
      C::Backtab,         C::Cancel,                C::Undo,            C::Redo};
  return std::find(std::begin(kept), std::end(kept), command) != std::end(kept);
}

constexpr std::size_t kLoadPiece = 1 << 20;
// From about this size a second thread saves more than it costs to start.
constexpr std::size_t kDecodeOnThreadBytes = std::size_t{4} << 20;
constexpr unsigned long kStrikeIndicator = 8;  // the first indicator free for containers

}  // namespace

EditorControl::EditorControl(QWidget* parent) : QsciScintilla(parent) {
  EditorAccessible::InstallOnce();
  SubstituteFontsOnce();
  setUtf8(true);
  setMarginWidth(1, 0);
  setMarginLineNumbers(0, false);
  setMarginWidth(0, 0);
  connect(this, &QsciScintillaBase::SCN_MODIFIED, this,
          [this](int position, int type, const char* text, int length, int, int, int, int, int token, int) {
            if (type & SC_MOD_CONTAINER) m_composition.OnCommitUndone(token);
            else OnModified(position, type, text, length);
          });
  connect(this, &QsciScintillaBase::SCN_UPDATEUI, this, &EditorControl::OnUpdateUi);
  KeepOnlyTextFieldKeys();
  ApplyDocumentOptions();
  ApplyFormat();
}

void EditorControl::ApplyDocumentOptions() {
  SendScintilla(SCI_SETCODEPAGE, SC_CP_UTF8);
  ShowBytesAsMarkers();
  // Only the "before" events: the widget's own insert/delete hook (which
  // recounts characters up to the change) then never runs.
  // The insert check lets an insertion past the control's limit be refused.
  // Undo steps of the control's own (a commit that replaced a selection)
  // are reported too.
  SendScintilla(SCI_SETMODEVENTMASK,
                SC_MOD_INSERTCHECK | SC_MOD_BEFOREINSERT | SC_MOD_BEFOREDELETE | SC_MOD_CONTAINER);
  // Annotations force a synchronous layout of every inserted line when
  // wrapping is on; the editor has none.
  SendScintilla(SCI_ANNOTATIONSETVISIBLE, ANNOTATION_HIDDEN);
}

void EditorControl::ShowBytesAsMarkers() {
  // Bytes that are no Shift-JIS character reach the control as U+F780-U+F7FF:
  // each shows as a marked box naming the byte. Only those code points: a
  // test on the UTF-8 bytes alone would take in the half-width katakana
  // (U+FF61-U+FF9F) too. A new document or code page resets the control's
  // representations, so this runs after each.
  // A UTF-8 file's bytes that are no UTF-8 use the same stand-ins, for
  // every byte of 0x80-0xFF; held pairs are Shift-JIS's alone.
  for (int b = 0x80; b <= 0xFF; ++b) {
    const char32_t rawByte = kanji::ShiftJisCodec::kRawByteBase + static_cast<char32_t>(b);
    const std::string utf8 = QString::fromUcs4(&rawByte, 1).toStdString();
    if (!m_utf8File && kanji::ShiftJisCodec::Decode(std::string(1, static_cast<char>(b))) != utf8)
      continue;  // a character of its own in Shift-JIS
    std::string name = "x" + QString::number(b, 16).toUpper().toStdString();
    SendScintilla(SCI_SETREPRESENTATION, utf8.c_str(), name.c_str());
  }
  if (!m_utf8File) ShowHeldPairsAsMarkers();
}

// A pair the codec holds as its two bytes is one private-use code point, so
// the caret, a deletion or an insertion never falls inside it; it is drawn
// through a representation. A pair code page 932 reads as a character it
// writes as other bytes (0x8790, the NEC "≒") shows as that character, with
// a faint line under it that tells it from the standard form (0x81E0): it
// looks the same, but a Shift-JIS save writes it as its own bytes. An empty
// cell shows its two bytes in a box, as a raw byte shows its one.
void EditorControl::ShowHeldPairsAsMarkers() {
  for (const HeldPairRepresentation& pair : HeldPairRepresentations()) {
    SendScintilla(SCI_SETREPRESENTATION, pair.held.c_str(), pair.shown.c_str());
    if (pair.character)
      SendScintilla(SCI_SETREPRESENTATIONAPPEARANCE, reinterpret_cast<unsigned long>(pair.held.c_str()),
                    static_cast<long>(SC_REPRESENTATION_MARKED));
  }
}

void EditorControl::SetShiftJisText(std::string_view shiftJis) {
  SetShiftJisText(shiftJis.size(), [shiftJis](const std::function<void(std::string_view)>& each) {
    for (std::size_t pos = 0; pos < shiftJis.size(); pos += kLoadPiece) each(shiftJis.substr(pos, kLoadPiece));
    return true;
  });
}

bool EditorControl::SetShiftJisText(std::size_t size, const PieceProducer& produce) {
  m_utf8File = false;
  // Japanese text grows by half: two bytes a character to three.
  return Fill(size, size + size / 2, produce, &kanji::ShiftJisCodec::DecodeChunk);
}

void EditorControl::SetUtf8FileText(std::string_view bytes) {
  SetUtf8FileText(bytes.size(), [bytes](const std::function<void(std::string_view)>& each) {
    for (std::size_t pos = 0; pos < bytes.size(); pos += kLoadPiece) each(bytes.substr(pos, kLoadPiece));
    return true;
  });
}

bool EditorControl::SetUtf8FileText(std::size_t size, const PieceProducer& produce) {
  m_utf8File = true;
  // Unchanged but for bytes that are no UTF-8, which are rare.
  return Fill(size, size, produce, &kanji::Utf8FileCodec::DecodeChunk);
}

bool EditorControl::Fill(std::size_t size, std::size_t expected, const PieceProducer& produce, Decoder decodeChunk) {
  // A fresh document without style bytes halves the memory of a large text;
  // no undo history is collected while it fills. Its buffer is made the
  // size the text is expected to take: the control fills all of it.
  long room = static_cast<long>(kanji::ShiftJisCodec::DecodedBound(0) + expected);
  auto document = SendScintilla(SCI_CREATEDOCUMENT, static_cast<unsigned long>(room),
                                static_cast<long>(SC_DOCUMENTOPTION_STYLES_NONE));
  SendScintilla(SCI_SETDOCPOINTER, 0, reinterpret_cast<void*>(document));
  SendScintilla(SCI_RELEASEDOCUMENT, 0, reinterpret_cast<void*>(document));
  ApplyDocumentOptions();
  SendScintilla(SCI_SETUNDOCOLLECTION, 0UL);
  m_composition.ForgetHistory();  // the composition was in the old document
  m_filling = true;
  std::size_t length = 0;
  bool whole = FillInPieces(size, produce, decodeChunk, length);
  m_filling = false;
  m_pendingInsertion.reset();
  SendScintilla(SCI_SETUNDOCOLLECTION, 1UL);
  SendScintilla(SCI_EMPTYUNDOBUFFER);
  m_fileLength = length;
  SendScintilla(SCI_SETEOLMODE, static_cast<unsigned long>(EolModeOf(FirstLine())));
  SendScintilla(SCI_SETSAVEPOINT);
  SendScintilla(SCI_GOTOPOS, 0UL);
  ApplyFormat();
  emit ContentChanged();
  return whole;
}

// The file is read and decoded on another thread while this one puts the
// text into the control, for all but small texts.
bool EditorControl::FillInPieces(std::size_t size, const PieceProducer& produce, Decoder decode, std::size_t& length) {
  std::size_t given = 0;
  auto readAndDecode = [&](const PieceThread::Hand& hand) {
    PieceFeeder decoder(DecodingPieces(decode), hand);
    bool whole = produce([&](std::string_view piece) {
      given += piece.size();
      decoder.Feed(piece);
    });
    decoder.Finish();
    return whole;
  };
  bool whole = PieceThread::Run(readAndDecode, [this](std::string_view piece) { AppendUtf8(piece.data(), piece.size()); },
                                size >= kDecodeOnThreadBytes);
  length = given;  // every byte given is decoded by the end
  return whole;
}

void EditorControl::AppendUtf8(const char* text, std::size_t length) {
  SendScintilla(SCI_APPENDTEXT, static_cast<unsigned long>(length), text);
}

// The text up to its first line end and the byte after it: line ends are
// the same bytes in UTF-8 as in Shift-JIS.
std::string_view EditorControl::FirstLine() const {
  long lineEnd = SendScintilla(SCI_GETLINEENDPOSITION, 0UL);
  return Utf8Text().substr(0, static_cast<std::size_t>(lineEnd) + 2);
}

std::string_view EditorControl::Utf8Text() const {
  auto* text = reinterpret_cast<const char*>(SendScintillaPtrResult(SCI_GETCHARACTERPOINTER));
  return {text, static_cast<std::size_t>(SendScintilla(SCI_GETLENGTH))};
}

std::string EditorControl::ShiftJisText(std::vector<kanji::Unencodable>* missing, HeldPairs held) const {
  std::string_view utf8 = Utf8Text();
  auto preeditStart = static_cast<std::size_t>(m_composition.PreeditStart());
  auto preeditLength = static_cast<std::size_t>(m_composition.PreeditLength());
  if (preeditLength == 0) {
    std::string bytes(kanji::ShiftJisCodec::EncodedBound(utf8.size()), '\0');
    bytes.resize(kanji::ShiftJisCodec::EncodeInto(utf8, bytes.data(), missing, held));
    return bytes;
  }
  // The text around the preedit, each side encoded on its own: the preedit
  // holds whole characters, so no character is split.
  std::string_view before = utf8.substr(0, preeditStart), after = utf8.substr(preeditStart + preeditLength);
  std::string bytes(kanji::ShiftJisCodec::EncodedBound(before.size()) + kanji::ShiftJisCodec::EncodedBound(after.size()),
                    '\0');
  std::size_t written = kanji::ShiftJisCodec::EncodeInto(before, bytes.data(), missing, held);
  std::vector<kanji::Unencodable> missingAfter;
  std::size_t more =
      kanji::ShiftJisCodec::EncodeInto(after, bytes.data() + written, missing ? &missingAfter : nullptr, held);
  if (missing)
    for (kanji::Unencodable item : missingAfter) missing->push_back(item);
  bytes.resize(written + more);
  return bytes;
}

void EditorControl::ShiftJisPieces(const std::function<void(std::string_view)>& each,
                                   std::vector<kanji::Unencodable>* missing, HeldPairs held) const {
  std::string_view utf8 = Utf8Text();
  auto preeditStart = static_cast<std::size_t>(m_composition.PreeditStart());
  auto preeditLength = static_cast<std::size_t>(m_composition.PreeditLength());
  // The preedit holds whole characters and is no part of the text.
  std::string_view parts[] = {utf8.substr(0, preeditLength ? preeditStart : utf8.size()),
                              preeditLength ? utf8.substr(preeditStart + preeditLength) : std::string_view()};
  std::size_t partOffsets[] = {0, preeditStart + preeditLength};
  std::string buffer;
  std::vector<kanji::Unencodable> found;
  for (int part = 0; part < 2; ++part) {
    std::string_view text = parts[part];
    for (std::size_t pos = 0; pos < text.size();) {
      // Each piece ends before the first byte of a character.
      std::size_t end = std::min(text.size(), pos + kLoadPiece);
      while (end < text.size() && end > pos + 1 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) --end;
      std::string_view piece = text.substr(pos, end - pos);
      buffer.resize(kanji::ShiftJisCodec::EncodedBound(piece.size()));
      found.clear();
      std::size_t written = kanji::ShiftJisCodec::EncodeInto(piece, buffer.data(), missing ? &found : nullptr, held);
      if (missing)
        for (kanji::Unencodable item : found) {
          item.utf8Offset += partOffsets[part] + pos;
          missing->push_back(item);
        }
      each(std::string_view(buffer.data(), written));
      pos = end;
    }
  }
}

std::size_t EditorControl::FileLength() const {
  MeasurePendingInsertion();
  return m_fileLength;
}

long EditorControl::TextLength() const { return SendScintilla(SCI_GETLENGTH); }
int EditorControl::LineCount() const { return static_cast<int>(SendScintilla(SCI_GETLINECOUNT)); }
int EditorControl::LineFromPosition(long position) const {
  return static_cast<int>(SendScintilla(SCI_LINEFROMPOSITION, static_cast<unsigned long>(position)));
}
long EditorControl::LineStart(int line) const {
  return SendScintilla(SCI_POSITIONFROMLINE, static_cast<unsigned long>(line));
}
long EditorControl::CaretPosition() const { return SendScintilla(SCI_GETCURRENTPOS); }
long EditorControl::SelectionStart() const { return SendScintilla(SCI_GETSELECTIONSTART); }
long EditorControl::SelectionEnd() const { return SendScintilla(SCI_GETSELECTIONEND); }
void EditorControl::SetSelection(long anchor, long caret) {
  SendScintilla(SCI_SETSEL, static_cast<unsigned long>(anchor), caret);
}

bool EditorControl::ReplaceSelection(const QString& text) {
  const QByteArray utf8 = text.toUtf8();
  return ReplaceSelection(std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size())));
}

// Through the target, which takes a length: a 0x00 in the text is kept. The
// caret ends after the new text, in view, as the control's own replacement
// of a selection leaves it.
bool EditorControl::ReplaceSelection(std::string_view utf8) {
  const long start = SelectionStart();
  if (!ReplaceRange(start, SelectionEnd(), utf8)) return false;
  SendScintilla(SCI_GOTOPOS, static_cast<unsigned long>(start + static_cast<long>(utf8.size())));
  return true;
}

bool EditorControl::ReplaceRange(long start, long end, std::string_view utf8) {
  if (!HasRoomFor(end - start, utf8.size())) return false;
  WritableWhile writable(*this);
  SendScintilla(SCI_BEGINUNDOACTION);
  SendScintilla(SCI_SETTARGETRANGE, static_cast<unsigned long>(start), end);
  SendScintilla(SCI_REPLACETARGET, static_cast<unsigned long>(utf8.size()), utf8.data());
  SendScintilla(SCI_ENDUNDOACTION);
  return true;
}

long EditorControl::LineEndPosition(int line) const {
  return SendScintilla(SCI_GETLINEENDPOSITION, static_cast<unsigned long>(line));
}

void EditorControl::FollowLineEndingOf(std::string_view text) {
  SendScintilla(SCI_SETEOLMODE, static_cast<unsigned long>(EolModeOf(text)));
}

bool EditorControl::IsModified() const { return SendScintilla(SCI_GETMODIFY) != 0; }
void EditorControl::ClearModified() { SendScintilla(SCI_SETSAVEPOINT); }
bool EditorControl::IsReadOnly() const { return SendScintilla(SCI_GETREADONLY) != 0; }
void EditorControl::SetReadOnly(bool readOnly) { SendScintilla(SCI_SETREADONLY, readOnly ? 1UL : 0UL); }
bool EditorControl::IsOverwrite() const { return SendScintilla(SCI_GETOVERTYPE) != 0; }
void EditorControl::SetOverwrite(bool overwrite) { SendScintilla(SCI_SETOVERTYPE, overwrite ? 1UL : 0UL); }

void EditorControl::SetDefaultFormat(const CharFormat& format) {
  m_format = format;
  ApplyFormat();
}

void EditorControl::SetBackground(const QColor& colour) {
  m_background = colour;
  ApplyFormat();
}

void EditorControl::ApplyFormat() {
  QByteArray face = m_format.face.toUtf8();
  SendScintilla(SCI_STYLESETFONT, STYLE_DEFAULT, face.constData());
  // Sizes in hundredths of a point: twips / 20 * 100.
  SendScintilla(SCI_STYLESETSIZEFRACTIONAL, STYLE_DEFAULT, static_cast<long>(m_format.twips) * 5);
  SendScintilla(SCI_STYLESETWEIGHT, STYLE_DEFAULT, m_format.bold ? 700L : 400L);
  SendScintilla(SCI_STYLESETITALIC, STYLE_DEFAULT, m_format.italic ? 1L : 0L);
  SendScintilla(SCI_STYLESETUNDERLINE, STYLE_DEFAULT, m_format.underline ? 1L : 0L);
  SendScintilla(SCI_STYLESETFORE, STYLE_DEFAULT, m_format.colour);
  SendScintilla(SCI_STYLESETBACK, STYLE_DEFAULT, m_background);
  SendScintilla(SCI_STYLECLEARALL);
  setCaretForegroundColor(m_format.colour);
  SendScintilla(SCI_INDICSETSTYLE, kStrikeIndicator, static_cast<long>(INDIC_STRIKE));
  SendScintilla(SCI_INDICSETFORE, kStrikeIndicator, m_format.colour);
  m_composition.StyleIndicators(m_format.colour, palette().color(QPalette::Highlight));
  CoverWithStrikeOut();
}

// Styles have no strike-out: an indicator drawn over the whole text stands in
// for it, laid again after each change so that typed text is covered too.
void EditorControl::CoverWithStrikeOut() {
  SendScintilla(SCI_SETINDICATORCURRENT, kStrikeIndicator);
  long length = TextLength();
  if (m_format.strikeOut) SendScintilla(SCI_INDICATORFILLRANGE, 0UL, length);
  else SendScintilla(SCI_INDICATORCLEARRANGE, 0UL, length);
}

bool EditorControl::IsWrapping() const { return SendScintilla(SCI_GETWRAPMODE) != SC_WRAP_NONE; }
void EditorControl::SetWrapping(bool wrap) {
  SendScintilla(SCI_SETWRAPMODE, static_cast<unsigned long>(wrap ? SC_WRAP_WORD : SC_WRAP_NONE));
}

// The control's own bindings beyond a text field's (cut the line on Ctrl+L,
// duplicate it on Ctrl+D...) are no commands of this editor: a stray key
// must not change the text or the clipboard.
void EditorControl::KeepOnlyTextFieldKeys() {
  for (QsciCommand* command : standardCommands()->commands()) {
    if (IsTextFieldCommand(command->command())) continue;
    command->setKey(0);
    command->setAlternateKey(0);
  }
}

void EditorControl::ReleaseKeys(const QList<QKeyCombination>& keys) {
  for (QKeyCombination combination : keys) {
    int key = combination.toCombined();
    while (QsciCommand* command = standardCommands()->boundTo(key)) {
      if (command->key() == key) command->setKey(0);
      if (command->alternateKey() == key) command->setAlternateKey(0);
    }
  }
}

bool EditorControl::CanPastePlainText() const {
  const QMimeData* data = QApplication::clipboard()->mimeData();
  return !IsReadOnly() && data && data->hasText();
}

// UTF-8 from the clipboard to the control, without a trip through UTF-16.
void EditorControl::PastePlainText() {
  if (!CanPastePlainText()) return;
  const QByteArray utf8 = ClipboardUtf8();
  ReplaceSelection(WithEnterLineEnds(std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size()))));
}

QByteArray EditorControl::ClipboardUtf8() const {
  const QMimeData* data = QApplication::clipboard()->mimeData();
  bool rectangular = false;
  return data ? fromMimeData(data, rectangular) : QByteArray();
}

QMimeData* EditorControl::toMimeData(const QByteArray& text, bool rectangular) const {
  const std::string_view utf8(text.constData(), static_cast<std::size_t>(text.size()));
  if (m_utf8File || !kanji::ShiftJisCodec::HoldsPairs(utf8)) return QsciScintilla::toMimeData(text, rectangular);
  QMimeData* data = QsciScintilla::toMimeData(QByteArray::fromStdString(kanji::ShiftJisCodec::StandardText(utf8)),
                                              rectangular);
  data->setData(QString::fromLatin1(kHeldTextFormat), text);
  return data;
}

// The program's own form only where it holds the same characters as the
// text beside it: a program that rewrote the text leaves it out of date.
QByteArray EditorControl::fromMimeData(const QMimeData* source, bool& rectangular) const {
  QByteArray text = QsciScintilla::fromMimeData(source, rectangular);
  const QString heldFormat = QString::fromLatin1(kHeldTextFormat);
  if (m_utf8File || !source->hasFormat(heldFormat)) return text;
  QByteArray held = source->data(heldFormat);
  const std::string_view heldText(held.constData(), static_cast<std::size_t>(held.size()));
  return kanji::ShiftJisCodec::StandardText(heldText) == text.toStdString() ? held : text;
}

// Text from other applications brings its own line breaks (LF from most of
// them): pasted as they are, they would leave lines the user never typed
// with another ending than the rest. Each CR LF, CR or LF of the text
// becomes the ending Enter inserts; the document's own line ends are not
// touched. One pass, however many lines (a paste of 100 MB has millions).
std::string EditorControl::WithEnterLineEnds(std::string_view utf8) const {
  std::string_view ending;
  switch (SendScintilla(SCI_GETEOLMODE)) {
    case SC_EOL_CRLF: ending = "\r\n"; break;
    case SC_EOL_CR: ending = "\r"; break;
    default: ending = "\n"; break;
  }
  std::string result;
  result.reserve(utf8.size() + utf8.size() / 16);
  std::size_t run = 0;
  for (std::size_t at = 0; at < utf8.size(); ++at) {
    const char c = utf8[at];
    if (c != '\r' && c != '\n') continue;
    result.append(utf8.substr(run, at - run)).append(ending);
    if (c == '\r' && at + 1 < utf8.size() && utf8[at + 1] == '\n') ++at;
    run = at + 1;
  }
  result.append(utf8.substr(run));
  return result;
}

void EditorControl::UndoLast() {
  WritableWhile writable(*this);
  SendScintilla(SCI_UNDO);
  RestoreSelectionOfUndoneCommit();
}

// Undoing a commit that replaced a selection selects that text again, as
// it was before the composition started.
void EditorControl::RestoreSelectionOfUndoneCommit() {
  long anchor = 0, caret = 0;
  if (m_composition.TakeSelectionToRestore(&anchor, &caret)) SetSelection(anchor, caret);
}

void EditorControl::FinishComposition() {
  if (!IsComposing()) return;
  // What the preedit shows becomes the text here and now, whatever input
  // method runs (or none); the input method is then told to drop its
  // composition, and a copy it commits in answer is not taken a second time.
  QString committed = m_composition.CommitShown();
  QGuiApplication::inputMethod()->reset();
  m_repeatedCommits.Expect(committed);
}

// A character typed over a selection replaces it: the control would delete
// the selection and only then find no room for the character.
void EditorControl::keyPressEvent(QKeyEvent* event) {
  const QString text = event->text();
  const bool typesText = !text.isEmpty() && text[0].isPrint() &&
                         !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
  if (typesText && !IsReadOnly() &&
      !HasRoomFor(SelectionEnd() - SelectionStart(), static_cast<std::size_t>(text.toUtf8().size()))) {
    event->accept();
    return;
  }
  QsciScintilla::keyPressEvent(event);
}

void EditorControl::inputMethodEvent(QInputMethodEvent* event) {
  if (!IsComposing() && !event->preeditString().isEmpty()) emit CompositionStarting();
  if (IsClearedByFocusChange(*event)) m_composition.CommitShown();
  else m_composition.Apply(*event);
  updateMicroFocus();
  event->accept();
}

// An input method clears the preedit without a commit both when the user
// cancels (Escape) and when another application that takes input through
// it gets the keyboard: it tells of that before the window hears of its
// own focus-out. The window system tells the two apart: only in the second
// case has the keyboard already left the window.
bool EditorControl::IsClearedByFocusChange(const QInputMethodEvent& event) const {
  return IsComposing() && event.commitString().isEmpty() && event.preeditString().isEmpty() &&
         event.replacementLength() == 0 && KeyboardLeftWindow();
}

bool EditorControl::KeyboardLeftWindow() const { return ServerKeyboardFocus::IsIn(*this) == false; }

// A click ends the composition where it stands; only then does the caret move.
void EditorControl::mousePressEvent(QMouseEvent* event) {
  FinishComposition();
  QsciScintilla::mousePressEvent(event);
}

// The focus leaving for another widget or window takes the composition
// with it as text; a menu opened over the text leaves it open.
void EditorControl::focusOutEvent(QFocusEvent* event) {
  if (event->reason() != Qt::PopupFocusReason && event->reason() != Qt::MenuBarFocusReason) FinishComposition();
  QsciScintilla::focusOutEvent(event);
}

QVariant EditorControl::inputMethodQuery(Qt::InputMethodQuery query) const {
  if (query != Qt::ImSurroundingText && query != Qt::ImCursorPosition)
    return QsciScintilla::inputMethodQuery(query);
  // During a composition the input method is told of the text without its
  // preedit, with the caret where the preedit starts.
  long caret = IsComposing() ? m_composition.PreeditStart() : CaretPosition();
  int line = LineFromPosition(caret);
  long start = LineStart(line);
  long end = SendScintilla(SCI_GETLINEENDPOSITION, static_cast<unsigned long>(line));
  std::string_view text = Utf8Text();
  QString lineText = QString::fromUtf8(text.data() + start, caret - start);
  long afterCaret = caret + (IsComposing() ? m_composition.PreeditLength() : 0);
  if (query == Qt::ImCursorPosition) return static_cast<int>(lineText.size());  // UTF-16 units
  return lineText + QString::fromUtf8(text.data() + afterCaret, std::max(end - afterCaret, 0L));
}

// The Shift-JIS length is kept up to date from each change, so asking for
// it costs nothing however large the text: each UTF-8 character counts on
// its own, so a piece's length is its share of the whole. The control
// announces an insertion before making it and without its text, so the
// inserted range is measured once it is in place: at the next change or
// the next question, whichever comes first.
void EditorControl::OnModified(int position, int modificationType, const char*, int length) {
  if (m_filling) return;  // SetShiftJisText knows the length already
  if (modificationType & SC_MOD_INSERTCHECK) {
    RefuseInsertionPastTheLimit(length);
    return;
  }
  MeasurePendingInsertion();
  if (m_composition.IsEditingPreedit()) return;  // no change of the text
  if (modificationType & SC_MOD_BEFOREINSERT) {
    m_pendingInsertion = {position, length};
    emit TextAboutToChange(position, length, true);
  } else if (modificationType & SC_MOD_BEFOREDELETE) {
    m_fileLength -= FileLengthOf(position, length);
    emit TextAboutToChange(position, length, false);
  }
}

// Every insertion (typing, paste, phrases, replacements) passes here before
// it is made: one that would take the text past what the control holds is
// emptied, and the user told once the editing step is over.
bool EditorControl::RefuseInsertionPastTheLimit(long length) {
  if (static_cast<std::size_t>(TextLength()) + static_cast<std::size_t>(length) <= MaxControlBytes()) return false;
  SendScintilla(SCI_CHANGEINSERTION, 0UL, "");
  TellOfRefusal();
  return true;
}

// A change of the program's own is measured before any part of it is made:
// the control would delete first and refuse the insertion after.
bool EditorControl::HasRoomFor(long removed, std::size_t inserted) {
  if (static_cast<std::size_t>(TextLength() - removed) + inserted <= MaxControlBytes()) return true;
  TellOfRefusal();
  return false;
}

void EditorControl::TellOfRefusal() {
  emit EditRefused();
  if (!m_refusalShown) {
    m_refusalShown = true;
    QMetaObject::invokeMethod(this, &EditorControl::ReportRefusedEdit, Qt::QueuedConnection);
  }
}

void EditorControl::ReportRefusedEdit() {
  platform::ShowMessage(window(), {QString::fromUtf8(strings::kEditTooLarge), QString::fromUtf8(strings::kAppTitle),
                                   platform::MessageIcon::Exclamation, platform::MessageButtons::Ok});
  m_refusalShown = false;
}

std::size_t EditorControl::FileLengthOf(long position, long length) const {
  if (length <= 0) return 0;
  auto* text = reinterpret_cast<const char*>(
      SendScintilla(SCI_GETRANGEPOINTER, static_cast<unsigned long>(position), length));
  std::string_view range(text, static_cast<std::size_t>(length));
  return m_utf8File ? kanji::Utf8FileCodec::EncodedLength(range) : kanji::ShiftJisCodec::EncodedLength(range);
}

void EditorControl::MeasurePendingInsertion() const {
  if (!m_pendingInsertion) return;
  m_fileLength += FileLengthOf(m_pendingInsertion->position, m_pendingInsertion->length);
  m_pendingInsertion.reset();
}

void EditorControl::OnUpdateUi(int updated) {
  RestoreSelectionOfUndoneCommit();  // an undo the control ran on its own keys
  if (!(updated & SC_UPDATE_CONTENT)) return;
  if (m_format.strikeOut) CoverWithStrikeOut();
  emit ContentChanged();
}
