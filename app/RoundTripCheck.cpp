#include "RoundTripCheck.h"

#include <vector>

namespace {

constexpr std::size_t kShownBytes = 4;
constexpr char kEsc = '\x1b';

// A byte of JIS text with the character set its escapes put it in.
struct JisUnit {
  char set;  // 'R' roman/ASCII, 'K' kanji, 'I' half-width katakana
  char byte;
  std::size_t offset;
};

// The set the three-byte escape at `pos` selects, or 0 when it is none
// that a reader acts on (it is then kept as bytes).
char EscapeSet(std::string_view text, std::size_t pos) {
  std::string_view escape = text.substr(pos, 3);
  if (escape.size() < 3) return 0;
  if (escape[1] == '$' && (escape[2] == '@' || escape[2] == 'B')) return 'K';
  if (escape[1] == '(' && (escape[2] == 'B' || escape[2] == 'J' || escape[2] == 'H')) return 'R';
  if (escape[1] == '(' && escape[2] == 'I') return 'I';
  return 0;
}

std::vector<JisUnit> JisUnits(std::string_view text) {
  std::vector<JisUnit> units;
  char set = 'R';
  for (std::size_t pos = 0; pos < text.size();) {
    char selected = text[pos] == kEsc ? EscapeSet(text, pos) : 0;
    if (selected) {
      set = selected;
      pos += 3;
      continue;
    }
    units.push_back({set, text[pos], pos});
    ++pos;
  }
  return units;
}

RoundTripDifference DifferenceAt(std::string_view file, std::size_t fileOffset, std::string_view saved,
                                 std::size_t savedOffset) {
  RoundTripDifference difference;
  difference.fileOffset = fileOffset;
  difference.fileBytes = std::string(file.substr(std::min(fileOffset, file.size()), kShownBytes));
  difference.savedBytes = std::string(saved.substr(std::min(savedOffset, saved.size()), kShownBytes));
  return difference;
}

std::optional<RoundTripDifference> FindJisDifference(std::string_view file, std::string_view saved) {
  std::vector<JisUnit> read = JisUnits(file), written = JisUnits(saved);
  std::size_t i = 0;
  while (i < read.size() && i < written.size() && read[i].set == written[i].set && read[i].byte == written[i].byte)
    ++i;
  if (i == read.size() && i == written.size()) return std::nullopt;
  std::size_t fileOffset = i < read.size() ? read[i].offset : file.size();
  std::size_t savedOffset = i < written.size() ? written[i].offset : saved.size();
  return DifferenceAt(file, fileOffset, saved, savedOffset);
}

}  // namespace

std::optional<RoundTripDifference> FindRoundTripDifference(std::string_view file, std::string_view saved,
                                                           KanjiCode code) {
  if (code == KanjiCode::Jis) return FindJisDifference(file, saved);
  if (file == saved) return std::nullopt;
  std::size_t i = 0;
  while (i < file.size() && i < saved.size() && file[i] == saved[i]) ++i;
  return DifferenceAt(file, i, saved, i);
}
