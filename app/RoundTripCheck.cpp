#include "RoundTripCheck.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr std::size_t kShownBytes = 4;
constexpr char kEsc = '\x1b';

// The set the three-byte escape at `pos` selects, or 0 when it is none
// that a reader acts on (it is then kept as bytes). No byte of such an
// escape but its first is ever ESC.
char EscapeSet(std::string_view text, std::size_t pos) {
  std::string_view escape = text.substr(pos, 3);
  if (escape.size() < 3) return 0;
  if (escape[1] == '$' && (escape[2] == '@' || escape[2] == 'B')) return 'K';
  if (escape[1] == '(' && (escape[2] == 'B' || escape[2] == 'J' || escape[2] == 'H')) return 'R';
  if (escape[1] == '(' && escape[2] == 'I') return 'I';
  return 0;
}

std::size_t CommonLength(const char* a, const char* b, std::size_t n) {
  constexpr std::size_t kBlock = 64;
  std::size_t i = 0;
  while (i + kBlock <= n && std::memcmp(a + i, b + i, kBlock) == 0) i += kBlock;
  while (i < n && a[i] == b[i]) ++i;
  return i;
}

}  // namespace

std::optional<RoundTripDifference> FindRoundTripDifference(std::string_view file, std::string_view saved,
                                                           KanjiCode code) {
  RoundTripComparer comparer(file, code);
  comparer.AddSaved(saved);
  return comparer.Finish();
}

void RoundTripComparer::Differ(std::size_t fileOffset, std::string_view text, std::size_t at) {
  m_difference = RoundTripDifference{fileOffset, std::string(m_file.substr(std::min(fileOffset, m_file.size()), kShownBytes)),
                                     std::string()};
  TakeSavedBytes(text.substr(std::min(at, text.size())));
}

// Bytes read in another set: the same bytes on both sides would say
// nothing, so both are shown from the escapes that chose their sets.
void RoundTripComparer::DifferInSet(std::string_view text, std::size_t at) {
  const bool fileEscaped = !m_read.escape.empty();
  const std::size_t from = fileEscaped ? m_read.escapeAt : m_read.pos;
  m_difference = RoundTripDifference{from, std::string(m_file.substr(std::min(from, m_file.size()), kShownBytes)),
                                     std::string()};
  TakeSavedBytes(m_written.escape);
  TakeSavedBytes(text.substr(std::min(at, text.size())));
}

void RoundTripComparer::TakeSavedBytes(std::string_view text) {
  std::string& saved = m_difference->savedBytes;
  saved.append(text.substr(0, kShownBytes - saved.size()));
}

void RoundTripComparer::AddSaved(std::string_view piece) {
  if (m_difference) {
    TakeSavedBytes(piece);
    return;
  }
  if (!m_jis) {
    CompareBytes(piece);
    return;
  }
  if (m_savedTail.empty()) {
    CompareJis(piece, false);
    return;
  }
  std::string joined = m_savedTail + std::string(piece);
  m_savedTail.clear();
  CompareJis(joined, false);
}

std::optional<RoundTripDifference> RoundTripComparer::Finish() {
  if (m_difference) return m_difference;
  if (!m_jis) {
    if (m_savedBase < m_file.size()) Differ(m_savedBase, {}, 0);
    return m_difference;
  }
  std::string tail;
  tail.swap(m_savedTail);
  CompareJis(tail, true);
  if (m_difference) return m_difference;
  // The saved text ended: the file must have no character left.
  while (m_read.pos < m_file.size() && m_file[m_read.pos] == kEsc && EscapeSet(m_file, m_read.pos)) m_read.pos += 3;
  if (m_read.pos < m_file.size()) Differ(m_read.pos, {}, 0);
  return m_difference;
}

// EUC: byte for byte.
void RoundTripComparer::CompareBytes(std::string_view piece) {
  const std::size_t offset = m_savedBase;
  std::size_t available = offset < m_file.size() ? m_file.size() - offset : 0;
  std::size_t same = CommonLength(m_file.data() + offset, piece.data(), std::min(piece.size(), available));
  if (same < piece.size()) Differ(offset + same, piece, same);
  m_savedBase += piece.size();
}

// Bytes that are the same on both sides, from units in the same set: they
// read alike, escapes included. The run stops before an escape it would
// cut, and leaves both sides in the set its last escape selects.
std::size_t RoundTripComparer::SkipSame(std::string_view text, std::size_t at) {
  std::size_t length = CommonLength(m_file.data() + m_read.pos, text.data() + at,
                                    std::min(m_file.size() - m_read.pos, text.size() - at));
  for (std::size_t k = length >= 2 ? length - 2 : 0; k < length; ++k) {
    if (text[at + k] == kEsc) {
      length = k;
      break;
    }
  }
  for (std::size_t k = length; k > 0; --k) {
    if (text[at + k - 1] != kEsc) continue;
    if (char set = EscapeSet(text, at + k - 1)) {
      m_read.set = m_written.set = set;
      m_read.escape = m_written.escape = std::string(text.substr(at + k - 1, 3));
      m_read.escapeAt = m_read.pos + k - 1;
      break;
    }
  }
  return length;
}

// JIS: unit for unit, each byte with the set it is read in.
void RoundTripComparer::CompareJis(std::string_view text, bool final) {
  std::size_t at = 0;
  while (!m_difference) {
    if (at < text.size() && text[at] == kEsc) {
      if (text.size() - at < 3 && !final) {
        m_savedTail.assign(text.substr(at));
        return;
      }
      if (char set = EscapeSet(text, at)) {
        m_written.set = set;
        m_written.escape.assign(text.substr(at, 3));
        at += 3;
        continue;
      }
    }
    while (m_read.pos < m_file.size() && m_file[m_read.pos] == kEsc)
      if (char set = EscapeSet(m_file, m_read.pos)) {
        m_read.set = set;
        m_read.escape.assign(m_file.substr(m_read.pos, 3));
        m_read.escapeAt = m_read.pos;
        m_read.pos += 3;
      } else {
        break;
      }
    if (at == text.size()) return;
    if (m_read.set == m_written.set && m_read.pos < m_file.size()) {
      std::size_t run = SkipSame(text, at);
      at += run;
      m_read.pos += run;
      if (run > 0) continue;
    }
    if (m_read.set != m_written.set) {
      DifferInSet(text, at);
      return;
    }
    if (m_read.pos == m_file.size() || m_file[m_read.pos] != text[at]) {
      Differ(m_read.pos, text, at);
      return;
    }
    ++at;
    ++m_read.pos;
  }
}
