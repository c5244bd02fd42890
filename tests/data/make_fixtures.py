#!/usr/bin/env python3
"""Writes the fixture files of the document tests. Run from this folder;
the files are committed, so tests never need Japanese text on the machine."""

PROSE = (
    "吾輩は猫である。名前はまだ無い。\n"
    "どこで生れたかとんと見当がつかぬ。何でも薄暗いじめじめした所で泣いていた事だけは記憶している。\n"
    "カタカナ、ひらがな、漢字、そしてＡＳＣＩＩ ascii 123 が混ざった行。\n"
    "記号：「」『』【】〒※→←↑↓＋×÷＝≠＜＞\n"
)

def write(name, data):
    with open(name, "wb") as f:
        f.write(data)

write("sjis_prose.txt", PROSE.replace("\n", "\r\n").encode("cp932"))
write("jis_prose.txt", PROSE.encode("iso2022_jp"))
write("euc_prose.txt", PROSE.encode("euc_jp"))
write("ascii.txt", b"plain ASCII text\r\nsecond line\r\n")
write("mixed_line_endings.txt", "一行目\r二行目\n三行目\r\n四行目\n\r".encode("cp932"))
write("invalid_bytes.txt", b"a\x80b\xa0c\xfd\xfe\xff\x87\x40\xfb\xfc\x87\x90\xed\x40\x85\x40\x82")  # ①, 髙 at FBFC, then pairs that do not round-trip
write("nul_bytes.txt", "前".encode("cp932") + b"\x00\x00" + "後ろ".encode("cp932") + b"\r\n")
write("empty.txt", b"")
write("no_final_newline.txt", "最後の行に改行がない".encode("cp932"))
write("jis_with_nul.txt", "前半".encode("iso2022_jp") + b"\x00" + "後半".encode("iso2022_jp"))
write("halfwidth_katakana.txt", "ｶﾀｶﾅ と ひらがな".encode("cp932"))

# UTF-8: prose with and without a byte-order mark, characters Shift-JIS
# lacks (é, 〜 U+301C, an emoji of four bytes), and a file whose bytes are
# no well-formed UTF-8 in places (a stray continuation byte, a lead byte
# cut short, an overlong "/", an encoded surrogate, 0xFF, a stand-in
# U+F7E9 written literally), with NUL, CR, LF and CR LF and no final newline.
UTF8_EXTRA = "café 〜 波ダッシュ 😀 絵文字\n"
write("utf8_prose.txt", (PROSE + UTF8_EXTRA).encode("utf-8"))
write("utf8_bom_prose.txt", b"\xef\xbb\xbf" + (PROSE + UTF8_EXTRA).encode("utf-8"))
write("utf8_damaged.txt",
      "正しい行\r\n".encode("utf-8") + b"stray \x80 cut \xe3\x81 overlong \xc0\xaf surrogate \xed\xa0\x80 ff \xff\n"
      + "literal \uf7e9 nul ".encode("utf-8") + b"\x00" + "行\r末 😀".encode("utf-8"))
