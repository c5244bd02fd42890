#include "ShiftJisCodec.h"

#include <algorithm>
#include <array>
#include <iterator>
#include <cstdint>
#include <cstring>

#include "ByteScan.h"
#include "ProcessorFeatures.h"
#include "Utf8ToShiftJis.h"

namespace kanji {
namespace {

#include "Cp932Table.inc"

using Byte = unsigned char;

constexpr int LeadIndex(Byte lead) {
  if (lead >= 0x81 && lead <= 0x9F) return lead - 0x81;
  if (lead >= 0xE0 && lead <= 0xFC) return lead - 0xE0 + 31;
  return -1;
}

// The pair table's entry for a lead and trail: the round-trip character,
// kHeldPair for a lead and trail byte that are none (held as their bytes),
// 0 when the bytes are no pair.
constexpr unsigned kHeldPair = 1;

unsigned PairEntry(Byte lead, Byte trail) {
  int index = LeadIndex(lead);
  if (index < 0 || trail < 0x40) return 0;
  return kPairToUnicode[index][trail - 0x40];
}

unsigned PairCodePoint(Byte lead, Byte trail) {
  unsigned entry = PairEntry(lead, trail);
  return entry == kHeldPair ? 0 : entry;
}

unsigned SingleCodePoint(Byte b) {
  unsigned cp = kSingleByteToUnicode[b - 0x80];
  return cp ? cp : ShiftJisCodec::kRawByteBase + b;
}

bool IsHeldPairBytes(Byte lead, Byte trail) { return PairEntry(lead, trail) == kHeldPair; }

unsigned HeldPairCodePoint(Byte lead, Byte trail) {
  return ShiftJisCodec::kHeldPairBase + (static_cast<unsigned>(lead) << 8 | trail);
}

std::uint16_t EncodeEntry(unsigned lead, unsigned trail) { return static_cast<std::uint16_t>(trail << 8 | lead); }

// Characters that JIS X 0208 text from elsewhere (input methods, EUC-JP,
// the Unicode consortium's and JIS X 0213's tables) has for a cell that code
// page 932 reads as another code point, and that code page 932 cannot write:
// each is written as the bytes of its cell. Decoding stays code page 932's,
// so a file still comes back byte for byte; only these characters, typed or
// pasted, take the code page 932 form on the way in.
struct JisForm {
  char32_t character;
  unsigned short pair;
};
constexpr JisForm kJisForms[] = {
    {U'\u301C', 0x8160},  // WAVE DASH; code page 932 reads FULLWIDTH TILDE
    {U'\u2016', 0x8161},  // DOUBLE VERTICAL LINE; PARALLEL TO
    {U'\u2212', 0x817C},  // MINUS SIGN; FULLWIDTH HYPHEN-MINUS
    {U'\u00A2', 0x8191},  // CENT SIGN; FULLWIDTH CENT SIGN
    {U'\u00A3', 0x8192},  // POUND SIGN; FULLWIDTH POUND SIGN
    {U'\u00AC', 0x81CA},  // NOT SIGN; FULLWIDTH NOT SIGN
    {U'\u2014', 0x815C},  // EM DASH; HORIZONTAL BAR
};

// Unicode to Shift-JIS, in the entries Utf8ToShiftJis.h describes. With
// `standardForms`, the held pairs that stand for a character take that
// character's entry.
class EncodeTable {
 public:
  explicit EncodeTable(bool standardForms) {
    for (unsigned b = 0x80; b <= 0xFF; ++b) {
      table_[ShiftJisCodec::kRawByteBase + b] = Single(b);
      if (unsigned cp = kSingleByteToUnicode[b - 0x80]) table_[cp] = Single(b);
    }
    for (unsigned lead = 0x81; lead <= 0xFC; ++lead) {
      for (unsigned trail = 0x40; trail <= 0xFF; ++trail) {
        if (unsigned cp = PairCodePoint(static_cast<Byte>(lead), static_cast<Byte>(trail)))
          table_[cp] = EncodeEntry(lead, trail);
        else if (IsHeldPairBytes(static_cast<Byte>(lead), static_cast<Byte>(trail)))
          table_[0x10000 + HeldPairCodePoint(static_cast<Byte>(lead), static_cast<Byte>(trail)) -
                 encoding::kHeldPairsFirst] = EncodeEntry(lead, trail);
      }
    }
    for (const JisForm& form : kJisForms) {
      if (table_[form.character] == 0) table_[form.character] = EncodeEntry(form.pair >> 8, form.pair & 0xFF);
    }
    if (!standardForms) return;
    for (const auto& [pair, character] : kDuplicatePairs)
      table_[0x10000 + ShiftJisCodec::kHeldPairBase + pair - encoding::kHeldPairsFirst] = table_[character];
  }
  const std::uint16_t* Entries() const { return table_.data(); }

