"""Files whose names are Shift-JIS or EUC bytes, as old archives and Windows
disks hold them: opened from the command line, the open dialog, a drop, the
recent-file list after a restart and handed on by the mini launcher, shown
decoded in the title and the menu, and saved back under the very same name."""

import os
import stat
import time

from desktop import wait_until
from e2e_case import ACCESSIBLE_EDITOR, EditorTestCase, main
from editor import APP_TITLE

# A character of every Shift-JIS lead and trail class: leads 81-9F, E0-EF,
# the NEC-selected IBM rows ED-EE and the IBM rows FA-FC; trails 40-7E (with
# 5C "\" and 7C "|"), 80-9E and 9F-FC; half-width katakana; an NEC symbol.
EVERY_CLASS = (b"\x95\x5c\x83\x7c\x83\x80\x93\xfa\xe0\x40\xe0\x80\xe0\x9f\xea\xa4\xed\x40\xee\xfc\xfa\x5c"
               b"\xfb\x80\xfc\x4b\xb1\xdf\x87\x40.txt")
EVERY_CLASS_SHOWN = "表ポム日漾烙燹熙纊＂纊\ufa1a黑ｱﾟ①.txt"
EUC_NAME, EUC_SHOWN = "日本語.txt".encode("euc-jp"), "日本語.txt"
TEXT = "あいう\r\n".encode("cp932")


def shown_title(name):
    return f"{name} - {APP_TITLE}"


class ByteNames(EditorTestCase):
    desktop_options = {"dbus": True}

    def setUp(self):
        super().setUp()
        self.docs = os.path.join(self.folder, "docs").encode()
        os.makedirs(self.docs)

    def named(self, name, data=TEXT):
        path = os.path.join(self.docs, name)
        with open(path, "wb") as f:
            f.write(data)
        return path

    def assert_only_file(self, name):
        self.assertEqual(os.listdir(self.docs), [name], "saved under the name read, no other")

    def recent_entries(self, editor):
        """The recent-file entries of the File menu as a screen reader reads
        them, the menu open."""
        self.desktop.key("alt+f")
        time.sleep(0.4)
        names = [node["name"] for node in self.accessible_tree(editor) if node["role"] == "menu item"]
        self.desktop.key("Escape", "Escape")  # the menu, then the menu bar
        return [name for name in names if name[:1] in "1234" and name[1:2] == " "]

    def test_a_name_of_every_shift_jis_class_opens_saves_and_is_recent_after_a_restart(self):
        path = self.named(EVERY_CLASS)
        editor = self.start(path, env=ACCESSIBLE_EDITOR)
        self.assertEqual(editor.title, shown_title(EVERY_CLASS_SHOWN))
        self.desktop.type("x")
        editor.wait_modified()
        editor.save()
        self.wait_bytes(path, b"x" + TEXT)
        self.assert_only_file(EVERY_CLASS)
        editor.quit()

        again = self.start(env=ACCESSIBLE_EDITOR)
        entries = self.recent_entries(again)
        self.assertEqual(len(entries), 1, entries)
        self.assertTrue(entries[0].endswith(EVERY_CLASS_SHOWN), entries)
        again.menu("f", "1")  # the first recent file
        again.wait_title(lambda title: title == shown_title(EVERY_CLASS_SHOWN))
        again.back_in_editor()
        self.desktop.key("ctrl+End")
        self.desktop.type("y")
        again.wait_modified()
        again.save()
        self.wait_bytes(path, b"x" + TEXT + b"y")
        self.assert_only_file(EVERY_CLASS)

    def test_an_euc_name_dropped_on_the_window_opens_and_shows_decoded(self):
        path = self.named(EUC_NAME)
        editor = self.start()
        self.desktop.drop_files(editor.window, [path])
        editor.wait_title(lambda title: title == shown_title(EUC_SHOWN))
        self.desktop.type("z")
        editor.save()
        self.wait_bytes(path, b"z" + TEXT)
        self.assert_only_file(EUC_NAME)

    def open_dialog(self, editor):
        self.desktop.key("ctrl+o")
        wait_until(lambda: self.desktop.active_window() is not None
                   and self.desktop.active_window().id != editor.window.id, what="the open dialog")
        time.sleep(0.3)

    def test_the_open_dialog_opens_a_name_typed_as_it_is_shown(self):
        path = self.named(EVERY_CLASS)
        editor = self.start()
        self.open_dialog(editor)
        self.desktop.type(os.path.join(self.docs.decode(), EVERY_CLASS_SHOWN))
        self.desktop.key("Return")
        editor.wait_title(lambda title: title == shown_title(EVERY_CLASS_SHOWN))
        editor.back_in_editor()
        self.desktop.type("w")
        editor.save()
        self.wait_bytes(path, b"w" + TEXT)

    def test_the_open_dialog_lists_such_names_decoded_and_opens_one_chosen_there(self):
        self.named(EVERY_CLASS)
        path = self.named(EUC_NAME)
        self.named("メモ.txt".encode())
        editor = self.start(env=ACCESSIBLE_EDITOR)
        self.open_dialog(editor)
        self.desktop.type(self.docs.decode())
        self.desktop.key("Return")  # into the folder
        time.sleep(0.5)
        shown = {node["name"]: node for node in self.accessible_tree(editor)
                 if node["role"] == "table cell" and "showing" in node["states"]}
        for name in ("メモ.txt", EUC_SHOWN, EVERY_CLASS_SHOWN):
            self.assertIn(name, shown)
        x, y, w, h = shown[EUC_SHOWN]["extents"]
        self.desktop.click(x + w // 2, y + h // 2)  # closes the name box's completions, if shown
        time.sleep(0.5)
        self.desktop.click(x + w // 2, y + h // 2)
        self.desktop.click(x + w // 2, y + h // 2, pause=0.0)  # a double click opens it
        editor.wait_title(lambda title: title == shown_title(EUC_SHOWN))
        editor.back_in_editor()
        self.desktop.type("v")
        editor.save()
        self.wait_bytes(path, b"v" + TEXT)

    def test_the_mini_launcher_hands_the_name_on_as_its_bytes(self):
        record = os.path.join(self.folder, "args").encode()
        script = os.path.join(self.folder, "record.sh")
        with open(script, "wb") as f:
            f.write(b"#!/bin/sh\nprintf '%s' \"$1\" > '" + record + b".part'\nmv '" + record + b".part' '" + record
                    + b"'\n")
        os.chmod(script, stat.S_IRWXU)
        path = self.named(EVERY_CLASS)
        self.start(path, settings={"Lunch": {"Mode": "1", "Path": script}})
        self.desktop.key("F3")
        self.wait_bytes(record, path)

    def test_save_as_offers_the_name_decoded_and_keeps_its_bytes(self):
        path = self.named(EVERY_CLASS)
        editor = self.start(path)
        self.desktop.type("s")
        editor.menu("f", "a")
        wait_until(lambda: self.desktop.active_window() is not None
                   and self.desktop.active_window().id != editor.window.id, what="the save dialog")
        time.sleep(0.3)
        self.desktop.key("Return")  # the name offered
        self.wait_bytes(path, b"s" + TEXT)
        self.assert_only_file(EVERY_CLASS)

    def test_a_name_neither_code_reads_shows_its_bytes(self):
        path = self.named(b"a\x80b\xff.txt")
        editor = self.start(path)
        self.assertEqual(editor.title, shown_title("a\\x80b\\xFF.txt"))


if __name__ == "__main__":
    main()
