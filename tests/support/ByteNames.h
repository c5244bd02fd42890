#pragma once

// File names as old archives and Windows disks hold them: Shift-JIS or EUC
// bytes, no UTF-8.

#include <string>

// A Shift-JIS name with a character of every lead and trail byte class:
// leads 0x81-0x9F, 0xE0-0xEF, the NEC-selected IBM rows 0xED-0xEE and the
// IBM rows 0xFA-0xFC; trails 0x40-0x7E (with "\" 0x5C and "|" 0x7C), 0x80-0x9E
// and 0x9F-0xFC; half-width katakana; an NEC special character.
inline const std::string kEveryShiftJisClassName =
    "\x95\x5C\x83\x7C\x83\x80\x93\xFA\xE0\x40\xE0\x80\xE0\x9F\xEA\xA4\xED\x40\xEE\xFC\xFA\x5C\xFB\x80\xFC\x4B"
    "\xB1\xDF\x87\x40.txt";
// As the user reads it; the second forms of 0xED40 and 0xEEFC as their
// characters, 0xFB80 as code page 932 reads it (U+FA1A, the IBM form of 祥).
inline const std::string kEveryShiftJisClassNameShown = "表ポム日漾烙燹熙纊＂纊\uFA1A黑ｱﾟ①.txt";

// 日本語.txt and テスト.txt in EUC: the second reads as Shift-JIS half-width
// katakana too, but has no byte 0x80-0x9F as Shift-JIS kana and kanji have.
inline const std::string kEucName = "\xC6\xFC\xCB\xDC\xB8\xEC.txt";
inline const std::string kEucKatakanaName = "\xA5\xC6\xA5\xB9\xA5\xC8.txt";
