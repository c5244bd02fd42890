#pragma once

// Reading and writing a document's file with the kanji-code step, without
// any widget: loaders report what they found as flags, and the document
// decides what to tell the user.

#include <QString>

#include <cstddef>
#include <functional>
#include <string_view>
#include <string>
#include <vector>

#include "KanjiCode.h"
#include "KanjiText.h"
#include "RoundTripCheck.h"

class ProfileFile;

// The codes in force for a document, from the "KanaCode" settings and, for
// Auto, detection on the file's bytes.
struct DocumentCodes {
  KanjiCode load = KanjiCode::ShiftJis;
  KanjiCode save = KanjiCode::ShiftJis;
  // A UTF-8 file that starts with a byte-order mark: a UTF-8 save writes
  // it again. Never set for any other file, so no save adds one.
  bool byteOrderMark = false;
};

enum class LoadProblem {
  None,
  Missing,     // no such file
  NotAFile,    // a directory or other non-file
  Unreadable,  // no permission, or a read error
  TooLarge,    // more than the editing control can hold
  LineTooLong, // a line longer than the editing control can lay out
};

struct LoadedDocument {
  LoadProblem problem = LoadProblem::None;
  QString path;          // absolute, file name as the file system spells it
  // The text for the control: Shift-JIS, or for the load code Utf8 the
  // file's bytes after the byte-order mark (Utf8FileCodec decodes them).
  std::string shiftJis;
  DocumentCodes codes;
  // A JIS or EUC conversion keeps the text before the first 0x00 (in the
  // file or produced by the conversion): the rest of the file is not in
  // `shiftJis`, and saving over the file would shorten it.
  bool cutAtNul = false;
  // A JIS or EUC code found by detection whose text a save in that code
  // does not write back as the file was: where the bytes first differ.
  std::optional<RoundTripDifference> savesDifferently;
  // A large file is not kept in `shiftJis`: the control reads it again
  // piece by piece (ReadDocumentPieces, which converts JIS and EUC on the
  // way), so the file's bytes and the control's copy are never held at
  // once. `streamSize`: the file's bytes to read (up to the first 0x00 for
  // JIS and EUC).
  QString streamFrom;
  std::size_t streamSize = 0;
  // Read in the setting's code (Shift-JIS, JIS or EUC), but plainly in
  // this other one (PlainlyOtherCode): the user is offered to read it again
  // in that code.
  std::optional<KanjiCode> plainlyIn;
};

// Files from this size on are streamed into the control.
inline constexpr std::size_t kStreamedFileBytes = std::size_t{8} << 20;

// Calls `each` with `size` bytes of the file from `offset` on in pieces;
// false when the file cannot be read that far.
bool ReadFilePieces(const QString& path, std::size_t size, const std::function<void(std::string_view)>& each,
                    std::size_t offset = 0);

// The control's text of a streamed document (LoadedDocument::streamFrom)
// in pieces: the file's bytes after a byte-order mark, or for JIS and EUC
// the Shift-JIS they convert to, ending at the first 0x00 the conversion
// gives. False when the file cannot be read that far.
bool ReadDocumentPieces(const QString& path, std::size_t size, const DocumentCodes& codes,
                        const std::function<void(std::string_view)>& each);

// The largest text the editing control takes, in UTF-8 bytes: it gives
// positions as int, and a text past INT_MAX crashes it at the next edit.
std::size_t MaxControlBytes();
// The longest line the editing control lays out, in UTF-8 bytes. Its line
// layout needs about nine bytes of memory a byte and, with wrapping, three
// seconds a megabyte; a line of hundreds of megabytes aborts it when the
// layout's memory cannot be had. 16 MiB is laid out in under a minute.
std::size_t MaxLineBytes();

// Codes for a new, untitled document: Auto loads as Shift-JIS.
DocumentCodes CodesForNewDocument(int loadSetting, int saveSetting);

// Reads `path` and converts it to Shift-JIS as the settings ask.
// `detected`: the load code was found by detection, not chosen, so a JIS or
// EUC text is checked for whether a save writes it back as it was (as with
// the setting Auto).
LoadedDocument LoadDocumentFile(const QString& path, int loadSetting, int saveSetting, bool detected = false);

// The bytes to write for a Shift-JIS text: JIS or EUC converted, anything
// else (an Auto left over from an interrupted load included) as it is.
std::string EncodeForSave(const std::string& shiftJis, KanjiCode saveCode);

// Pieces of bytes handed on by a producer; it may be run more than once
// and gives the same bytes each time.
using Sink = std::function<void(std::string_view)>;
using BytePieces = std::function<void(const Sink&)>;

// The bytes to write for Shift-JIS text given in `shiftJis`'s pieces.
BytePieces EncodePiecesForSave(BytePieces shiftJis, KanjiCode saveCode);

// The bytes of a UTF-8 save of the control's text, with the byte-order
// mark when the file read had one. `shiftJisText`: the text was read as
// Shift-JIS (or JIS or EUC), so pairs it holds as their bytes are written
// as their characters (ShiftJisCodec::StandardText), not as the private-use
// code points that hold them.
std::string EncodeUtf8ForSave(std::string_view controlText, bool byteOrderMark, bool shiftJisText);
// The same in pieces.
void EncodeUtf8PiecesForSave(std::string_view controlText, bool byteOrderMark, bool shiftJisText, const Sink& each);

// Writes `bytes` to `path` (SafeFileWriter): a failure leaves the old file
// as it was, a success leaves it the same file with the new bytes. On
// failure returns false with the reason in words in `reason`.
bool WriteFileSafely(const QString& path, const std::string& bytes, QString* reason);
bool WriteFileSafely(const QString& path, const BytePieces& bytes, QString* reason);

// Tests: smaller limits for the control's text and its longest line.
void SetControlLimitsForTesting(std::size_t maxBytes, std::size_t maxLineBytes);
void ResetControlLimitsForTesting();
