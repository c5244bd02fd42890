#include "DocumentFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <new>

#include "SafeFileWriter.h"

namespace {

bool outOfMemory = false;

void AllocateWorkBuffer() {
  if (outOfMemory) throw std::bad_alloc();
}

KanjiCode ResolveAuto(KanjiCode code, KanjiCode resolved) { return code == KanjiCode::Auto ? resolved : code; }

// An absolute, clean path. Linux file names are exact: a file found under
// the name given is stored under that very name, so only the directory part
// needs making absolute.
QString NormalisedPath(const QString& path) { return QDir::cleanPath(QFileInfo(path).absoluteFilePath()); }

std::string BeforeFirstNul(const std::string& text) {
  std::size_t nul = text.find('\0');
  return nul == std::string::npos ? text : text.substr(0, nul);
}

}  // namespace

DocumentCodes CodesForNewDocument(int loadSetting, int saveSetting) {
  DocumentCodes codes;
  codes.load = ResolveAuto(KanjiCodeFromInt(loadSetting), KanjiCode::ShiftJis);
  codes.save = ResolveAuto(KanjiCodeFromInt(saveSetting), codes.load);
  return codes;
}

LoadedDocument LoadDocumentFile(const QString& path, int loadSetting, int saveSetting) {
  LoadedDocument result;
  QFileInfo info(path);
  if (!info.exists()) {
    result.problem = LoadProblem::Missing;
    return result;
  }
  if (!info.isFile()) {
    result.problem = LoadProblem::NotAFile;
    return result;
  }
  if (static_cast<unsigned long long>(info.size()) > kMaxControlBytes) {
    result.problem = LoadProblem::TooLarge;
    return result;
  }
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    result.problem = LoadProblem::Unreadable;
    return result;
  }
  AllocateWorkBuffer();
  std::string bytes(static_cast<std::size_t>(info.size()), '\0');
  qint64 read = bytes.empty() ? 0 : file.read(bytes.data(), static_cast<qint64>(bytes.size()));
  if (read < 0) {
    result.problem = LoadProblem::Unreadable;
    return result;
  }
  bytes.resize(static_cast<std::size_t>(read));

  result.path = NormalisedPath(path);
  result.codes.load = ResolveAuto(KanjiCodeFromInt(loadSetting), kanji::DetectCode(bytes));
  result.codes.save = ResolveAuto(KanjiCodeFromInt(saveSetting), result.codes.load);
  if (result.codes.load == KanjiCode::Jis || result.codes.load == KanjiCode::Euc) {
    // The converted text ends at the first 0x00, in the file or produced by
    // the conversion, as the control would hold it.
    std::string before = BeforeFirstNul(bytes);
    std::string converted = kanji::ToShiftJis(before, result.codes.load);
    result.shiftJis = BeforeFirstNul(converted);
    result.cutAtNul = before.size() < bytes.size() || result.shiftJis.size() < converted.size();
    // Detection can take Shift-JIS for EUC; a code the user chose is taken
    // as meant. A text cut at 0x00 is asked about on its own.
    if (KanjiCodeFromInt(loadSetting) == KanjiCode::Auto && !result.cutAtNul)
      result.savesDifferently =
          FindRoundTripDifference(bytes, EncodeForSave(result.shiftJis, result.codes.load), result.codes.load);
  } else {
    result.shiftJis = std::move(bytes);
  }
  return result;
}

std::string EncodeForSave(const std::string& shiftJis, KanjiCode saveCode) {
  AllocateWorkBuffer();
  return kanji::FromShiftJis(shiftJis, saveCode);
}

bool WriteFileSafely(const QString& path, const std::string& bytes, QString* reason) {
  return SafeFileWriter::Write(path, bytes, reason);
}

void SetWriteFailureForTesting(long long afterBytes, int error) {
  SafeFileWriter::FailWritesForTesting(afterBytes, error);
}
void SetOutOfMemoryForTesting(bool value) { outOfMemory = value; }
