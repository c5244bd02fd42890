#pragma once

// Generated texts for the benchmarks: Japanese prose and ASCII-heavy source
// code, in Shift-JIS, every character a JIS X 0208 one so that every
// converter under comparison takes the whole text.

#include <cstddef>
#include <string>

namespace bench {

// Mostly hiragana, katakana and kanji with punctuation, a few ASCII words
// and digits, CR LF every 30-70 characters.
std::string JapaneseShiftJis(std::size_t bytes);

// Lines of source code and log text; about 5% of the characters Japanese.
std::string AsciiHeavyShiftJis(std::size_t bytes);

}  // namespace bench
