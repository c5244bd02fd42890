#pragma once

// Finds a typed string, or a regular expression, in the control's UTF-8
// text: forward from a position or backward before one, as a whole word or
// not, with or without regard to letter case. Bytes that are no Shift-JIS
// character (held as U+F780-U+F7FF) are never part of a match: a typed
// character must not find them, and a regular expression stops at them.
// A character finds every byte form it was read in (SecondFormPattern).
//
// Searches go through PCRE2 with its JIT (typed strings as literals), straight
// on the UTF-8 bytes, so a 100 MB text is never copied or converted to
// search it; exact strings backward through a reversed Horspool scan.

#include <QString>

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

struct SearchOptions {
  bool matchCase = false;
  bool wholeWord = false;
  bool regularExpression = false;
};

// A match as byte offsets into the text, with the regular expression's
// groups (offsets of groups that took part; unset groups are empty ranges
// at npos).
struct TextMatch {
  std::size_t start = 0;
  std::size_t end = 0;
  std::vector<std::pair<std::size_t, std::size_t>> groups;
  bool Empty() const { return start == end; }
};

class TextSearcher {
 public:
  TextSearcher(const QString& pattern, const SearchOptions& options);
  ~TextSearcher();
  TextSearcher(TextSearcher&&) noexcept;
  TextSearcher& operator=(TextSearcher&&) noexcept;

  // False for an empty pattern or a regular expression that does not compile.
  bool IsValid() const;
  // Why a regular expression does not compile.
  QString Error() const { return m_error; }

  // The first match that starts at or after `from`.
  std::optional<TextMatch> FindForward(std::string_view text, std::size_t from) const;
  // The match that starts last before `before`.
  std::optional<TextMatch> FindBackward(std::string_view text, std::size_t before) const;
  // The match that starts at `start`, if there is one.
  std::optional<TextMatch> MatchAt(std::string_view text, std::size_t start) const;

  // What replaces `match`: the typed text as it is, or for a regular
  // expression with \0-\9 and $0-$9 (groups), \n, \r, \t, \\ and $$ expanded.
  std::string Replacement(std::string_view text, const TextMatch& match, const QString& typed) const;

 private:
  struct Compiled;

  std::optional<TextMatch> FindExactBackward(std::string_view text, std::size_t before) const;
  std::optional<TextMatch> FindCompiled(std::string_view text, std::size_t from, std::size_t limit,
                                        bool anchored) const;
  std::optional<TextMatch> FindCompiledBackward(std::string_view text, std::size_t before) const;
  bool IsWholeWord(std::string_view text, std::size_t start, std::size_t end) const;

  std::string m_pattern;  // UTF-8
  SearchOptions m_options;
  bool m_neverMatches = false;
  // A typed string with characters that also have second forms: searched
  // as the expression that names them all, not as exact bytes.
  bool m_findsSecondForms = false;
  QString m_error;
  std::unique_ptr<Compiled> m_compiled;
};
