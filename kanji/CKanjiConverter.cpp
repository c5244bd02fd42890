#include "CKanjiConverter.h"

#include <cstring>

#include "KanjiTranscoder.h"

namespace {

using kanji::Byte;

std::size_t TextLength(const Byte* in) { return std::strlen(reinterpret_cast<const char*>(in)); }

template <class Routine>
Byte* ConvertTerminated(Byte* out, const Byte* in, Routine routine) {
  Byte* end = out + routine(in, TextLength(in), out);
  *end = 0;
  return end;
}

}  // namespace

KanjiCode CKanjiConverter::DetectCode(const unsigned char* in) const {
  return kanji::DetectCodeBytes(in, TextLength(in));
}

unsigned char* CKanjiConverter::SjisToJis(unsigned char* out, const unsigned char* in) const {
  return ConvertTerminated(out, in, kanji::SjisToJisBytes);
}

unsigned char* CKanjiConverter::EucToJis(unsigned char* out, const unsigned char* in) const {
  return ConvertTerminated(out, in, kanji::EucToJisBytes);
}

unsigned char* CKanjiConverter::JisToSjis(unsigned char* out, const unsigned char* in) const {
  return ConvertTerminated(out, in, kanji::JisToSjisBytes);
}

unsigned char* CKanjiConverter::JisToEuc(unsigned char* out, const unsigned char* in) const {
  return ConvertTerminated(out, in, kanji::JisToEucBytes);
}

unsigned char* CKanjiConverter::ConvertLineEnd(unsigned char* out, const unsigned char* in,
                                               int type) const {
  return ConvertTerminated(out, in, [type](const Byte* text, std::size_t n, Byte* result) {
    return kanji::ConvertLineEndBytes(text, n, result, type);
  });
}
