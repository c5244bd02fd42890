#include "CharacterList.h"

#include "Strings.h"
#include "UiText.h"

QString CharacterList(const std::vector<QString>& characters) {
  QString list;
  int shown = 0;
  for (const QString& c : characters) {
    if (shown++ == kListedCharacters) break;
    list += QStringLiteral("「%1」").arg(c);
  }
  if (characters.size() > kListedCharacters) {
    QString more = T(strings::kMoreCharacters).arg(characters.size() - kListedCharacters);
    if (characters.size() >= kCountedCharacters) more += T(strings::kOrMore);
    list += QLatin1Char(' ') + more;
  }
  return list;
}
