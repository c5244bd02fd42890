#pragma once

// The long middle of a conversion, done 64 bytes at a time with the widest
// vectors the processor has (WindowLoops.h). Each routine hands the middle
// of its text to Run, then finishes the rest byte by byte from where the
// windows stopped, in the mode they left.

#include <cstddef>

namespace kanji::windows {

enum class Direction { SjisToJis, EucToJis, JisToSjis, JisToEuc, SjisToEuc, EucToSjis, LineEndsToCrLf };

struct Progress {
  std::size_t in = 0;           // input bytes done
  unsigned char* out = nullptr;  // where the next output byte goes
  bool twoByte = false;         // in two-byte mode (JIS) or inside a run of pairs
};

// Converts the text from its start into `out`, a window at a time while
// at least 128 bytes are left; returns where the windows stopped.
Progress Run(Direction direction, const unsigned char* in, std::size_t n, unsigned char* out);

// Run with one vector set each; Run picks (ProcessorFeatures.h).
void RunBaseline(Direction direction, const unsigned char* in, std::size_t n, Progress& progress);
void RunAvx2(Direction direction, const unsigned char* in, std::size_t n, Progress& progress);
void RunAvx512(Direction direction, const unsigned char* in, std::size_t n, Progress& progress);

}  // namespace kanji::windows
