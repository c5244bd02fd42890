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

// The same comparison with the saved bytes given in pieces, as a save
// writes them, so that they are never held whole.
class RoundTripComparer {
 public:
  RoundTripComparer(std::string_view file, KanjiCode code) : m_file(file), m_jis(code == KanjiCode::Jis) {}
  void AddSaved(std::string_view piece);
  std::optional<RoundTripDifference> Finish();

 private:
  // A unit of JIS text: a byte with the set its escapes put it in ('R'
  // roman/ASCII, 'K' kanji, 'I' half-width katakana).
  struct Side {
    std::size_t pos = 0;
    char set = 'R';
    std::string escape;          // the escape that chose the set; none at the start
    std::size_t escapeAt = 0;    // where it is in the file (the file's side only)
  };
  void CompareBytes(std::string_view piece);
  void CompareJis(std::string_view text, bool final);
  std::size_t SkipSame(std::string_view text, std::size_t at);
  void Differ(std::size_t fileOffset, std::string_view text, std::size_t at);
  void DifferInSet(std::string_view text, std::size_t at);
  void TakeSavedBytes(std::string_view text);

  std::string_view m_file;
  bool m_jis;
  Side m_read;           // in the file
  Side m_written;        // in the saved text, from m_savedBase on
  std::size_t m_savedBase = 0;
  std::string m_savedTail;  // an escape cut off by a piece's end
  std::optional<RoundTripDifference> m_difference;
};
