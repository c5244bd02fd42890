#pragma once

// "「é」「😀」 ほか 3 文字": the first characters of a list, for a message
// that names what cannot be kept.

#include <QString>

#include <vector>

// How many characters a list names before counting the rest.
inline constexpr int kListedCharacters = 10;
// Counting stops here: a binary file saved as JIS could hold millions.
inline constexpr std::size_t kCountedCharacters = 10000;

QString CharacterList(const std::vector<QString>& characters);
