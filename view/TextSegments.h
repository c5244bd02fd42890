#pragma once

// Where words and sentences begin and end in a piece of text, as ICU's break
// iterators find them for Japanese: words from its dictionary (東京都|と|大阪府),
// not a break between every kanji and kana.

#include <QString>

class TextSegments {
 public:
  enum class Kind { Word, Sentence };
  struct Range {
    int start;
    int end;
  };

  // The segment of `text` that holds the character at `index` (0 <= index
  // < text.size()); a word, or the spaces or punctuation between words.
  static Range Around(const QString& text, int index, Kind kind);
};
