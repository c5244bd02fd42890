#include "DocumentFile.h"

#include <QFile>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <memory>
#include <new>

#include "DocumentFileCodeCheck.h"
#include "DocumentFilePieces.h"
#include "FileName.h"
#include "PieceThread.h"
#include "SafeFileWriter.h"
#include "ShiftJisCodec.h"
#include "Utf8FileCodec.h"

namespace {

constexpr std::size_t kControlLimit = 0x7FFFFFFF;
constexpr std::size_t kLineLimit = std::size_t{16} << 20;
std::size_t maxControlBytes = kControlLimit;
std::size_t maxLineBytes = kLineLimit;

constexpr std::size_t kMeasurePiece = 1 << 20;

// The UTF-8 length of a Shift-JIS text in the control, decoded piece by
// piece into one scratch buffer.
std::size_t DecodedLength(std::string_view shiftJis) {
  std::string scratch(kanji::ShiftJisCodec::DecodedBound(std::min(kMeasurePiece, shiftJis.size())), '\0');
  std::size_t length = 0;
  for (std::size_t pos = 0; pos < shiftJis.size();) {
    std::size_t piece = std::min(kMeasurePiece, shiftJis.size() - pos);
    std::size_t consumed = 0;
    length += kanji::ShiftJisCodec::DecodeChunk(shiftJis.substr(pos, piece), pos + piece == shiftJis.size(),
                                                scratch.data(), &consumed);
    pos += consumed;
  }
  return length;
}

// Whether a text decodes to at most `limit` bytes in the control: measured
// only when its bound (three bytes a byte) is over the limit.
bool DecodesWithin(std::string_view text, bool utf8, std::size_t limit) {
  if (3 * text.size() <= limit) return true;
  return (utf8 ? kanji::Utf8FileCodec::DecodedLength(text) : DecodedLength(text)) <= limit;
}

// Calls `each` with the pieces of `text` between `separator` bytes, until
// it answers false.
template <class Each>
bool EverySplit(std::string_view text, char separator, Each each) {
  for (std::size_t start = 0;;) {
    const void* found = std::memchr(text.data() + start, separator, text.size() - start);
    std::size_t end = found ? static_cast<std::size_t>(static_cast<const char*>(found) - text.data()) : text.size();
    if (!each(text.substr(start, end - start))) return false;
    if (!found) return true;
    start = end + 1;
  }
}

// Whether a piece between LFs fits: its lines (ended by CR) are measured
// only when the piece could be too long.
bool PieceWithin(std::string_view piece, bool utf8, std::size_t limit) {
  return DecodesWithin(piece, utf8, limit) || EverySplit(piece, '\r', [utf8, limit](std::string_view line) {
           return DecodesWithin(line, utf8, limit);
         });
}

// Whether every line (ended by CR, LF or CR LF) fits the control's layout.
// A piece between LFs of at most a third of the limit fits whatever it
// holds, so the text is crossed a window of that size at a time, from the
// last LF in each window: a text of short lines costs a few searches, not
// one a line. Only a longer piece is split at CR and, if still long,
// measured.
bool LinesWithin(std::string_view text, bool utf8, std::size_t limit) {
  const std::size_t window = limit / 3;
  for (std::size_t start = 0; text.size() - start > window;) {
    const void* lastLf = memrchr(text.data() + start, '\n', window + 1);
    if (lastLf) {
      start = static_cast<std::size_t>(static_cast<const char*>(lastLf) - text.data()) + 1;
      continue;
    }
    const void* lf = std::memchr(text.data() + start, '\n', text.size() - start);
    const std::size_t end = lf ? static_cast<std::size_t>(static_cast<const char*>(lf) - text.data()) : text.size();
    if (!PieceWithin(text.substr(start, end - start), utf8, limit)) return false;
    if (!lf) return true;
    start = end + 1;
  }
  return true;
}

// The control's measures of a Shift-JIS text given in pieces: the whole
// text and each line (ended by CR, LF or CR LF) as the control holds them.
// Lines are split at LF first; only a line that could be too long, or one
// that goes on past a piece, is split at CR and measured. A character
// split by a piece's end is measured as its parts, a byte or two off.
class ControlMeasure {
 public:
  explicit ControlMeasure(std::size_t bound) : m_measureAll(3 * bound > maxControlBytes) {}

