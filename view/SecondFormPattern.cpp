#include "SecondFormPattern.h"

#include <QChar>
#include <QList>

#include <algorithm>
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "ShiftJisCodec.h"

namespace {

using kanji::ShiftJisCodec;

// The character a code point stands for: a held pair's character, or the
// code point itself.
char32_t CharacterOf(char32_t c) {
  if (ShiftJisCodec::IsHeldPair(c))
    if (char32_t character = ShiftJisCodec::DuplicateCharacter(c)) return character;
  return c;
}

// The code points besides `c` that a search for it must meet: the second
// forms of its character (and without regard to case, of the character's
// other cases: "Ⅰ" meets the second forms of "ⅰ" too), and the character
// itself when `c` is a second form.
std::vector<char32_t> OtherForms(char32_t c, bool matchCase) {
  const char32_t character = CharacterOf(c);
  std::vector<char32_t> forms;
  auto add = [&](char32_t form) {
    if (form != c && std::find(forms.begin(), forms.end(), form) == forms.end()) forms.push_back(form);
  };
  std::vector<char32_t> variants{character};
  if (!matchCase) variants = {character, QChar::toLower(character), QChar::toUpper(character)};
  for (char32_t variant : variants)
    for (char32_t form : ShiftJisCodec::SecondForms(variant)) add(form);
  if (character != c) add(character);  // `c` is a second form: the character itself too
  return forms;
}

std::string Escaped(char32_t c) { return "\\x{" + QString::number(c, 16).toStdString() + "}"; }

std::string Utf8(char32_t c) { return QString::fromUcs4(&c, 1).toStdString(); }

// `written` (a literal of the source for `c`) with its other forms beside it.
std::string WithOtherForms(const std::string& written, char32_t c, bool matchCase) {
  std::vector<char32_t> others = OtherForms(c, matchCase);
  if (others.empty()) return written;
  std::string alternatives = "(?:" + written;
  for (char32_t form : others) alternatives += "|" + Escaped(form);
  return alternatives + ")";
}

bool IsHexDigit(char32_t c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }
char32_t HexValue(char digit) {
  if (digit <= '9') return static_cast<char32_t>(digit - '0');
  return static_cast<char32_t>((digit | 0x20) - 'a' + 10);
}
bool IsAsciiAlphanumeric(char32_t c) { return c < 0x80 && QChar::isLetterOrNumber(c); }

// Walks a regular expression, copying it and handing each literal
// character to the caller, who decides what is written for it.
class ExpressionRewriter {
 public:
  ExpressionRewriter(const QString& expression, bool matchCase)
      : m_source(expression.toUcs4()), m_matchCase(matchCase) {}

  std::string Rewrite() {
    while (m_at < m_source.size()) {
      if (m_inClass) StepInClass();
      else StepOutside();
    }
    return m_out;
  }

 private:
  char32_t Peek(qsizetype ahead = 0) const {
    return m_at + ahead < m_source.size() ? static_cast<char32_t>(m_source[m_at + ahead]) : 0;
  }

  // One literal at m_at: its code point and its text as written, or
  // nothing when m_at holds an escape that stands for no one character.
  struct Literal {
    char32_t c;
    std::string written;
  };
  std::optional<Literal> TakeLiteral() {
    const char32_t c = Peek();
    if (c != '\\') {
      ++m_at;
      return Literal{c, Utf8(c)};
    }
    const char32_t next = Peek(1);
    if (next == 'x') return TakeHexEscape();
    if (next == 0 || IsAsciiAlphanumeric(next)) {  // \d, \p, \b...: copied as they are
      m_out += "\\";
      m_at += 1;
      if (next) {
        m_out += Utf8(next);
        ++m_at;
      }
      return std::nullopt;
    }
    m_at += 2;  // an escaped punctuation mark or any other character: itself
    return Literal{next, "\\" + Utf8(next)};
  }

  // \xhh or \x{h...}.
  std::optional<Literal> TakeHexEscape() {
    qsizetype end = m_at + 2;
    std::string digits;
    if (Peek(2) == '{') {
      for (end = m_at + 3; end < m_source.size() && IsHexDigit(m_source[end]); ++end)
        digits += static_cast<char>(m_source[end]);
      if (end >= m_source.size() || m_source[end] != '}' || digits.empty()) return CopyEscape(2);
      ++end;
    } else {
      for (; end < m_source.size() && end < m_at + 4 && IsHexDigit(m_source[end]); ++end)
        digits += static_cast<char>(m_source[end]);
    }
    if (digits.size() > 8) return CopyEscape(end - m_at);  // past any code point: PCRE2 will say so
    std::string written;
    for (qsizetype i = m_at; i < end; ++i) written += Utf8(m_source[i]);
    m_at = end;
    char32_t c = 0;
    for (char digit : digits) c = c * 16 + HexValue(digit);
    return Literal{c, written};
  }

