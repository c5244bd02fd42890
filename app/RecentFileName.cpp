#include "RecentFileName.h"

#include "FileName.h"
#include "ShiftJisCodec.h"

namespace {

constexpr std::string_view kEscapedPrefix = ":utf8:";
constexpr char kHexDigits[] = "0123456789ABCDEF";

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// What the settings file gives back unchanged: Shift-JIS bytes that decode
// to the same text, on one line, with no blank at either end (values are
// trimmed) and no enclosing quotes (they are removed).
bool StoresAsItIs(const std::string& utf8) {
  if (utf8.empty()) return true;
  if (utf8.starts_with(kEscapedPrefix) || utf8.find_first_of("\r\n") != std::string::npos) return false;
  if (IsBlank(utf8.front()) || IsBlank(utf8.back())) return false;
  if (utf8.size() >= 2 && (utf8.front() == '"' || utf8.front() == '\'') && utf8.back() == utf8.front()) return false;
  kanji::EncodeResult encoded = kanji::ShiftJisCodec::Encode(utf8);
  return encoded.unencodable.empty() && kanji::ShiftJisCodec::Decode(encoded.bytes) == utf8;
}

bool NeedsEscape(unsigned char byte) { return byte <= 0x20 || byte >= 0x7F || byte == '%'; }

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

std::string Unescape(std::string_view escaped) {
  std::string bytes;
  for (std::size_t i = 0; i < escaped.size(); ++i) {
    int high = -1, low = -1;
    if (escaped[i] == '%' && i + 2 < escaped.size()) {
      high = HexValue(escaped[i + 1]);
      low = HexValue(escaped[i + 2]);
    }
    if (high >= 0 && low >= 0) {
      bytes += static_cast<char>(high * 16 + low);
      i += 2;
    } else {
      bytes += escaped[i];  // not an escape: kept as written
    }
  }
  return bytes;
}

}  // namespace

std::string RecentFileName::ToStored(const QString& path) {
  std::string utf8 = path.toStdString();
  if (!FileName::HasRawBytes(path) && StoresAsItIs(utf8)) return utf8;
  std::string stored(kEscapedPrefix);
  for (unsigned char byte : FileName::Bytes(path)) {
    if (NeedsEscape(byte)) {
      stored += '%';
      stored += kHexDigits[byte >> 4];
      stored += kHexDigits[byte & 0x0F];
    } else {
      stored += static_cast<char>(byte);
    }
  }
  return stored;
}

QString RecentFileName::FromStored(const std::string& stored) {
  if (!std::string_view(stored).starts_with(kEscapedPrefix)) return QString::fromStdString(stored);
  return FileName::FromBytes(Unescape(std::string_view(stored).substr(kEscapedPrefix.size())));
}
