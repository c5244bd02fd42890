// The window loops for processors with AVX-512: the JIS writers and
// readers built with AVX-512 itself (WindowLoopsAvx512.h), the rest those
// of the AVX2 build. Only called where the processor has it.

#include "WindowLoopsAvx512.h"

namespace kanji::windows {

void RunAvx512(Direction direction, const unsigned char* in, std::size_t n, Progress& progress) {
  switch (direction) {
    case Direction::SjisToJis: return EncodedWindowsAvx512<pairs::SjisToJis>(in, n, progress);
    case Direction::EucToJis: return EncodedWindowsAvx512<pairs::FlipHighBit>(in, n, progress);
    case Direction::JisToSjis: return JisWindowsAvx512<pairs::JisToSjis>(in, n, progress);
    case Direction::JisToEuc: return JisWindowsAvx512<pairs::FlipHighBit>(in, n, progress);
    default: return RunAvx2(direction, in, n, progress);
  }
}

}  // namespace kanji::windows
