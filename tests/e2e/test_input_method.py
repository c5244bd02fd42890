"""Japanese input through a real input method (ibus with Mozc, kana input
on), typed as romaji keys: a composition ends in exactly one commit whatever
ends it (Enter, a click in the text, a tool-bar button, one that opens a
dialog, the menu, a right-click, another window taking the keyboard),
Escape still cancels, and the line pane counts no row that only the
composition takes.

Mozc refuses to run as root: ctest runs this module through
scripts/run-e2e-unprivileged. Where the input method cannot start the tests
are skipped with the reason, or fail with KB_E2E_REQUIRE_IME=1."""

import os
import re
import sys
import time

from Xlib import X

import input_method
from desktop import wait_until
from e2e_case import ACCESSIBLE_EDITOR, HERE, EditorTestCase, main

KANJI = "感じ".encode("cp932")  # k a n j i, then space: Mozc's first candidate
A = "あ".encode("cp932")


class InputMethodTestCase(EditorTestCase):
    desktop_options = {"dbus": True}

    def setUp(self):
        reason = input_method.unavailable()
        if reason:
            self.skip_or_fail(reason)
        super().setUp()
        try:
            self.ime = input_method.InputMethod(self.desktop)
        except (OSError, RuntimeError, TimeoutError) as problem:
            self.skip_or_fail(f"the input method did not start: {problem}")

    def skip_or_fail(self, reason):
        if input_method.required():
            self.fail(f"{reason} (KB_E2E_REQUIRE_IME=1)")
        self.skipTest(reason)

    def start_typing_at_end(self, text=b"hello\n", **kwargs):
        """The editor on a file holding `text`, taking input through ibus,
        the caret at the end."""
        path = self.file("text.txt", text)
        env = dict(self.ime.env, **kwargs.pop("env", {}))
        editor = self.start(path, env=env, **kwargs)
        self.desktop.key("ctrl+End")
        return editor, path

    # -- what the screen shows ---------------------------------------------

    def shaded(self, editor):
        """The converted segment of a composition is shaded in the
        highlight colour: is any shading in the text area?"""
        image = self.desktop.screenshot(editor.window)
        top, bottom = 50, image.height - 30  # below the tool bar, above the status bar
        for y in range(top, bottom, 3):
            for x in range(0, image.width, 3):
                r, g, b = image.pixel(x, y)
                if b > r + 40 and g > r + 20 and r > 100:
                    return True
        return False

    def row_shows_text(self, editor, row):
        """Any glyph on display row `row` (from 0) of the text?"""
        image = self.desktop.screenshot(editor.window)
        _, y = self.text_point(row, 0)
        for dy in range(-6, 7, 2):
            for x in range(0, image.width - 20, 2):
                if max(image.pixel(x, y + dy)) < 100:
                    return True
        return False

    def compose(self, editor, romaji="kanji"):
        """Types the reading as romaji and converts it (space); returns once
        the conversion is shown."""
        for key in romaji:
            self.desktop.key(key, delay=0.08)
        self.desktop.key("space")
        wait_until(lambda: self.shaded(editor), 10, interval=0.05, what="the conversion to show")

    def commit_a(self):
        """Types あ and commits it with Enter: typing goes on as before."""
        self.desktop.key("a", delay=0.08)
        self.desktop.key("Return")

    def popup_shown(self):
        """A popup menu is on screen (an override-redirect window)."""
        for window in self.desktop.root.query_tree().children:
            try:
                attributes = window.get_attributes()
            except Exception:
                continue
            if attributes.override_redirect and attributes.map_state == X.IsViewable:
                geometry = window.get_geometry()
                if geometry.width > 20 and geometry.height > 20:
                    return True
        return False

    @staticmethod
    def text_point(line, column):
        """The point in the window before `column` of `line` (both from 0),
        half-way down the line: the text starts below the menu and tool bars,
        in cells of the default font (8 by 18 pixels)."""
        return 2 + column * 8, 60 + line * 18

    def line_pane(self, editor):
        """The status bar's caret-line pane, as a screen reader reads it."""
        for node in self.accessible_tree(editor):
            found = node["role"] == "label" and re.fullmatch(r"行 (\d+行)", node["name"])
            if found:
                return found.group(1)
        self.fail("no line pane")

    def start_entry_window(self, input_method="ibus"):
        """A GTK window with a text entry that takes its input through
        `input_method`, beside the editor; it has the keyboard when this
        returns."""
        env = dict(self.desktop.env, **self.ime.env)
        env["GTK_IM_MODULE"] = input_method
        self.desktop.start([sys.executable, os.path.join(HERE, "entry_window.py")], env=env)
        window = self.desktop.wait_window(title="entry: ")
        self.desktop.wait_active(window)
        time.sleep(0.2)
        return window

    # -- the cases ----------------------------------------------------------

    def test_enter_commits_the_conversion_once(self):
        editor, path = self.start_typing_at_end()
        self.compose(editor)
        self.desktop.key("Return")
        editor.wait_modified()
        editor.save()
        self.wait_bytes(path, b"hello\n" + KANJI)
        editor.wait_modified(False)

    def test_a_click_in_the_text_commits_once_then_the_caret_moves(self):
        editor, path = self.start_typing_at_end()
        self.compose(editor)
        self.desktop.click_in(editor.window, *self.text_point(0, 2))  # between "he" and "llo"
        editor.save()  # after the input method's copy of the commit, if any
        self.wait_bytes(path, b"hello\n" + KANJI)
        self.commit_a()  # at the click, the input method starting afresh
        editor.save()
        self.wait_bytes(path, b"he" + A + b"llo\n" + KANJI)

    def test_a_tool_bar_button_commits_once_before_it_acts(self):
        editor, path = self.start_typing_at_end(env=ACCESSIBLE_EDITOR)
        self.compose(editor)
        self.click_tool_button(editor, "上書き保存")
        self.wait_bytes(path, b"hello\n" + KANJI)
        editor.wait_modified(False)
        # The input method's own copy of the commit would come after the
        # save, before anything typed next.
        self.commit_a()
        editor.save()
        self.wait_bytes(path, b"hello\n" + KANJI + A)
        editor.wait_modified(False)

    def test_a_tool_bar_button_opening_a_dialog_commits_once(self):
        editor, path = self.start_typing_at_end(env=ACCESSIBLE_EDITOR)
        self.compose(editor)
        self.click_tool_button(editor, "行指定移動")
        dialog = editor.dialog("行指定ジャンプ")
        self.desktop.key("Escape")
        editor.wait_closed(dialog)
        editor.back_in_editor()
        editor.save()
        self.wait_bytes(path, b"hello\n" + KANJI)

    def test_the_menu_commits_once_before_its_command(self):
        editor, path = self.start_typing_at_end()
        self.compose(editor)
        self.desktop.click_in(editor.window, 40, 9)  # ファイル(F) on the menu bar
        wait_until(self.popup_shown, 5, what="the File menu")
        self.desktop.key("s")  # 上書き保存(S)
        self.wait_bytes(path, b"hello\n" + KANJI)
        editor.wait_modified(False)
        self.commit_a()  # the input method starting afresh
        editor.save()
        self.wait_bytes(path, b"hello\n" + KANJI + A)

    def test_a_right_click_commits_once_and_opens_the_cycle_popup(self):
        editor, path = self.start_typing_at_end()
        self.compose(editor)
        self.desktop.click_in(editor.window, *self.text_point(1, 10), button=3)
        wait_until(self.popup_shown, 5, what="the cycle popup")
        self.desktop.key("Escape")
        wait_until(lambda: not self.popup_shown(), 5, what="the cycle popup to close")
        editor.wait_modified()
        self.commit_a()
        editor.save()
        self.wait_bytes(path, b"hello\n" + KANJI + A)

    def test_another_application_taking_the_keyboard_commits_what_was_shown(self):
        editor, path = self.start_typing_at_end()
        other = self.start_entry_window()
        self.desktop.click_in(editor.window, *self.text_point(1, 0))
        self.desktop.wait_active(editor.window)
        self.compose(editor)
        self.desktop.click_in(other, 40, 20)
        self.desktop.wait_active(other)
        editor.wait_modified()  # committed while the other window has the keyboard
        self.commit_a()  # the other application takes its own input
        wait_until(lambda: self.desktop.title(other) == "entry: あ", 5, what="the entry to take あ")
        self.desktop.click_in(editor.window, *self.text_point(1, 10))
        self.desktop.wait_active(editor.window)
        editor.save()
        self.wait_bytes(path, b"hello\n" + KANJI)
        self.assertEqual(self.desktop.title(other), "entry: あ")

    def test_a_window_without_an_input_method_taking_the_keyboard_commits_what_was_shown(self):
        editor, path = self.start_typing_at_end()
        other = self.start_entry_window(input_method="gtk-im-context-simple")
        self.desktop.click_in(editor.window, *self.text_point(1, 0))
        self.desktop.wait_active(editor.window)
        self.compose(editor)
        self.desktop.click_in(other, 40, 20)
        self.desktop.wait_active(other)
        editor.wait_modified()  # committed while the other window has the keyboard
        self.desktop.click_in(editor.window, *self.text_point(1, 10))
        self.desktop.wait_active(editor.window)
        self.commit_a()  # the input method starting afresh
        editor.save()
        self.wait_bytes(path, b"hello\n" + KANJI + A)

    def test_escape_cancels_the_composition(self):
        editor, path = self.start_typing_at_end()
        self.compose(editor)
        self.desktop.key("Escape", delay=0.08)  # back to the reading
        self.desktop.key("Escape")  # the reading thrown away
        wait_until(lambda: not self.shaded(editor), 5, what="the conversion to go")
        self.commit_a()
        editor.wait_modified()
        editor.save()
        self.wait_bytes(path, b"hello\n" + A)

    def test_the_line_pane_counts_no_row_that_only_the_composition_takes(self):
        # A line that wraps onto a second row in the window's 640 pixels, the
        # caret a few cells before that row's end: the reading typed wraps
        # onto a third.
        text = b"x" * (2 * (640 // 8) - 6)
        editor, path = self.start_typing_at_end(text, env=ACCESSIBLE_EDITOR)
        self.assertEqual(self.line_pane(editor), "2行")
        for key in "kanjikanji":
            self.desktop.key(key, delay=0.08)
        wait_until(lambda: self.row_shows_text(editor, 2), 10, what="the reading to wrap onto the third row")
        self.assertEqual(self.line_pane(editor), "2行")
        self.desktop.key("space", "Return", delay=0.1)
        wait_until(lambda: self.line_pane(editor) == "3行", 10, what="the commit's own row in the line pane")
        editor.save()
        self.wait_bytes(path, text + KANJI * 2)


if __name__ == "__main__":
    main(skip_code=77)
