#include "TextSearcher.h"

#define PCRE2_CODE_UNIT_WIDTH 8
#include <pcre2.h>

#include <QChar>

#include "SecondFormPattern.h"
#include "ShiftJisCodec.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <iterator>

namespace {

// Raw bytes are U+F780-U+F7FF: in UTF-8, EF 9E xx and EF 9F xx.
constexpr std::string_view kRawLow = "\xEF\x9E";
constexpr std::string_view kRawHigh = "\xEF\x9F";

bool IsContinuation(char byte) { return (static_cast<unsigned char>(byte) & 0xC0) == 0x80; }

std::size_t NextCharStart(std::string_view text, std::size_t position) {
  if (position >= text.size()) return text.size() + 1;
  ++position;
  while (position < text.size() && IsContinuation(text[position])) ++position;
  return position;
}

std::size_t CharStartBefore(std::string_view text, std::size_t position) {
  while (position > 0 && IsContinuation(text[--position])) {
  }
  return position;
}

char32_t CodePointAt(std::string_view text, std::size_t position) {
  auto byte = [&](std::size_t i) { return static_cast<unsigned char>(i < text.size() ? text[i] : 0); };
  unsigned char lead = byte(position);
  if (lead < 0x80) return lead;
  if (lead < 0xE0) return ((lead & 0x1F) << 6) | (byte(position + 1) & 0x3F);
  if (lead < 0xF0) return ((lead & 0x0F) << 12) | ((byte(position + 1) & 0x3F) << 6) | (byte(position + 2) & 0x3F);
  return ((lead & 0x07) << 18) | ((byte(position + 1) & 0x3F) << 12) | ((byte(position + 2) & 0x3F) << 6) |
         (byte(position + 3) & 0x3F);
}

// Words of Japanese text are runs of one script: a kanji word ends where
// kana begin ("漢字かな" holds the word "漢字"). Latin letters, digits and
// the underscore make words as usual; spaces, punctuation and raw bytes
// belong to none.
enum class WordClass { None, Latin, Hiragana, Katakana, Kanji };

WordClass ClassOf(char32_t c) {
  if (kanji::ShiftJisCodec::IsHeldPair(c))  // a second form is in the word its character would be
    if (char32_t character = kanji::ShiftJisCodec::DuplicateCharacter(c)) c = character;
  if (c >= 0x3041 && c <= 0x309F) return WordClass::Hiragana;
  if ((c >= 0x30A0 && c <= 0x30FF) || (c >= 0x31F0 && c <= 0x31FF) || (c >= 0xFF66 && c <= 0xFF9F))
    return WordClass::Katakana;
  if ((c >= 0x3400 && c <= 0x4DBF) || (c >= 0x4E00 && c <= 0x9FFF) || (c >= 0xF900 && c <= 0xFAFF) ||
      (c >= 0x20000 && c <= 0x3FFFF) || c == 0x3005 || c == 0x3006)
    return WordClass::Kanji;
  if (c >= 0xF780 && c <= 0xF7FF) return WordClass::None;
  if (c == '_' || QChar::isLetterOrNumber(c)) return WordClass::Latin;
  return WordClass::None;
}

// Whether the characters on either side of a word edge belong to one word.
bool SameWord(char32_t outside, char32_t inside) {
  WordClass a = ClassOf(outside);
  return a != WordClass::None && a == ClassOf(inside);
}

}  // namespace

struct TextSearcher::Compiled {
  ~Compiled() {
    pcre2_match_data_free(data);
    pcre2_code_free(code);
  }
  pcre2_code* code = nullptr;
  pcre2_match_data* data = nullptr;
};

