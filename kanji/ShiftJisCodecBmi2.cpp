// The UTF-8 to Shift-JIS walk built with BMI2; only called where the
// processor has it.

#include <immintrin.h>

#include "Utf8ToShiftJis.h"

namespace kanji::encoding {
namespace {

// One bit extraction, after putting the first byte on top, gives the
// 4 + 6 + 6 payload bits in order.
struct Bmi2CodePoints {
  static char32_t ThreeByte(std::uint32_t w) { return _pext_u32(__builtin_bswap32(w), 0x0F3F3F00u); }
};

}  // namespace

std::size_t EncodeWithBmi2(const unsigned char* utf8, std::size_t n, unsigned char* out,
                           const std::uint16_t* table, ReportMissing report, void* context) {
  return EncodeWalk<true, Bmi2CodePoints>(utf8, n, out, table, report, context);
}

std::size_t CountWithBmi2(const unsigned char* utf8, std::size_t n, const std::uint16_t* table) {
  return EncodeWalk<false, Bmi2CodePoints>(utf8, n, nullptr, table, nullptr, nullptr);
}

}  // namespace kanji::encoding
