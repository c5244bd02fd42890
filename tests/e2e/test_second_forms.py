"""Characters only Shift-JIS knows in two byte forms (the NEC "≒" of 87 90
beside 81 E0, the "纊" of ED 40 beside FA 5C) as a user meets them: a UTF-8
save and the clipboard give the characters, a paste back keeps the bytes
read, find meets them, and the screen shows them as characters."""

import os
import time

from e2e_case import EditorTestCase, main


def second_forms():
    """Every pair code page 932 reads as a character that it writes as other
    bytes: of the two or three forms of a character, all but the standard
    one (row 1-2 before NEC row 13, before the IBM rows FA-FC, before the
    NEC-selected IBM rows ED-EE)."""
    rank = lambda pair: {0x87: 1, 0xED: 3, 0xEE: 3}.get(pair[0], 2 if pair[0] >= 0xFA else 0)
    forms = {}
    for lead in list(range(0x81, 0xA0)) + list(range(0xE0, 0xFD)):
        for trail in range(0x40, 0xFD):
            pair = bytes([lead, trail])
            try:
                forms.setdefault(pair.decode("cp932"), []).append(pair)
            except UnicodeDecodeError:
                pass
    held = []
    for character, pairs in forms.items():
        if len(pairs) > 1:
            held += [(pair, character) for pair in sorted(pairs, key=rank)[1:]]
    return sorted(held)


FORMS = second_forms()
FORM_BYTES = b"".join(pair + b"\n" for pair, _ in FORMS)
CHARACTERS = "".join(character + "\n" for _, character in FORMS)


class SecondForms(EditorTestCase):
    def test_forms_are_the_data_every_test_here_uses(self):
        self.assertEqual(len(FORMS), 398)

    def test_utf8_save_writes_the_characters_without_a_question(self):
        path = self.file("forms.txt", FORM_BYTES)
        editor = self.start(path, settings={"KanaCode": {"Load": "1", "Save": "5"}})
        editor.save()
        self.wait_bytes(path, CHARACTERS.encode("utf-8"))
        time.sleep(0.3)
        self.assertEqual([self.desktop.title(w) for w in self.desktop.windows()], [editor.title],
                         "nothing is lost, so nothing is asked")

    def test_euc_save_writes_the_characters_it_has_in_their_standard_cells(self):
        # ≒ ∵ (NEC row 13) and ￢ (IBM) in their second forms, a kanji around them
        path = self.file("nec.txt", b"\x87\x90\x8a\xbf\x87\x9a\xfa\x54\r\n")
        editor = self.start(path, settings={"KanaCode": {"Load": "1", "Save": "3"}})
        editor.save()
        self.wait_bytes(path, b"\xa2\xe2\xb4\xc1\xa2\xe8\xa2\xcc\r\n")  # ≒漢∵￢ in EUC, rows 2 and 34
        time.sleep(0.3)
        self.assertEqual([self.desktop.title(w) for w in self.desktop.windows()], [editor.title])

    def test_copy_gives_other_programs_the_characters_and_a_paste_here_the_bytes_read(self):
        path = self.file("forms.txt", FORM_BYTES)
        editor = self.start(path)
        self.desktop.key("ctrl+a", "ctrl+c")
        self.assertEqual(self.desktop.clipboard_text(), CHARACTERS)
        self.desktop.key("ctrl+End", "ctrl+v")
        editor.wait_modified()
        editor.save()
        self.wait_bytes(path, FORM_BYTES + FORM_BYTES)

    def find(self, editor, text):
        """Ctrl+F, the text typed, Enter, the dialog closed: the find leaves
        what it found selected."""
        self.desktop.key("ctrl+f")
        dialog = editor.dialog("検索")
        self.desktop.type(text)
        self.desktop.key("Return")
        time.sleep(0.3)
        self.assertIsNone(self.desktop.find_window(contains="見つかりません"), f"{text} was not found")
        self.desktop.key("Escape")
        editor.wait_closed(dialog)
        editor.back_in_editor()

    def test_find_meets_the_characters_in_their_second_forms(self):
        # あ 纊(ED 40) い ㈱(FA 58) う ∵(87 9A)
        path = self.file("find.txt", b"\x82\xa0\xed\x40\x82\xa2\xfa\x58\x82\xa4\x87\x9a\r\n")
        editor = self.start(path)
        for character in "纊㈱∵":
            self.desktop.key("ctrl+Home")
            self.find(editor, character)
            self.desktop.key("ctrl+c")
            self.assertEqual(self.desktop.clipboard_text(), character)

    def ink(self, name, data):
        """Dark pixels of the editor's window showing `data`."""
        path = self.file(name, data)
        editor = self.start(path)
        time.sleep(0.3)
        shot = self.desktop.screenshot(editor.window)
        if os.environ.get("KB_E2E_ARTIFACTS"):
            os.makedirs(os.environ["KB_E2E_ARTIFACTS"], exist_ok=True)
            shot.save_png(os.path.join(os.environ["KB_E2E_ARTIFACTS"], f"second_forms_{name}.png"))
        dark = sum(1 for y in range(shot.height) for x in range(shot.width) if sum(shot.pixel(x, y)[:3]) < 3 * 128)
        editor.quit()
        return dark

    def test_second_forms_are_drawn_as_their_characters_not_as_boxes(self):
        held = b"\xed\x40\x87\x90\xfa\x4a\xfa\x58" * 6  # 纊 ≒ Ⅰ ㈱ in their second forms
        standard = b"\xfa\x5c\x81\xe0\x87\x54\x87\x8a" * 6
        self.assertEqual(held.decode("cp932"), standard.decode("cp932"))
        held_ink, standard_ink = self.ink("held.txt", held), self.ink("standard.txt", standard)
        self.assertLess(abs(held_ink - standard_ink), standard_ink // 10 + 200,
                        f"{held_ink} dark pixels against {standard_ink}: boxes, not characters")


if __name__ == "__main__":
    main()