TextSearcher::TextSearcher(const QString& pattern, const SearchOptions& options)
    : m_pattern(pattern.toUtf8().toStdString()), m_options(options) {
  if (m_pattern.empty()) return;
  if (!options.regularExpression) {
    // A typed character never stands for a raw byte.
    m_neverMatches = m_pattern.find(kRawLow) != std::string::npos || m_pattern.find(kRawHigh) != std::string::npos;
    if (m_neverMatches) return;
  }
  // Invalid UTF-8 in the text (which the control never holds) only stops a
  // match, and the text is not checked again at every call.
  uint32_t flags = PCRE2_UTF | PCRE2_MATCH_INVALID_UTF;
  if (!options.matchCase) flags |= PCRE2_CASELESS;
  // A character read in a second form (the "纊" of 0xED40) is found with
  // the typed one: the pattern names both.
  std::string compiled = m_pattern;
  if (options.regularExpression) {
    flags |= PCRE2_UCP | PCRE2_MULTILINE;
    compiled = SecondFormPattern::ForExpression(pattern, options.matchCase);
  } else if (std::optional<std::string> forms = SecondFormPattern::ForLiteral(pattern, options.matchCase)) {
    compiled = *forms;
    m_findsSecondForms = true;
  } else {
    flags |= PCRE2_LITERAL;
  }
  int errorCode = 0;
  PCRE2_SIZE errorOffset = 0;
  // "^" and "$" know every line ending a document may have.
  pcre2_compile_context* context = pcre2_compile_context_create(nullptr);
  pcre2_set_newline(context, PCRE2_NEWLINE_ANYCRLF);
  pcre2_code* code = pcre2_compile(reinterpret_cast<PCRE2_SPTR>(compiled.data()), compiled.size(), flags,
                                   &errorCode, &errorOffset, context);
  pcre2_compile_context_free(context);
  if (!code) {
    PCRE2_UCHAR message[256];
    pcre2_get_error_message(errorCode, message, sizeof message);
    m_error = QString::fromUtf8(reinterpret_cast<const char*>(message));
    return;
  }
  pcre2_jit_compile(code, PCRE2_JIT_COMPLETE);  // without JIT the interpreter runs
  m_compiled = std::make_unique<Compiled>();
  m_compiled->code = code;
  m_compiled->data = pcre2_match_data_create_from_pattern(code, nullptr);
}

TextSearcher::~TextSearcher() = default;
TextSearcher::TextSearcher(TextSearcher&&) noexcept = default;
TextSearcher& TextSearcher::operator=(TextSearcher&&) noexcept = default;

bool TextSearcher::IsValid() const { return !m_pattern.empty() && m_error.isEmpty(); }

bool TextSearcher::IsWholeWord(std::string_view text, std::size_t start, std::size_t end) const {
  if (!m_options.wholeWord || start == end) return true;
  if (start > 0 && SameWord(CodePointAt(text, CharStartBefore(text, start)), CodePointAt(text, start)))
    return false;
  return end >= text.size() || !SameWord(CodePointAt(text, end), CodePointAt(text, CharStartBefore(text, end)));
}

std::optional<TextMatch> TextSearcher::FindForward(std::string_view text, std::size_t from) const {
  if (!IsValid() || m_neverMatches || from > text.size()) return std::nullopt;
  for (std::size_t position = from; position <= text.size(); ) {
    std::optional<TextMatch> match = FindCompiled(text, position, text.size(), false);
    if (!match || IsWholeWord(text, match->start, match->end)) return match;
    position = NextCharStart(text, match->start);
  }
  return std::nullopt;
}

std::optional<TextMatch> TextSearcher::FindBackward(std::string_view text, std::size_t before) const {
  if (!IsValid() || m_neverMatches || before == 0) return std::nullopt;
  before = std::min(before, text.size() + 1);
  if (m_options.matchCase && !m_options.regularExpression && !m_findsSecondForms)
    return FindExactBackward(text, before);
  return FindCompiledBackward(text, before);
}

std::optional<TextMatch> TextSearcher::MatchAt(std::string_view text, std::size_t start) const {
  if (!IsValid() || m_neverMatches || start > text.size()) return std::nullopt;
  std::optional<TextMatch> match = FindCompiled(text, start, text.size(), true);
  if (match && !IsWholeWord(text, match->start, match->end)) return std::nullopt;
  return match;
}