  void Add(std::string_view piece) {
    if (m_measureAll) m_total += DecodedLength(piece);
    const std::size_t lineLimit = maxLineBytes;
    EverySplit(piece, '\n', [&, first = true](std::string_view segment) mutable {
      if (!first) EndLine();
      first = false;
      bool closed = segment.end() != piece.end();
      if (closed && !m_open && 3 * segment.size() <= lineLimit) return true;
      EverySplit(segment, '\r', [&, firstPart = true](std::string_view part) mutable {
        if (!firstPart) EndLine();
        firstPart = false;
        m_open = true;
        m_line += DecodedLength(part);
        m_lineTooLong = m_lineTooLong || m_line > lineLimit;
        return true;
      });
      return true;
    });
  }

  LoadProblem Problem() const {
    if (m_measureAll && m_total > maxControlBytes) return LoadProblem::TooLarge;
    return m_lineTooLong ? LoadProblem::LineTooLong : LoadProblem::None;
  }

 private:
  void EndLine() {
    m_open = false;
    m_line = 0;
  }

  bool m_measureAll;
  std::size_t m_total = 0;
  bool m_open = false;   // a line goes on from the last piece
  std::size_t m_line = 0;  // its length so far in the control
  bool m_lineTooLong = false;
};

KanjiCode ResolveAuto(KanjiCode code, KanjiCode resolved) { return code == KanjiCode::Auto ? resolved : code; }

// An absolute, clean path. Linux file names are exact: a file found under
// the name given is stored under that very name, so only the directory part
// needs making absolute.
QString NormalisedPath(const QString& path) { return FileName::Absolute(path); }

// The file opened by its name's bytes: Qt would take a name's bytes that are
// no UTF-8 for characters (FileName).
bool OpenForReading(QFile& file, const QString& path) {
  const int descriptor = ::open(FileName::Bytes(path).c_str(), O_RDONLY | O_CLOEXEC);
  if (descriptor < 0) return false;
  if (file.open(descriptor, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) return true;
  ::close(descriptor);
  return false;
}

// Passes on to `each` the Shift-JIS given to it up to its first 0x00;
// `cut` is set when there is one.
std::function<void(std::string_view)> BeforeNul(bool& cut, std::function<void(std::string_view)> each) {
  return [&cut, each = std::move(each)](std::string_view shiftJis) {
    if (cut) return;
    std::size_t nul = shiftJis.find('\0');
    if (nul != std::string_view::npos) {
      cut = true;
      shiftJis = shiftJis.substr(0, nul);
    }
    if (!shiftJis.empty()) each(shiftJis);
  };
}

// Calls `each` with the Shift-JIS of JIS or EUC text given to the
// returned feeder, up to the first 0x00 the conversion gives; `cut` is set
// when there is one.
PieceFeeder ShiftJisBeforeNul(KanjiCode from, bool& cut, const std::function<void(std::string_view)>& each) {
  return PieceFeeder(ToShiftJisPieces(from), BeforeNul(cut, each));
}

// A JIS or EUC file converted piece by piece, never whole: the text ends at
// the first 0x00, in the file or produced by the conversion, as the control
// would hold it. A large text is only measured and checked here, while
// another thread converts it; the control reads the file again.
void ConvertJisOrEuc(const QString& path, std::string_view bytes, bool detected, LoadedDocument& result) {
  const KanjiCode code = result.codes.load;
  std::string_view before = bytes.substr(0, bytes.find('\0'));
  result.cutAtNul = before.size() < bytes.size();
  const bool stream = before.size() >= kStreamedFileBytes;
  // Detection can take Shift-JIS for EUC; a code the user chose is taken
  // as meant. A text cut at 0x00 is compared up to the cut: what a save
  // would change before it is told besides the cut itself.
  std::optional<RoundTripComparer> comparer;
  if (detected) comparer.emplace(before, code);
  PieceFeeder saver(FromShiftJisPieces(code), [&comparer](std::string_view saved) { comparer->AddSaved(saved); });
  ControlMeasure measure(before.size());
  bool cut = false;
  auto check = BeforeNul(cut, [&](std::string_view shiftJis) {
    measure.Add(shiftJis);
    if (!stream) result.shiftJis.append(shiftJis);
    // As a save writes it: a second form (the NEC "≒" of row 13) in the
    // standard form. The converter's pieces end between characters.
    if (comparer) saver.Feed(kanji::ShiftJisCodec::StandardPairs(shiftJis));
  });
  auto convert = [before, code](const PieceThread::Hand& hand) {
    PieceFeeder converter(ToShiftJisPieces(code), hand);
    for (std::size_t pos = 0; pos < before.size(); pos += kMeasurePiece) converter.Feed(before.substr(pos, kMeasurePiece));
    converter.Finish();
    return true;
  };
  PieceThread::Run(convert, check, stream);
  result.cutAtNul = result.cutAtNul || cut;
  if (comparer) {
    saver.Finish();
    result.savesDifferently = comparer->Finish();
    // A text the conversion cut is shorter than the file: that is the cut,
    // told on its own, not a byte a save changes.
    if (cut && result.savesDifferently && result.savesDifferently->savedBytes.empty()) result.savesDifferently.reset();
  }
  result.problem = measure.Problem();
  if (stream && result.problem == LoadProblem::None) {
    result.streamFrom = path;
    result.streamSize = before.size();
  }
}

}  // namespace

DocumentCodes CodesForNewDocument(int loadSetting, int saveSetting) {
  DocumentCodes codes;
  codes.load = ResolveAuto(KanjiCodeFromInt(loadSetting), KanjiCode::ShiftJis);
  codes.save = ResolveAuto(KanjiCodeFromInt(saveSetting), codes.load);
  return codes;
}

LoadedDocument LoadDocumentFile(const QString& path, int loadSetting, int saveSetting, bool detected) {
  LoadedDocument result;
  struct stat info {};
  if (::stat(FileName::Bytes(path).c_str(), &info) != 0) {
    result.problem = LoadProblem::Missing;
    return result;
  }
  if (!S_ISREG(info.st_mode)) {
    result.problem = LoadProblem::NotAFile;
    return result;
  }
  if (static_cast<unsigned long long>(info.st_size) > maxControlBytes) {
    result.problem = LoadProblem::TooLarge;
    return result;
  }
  QFile file;
  if (!OpenForReading(file, path)) {
    result.problem = LoadProblem::Unreadable;
    return result;
  }
  // Not zero-filled first: a large file's pages are then written once, by
  // the read.
  const auto size = static_cast<std::size_t>(info.st_size);
  auto buffer = std::make_unique_for_overwrite<char[]>(size);
  qint64 read = size == 0 ? 0 : file.read(buffer.get(), static_cast<qint64>(size));
  if (read < 0) {
    result.problem = LoadProblem::Unreadable;
    return result;
  }
  std::string_view bytes(buffer.get(), static_cast<std::size_t>(read));

  result.path = NormalisedPath(path);
  // Detection may read the whole file: only when the setting asks for it.
  const KanjiCode chosen = KanjiCodeFromInt(loadSetting);
  result.codes.load = chosen == KanjiCode::Auto ? kanji::DetectFileCode(bytes) : chosen;
  result.codes.save = ResolveAuto(KanjiCodeFromInt(saveSetting), result.codes.load);
  // The setting's code, when the file is plainly in another: it is offered.
  result.plainlyIn = PlainlyOtherCode(bytes, true, chosen);
  if (result.codes.load == KanjiCode::Jis || result.codes.load == KanjiCode::Euc) {
    ConvertJisOrEuc(path, bytes, detected || chosen == KanjiCode::Auto, result);
    if (result.problem != LoadProblem::None) {
      result.shiftJis.clear();
      result.plainlyIn.reset();
    }
    return result;
  } else if (result.codes.load == KanjiCode::Utf8) {
    result.codes.byteOrderMark = kanji::Utf8FileCodec::StartsWithByteOrderMark(bytes);
    if (result.codes.byteOrderMark) bytes.remove_prefix(kanji::Utf8FileCodec::kByteOrderMark.size());
  }
  // Measured before the control is touched: it holds the text as UTF-8,
  // up to three times the file's size.
  const bool utf8 = result.codes.load == KanjiCode::Utf8;
  if (!DecodesWithin(bytes, utf8, maxControlBytes)) result.problem = LoadProblem::TooLarge;
  else if (!LinesWithin(bytes, utf8, maxLineBytes)) result.problem = LoadProblem::LineTooLong;
  if (result.problem != LoadProblem::None) {
    result.plainlyIn.reset();
  } else if (bytes.size() >= kStreamedFileBytes) {
    // A large text goes into the control straight from the file.
    result.streamFrom = path;
    result.streamSize = bytes.size();
  } else {
    result.shiftJis.assign(bytes);
  }
  return result;
}

bool ReadDocumentPieces(const QString& path, std::size_t size, const DocumentCodes& codes,
                        const std::function<void(std::string_view)>& each) {
  if (codes.load != KanjiCode::Jis && codes.load != KanjiCode::Euc) {
    const std::size_t offset = codes.byteOrderMark ? kanji::Utf8FileCodec::kByteOrderMark.size() : 0;
    return ReadFilePieces(path, size, each, offset);
  }
  bool cut = false;
  PieceFeeder reader = ShiftJisBeforeNul(codes.load, cut, each);
  bool whole = ReadFilePieces(path, size, [&](std::string_view piece) {
    if (!cut) reader.Feed(piece);
  });
  reader.Finish();
  return whole;
}

bool ReadFilePieces(const QString& path, std::size_t size, const std::function<void(std::string_view)>& each,
                    std::size_t offset) {
  QFile file;
  if (!OpenForReading(file, path)) return false;
  if (offset > 0 && !file.seek(static_cast<qint64>(offset))) return false;
  std::string piece(kMeasurePiece, '\0');
  for (std::size_t done = 0; done < size;) {
    qint64 read = file.read(piece.data(), static_cast<qint64>(std::min(piece.size(), size - done)));
    if (read <= 0) return false;  // a read error, or the file got shorter
    each(std::string_view(piece.data(), static_cast<std::size_t>(read)));
    done += static_cast<std::size_t>(read);
  }
  return true;
}

std::string EncodeForSave(const std::string& shiftJis, KanjiCode saveCode) {
  return kanji::FromShiftJis(shiftJis, saveCode);
}

BytePieces EncodePiecesForSave(BytePieces shiftJis, KanjiCode saveCode) {
  if (saveCode != KanjiCode::Jis && saveCode != KanjiCode::Euc) return shiftJis;
  return [shiftJis = std::move(shiftJis), saveCode](const Sink& write) {
    PieceFeeder encoder(FromShiftJisPieces(saveCode), write);
    shiftJis([&encoder](std::string_view piece) { encoder.Feed(piece); });
    encoder.Finish();
  };
}

namespace {

// The control's text as a UTF-8 file holds it: see EncodeUtf8ForSave.
std::string Utf8FileBytes(std::string_view controlText, bool shiftJisText) {
  if (!shiftJisText || !kanji::ShiftJisCodec::HoldsPairs(controlText))
    return kanji::Utf8FileCodec::Encode(controlText);
  return kanji::Utf8FileCodec::Encode(kanji::ShiftJisCodec::StandardText(controlText));
}

}  // namespace

void EncodeUtf8PiecesForSave(std::string_view controlText, bool byteOrderMark, bool shiftJisText, const Sink& each) {
  if (byteOrderMark) each(kanji::Utf8FileCodec::kByteOrderMark);
  // Each piece ends before a character's first byte: the stand-ins for
  // raw bytes are whole characters, encoded alike in any piece.
  for (std::size_t pos = 0; pos < controlText.size();) {
    std::size_t end = std::min(controlText.size(), pos + kMeasurePiece);
    while (end < controlText.size() && end > pos + 1 && (static_cast<unsigned char>(controlText[end]) & 0xC0) == 0x80)
      --end;
    each(Utf8FileBytes(controlText.substr(pos, end - pos), shiftJisText));
    pos = end;
  }
}

std::string EncodeUtf8ForSave(std::string_view controlText, bool byteOrderMark, bool shiftJisText) {
  std::string bytes = Utf8FileBytes(controlText, shiftJisText);
  if (byteOrderMark) bytes.insert(0, kanji::Utf8FileCodec::kByteOrderMark);
  return bytes;
}

bool WriteFileSafely(const QString& path, const std::string& bytes, QString* reason) {
  return SafeFileWriter::Write(path, bytes, reason);
}

bool WriteFileSafely(const QString& path, const BytePieces& bytes, QString* reason) {
  return SafeFileWriter::Write(path, bytes, reason);
}

std::size_t MaxControlBytes() { return maxControlBytes; }
std::size_t MaxLineBytes() { return maxLineBytes; }

void SetControlLimitsForTesting(std::size_t maxBytes, std::size_t maxLine) {
  maxControlBytes = maxBytes;
  maxLineBytes = maxLine;
}

void ResetControlLimitsForTesting() { SetControlLimitsForTesting(kControlLimit, kLineLimit); }

