"""The bar that offers to read a file again in its own code, as a user meets
it with no settings file (the load setting Shift-JIS): an EUC, a JIS and a
UTF-8 file each get it, a click on its button reads the file again, and a
typed character saves in the file's code with every other byte kept. ASCII
and Shift-JIS prose get no bar."""

import time

from desktop import wait_until
from e2e_case import ACCESSIBLE_EDITOR, EditorTestCase, main

PROSE = "吾輩は猫である。名前はまだ無い。\nどこで生れたかとんと見当がつかぬ。\n"
# The bar's colour, a pale yellow that reads as a note.
BAR = (0xFF, 0xF4, 0xC2)


def jis(text):
    """JIS with the escapes the editor writes (ESC $ @ and ESC ( J), so that
    a save gives the same bytes back."""
    return text.encode("iso2022_jp").replace(b"\x1b$B", b"\x1b$@").replace(b"\x1b(B", b"\x1b(J")


class ReopenBar(EditorTestCase):
    desktop_options = {"dbus": True}

    def start_plain(self, path):
        """The editor as first started: no settings file at all."""
        return self.start(path, env=ACCESSIBLE_EDITOR)

    def offer_button(self, editor):
        for node in self.accessible_tree(editor):
            if node["role"] == "push button" and node["name"].endswith("で開き直す") and "showing" in node["states"]:
                return node
        return None

    def bar_rows(self, editor):
        """Rows of the window painted in the bar's colour."""
        shot = self.desktop.screenshot(editor.window)
        return [y for y in range(shot.height) if sum(shot.pixel(x, y) == BAR for x in range(0, shot.width, 4)) > 20]

    def code_pane(self, editor):
        """The code pane's text, read by its name ("漢字コード EUC→EUC")."""
        return next((n["name"].removeprefix("漢字コード ") for n in self.accessible_tree(editor)
                     if n["role"] == "label" and n["name"].startswith("漢字コード ")), None)

    def reopen_type_and_save(self, name, data, code, pane, saved):
        """Opens the file, takes the offer (the status bar then shows `pane`),
        types あ at the start and saves: the file then holds `saved`."""
        path = self.file(name, data)
        editor = self.start_plain(path)
        button = wait_until(lambda: self.offer_button(editor), what="the offer's button")
        self.assertEqual(button["name"], f"{code} で開き直す")
        self.assertTrue(self.bar_rows(editor), "the bar shows above the text")
        self.assertEqual(self.code_pane(editor), "SJS→SJS", "read as the setting says")
        x, y, w, h = button["extents"]
        self.desktop.click(x + w // 2, y + h // 2)
        wait_until(lambda: not self.bar_rows(editor), what="the bar to close")
        wait_until(lambda: self.code_pane(editor) == pane, what=f"the code pane to show {pane}")
        self.desktop.key("ctrl+Home")
        self.desktop.type("あ")
        editor.wait_modified()
        editor.save()
        self.wait_bytes(path, saved)

    def test_an_euc_file_is_offered_as_euc_and_saves_back_in_euc(self):
        data = PROSE.encode("euc_jp")
        self.reopen_type_and_save("euc.txt", data, "EUC", "EUC→EUC", b"\xa4\xa2" + data)

    def test_a_jis_file_is_offered_as_jis_and_saves_back_in_jis(self):
        data = jis(PROSE)
        # The typed character joins the first run of kanji, after its escape.
        self.reopen_type_and_save("jis.txt", data, "JIS", "JIS→JIS", data[:3] + b"$\x22" + data[3:])

    def test_a_utf8_file_is_offered_as_utf8_and_saves_back_in_utf8(self):
        data = PROSE.encode("utf-8")
        self.reopen_type_and_save("utf8.txt", data, "UTF-8", "UTF→UTF", "あ".encode("utf-8") + data)

    def test_no_bar_for_ascii_or_shift_jis_prose(self):
        texts = [b"plain ASCII text\r\n", PROSE.encode("cp932"), "ｶﾀｶﾅ と ひらがな\r\n".encode("cp932"),
                 "ｱｲｳｴ ｶｷｸｹ\r\n".encode("cp932"), "price 100円 only".encode("cp932"),
                 "Meeting at 10:00。Bring notes.".encode("cp932")]
        for number, data in enumerate(texts):
            with self.subTest(text=data):
                editor = self.start_plain(self.file(f"plain{number}.txt", data))
                time.sleep(0.3)
                self.assertIsNone(self.offer_button(editor))
                self.assertEqual(self.bar_rows(editor), [])
                editor.quit()


if __name__ == "__main__":
    main()