 private:
  static std::uint16_t Single(unsigned b) { return static_cast<std::uint16_t>(b << 8); }

  std::array<std::uint16_t, encoding::kEncodeTableSize> table_{};
};

const EncodeTable& Encoding() {
  static const EncodeTable table(false);
  return table;
}

const EncodeTable& StandardEncoding() {
  static const EncodeTable table(true);
  return table;
}

Byte* PutUtf8(unsigned cp, Byte* o) {
  if (cp < 0x800) {
    o[0] = static_cast<Byte>(0xC0 | cp >> 6);
    o[1] = static_cast<Byte>(0x80 | (cp & 0x3F));
    return o + 2;
  }
  o[0] = static_cast<Byte>(0xE0 | cp >> 12);
  o[1] = static_cast<Byte>(0x80 | (cp >> 6 & 0x3F));
  o[2] = static_cast<Byte>(0x80 | (cp & 0x3F));
  return o + 3;
}

// A held pair's code point, the one beyond the BMP that Decode writes: kept
// out of PutUtf8, whose every call is on the hot path.
Byte* PutHeldPair(Byte lead, Byte trail, Byte* o) {
  const unsigned cp = HeldPairCodePoint(lead, trail);
  o[0] = static_cast<Byte>(0xF0 | cp >> 18);
  o[1] = static_cast<Byte>(0x80 | (cp >> 12 & 0x3F));
  o[2] = static_cast<Byte>(0x80 | (cp >> 6 & 0x3F));
  o[3] = static_cast<Byte>(0x80 | (cp & 0x3F));
  return o + 4;
}

// What starts at `at` when it is no round-trip pair, by the pair table's
// entry: a held pair, or a single byte's character or raw byte, written at
// `o`. Out of line, so that the loop over round-trip pairs keeps its
// registers; the new output position and the bytes taken come back in
// registers, not through memory.
struct Written {
  Byte* end;
  std::size_t taken;
};

[[gnu::noinline]] Written PutNoRoundTripPair(const Byte* at, unsigned entry, Byte* o) {
  if (entry == kHeldPair) return {PutHeldPair(at[0], at[1], o), 2};
  return {PutUtf8(SingleCodePoint(at[0]), o), 1};
}

void ListMissing(void* context, std::size_t utf8Offset, char32_t codePoint) {
  static_cast<std::vector<Unencodable>*>(context)->push_back({utf8Offset, codePoint});
}

}  // namespace

std::size_t ShiftJisCodec::DecodeChunk(std::string_view shiftJis, bool atEnd, char* out,
                                      std::size_t* consumed) {
  const Byte* in = reinterpret_cast<const Byte*>(shiftJis.data());
  const std::size_t n = shiftJis.size();
  Byte* start = reinterpret_cast<Byte*>(out);
  Byte* o = start;
  std::size_t i = 0;
  bool pieceEnds = false;
  while (i < n && !pieceEnds) {
    std::size_t run = scan::CopyAsciiSpan(in + i, n - i, o);
    i += run;
    o += run;
    while (i < n && in[i] >= 0x80) {
      if (i + 1 == n && !atEnd) {  // a last high byte may lead a pair the next piece ends
        pieceEnds = true;
        break;
      }
      unsigned entry = i + 1 < n ? PairEntry(in[i], in[i + 1]) : 0;
      if (entry > kHeldPair) {
        o = PutUtf8(entry, o);
        i += 2;
      } else {
        Written w = PutNoRoundTripPair(in + i, entry, o);
        o = w.end;
        i += w.taken;
      }
    }
  }
  if (consumed) *consumed = i;
  return static_cast<std::size_t>(o - start);
}

std::string ShiftJisCodec::Decode(std::string_view shiftJis) {
  std::string result(DecodedBound(shiftJis.size()), '\0');
  result.resize(DecodeChunk(shiftJis, true, result.data(), nullptr));
  return result;
}

std::size_t ShiftJisCodec::EncodeInto(std::string_view utf8, char* shiftJis,
                                     std::vector<Unencodable>* unencodable, HeldPairs held) {
  const auto* p = reinterpret_cast<const Byte*>(utf8.data());
  auto* out = reinterpret_cast<Byte*>(shiftJis);
  const std::uint16_t* table = (held == HeldPairs::Standard ? StandardEncoding() : Encoding()).Entries();
  encoding::ReportMissing report = unencodable ? ListMissing : nullptr;
#if defined(KB_BMI2_CODEC)
  if (UseBmi2()) return encoding::EncodeWithBmi2(p, utf8.size(), out, table, report, unencodable);
#endif
  return encoding::EncodeWalk<true, encoding::PlainCodePoints>(p, utf8.size(), out, table, report, unencodable);
}

EncodeResult ShiftJisCodec::Encode(std::string_view utf8) {
  EncodeResult result;
  result.bytes.resize(EncodedBound(utf8.size()));
  result.bytes.resize(EncodeInto(utf8, result.bytes.data(), &result.unencodable));
  return result;
}

std::size_t ShiftJisCodec::EncodedLength(std::string_view utf8) {
  const auto* p = reinterpret_cast<const Byte*>(utf8.data());
  const std::uint16_t* table = Encoding().Entries();
#if defined(KB_BMI2_CODEC)
  if (UseBmi2()) return encoding::CountWithBmi2(p, utf8.size(), table);
#endif
  return encoding::EncodeWalk<false, encoding::PlainCodePoints>(p, utf8.size(), nullptr, table, nullptr, nullptr);
}

std::size_t ShiftJisCodec::CharLengthAt(std::string_view shiftJis, std::size_t pos) {
  if (pos + 1 < shiftJis.size() && IsLeadByte(static_cast<Byte>(shiftJis[pos])) &&
      IsTrailByte(static_cast<Byte>(shiftJis[pos + 1])))
    return 2;
  return 1;
}

namespace {

// Bytes of the UTF-8 sequence a byte starts (1 for a stray byte).
std::size_t Utf8SequenceLength(Byte lead) {
  if (lead >= 0xC2 && lead <= 0xDF) return 2;
  if (lead >= 0xE0 && lead <= 0xEF) return 3;
  if (lead >= 0xF0 && lead <= 0xF4) return 4;
  return 1;
}

}  // namespace

std::size_t ShiftJisCodec::PrefixFitting(std::string_view utf8, std::size_t maxBytes) {
  if (utf8.size() <= maxBytes || EncodedLength(utf8) <= maxBytes) return utf8.size();
  std::size_t end = 0, bytes = 0;
  while (end < utf8.size()) {
    const std::size_t length = std::min(Utf8SequenceLength(static_cast<Byte>(utf8[end])), utf8.size() - end);
    bytes += EncodedLength(utf8.substr(end, length));
    if (bytes > maxBytes) break;
    end += length;
  }
  return end;
}

bool ShiftJisCodec::IsHeldPair(char32_t c) {
  if (c < kHeldPairBase || c > kHeldPairBase + 0xFFFF) return false;
  return IsHeldPairBytes(static_cast<Byte>(c >> 8 & 0xFF), static_cast<Byte>(c & 0xFF));
}


namespace {

// The UTF-8 of the code points Decode gives held pairs (U+F8140-U+FFCFC):
// F3 B8-BF, then two continuation bytes. The held pair that starts at `p`,
// or 0.
char32_t HeldPairAt(const Byte* p, std::size_t available) {
  if (available < 4 || p[0] != 0xF3 || p[1] < 0xB8 || p[1] > 0xBF) return 0;
  if ((p[2] & 0xC0) != 0x80 || (p[3] & 0xC0) != 0x80) return 0;
  const char32_t c = static_cast<char32_t>((p[1] & 0x3F) << 12 | (p[2] & 0x3F) << 6 | (p[3] & 0x3F)) | 0xC0000;
  return ShiftJisCodec::IsHeldPair(c) ? c : 0;
}

// Calls `each(offset, heldPair)` for every held pair of a UTF-8 text, in
// order; stops when it answers false.
template <class Each>
void EveryHeldPair(std::string_view utf8, Each each) {
  const auto* p = reinterpret_cast<const Byte*>(utf8.data());
  for (std::size_t pos = 0; pos < utf8.size();) {
    const void* found = std::memchr(p + pos, 0xF3, utf8.size() - pos);
    if (!found) return;
    const std::size_t at = static_cast<std::size_t>(static_cast<const Byte*>(found) - p);
    if (char32_t held = HeldPairAt(p + at, utf8.size() - at)) {
      if (!each(at, held)) return;
      pos = at + 4;
    } else {
      pos = at + 1;
    }
  }
}

// A byte of an empty cell as Decode gives a byte on its own.
Byte* PutCellByte(Byte b, Byte* o) {
  if (b < 0x80) {
    *o = b;
    return o + 1;
  }
  return PutUtf8(ShiftJisCodec::kRawByteBase + b, o);
}

// The second byte forms of each character, sorted by character.
const std::vector<std::pair<char32_t, char32_t>>& FormsByCharacter() {
  static const auto forms = [] {
    std::vector<std::pair<char32_t, char32_t>> list;
    for (const auto& entry : kDuplicatePairs) list.emplace_back(entry[1], ShiftJisCodec::kHeldPairBase + entry[0]);
    std::sort(list.begin(), list.end());
    return list;
  }();
  return forms;
}

}  // namespace

std::vector<char32_t> ShiftJisCodec::SecondForms(char32_t character) {
  const auto& forms = FormsByCharacter();
  auto found = std::lower_bound(forms.begin(), forms.end(), std::pair<char32_t, char32_t>(character, 0));
  std::vector<char32_t> result;
  for (; found != forms.end() && found->first == character; ++found) result.push_back(found->second);
  return result;
}

bool ShiftJisCodec::HoldsPairs(std::string_view utf8) {
  bool holds = false;
  EveryHeldPair(utf8, [&holds](std::size_t, char32_t) { return !(holds = true); });
  return holds;
}

std::string ShiftJisCodec::StandardText(std::string_view utf8) {
  std::string result;
  result.reserve(utf8.size());  // a character is shorter than its pair; an empty cell is rare
  std::size_t copied = 0;
  EveryHeldPair(utf8, [&](std::size_t at, char32_t held) {
    result.append(utf8, copied, at - copied);
    Byte written[8];
    Byte* end = written;
    if (char32_t character = DuplicateCharacter(held)) {
      end = PutUtf8(character, written);
    } else {
      end = PutCellByte(static_cast<Byte>(held >> 8 & 0xFF), end);
      end = PutCellByte(static_cast<Byte>(held & 0xFF), end);
    }
    result.append(reinterpret_cast<const char*>(written), static_cast<std::size_t>(end - written));
    copied = at + 4;
    return true;
  });
  result.append(utf8, copied);
  return result;
}

namespace {

// The leads of the pairs held as duplicates: 0x87 (NEC row 13), 0xED-0xEE
// (NEC-selected IBM) and 0xFA-0xFC (IBM). Text without them has none.
bool MayLeadDuplicate(Byte b) { return b == 0x87 || b == 0xED || b == 0xEE || b >= 0xFA; }
#if defined(__SSE2__)
const auto kMayLeadDuplicate = [](scan::Block v) {
  return Sse2Vectors::EqualBits(v, 0x87) | Sse2Vectors::EqualBits(v, 0xED) | Sse2Vectors::EqualBits(v, 0xEE) |
         Sse2Vectors::EqualBits(v, 0xFA) | Sse2Vectors::EqualBits(v, 0xFB) | Sse2Vectors::EqualBits(v, 0xFC);
};
#else
const auto kMayLeadDuplicate = [](int) { return 0u; };
#endif

// Walks the characters of p from `from` (a character's first byte) until
// `until` lies behind, each held duplicate replaced by the pair of its
// character; returns where the walk ended, a character's first byte.
std::size_t StandardizeFrom(Byte* p, std::size_t n, std::size_t from, std::size_t until,
                            const std::uint16_t* table) {
  std::size_t i = from;
  while (i < until) {
    if (p[i] < 0x80 || i + 1 == n || !ShiftJisCodec::IsLeadByte(p[i]) || !ShiftJisCodec::IsTrailByte(p[i + 1])) {
      ++i;
      continue;
    }
    if (IsHeldPairBytes(p[i], p[i + 1])) {
      if (char32_t character = ShiftJisCodec::DuplicateCharacter(HeldPairCodePoint(p[i], p[i + 1]))) {
        const std::uint16_t entry = table[character];
        p[i] = static_cast<Byte>(entry & 0xFF);
        p[i + 1] = static_cast<Byte>(entry >> 8);
      }
    }
    i += 2;
  }
  return i;
}

}  // namespace

// Only the bytes around a possible lead are walked: a byte below 0x40 is
// no trail, so a character starts after it, and the walk to a candidate
// starts from the last such byte (or where the last walk ended).
std::string ShiftJisCodec::StandardPairs(std::string_view shiftJis) {
  std::string result(shiftJis);
  const std::uint16_t* table = Encoding().Entries();
  auto* p = reinterpret_cast<Byte*>(result.data());
  const std::size_t n = result.size();
  std::size_t walked = 0;  // a character's first byte, where the last walk ended
  for (std::size_t at = 0;;) {
    at += scan::Span(p + at, n - at, kMayLeadDuplicate, MayLeadDuplicate);
    if (at >= n) break;
    std::size_t from = at;
    while (from > walked && p[from - 1] >= 0x40) --from;
    walked = StandardizeFrom(p, n, from, at + 1, table);
    at = walked;
  }
  return result;
}

char32_t ShiftJisCodec::DuplicateCharacter(char32_t heldPair) {
  if (!IsHeldPair(heldPair)) return 0;
  const auto pair = static_cast<unsigned short>(heldPair - kHeldPairBase);
  const auto* end = std::end(kDuplicatePairs);
  const auto* found = std::lower_bound(std::begin(kDuplicatePairs), end, pair,
                                       [](const unsigned short(&entry)[2], unsigned short p) { return entry[0] < p; });
  return found != end && (*found)[0] == pair ? (*found)[1] : 0;
}

}  // namespace kanji
