// FindUncarryable against a save and a reload, at every instruction-set
// level: the first byte picks JIS or EUC, the rest is a Shift-JIS text.
// A text with nothing uncarryable is saved and read back byte for byte;
// with the uncarryable characters taken out, the rest has none left and
// comes back whole.

#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "KanjiText.h"
#include "FuzzChecks.h"

namespace {

using fuzz::Require;

bool SurvivesSaveAndReload(const std::string& text, KanjiCode code) {
  return kanji::ToShiftJis(kanji::FromShiftJis(text, code), code) == text;
}

void Check(const std::string& text, KanjiCode code) {
  std::vector<kanji::TextSpan> spans = kanji::FindUncarryable(text, code);
  if (spans.empty()) {
    Require(SurvivesSaveAndReload(text, code));
    return;
  }
  std::string rest;
  std::size_t from = 0;
  for (const kanji::TextSpan& span : spans) {
    Require(span.offset >= from && span.length > 0 && span.offset + span.length <= text.size());
    rest.append(text, from, span.offset - from);
    from = span.offset + span.length;
  }
  rest.append(text, from);
  Require(kanji::FindUncarryable(rest, code).empty());
  Require(SurvivesSaveAndReload(rest, code));
  Require(kanji::FindUncarryable(text, code, 1) == std::vector<kanji::TextSpan>{spans.front()});
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
  if (size == 0) return 0;
  KanjiCode code = data[0] % 2 ? KanjiCode::Jis : KanjiCode::Euc;
  std::string text(reinterpret_cast<const char*>(data + 1), size - 1);
  fuzz::AtEveryInstructionSetLevel([&] { Check(text, code); });
  return 0;
}
