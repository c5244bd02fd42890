"""Saving as a hostile world meets it: a save killed half-way, a file
replaced by a pipe, a file another program changed, a settings lock
another program holds, a misread file with a 0x00 in it."""

import glob
import os
import signal
import subprocess
import time

from desktop import wait_until
from e2e_case import EditorTestCase, main
from editor import FILE_CAPTION, Editor


class Saving(EditorTestCase):
    def test_a_save_killed_half_way_is_offered_back_at_the_next_start(self):
        old = b"old line\r\n" * 3_000_000  # 30 MB written in place: it has a second name
        path = self.file("big.txt", old)
        os.link(path, os.path.join(self.folder, "second-name.txt"))
        editor = self.start(path)
        self.desktop.type("new ")
        journal = os.path.join(editor.home, ".cache", "kb_zeva3")
        editor.save()
        # Killed once the copy of the old content is complete and the file
        # is being overwritten.
        wait_until(lambda: glob.glob(os.path.join(journal, "*.target")), 20, interval=0.005,
                   what="the save to start writing in place")
        editor.process.send_signal(signal.SIGKILL)
        editor.process.wait()
        again = Editor(self.desktop, path, env=editor.env, ini=editor.ini, home=editor.home, wait=False)
        self.addCleanup(again.quit)
        question = again.dialog(FILE_CAPTION, timeout=20)
        self.desktop.key("y")
        again.wait_closed(question)
        again.wait_main_window()
        self.assertEqual(self.read(path), old)
        self.assertEqual(glob.glob(os.path.join(journal, "*")), [], "the copy is gone")

    def test_saving_over_a_pipe_is_refused_at_once(self):
        path = self.file("doc.txt", b"text\r\n")
        editor = self.start(path)
        os.unlink(path)
        os.mkfifo(path)
        self.desktop.type("x")
        editor.save()
        box = editor.dialog(FILE_CAPTION, timeout=5)
        self.desktop.key("Return")
        editor.wait_closed(box)
        self.desktop.type("y")  # the window still answers
        editor.wait_modified()

    def test_a_file_another_program_changed_is_not_overwritten_unasked(self):
        path = self.file("doc.txt", b"mine\r\n")
        editor = self.start(path)
        time.sleep(0.05)
        with open(path, "wb") as f:
            f.write(b"theirs\r\n")
        self.desktop.type("x")
        editor.save()
        self.answer(editor, "n")
        self.assertEqual(self.read(path), b"theirs\r\n")
        editor.save()
        self.answer(editor, "y")
        self.wait_bytes(path, b"xmine\r\n")

    def answer(self, editor, key):
        box = editor.dialog(FILE_CAPTION, timeout=5)
        self.desktop.key(key)
        editor.wait_closed(box)
        editor.back_in_editor()

    def test_a_settings_lock_held_elsewhere_never_freezes_the_window(self):
        path = self.file("doc.txt", b"")
        editor = self.start(path)
        holder = self.desktop.start(["flock", editor.ini, "sleep", "60"])
        time.sleep(0.3)
        started = time.monotonic()
        self.desktop.key("ctrl+u")  # wrapping off: a settings write
        self.desktop.type("typed")
        editor.save()
        self.wait_bytes(path, b"typed", timeout=8)
        self.assertLess(time.monotonic() - started, 8)
        holder.kill()

    def test_every_difference_of_a_save_is_told_also_with_a_cut_text(self):
        original = b"price 100\x89\x7e only\x00tail"
        path = self.file("misread.txt", original)
        editor = self.start(path, settings={"KanaCode": {"Load": "4", "Save": "4"}}, wait=False)
        box = editor.dialog(FILE_CAPTION, timeout=20)  # the text was cut at 0x00
        self.desktop.key("Return")
        editor.wait_closed(box)
        editor.wait_main_window()
        editor.save()
        self.answer(editor, "y")  # overwrite although the rest after 0x00 is lost...
        box = editor.dialog(FILE_CAPTION, timeout=5)  # ...and told what else changes
        self.desktop.key("n")
        editor.wait_closed(box)
        self.assertEqual(self.read(path), original)


if __name__ == "__main__":
    main()
