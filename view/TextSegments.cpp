#include "TextSegments.h"

#include <unicode/brkiter.h>
#include <unicode/locid.h>
#include <unicode/unistr.h>

#include <memory>

namespace {

// One iterator of each kind for the process: making one loads its rules.
icu::BreakIterator* IteratorFor(TextSegments::Kind kind) {
  static std::unique_ptr<icu::BreakIterator> word, sentence;
  std::unique_ptr<icu::BreakIterator>& iterator = kind == TextSegments::Kind::Word ? word : sentence;
  if (!iterator) {
    UErrorCode status = U_ZERO_ERROR;
    const icu::Locale japanese = icu::Locale::getJapanese();
    iterator.reset(kind == TextSegments::Kind::Word ? icu::BreakIterator::createWordInstance(japanese, status)
                                                    : icu::BreakIterator::createSentenceInstance(japanese, status));
    if (U_FAILURE(status)) iterator.reset();
  }
  return iterator.get();
}

}  // namespace

TextSegments::Range TextSegments::Around(const QString& text, int index, Kind kind) {
  int size = static_cast<int>(text.size());
  if (index < 0 || index >= size) return {index, index};
  icu::BreakIterator* iterator = IteratorFor(kind);
  if (!iterator) return {index, index + 1};
  // The iterator reads the string in place.
  icu::UnicodeString view(false, reinterpret_cast<const char16_t*>(text.utf16()), size);
  iterator->setText(view);
  int end = iterator->following(index);
  int start = iterator->previous();
  if (end == icu::BreakIterator::DONE) end = size;
  if (start == icu::BreakIterator::DONE) start = 0;
  return {start, end};
}