  std::optional<Literal> CopyEscape(qsizetype length) {
    for (qsizetype i = 0; i < length && m_at < m_source.size(); ++i) m_out += Utf8(m_source[m_at++]);
    return std::nullopt;
  }

  // \Q...\E: each character a literal.
  bool TakeQuoted(const std::function<void(char32_t)>& each) {
    if (Peek() != '\\' || Peek(1) != 'Q') return false;
    m_at += 2;
    while (m_at < m_source.size() && !(Peek() == '\\' && Peek(1) == 'E')) each(m_source[m_at++]);
    if (m_at < m_source.size()) m_at += 2;
    return true;
  }

  void StepOutside() {
    if (TakeQuoted([this](char32_t c) { m_out += WithOtherForms(Escaped(c), c, m_matchCase); })) return;
    if (Peek() == '(' && Peek(1) == '?' && Peek(2) == '#') {  // a comment, up to its ")"
      while (m_at < m_source.size() && Peek() != ')') m_out += Utf8(m_source[m_at++]);
      return;
    }
    if (Peek() == '[') return OpenClass();
    if (std::optional<Literal> literal = TakeLiteral())
      m_out += WithOtherForms(literal->written, literal->c, m_matchCase);
  }

  void OpenClass() {
    m_classStart = m_out.size();
    m_out += "[";
    ++m_at;
    m_negated = Peek() == '^';
    if (m_negated) {
      m_out += "^";
      ++m_at;
    }
    m_inClass = true;
    m_classOthers.clear();
    m_last.reset();
    if (Peek() == ']') {  // "]" first is a literal
      m_out += "]";
      ++m_at;
    }
  }

  void StepInClass() {
    if (TakeQuoted([this](char32_t c) { AddToClass(c, Escaped(c)); })) return;
    if (Peek() == ']') {
      m_out += "]";
      ++m_at;
      m_inClass = false;
      CloseClass();
      return;
    }
    if (Peek() == '[' && Peek(1) == ':') {  // [:alpha:]
      while (m_at < m_source.size() && !(Peek() == ':' && Peek(1) == ']')) m_out += Utf8(m_source[m_at++]);
      CopyEscape(2);
      m_last.reset();
      return;
    }
    if (Peek() == '-' && m_last && Peek(1) != ']' && Peek(1) != 0) {
      m_out += "-";
      ++m_at;
      const char32_t low = *m_last;
      m_last.reset();
      if (std::optional<Literal> high = TakeLiteral()) {
        m_out += high->written;
        AddRange(low, high->c);
      }
      return;
    }
    std::optional<Literal> literal = TakeLiteral();
    if (literal) AddToClass(literal->c, literal->written);
    else m_last.reset();
  }

  // The forms a class gains are alternatives beside it, or for a negated
  // class a look-ahead that leaves them out: written into the class, they
  // could join a range with a "-" next to them.
  void CloseClass() {
    if (m_classOthers.empty()) return;
    std::string others;
    for (char32_t form : m_classOthers) others += (others.empty() ? "" : "|") + Escaped(form);
    const std::string theClass = m_out.substr(m_classStart);
    m_out.resize(m_classStart);
    m_out += m_negated ? "(?:(?!" + others + ")" + theClass + ")" : "(?:" + theClass + "|" + others + ")";
  }

  void AddToClass(char32_t c, const std::string& written) {
    m_out += written;
    for (char32_t form : OtherForms(c, m_matchCase)) m_classOthers.push_back(form);
    m_last = c;
  }

  // Every second form whose character lies in [low, high].
  void AddRange(char32_t low, char32_t high) {
    for (unsigned pair = 0x8140; pair <= 0xFCFC; ++pair) {
      const char32_t held = ShiftJisCodec::kHeldPairBase + pair;
      if (!ShiftJisCodec::IsHeldPair(held)) continue;
      const char32_t character = ShiftJisCodec::DuplicateCharacter(held);
      if (character >= low && character <= high) m_classOthers.push_back(held);
    }
  }

  const QList<uint> m_source;
  const bool m_matchCase;
  qsizetype m_at = 0;
  std::string m_out;
  bool m_inClass = false;
  std::size_t m_classStart = 0;  // where the open class begins in m_out
  bool m_negated = false;
  std::vector<char32_t> m_classOthers;  // forms the open class gains
  std::optional<char32_t> m_last;       // its last literal, the start of a range
};

}  // namespace

std::optional<std::string> SecondFormPattern::ForLiteral(const QString& typed, bool matchCase) {
  const QList<uint> characters = typed.toUcs4();
  bool anyOtherForm = false;
  for (char32_t c : characters) anyOtherForm = anyOtherForm || !OtherForms(c, matchCase).empty();
  if (!anyOtherForm) return std::nullopt;
  std::string expression;
  for (char32_t c : characters) expression += WithOtherForms(Escaped(c), c, matchCase);
  return expression;
}

std::string SecondFormPattern::ForExpression(const QString& expression, bool matchCase) {
  return ExpressionRewriter(expression, matchCase).Rewrite();
}
