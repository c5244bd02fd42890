#include "BenchTexts.h"

#include <random>

namespace bench {
namespace {

// A JIS X 0208 character by row and cell, written as Shift-JIS.
void PutJis(std::string& out, int row, int cell) {
  int j1 = row + 0x20;
  int j2 = cell + 0x20;
  int s1 = ((j1 - 0x21) >> 1) + 0x81;
  if (s1 > 0x9F) s1 += 0x40;
  int s2 = (j1 & 1) ? j2 + 0x1F : j2 + 0x7D;
  if (s2 >= 0x7F) ++s2;
  out += static_cast<char>(s1);
  out += static_cast<char>(s2);
}

void PutJapaneseCharacter(std::string& out, std::mt19937& rng) {
  unsigned pick = rng() % 100;
  if (pick < 45) {
    PutJis(out, 4, 1 + static_cast<int>(rng() % 83));  // hiragana
  } else if (pick < 60) {
    PutJis(out, 5, 1 + static_cast<int>(rng() % 86));  // katakana
  } else if (pick < 92) {
    int row = 16 + static_cast<int>(rng() % 31);       // level-1 kanji, rows 16-46
    PutJis(out, row, 1 + static_cast<int>(rng() % 94));
  } else {
    static const int punctuation[] = {1, 2, 3, 4, 11, 22, 42, 43, 54, 55};
    PutJis(out, 1, punctuation[rng() % 10]);
  }
}

}  // namespace

std::string JapaneseShiftJis(std::size_t bytes) {
  std::mt19937 rng(1);
  std::string out;
  out.reserve(bytes + 256);
  while (out.size() < bytes) {
    int lineLength = 30 + static_cast<int>(rng() % 40);
    for (int i = 0; i < lineLength; ++i) {
      if (rng() % 25 == 0) {
        out += (rng() % 2) ? "Qt6" : "2026";
      } else {
        PutJapaneseCharacter(out, rng);
      }
    }
    out += "\r\n";
  }
  out.resize(bytes);
  // Never end inside a pair.
  while (!out.empty() && static_cast<unsigned char>(out.back()) >= 0x80) out.pop_back();
  return out;
}

std::string AsciiHeavyShiftJis(std::size_t bytes) {
  static const char* lines[] = {
      "    for (std::size_t i = 0; i < count; ++i) total += values[i];",
      "2026-12-07 07:51:44 INFO  server started on port 8080, workers=4",
      "  if (result != kOk) return Status::Error(\"could not open file\");",
      "    // TODO: handle the empty case before the loop",
      "2026-12-07 07:52:02 WARN  request took 1532 ms: /api/v1/items?page=3",
      "}",
      "",
  };
  std::mt19937 rng(2);
  std::string out;
  out.reserve(bytes + 256);
  while (out.size() < bytes) {
    std::string line = lines[rng() % 7];
    if (rng() % 2) {  // a Japanese comment or message on half of the lines
      out += line.substr(0, line.size() / 2);
      out += " // ";
      int japanese = 2 + static_cast<int>(rng() % 4);
      for (int i = 0; i < japanese; ++i) PutJapaneseCharacter(out, rng);
    } else {
      out += line;
    }
    out += "\n";
  }
  out.resize(bytes);
  while (!out.empty() && static_cast<unsigned char>(out.back()) >= 0x80) out.pop_back();
  return out;
}

}  // namespace bench
