#pragma once

// The kanji code of a text, as stored in the settings file and held by the
// view for the shown document. Auto is a setting only: detection never
// returns it and no loaded document has it. Utf8 came last, so the values
// a settings file already holds keep their meaning.
enum class KanjiCode : int {
  None = 0,      // no conversion: bytes taken and written as they are
  ShiftJis = 1,  // the editing control's own code
  Jis = 2,       // 7-bit, two-byte characters between escape sequences
  Euc = 3,       // two-byte characters with both bytes 0xA1-0xFE
  Auto = 4,      // detect on load; "as read" on save
  Utf8 = 5,      // UTF-8; a byte-order mark is kept when the file has one
};

// A stored integer that is not 0-5 stays out of range: callers decide what
// an unknown value means, so the conversion keeps it instead of clamping.
constexpr KanjiCode KanjiCodeFromInt(int value) { return static_cast<KanjiCode>(value); }
constexpr int KanjiCodeToInt(KanjiCode code) { return static_cast<int>(code); }

// The status bar's short name of a code; empty for Auto and for any value
// outside 0-5.
constexpr const char* KanjiCodeStatusText(KanjiCode code) {
  switch (code) {
    case KanjiCode::None: return "BIN";
    case KanjiCode::ShiftJis: return "SJS";
    case KanjiCode::Jis: return "JIS";
    case KanjiCode::Euc: return "EUC";
    case KanjiCode::Utf8: return "UTF";
    default: return "";
  }
}
