"""The editor as a screen reader reads it, through AT-SPI on the desktop's
accessibility bus: the document's text and the caret after a jump, what
typing tells, the notice bar as it appears, the status panes and a dialog's
controls."""

import os
import time

from desktop import wait_until
from e2e_case import ACCESSIBLE_EDITOR, EditorTestCase, main

SJIS = "cp932"


class ScreenReader(EditorTestCase):
    desktop_options = {"dbus": True}

    def open_lines(self, lines, raw=b""):
        """The lines in Shift-JIS with CR LF, `raw` bytes after the first line's text."""
        data = b"\r\n".join(line.encode(SJIS) + (raw if i == 0 else b"") for i, line in enumerate(lines)) + b"\r\n"
        return self.start(self.file("text.txt", data), env=ACCESSIBLE_EDITOR)

    def body(self, editor):
        """The editing area as the reader reads it at the caret."""
        for node in self.accessible_text(editor):
            if node["name"] == "本文":
                return node
        self.fail("no text object named 本文")

    def test_reads_the_first_line_and_the_caret_after_go_to_line(self):
        # A byte that is no character, drawn as a box naming it, is read so.
        editor = self.open_lines(["一行目の文", "二行目", "三行目です", "四"], raw=b"\x80")
        first = self.body(editor)
        self.assertEqual(first["first_line"], {"text": "一行目の文x80\r\n", "start": 0, "end": 10})
        self.assertEqual(first["caret"], 0)
        self.desktop.key("ctrl+g")
        dialog = editor.dialog("行指定ジャンプ")
        self.desktop.type("3")
        self.desktop.key("Return")
        editor.wait_closed(dialog)
        editor.back_in_editor()
        third = len("一行目の文x80\r\n二行目\r\n")
        wait_until(lambda: self.body(editor)["caret"] == third, what="the caret at line 3 for the reader")
        body = self.body(editor)
        self.assertEqual(body["caret_line"], {"text": "三行目です\r\n", "start": third, "end": third + 7})
        self.assertEqual(body["caret_character"]["text"], "三")
        self.assertEqual(body["characters"], third + 7 + 3)

    def listen_until_the_caret_is_heard(self, editor, *kinds):
        """A listener of `kinds` and of caret moves that has heard the caret
        move between the ends of the first line (the editor's bridge knows
        of it from then on); the caret ends at the line's end."""
        self.body(editor)  # the editor is on the accessibility bus
        for attempt in range(3):
            listener = self.listen_accessible_events(editor, "object:text-caret-moved", *kinds)
            for key in ["End", "Home"] * 3:
                self.desktop.key(key)
                if listener.wait_for(lambda e: e["type"] == "object:text-caret-moved", timeout=1):
                    if key == "Home":
                        self.desktop.key("End")
                    return listener
            listener.process.kill()
        self.fail("the caret's moves are not heard")

    def test_typing_is_told_with_the_caret_that_follows(self):
        editor = self.open_lines(["あいう"])
        listener = self.listen_until_the_caret_is_heard(editor, "object:text-changed:insert")
        self.desktop.type("漢字")
        editor.wait_modified()
        events = listener.heard()
        inserted = [e for e in events if e["type"] == "object:text-changed:insert"]
        self.assertEqual("".join(e["data"] for e in inserted), "漢字")
        self.assertEqual([e["detail1"] for e in inserted], [3, 4])
        self.assertEqual(events[-1]["type"], "object:text-caret-moved")
        self.assertEqual(events[-1]["detail1"], 5)
        self.assertTrue(all(e["name"] == "本文" for e in events))

    def test_the_notice_bar_is_heard_as_it_appears(self):
        utf8 = self.file("utf8.txt", "UTF-8 で書いた文書です。\n".encode())
        editor = self.open_lines(["Shift-JIS の文書"])
        listener = self.listen_until_the_caret_is_heard(editor, "object:state-changed:showing")
        self.desktop.drop_files(editor.window, [utf8])
        editor.wait_title(lambda title: "utf8.txt" in title)
        shown = [e for e in listener.heard() if e["role"] == "notification" and e["detail1"] == 1]
        self.assertTrue(shown, "no notification shown")
        self.assertEqual(shown[0]["name"], "このファイルは UTF-8 で書かれているようです。")

    def test_status_panes_and_a_dialogs_controls_say_what_they_are(self):
        editor = self.open_lines(["一", "二"])
        names = [node["name"] for node in self.accessible_tree(editor) if node["role"] == "label"]
        for expected in ("変更なし", "サイズ 8バイト", "行 1行", "漢字コード SJS→SJS", "入力モード 挿入"):
            self.assertIn(expected, names)
        self.assertTrue(any(name.startswith("日付 ") for name in names))
        self.assertTrue(any(name.startswith("時刻 ") for name in names))

        self.desktop.key("ctrl+g")
        dialog = editor.dialog("行指定ジャンプ")
        nodes = self.accessible_tree(editor)
        fields = [n for n in nodes if n["role"] == "text" and n["name"] == "行数（半角数字）"]
        self.assertEqual(len(fields), 1)
        self.assertIn("focused", fields[0]["states"])
        buttons = {n["name"]: n for n in nodes if n["role"] == "push button" and "showing" in n["states"]}
        self.assertIn("is default", buttons["OK"]["states"])
        self.assertIn("Enter", buttons["OK"]["description"])
        self.assertIn("Esc", buttons["キャンセル"]["description"])
        self.desktop.key("Escape")
        editor.wait_closed(dialog)


if __name__ == "__main__":
    main()
