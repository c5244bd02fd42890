#include "FileName.h"

#include <QDir>
#include <QFile>
#include <QStringList>

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <memory>
#include <vector>

#include "KanjiText.h"
#include "ShiftJisCodec.h"
#include "Utf8FileCodec.h"

namespace {

using kanji::ShiftJisCodec;
using kanji::Utf8FileCodec;

bool IsRawByte(char32_t c) {
  return c >= Utf8FileCodec::kRawByteBase + 0x80 && c <= Utf8FileCodec::kRawByteBase + 0xFF;
}

// A Shift-JIS name's text, when every byte of it belongs to a character.
std::optional<QString> AsShiftJis(std::string_view bytes) {
  const std::string text = ShiftJisCodec::Decode(bytes);
  for (char32_t c : QString::fromStdString(text).toUcs4()) {
    if (IsRawByte(c)) return std::nullopt;
    if (ShiftJisCodec::IsHeldPair(c) && !ShiftJisCodec::DuplicateCharacter(c)) return std::nullopt;
  }
  return QString::fromStdString(ShiftJisCodec::StandardText(text));
}

// Whether the bytes are EUC's: ASCII, pairs of 0xA1-0xFE, and half-width
// katakana after 0x8E.
bool IsEucShaped(std::string_view bytes) {
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const auto b = static_cast<unsigned char>(bytes[i]);
    if (b < 0x80) continue;
    const auto next = i + 1 < bytes.size() ? static_cast<unsigned char>(bytes[i + 1]) : 0;
    const bool pair = b >= 0xA1 && b <= 0xFE && next >= 0xA1 && next <= 0xFE;
    const bool katakana = b == 0x8E && next >= 0xA1 && next <= 0xDF;
    if (!pair && !katakana) return false;
    ++i;
  }
  return true;
}

std::optional<QString> AsEuc(std::string_view bytes) {
  if (!IsEucShaped(bytes)) return std::nullopt;
  return AsShiftJis(kanji::ToShiftJis(bytes, KanjiCode::Euc));
}

// EUC never has a byte of 0x80-0x9F but for 0x8E before a katakana, and
// Shift-JIS text of kana or kanji nearly always has one: a name that reads
// both ways without one is EUC's.
bool HasShiftJisOnlyByte(std::string_view bytes) {
  for (char b : bytes) {
    const auto u = static_cast<unsigned char>(b);
    if (u >= 0x80 && u <= 0x9F && u != 0x8E) return true;
  }
  return false;
}

// One part of a path (no "/"), that is no UTF-8, as the user reads it.
QString ShownPart(const QString& part) {
  const std::string bytes = FileName::Bytes(part);
  std::optional<QString> shiftJis = AsShiftJis(bytes);
  std::optional<QString> euc = AsEuc(bytes);
  if (shiftJis && (!euc || HasShiftJisOnlyByte(bytes))) return *shiftJis;
  if (euc) return *euc;
  QString shown;
  for (char32_t c : part.toUcs4()) {
    if (IsRawByte(c))
      shown += QStringLiteral("\\x") +
               QString::number(c - Utf8FileCodec::kRawByteBase, 16).toUpper().rightJustified(2, QLatin1Char('0'));
    else
      shown += QString::fromUcs4(&c, 1);
  }
  return shown;
}

bool StatOf(const QString& path, struct stat* info) { return ::stat(FileName::Bytes(path).c_str(), info) == 0; }

struct DirCloser {
  void operator()(DIR* dir) const { closedir(dir); }
};

}  // namespace

QString FileName::FromBytes(std::string_view bytes) { return QString::fromStdString(Utf8FileCodec::Decode(bytes)); }

std::string FileName::Bytes(const QString& path) { return Utf8FileCodec::Encode(path.toStdString()); }

bool FileName::HasRawBytes(const QString& path) {
  for (QChar c : path)
    if (IsRawByte(c.unicode())) return true;
  return false;
}

QString FileName::Shown(const QString& path) {
  if (!HasRawBytes(path)) return path;
  QStringList parts = path.split(QLatin1Char('/'));
  for (QString& part : parts)
    if (HasRawBytes(part)) part = ShownPart(part);
  return parts.join(QLatin1Char('/'));
}

QString FileName::Absolute(const QString& path) {
  if (path.startsWith(QLatin1Char('/'))) return QDir::cleanPath(path);
  std::unique_ptr<char, decltype(&std::free)> folder(getcwd(nullptr, 0), &std::free);
  if (!folder) return QDir::cleanPath(QDir::currentPath() + QLatin1Char('/') + path);
  return QDir::cleanPath(FromBytes(folder.get()) + QLatin1Char('/') + path);
}

bool FileName::IsFile(const QString& path) {
  struct stat info {};
  return StatOf(path, &info) && S_ISREG(info.st_mode);
}

bool FileName::Exists(const QString& path) {
  struct stat info {};
  return StatOf(path, &info);
}

QString FileName::FromDialog(const QString& chosen) {
  if (chosen.isEmpty() || Exists(chosen)) return chosen;
  const qsizetype slash = chosen.lastIndexOf(QLatin1Char('/'));
  const QString folder = slash <= 0 ? QStringLiteral("/") : chosen.left(slash);
  const QString name = chosen.mid(slash + 1);
  std::unique_ptr<DIR, DirCloser> dir(opendir(Bytes(folder).c_str()));
  if (!dir) return chosen;
  std::vector<QString> named;
  while (const dirent* entry = readdir(dir.get())) {
    const std::string_view bytes = entry->d_name;
    const QString entryName = FromBytes(bytes);
    if (!HasRawBytes(entryName)) continue;  // a UTF-8 name would have been there as chosen
    if (QFile::decodeName(QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size()))) == name ||
        Shown(entryName) == name)
      named.push_back(entryName);
  }
  if (named.size() != 1) return chosen;
  return (slash == 0 ? QString() : folder) + QLatin1Char('/') + named.front();
}
