"""Editing commands and keys as a user meets them in the real window:
caret jumps on wrapped Japanese rows, go-to-line, phrases and their
settings, paste from the menu, and keys no command is bound to."""

import time

from desktop import wait_until
from e2e_case import EditorTestCase, main

SJIS = "cp932"


class Editing(EditorTestCase):
    def open_text(self, text, name="text.txt", **kwargs):
        path = self.file(name, text.encode(SJIS))
        return path, self.start(path, **kwargs)

    def saved_text(self, editor, path):
        editor.save()
        editor.wait_modified(False)
        return self.read(path).decode(SJIS)

    def test_line_end_on_a_wrapped_japanese_row_stays_on_that_row(self):
        for character in "あ漢ｱ":
            with self.subTest(character=character):
                texts = []
                for presses in (1, 2):
                    path, editor = self.open_text(character * 150, name=f"row{presses}.txt")
                    self.desktop.key("ctrl+Home", *(["ctrl+Right"] * presses))
                    self.desktop.type("|")
                    texts.append(self.saved_text(editor, path))
                    editor.quit()
                self.assertEqual(texts[0], texts[1], "pressed again, the caret stays")
                at = texts[0].index("|")
                self.assertTrue(0 < at < 149, at)
                self.assertEqual(texts[0].replace("|", ""), character * 150)

    def test_go_to_line_from_the_menu_and_the_tool_bar_and_never_on_an_empty_text(self):
        self.desktop_options = {}
        path, editor = self.open_text("".join(f"line {n}\r\n" for n in range(1, 21)))
        editor.menu("e", "g")
        dialog = editor.dialog("行指定ジャンプ")
        self.desktop.type("12\n")
        editor.wait_closed(dialog)
        editor.back_in_editor()
        self.desktop.type(">")
        self.assertIn(">line 12\r\n", self.saved_text(editor, path))
        editor.quit()
        empty = self.file("empty.txt", b"")
        editor = self.start(empty)
        self.desktop.key("ctrl+g")  # disabled while the text is empty
        time.sleep(0.5)
        self.assertIsNone(self.desktop.find_window(title="行指定ジャンプ"))
        self.desktop.type("typed")
        editor.save()
        self.wait_bytes(empty, b"typed")

    def test_keys_no_command_is_bound_to_change_nothing(self):
        path, editor = self.open_text("one\r\ntwo\r\n")
        self.desktop.key("ctrl+l", "ctrl+shift+l", "ctrl+d", "ctrl+shift+t", "ctrl+shift+u", "alt+shift+Down")
        self.desktop.type("x")
        self.assertEqual(self.saved_text(editor, path), "xone\r\ntwo\r\n")

    def test_phrases_registered_in_their_dialog_are_inserted_by_their_keys(self):
        path, editor = self.open_text("")
        editor.menu("t", "k")
        dialog = editor.dialog("一言挿入の設定")
        self.desktop.key("Tab")  # from the marked phrase to its box
        self.desktop.key("ctrl+a")
        self.desktop.type("こんにちは")
        self.desktop.key("Return")
        editor.wait_closed(dialog)
        editor.back_in_editor()
        wait_until(lambda: editor.setting("LineWord", "Word1") == "こんにちは", what="the phrase stored")
        self.desktop.key("ctrl+1", "ctrl+3")
        self.assertEqual(self.saved_text(editor, path), "こんにちはWord3")

    def test_a_phrase_with_a_line_break_is_refused_with_a_reason(self):
        path, editor = self.open_text("a\r\nb")
        self.desktop.key("ctrl+a", "ctrl+c")
        editor.menu("t", "k")
        dialog = editor.dialog("一言挿入の設定")
        self.desktop.key("Tab", "ctrl+a", "ctrl+v", "Return")
        message = editor.dialog("Kaboma Edit 3")
        self.desktop.key("Return")
        editor.wait_closed(message)
        self.assertTrue(self.desktop.is_viewable(dialog), "the dialog stays open")
        self.assertIsNone(editor.setting("LineWord", "Word1"))
        self.desktop.key("Escape")
        editor.wait_closed(dialog)

    def test_paste_from_the_menu_after_copy(self):
        path, editor = self.open_text("コピー元\r\n")
        self.desktop.key("shift+End", "ctrl+c", "ctrl+End")
        editor.menu("e", "p")
        time.sleep(0.3)
        self.assertEqual(self.desktop.clipboard_text(), "コピー元")
        self.assertEqual(self.saved_text(editor, path), "コピー元\r\nコピー元")


if __name__ == "__main__":
    main()
