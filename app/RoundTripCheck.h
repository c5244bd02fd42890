#pragma once

// Whether a file read in JIS or EUC is written back as it was read. A
// Shift-JIS file taken for EUC by detection reads as other characters, and
// writing that text back in EUC gives other bytes: the user is told at
// once, not when the file has already changed.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "KanjiCode.h"

struct RoundTripDifference {
  std::size_t fileOffset = 0;  // of the first byte that comes back different
  std::string fileBytes;       // a few bytes of the file from there
  std::string savedBytes;      // what a save writes in their place
};

// Compares a file with the bytes a save of its text writes in `code`. JIS
// files say the same in more than one way (ESC $ @ or ESC $ B to start
// kanji, escapes repeated or left out at a line's end), so for JIS the two
// are compared as characters in their modes, not as escapes.
std::optional<RoundTripDifference> FindRoundTripDifference(std::string_view file, std::string_view saved,
                                                           KanjiCode code);
