#pragma once

// The kanji code of a text, as stored in the settings file and held by the
// view for the shown document. Auto is a setting only: detection never
// returns it and no loaded document has it.
enum class KanjiCode : int {
  None = 0,      // no conversion: bytes taken and written as they are
  ShiftJis = 1,  // the editing control's own code
  Jis = 2,       // 7-bit, two-byte characters between escape sequences
  Euc = 3,       // two-byte characters with both bytes 0xA1-0xFE
  Auto = 4,      // detect on load; "as read" on save
};

// A stored integer that is not 0-4 stays out of range: callers decide what
// an unknown value means, so the conversion keeps it instead of clamping.
constexpr KanjiCode KanjiCodeFromInt(int value) { return static_cast<KanjiCode>(value); }
constexpr int KanjiCodeToInt(KanjiCode code) { return static_cast<int>(code); }

// The status bar's short name of a code; empty for Auto and for any value
// outside 0-3.
constexpr const char* KanjiCodeStatusText(KanjiCode code) {
  switch (code) {
    case KanjiCode::None: return "BIN";
    case KanjiCode::ShiftJis: return "SJS";
    case KanjiCode::Jis: return "JIS";
    case KanjiCode::Euc: return "EUC";
    default: return "";
  }
}
