// The block-copying routines against the plain byte-at-a-time ones, on
// random texts: same bytes out, never past the output bound (buffers are
// sized exactly, so AddressSanitizer catches an overrun or over-read).
// Each property holds with the processor's extensions and without.

#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "ByteStrings.h"
#include "InstructionSets.h"
#include "KanjiTranscoder.h"
#include "reference/ReferenceConverter.h"

namespace {

using kanji::Byte;
using Routine = std::size_t (*)(const Byte*, std::size_t, Byte*);

struct Pairing {
  const char* name;
  Routine fast;
  Routine plain;
  std::size_t (*room)(std::size_t);  // output bytes needed, no terminator
};

std::size_t Triple(std::size_t n) { return 3 * n + 3; }
std::size_t Same(std::size_t n) { return n; }

const Pairing kPairings[] = {
    {"SjisToJis", kanji::SjisToJisBytes, kanji::reference::SjisToJis, Triple},
    {"EucToJis", kanji::EucToJisBytes, kanji::reference::EucToJis, Triple},
    {"JisToSjis", kanji::JisToSjisBytes, kanji::reference::JisToSjis, Same},
    {"JisToEuc", kanji::JisToEucBytes, kanji::reference::JisToEuc, Same},
};

std::string RunExact(Routine routine, std::size_t (*room)(std::size_t), const std::string& text) {
  std::vector<Byte> in(text.begin(), text.end());
  std::vector<Byte> out(room(text.size()));
  std::size_t written = routine(in.data(), in.size(), out.data());
  EXPECT_LE(written, out.size());
  return std::string(out.begin(), out.begin() + static_cast<std::ptrdiff_t>(written));
}

class ConverterProperty : public InstructionSetTest {};
INSTANTIATE_TEST_SUITE_P(InstructionSets, ConverterProperty, kAllInstructionSets, InstructionSetName);

// Texts rich in what the routines switch on: ESC, "$", "(", high bytes,
// NUL, line ends, and long ASCII runs that cross block boundaries.
std::string SwitchHeavyText(std::mt19937& rng) {
  static const std::string alphabet =
      std::string("\x1b\x1b$(@BJa\r\n\x00", 11) + Hex("80 81 88 9F A0 A4 B0 DF E0 FC FE FF");
  std::string text;
  std::size_t pieces = rng() % 12;
  for (std::size_t i = 0; i < pieces; ++i) {
    text += (rng() % 3 == 0) ? std::string(rng() % 40, 'x') : RandomBytes(rng, rng() % 20, alphabet);
  }
  return text;
}

// Long enough for the 64-byte window loops, which leave the last 128 bytes
// to the byte-wise tail: switches fall on every offset of a window, on its
// last byte and across its end.
std::string LongSwitchHeavyText(std::mt19937& rng) {
  std::string text;
  while (text.size() < 128 + rng() % 600) text += SwitchHeavyText(rng);
  return text;
}

// Short random bytes, switch-heavy text, and long switch-heavy text in turn.
std::string RandomText(std::mt19937& rng, int round) {
  switch (round % 3) {
    case 0: return RandomBytes(rng, rng() % 64);
    case 1: return SwitchHeavyText(rng);
    default: return LongSwitchHeavyText(rng);
  }
}

TEST_P(ConverterProperty, BlockRoutinesMatchPlainRoutinesOnRandomBytes) {
  std::mt19937 rng(11);
  for (int round = 0; round < 30000; ++round) {
    std::string text = RandomText(rng, round);
    for (const Pairing& p : kPairings) {
      ASSERT_EQ(ToHex(RunExact(p.fast, p.room, text)), ToHex(RunExact(p.plain, p.room, text)))
          << p.name << " of " << ToHex(text);
    }
    // The JIS readers again on JIS with real escapes and long two-byte runs.
    std::string jis = RunExact(kanji::reference::SjisToJis, Triple, text);
    for (const Pairing& p : {kPairings[2], kPairings[3]}) {
      ASSERT_EQ(ToHex(RunExact(p.fast, p.room, jis)), ToHex(RunExact(p.plain, p.room, jis)))
          << p.name << " of " << ToHex(jis);
    }
    for (int type = 0; type <= 4; ++type) {
      auto fast = [type](const Byte* in, std::size_t n, Byte* out) {
        return kanji::ConvertLineEndBytes(in, n, out, type);
      };
      auto plain = [type](const Byte* in, std::size_t n, Byte* out) {
        return kanji::reference::ConvertLineEnd(in, n, out, type);
      };
      std::vector<Byte> in(text.begin(), text.end());
      std::vector<Byte> a(2 * text.size()), b(2 * text.size());
      std::size_t na = fast(in.data(), in.size(), a.data());
      std::size_t nb = plain(in.data(), in.size(), b.data());
      ASSERT_EQ(std::string(a.begin(), a.begin() + na), std::string(b.begin(), b.begin() + nb))
          << "line ends " << type << " of " << ToHex(text);
    }
  }
}

// Without the bytes that make the chain's second step misread its first
// step's output (ESC; Shift-JIS 0xBE or EUC 0x9B, whose pair can start
// with ESC in JIS), the one-pass chains equal the two-step ones.
std::string WithoutEscapeMakers(std::string text, char escapeMaker) {
  for (char& b : text)
    if (b == '\x1b' || b == escapeMaker) b = 'e';
  return text;
}

TEST_P(ConverterProperty, OnePassChainsMatchTwoStepChains) {
  std::mt19937 rng(13);
  for (int round = 0; round < 30000; ++round) {
    std::string raw = RandomText(rng, round);
    std::string sjis = WithoutEscapeMakers(raw, '\xbe');
    ASSERT_EQ(ToHex(RunExact(kanji::SjisToEucBytes, Same, sjis)),
              ToHex(RunExact(kanji::reference::SjisToEucChained, Same, sjis)))
        << ToHex(sjis);
    std::string euc = WithoutEscapeMakers(raw, '\x9b');
    ASSERT_EQ(ToHex(RunExact(kanji::EucToSjisBytes, Same, euc)),
              ToHex(RunExact(kanji::reference::EucToSjisChained, Same, euc)))
        << ToHex(euc);
  }
}

// Printable ASCII, TAB, CR, LF and two-byte characters with lead 0x81-0x9F
// or 0xE0-0xEF and trail 0x40-0x7E or 0x80-0xFC.
std::string RandomWellFormedShiftJis(std::mt19937& rng, std::size_t characters) {
  std::string text;
  for (std::size_t i = 0; i < characters; ++i) {
    switch (rng() % 4) {
      case 0: {
        static const char controls[] = "\t\r\n";
        text += (rng() % 8 == 0) ? controls[rng() % 3] : static_cast<char>(0x20 + rng() % 95);
        break;
      }
      default: {
        unsigned lead = rng() % 2 ? 0x81 + rng() % 31 : 0xE0 + rng() % 16;
        unsigned trail = 0x40 + rng() % 188;
        if (trail >= 0x7F) ++trail;
        text += static_cast<char>(lead);
        text += static_cast<char>(trail);
      }
    }
  }
  return text;
}

TEST_P(ConverterProperty, WellFormedShiftJisSurvivesEveryRoundTrip) {
  std::mt19937 rng(17);
  for (int round = 0; round < 5000; ++round) {
    std::string sjis = RandomWellFormedShiftJis(rng, rng() % 200);
    std::string jis = RunExact(kanji::SjisToJisBytes, Triple, sjis);
    ASSERT_EQ(RunExact(kanji::JisToSjisBytes, Same, jis), sjis);
    std::string euc = RunExact(kanji::SjisToEucBytes, Same, sjis);
    ASSERT_EQ(RunExact(kanji::EucToSjisBytes, Same, euc), sjis);
    ASSERT_EQ(RunExact(kanji::JisToEucBytes, Same, jis), euc);
    std::string eucJis = RunExact(kanji::EucToJisBytes, Triple, euc);
    ASSERT_EQ(eucJis, jis) << "EUC and Shift-JIS of one text give one JIS text";
  }
}

}  // namespace
