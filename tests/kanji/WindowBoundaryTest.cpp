// The block routines work on 64-byte windows and carry what crosses a
// window's end into the next one (a pair's second byte, the rest of an
// escape, the byte after a CR), or hand it to the byte-wise tail after the
// last window. Each case here puts one such unit at every offset around
// those ends in an otherwise plain text and compares the routine with the
// byte-at-a-time one, with the processor's extensions and without.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ByteStrings.h"
#include "InstructionSets.h"
#include "KanjiTranscoder.h"
#include "reference/ReferenceConverter.h"

namespace {

using kanji::Byte;
using Routine = std::size_t (*)(const Byte*, std::size_t, Byte*);

struct BoundaryCase {
  const char* name;
  Routine fast;
  Routine plain;
  std::string unit;    // what straddles a window's end
  std::string filler;  // one character, repeated around it
};

std::size_t LineEndsToCrLf(const Byte* in, std::size_t n, Byte* out) {
  return kanji::ConvertLineEndBytes(in, n, out, 3);
}
std::size_t PlainLineEndsToCrLf(const Byte* in, std::size_t n, Byte* out) {
  return kanji::reference::ConvertLineEnd(in, n, out, 3);
}

std::string Convert(Routine routine, const std::string& text) {
  std::vector<Byte> in(text.begin(), text.end());
  std::vector<Byte> out(3 * text.size() + 4);
  std::size_t written = routine(in.data(), in.size(), out.data());
  return std::string(out.begin(), out.begin() + static_cast<std::ptrdiff_t>(written));
}

class WindowBoundary : public InstructionSetTest {};
INSTANTIATE_TEST_SUITE_P(InstructionSets, WindowBoundary, kAllInstructionSets, InstructionSetName);

TEST_P(WindowBoundary, UnitsAcrossWindowEndsConvertAsByteByByte) {
  const std::string kanjiIn = Hex("1B 24 40");
  const std::string kanjiOut = Hex("1B 28 4A");
  const BoundaryCase cases[] = {
      {"Shift-JIS pair after ASCII", kanji::SjisToJisBytes, kanji::reference::SjisToJis, Hex("88 9F"), "a"},
      {"Shift-JIS pair among pairs", kanji::SjisToJisBytes, kanji::reference::SjisToJis, "a", Hex("82 A0")},
      {"EUC pair after ASCII", kanji::EucToJisBytes, kanji::reference::EucToJis, Hex("B0 A1"), "a"},
      {"JIS escape into two-byte mode", kanji::JisToSjisBytes, kanji::reference::JisToSjis, kanjiIn + "0!",
       "a"},
      {"JIS pair in two-byte mode", kanji::JisToEucBytes, kanji::reference::JisToEuc,
       kanjiOut + "a" + kanjiIn, "0!"},
      {"chain pair after ASCII", kanji::SjisToEucBytes, kanji::reference::SjisToEucChained, Hex("E0 40"), "a"},
      {"lone CR", LineEndsToCrLf, PlainLineEndsToCrLf, "\r", "a"},
      {"lone LF", LineEndsToCrLf, PlainLineEndsToCrLf, "\n", "a"},
      {"CR LF", LineEndsToCrLf, PlainLineEndsToCrLf, "\r\n", "a"},
      {"LF CR", LineEndsToCrLf, PlainLineEndsToCrLf, "\n\r", "a"},
  };
  // In 200 bytes the windows stop at byte 128, where the byte-wise tail
  // takes over: offsets around 64 cross from window to window, offsets
  // around 128 from the last window to the tail.
  for (const BoundaryCase& c : cases) {
    for (std::size_t offset = 56; offset <= 136; ++offset) {
      if (offset > 72 && offset < 120) continue;
      std::string text;
      while (text.size() < offset) text += c.filler;
      text += c.unit;
      while (text.size() < 200) text += c.filler;
      ASSERT_EQ(ToHex(Convert(c.fast, text)), ToHex(Convert(c.plain, text))) << c.name << " at " << offset;
    }
  }
}

// More switches in one window than the window loops unroll: every other
// character is a pair.
TEST_P(WindowBoundary, WindowsFullOfSwitchesConvertAsByteByByte) {
  std::string sjis;
  while (sjis.size() < 400) sjis += "a" + Hex("88 9F");
  std::string lineEnds;
  while (lineEnds.size() < 400) lineEnds += "a\n";
  EXPECT_EQ(ToHex(Convert(kanji::SjisToJisBytes, sjis)), ToHex(Convert(kanji::reference::SjisToJis, sjis)));
  std::string jis = Convert(kanji::reference::SjisToJis, sjis);
  EXPECT_EQ(ToHex(Convert(kanji::JisToSjisBytes, jis)), ToHex(sjis));
  EXPECT_EQ(ToHex(Convert(LineEndsToCrLf, lineEnds)), ToHex(Convert(PlainLineEndsToCrLf, lineEnds)));
}

}  // namespace
