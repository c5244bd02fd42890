#pragma once

// Whether a file read in the code the "Load" setting names is plainly in
// another code: the user is then offered to read it again in that one
// (and /p prints it in that one). Only the start of the file is looked at,
// so a large file costs no more to open.
//
// A code is offered when detection finds it (for the two 8-bit codes,
// Shift-JIS and EUC, either of them: detection takes EUC's half-width
// katakana for Shift-JIS), the start of the file reads in it without a
// fault and looks like Japanese text, and read in the setting's code it
// does not. A wrong offer is worse than none: a text that reads well in
// the setting's code, holds no character of two bytes, or holds a byte
// that no reading makes a character of, gets none.

#include <cstddef>
#include <optional>
#include <string_view>

#include "KanjiCode.h"

// How much of a file's start the check reads.
inline constexpr std::size_t kCodeCheckBytes = std::size_t{1} << 20;

// The code to offer for a file whose bytes start with `start` (at most
// kCodeCheckBytes of it are looked at; `whole` when that is the whole
// file), read in `readIn`; nothing when the file reads as it should.
std::optional<KanjiCode> PlainlyOtherCode(std::string_view start, bool whole, KanjiCode readIn);

// The name of a code in messages and on the offer's button: "Shift-JIS",
// "JIS", "EUC", "UTF-8".
const char* KanjiCodeDisplayName(KanjiCode code);

// Tests and the benchmark: the check switched off, as it was before.
void SetCodeCheckForTesting(bool on);
bool CodeCheckOn();
