"""Line-ending replacement as a user runs it: the real dialog takes the focus
from the text, is answered by keys, and the text changes once it closes."""

from e2e_case import EditorTestCase, main


class LineEndReplacement(EditorTestCase):
    def replace_line_ends(self, editor, presses):
        """Tools > 改行コード置換 by its access keys; the choice by arrow keys
        from CR+LF, which the dialog always starts on; 実行 by Enter."""
        editor.menu("t", "c")
        dialog = editor.dialog("改行コード一括置換")
        for key in presses:
            self.desktop.key(key)
        self.desktop.key("Return")
        editor.wait_closed(dialog)
        editor.back_in_editor()

    def test_lf_chosen_from_the_menu_replaces_every_ending_and_saves(self):
        path = self.file("mixed.txt", b"a\r\nb\rc\nd")
        editor = self.start(path)
        self.replace_line_ends(editor, ["Up"])
        editor.wait_modified()
        editor.save()
        self.wait_bytes(path, b"a\nb\nc\nd")

    def test_enter_then_follows_the_replaced_endings(self):
        path = self.file("crlf.txt", b"one\r\ntwo\r\n")
        editor = self.start(path)
        self.replace_line_ends(editor, ["Up"])
        self.desktop.key("ctrl+End")
        self.desktop.type("x\ny")
        editor.save()
        self.wait_bytes(path, b"one\ntwo\nx\ny")

    def test_cr_chosen_and_undone_in_one_step(self):
        path = self.file("lf.txt", b"1\n2\n3\n")
        editor = self.start(path)
        self.replace_line_ends(editor, ["Up", "Up"])
        editor.wait_modified()
        self.desktop.key("ctrl+z")
        editor.wait_modified(False)
        self.desktop.key("ctrl+End")
        self.desktop.type("4")
        editor.save()
        self.wait_bytes(path, b"1\n2\n3\n4")

    def test_cancel_changes_nothing(self):
        path = self.file("keep.txt", b"a\nb\n")
        editor = self.start(path)
        editor.menu("t", "c")
        dialog = editor.dialog("改行コード一括置換")
        self.desktop.key("Escape")
        editor.wait_closed(dialog)
        editor.back_in_editor()
        self.desktop.type("z")
        editor.save()
        self.wait_bytes(path, b"za\nb\n")


if __name__ == "__main__":
    main()
