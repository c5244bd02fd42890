#include "ShiftJisCodec.h"

#include <array>
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

unsigned PairCodePoint(Byte lead, Byte trail) {
  int index = LeadIndex(lead);
  if (index < 0 || trail < 0x40) return 0;
  return kPairToUnicode[index][trail - 0x40];
}

unsigned SingleCodePoint(Byte b) {
  unsigned cp = kSingleByteToUnicode[b - 0x80];
  return cp ? cp : ShiftJisCodec::kRawByteBase + b;
}

// Unicode (BMP) to Shift-JIS, in the entries Utf8ToShiftJis.h describes.
class EncodeTable {
 public:
  EncodeTable() {
    for (unsigned b = 0x80; b <= 0xFF; ++b) {
      table_[ShiftJisCodec::kRawByteBase + b] = Single(b);
      if (unsigned cp = kSingleByteToUnicode[b - 0x80]) table_[cp] = Single(b);
    }
    for (unsigned lead = 0x81; lead <= 0xFC; ++lead) {
      for (unsigned trail = 0x40; trail <= 0xFF; ++trail) {
        if (unsigned cp = PairCodePoint(static_cast<Byte>(lead), static_cast<Byte>(trail)))
          table_[cp] = static_cast<std::uint16_t>(trail << 8 | lead);
      }
    }
  }
  const std::uint16_t* Entries() const { return table_.data(); }

 private:
  static std::uint16_t Single(unsigned b) { return static_cast<std::uint16_t>(b << 8); }

  std::array<std::uint16_t, 0x10000> table_{};
};

const EncodeTable& Encoding() {
  static const EncodeTable table;
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
      unsigned cp = i + 1 < n ? PairCodePoint(in[i], in[i + 1]) : 0;
      if (cp) {
        o = PutUtf8(cp, o);
        i += 2;
      } else {
        o = PutUtf8(SingleCodePoint(in[i]), o);
        ++i;
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
                                     std::vector<Unencodable>* unencodable) {
  const auto* p = reinterpret_cast<const Byte*>(utf8.data());
  auto* out = reinterpret_cast<Byte*>(shiftJis);
  const std::uint16_t* table = Encoding().Entries();
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
  if (pos + 1 < shiftJis.size() &&
      IsRoundTripPair(static_cast<Byte>(shiftJis[pos]), static_cast<Byte>(shiftJis[pos + 1])))
    return 2;
  return 1;
}

bool ShiftJisCodec::IsRoundTripPair(unsigned char lead, unsigned char trail) {
  return PairCodePoint(lead, trail) != 0;
}

}  // namespace kanji