// Backward, exact bytes: a Horspool scan of the reversed text for the
// reversed string, over the part where a match starting before `before`
// can lie. UTF-8 lead bytes never equal continuation bytes, so a match of
// a whole typed string always starts and ends on character edges.
std::optional<TextMatch> TextSearcher::FindExactBackward(std::string_view text, std::size_t before) const {
  const std::size_t n = m_pattern.size();
  using Reversed = std::reverse_iterator<const char*>;
  std::boyer_moore_horspool_searcher searcher(m_pattern.rbegin(), m_pattern.rend());
  std::size_t regionEnd = std::min(text.size(), before - 1 + n);
  while (regionEnd >= n) {
    Reversed first(text.data() + regionEnd), last(text.data());
    Reversed found = std::search(first, last, searcher);
    if (found == last) return std::nullopt;
    std::size_t end = static_cast<std::size_t>(found.base() - text.data());
    if (IsWholeWord(text, end - n, end)) return TextMatch{end - n, end, {}};
    regionEnd = end - 1;
  }
  return std::nullopt;
}

// A regular expression never reaches past a raw byte: the text is searched
// piece by piece between them, each piece as if the text ended there.
std::optional<TextMatch> TextSearcher::FindCompiled(std::string_view text, std::size_t from, std::size_t limit,
                                                    bool anchored) const {
  while (from <= limit) {
    std::size_t pieceEnd = limit;
    if (m_options.regularExpression) {
      std::string_view rest = text.substr(0, limit);
      std::size_t low = rest.find(kRawLow, from), high = rest.find(kRawHigh, from);
      pieceEnd = std::min({limit, low, high});
    }
    uint32_t flags = pieceEnd < text.size() ? PCRE2_NOTEOL : 0;
    if (anchored) flags |= PCRE2_ANCHORED;
    int result = pcre2_match(m_compiled->code, reinterpret_cast<PCRE2_SPTR>(text.data()), pieceEnd, from, flags,
                             m_compiled->data, nullptr);
    if (result > 0) {
      PCRE2_SIZE* offsets = pcre2_get_ovector_pointer(m_compiled->data);
      TextMatch match{offsets[0], offsets[1], {}};
      for (int group = 1; group < result; ++group) match.groups.emplace_back(offsets[2 * group], offsets[2 * group + 1]);
      return match;
    }
    if (anchored || pieceEnd >= limit) return std::nullopt;
    from = pieceEnd + 3;  // past the raw byte
  }
  return std::nullopt;
}

// Expressions only run forward: the window before `before` grows until a
// match starts in it, and the last match that starts there wins.
std::optional<TextMatch> TextSearcher::FindCompiledBackward(std::string_view text, std::size_t before) const {
  std::size_t window = 1 << 16;
  std::size_t windowStart = before;
  while (windowStart > 0) {
    windowStart = before > window ? CharStartBefore(text, before - window + 1) : 0;
    std::optional<TextMatch> last;
    for (std::size_t position = windowStart; position < before;) {
      std::optional<TextMatch> match = FindCompiled(text, position, text.size(), false);
      if (!match || match->start >= before) break;
      if (IsWholeWord(text, match->start, match->end)) last = match;
      position = NextCharStart(text, match->start);
    }
    if (last) return last;
    window *= 4;
  }
  return std::nullopt;
}

std::string TextSearcher::Replacement(std::string_view text, const TextMatch& match, const QString& typed) const {
  std::string replacement = typed.toUtf8().toStdString();
  if (!m_options.regularExpression) return replacement;
  auto group = [&](int number) -> std::string_view {
    if (number == 0) return text.substr(match.start, match.end - match.start);
    if (number > static_cast<int>(match.groups.size())) return {};
    auto [start, end] = match.groups[number - 1];
    return start == PCRE2_UNSET ? std::string_view() : text.substr(start, end - start);
  };
  std::string out;
  for (std::size_t i = 0; i < replacement.size(); ++i) {
    char c = replacement[i];
    char next = i + 1 < replacement.size() ? replacement[i + 1] : '\0';
    if ((c == '\\' || c == '$') && next >= '0' && next <= '9') {
      out += group(next - '0');
      ++i;
    } else if (c == '\\' && (next == 'n' || next == 'r' || next == 't' || next == '\\')) {
      out += next == 'n' ? '\n' : next == 'r' ? '\r' : next == 't' ? '\t' : '\\';
      ++i;
    } else if (c == '$' && next == '$') {
      out += '$';
      ++i;
    } else {
      out += c;
    }
  }
  return out;
}
