#pragma once

// Search patterns that find a character in every byte form a Shift-JIS text
// holds it in. The NEC and IBM duplicates read from a file stay in the text
// as the private-use code points of their bytes (ShiftJisCodec), so "纊"
// typed in the find dialog would never meet the 纊 of 0xED40. The patterns
// here name each such character together with its second forms, as PCRE2
// regular expressions over the control's UTF-8 text.

#include <QString>

#include <optional>
#include <string>

class SecondFormPattern {
 public:
  // A typed string as a regular expression that also matches the second
  // forms of its characters (with regard to letter case or not), or nothing
  // when none of its characters has one: it is then searched as it is.
  static std::optional<std::string> ForLiteral(const QString& typed, bool matchCase);

  // A regular expression whose literal characters, and character classes
  // and ranges, take in their second forms too. Everything else is left as
  // written; a pattern without such characters comes back unchanged.
  static std::string ForExpression(const QString& expression, bool matchCase);
};
