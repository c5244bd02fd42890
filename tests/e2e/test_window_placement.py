"""Where the window is, as the window manager shows it: its placement over
restarts, maximise and restore, and quick tile (recall and registration)."""

import time

from Xlib import X
from Xlib.ext import xtest

from desktop import wait_until
from e2e_case import EditorTestCase, main

TILE = (192, 144, 640, 480)  # 640 x 480 centred on 1024 x 768


class WindowPlacement(EditorTestCase):
    def outer(self, editor):
        return self.desktop.outer_geometry(editor.window)

    def wait_outer(self, editor, expected, timeout=5.0):
        try:
            wait_until(lambda: self.outer(editor) == expected, timeout, what=f"the window at {expected}")
        except TimeoutError:
            self.assertEqual(self.outer(editor), expected)

    def maximise(self, editor):
        self.desktop.key("ctrl+w")
        wait_until(lambda: "_NET_WM_STATE_MAXIMIZED_VERT" in self.desktop.wm_state(editor.window),
                   what="the window maximised")
        time.sleep(0.3)

    def move_by_alt_drag(self, editor, dx, dy):
        """Moves the window as a user does with the window manager: Alt and drag."""
        x, y, w, h = self.desktop.geometry(editor.window)
        start = (x + w // 2, y + h // 2)
        display = self.desktop.display
        code = display.keysym_to_keycode(0xFFE9)  # Alt_L
        self.desktop.move(*start)
        xtest.fake_input(display, X.KeyPress, code)
        xtest.fake_input(display, X.ButtonPress, 1)
        display.sync()
        for step in range(1, 11):
            self.desktop.move(start[0] + dx * step // 10, start[1] + dy * step // 10)
            time.sleep(0.02)
        xtest.fake_input(display, X.ButtonRelease, 1)
        xtest.fake_input(display, X.KeyRelease, code)
        display.sync()
        time.sleep(0.5)

    def test_placement_is_kept_over_restarts_and_never_the_maximised_one(self):
        editor = self.start()
        self.wait_outer(editor, (192, 144) + self.outer(editor)[2:])
        self.move_by_alt_drag(editor, -100, -50)
        moved = self.outer(editor)
        self.assertEqual(moved[:2], (92, 94))
        self.maximise(editor)
        self.desktop.key("ctrl+w")  # and back
        wait_until(lambda: not self.desktop.wm_state(editor.window) & {"_NET_WM_STATE_MAXIMIZED_VERT"})
        self.wait_outer(editor, moved)
        self.maximise(editor)
        editor.quit()
        again = self.start()
        self.assertFalse(self.desktop.wm_state(again.window) & {"_NET_WM_STATE_MAXIMIZED_VERT"})
        self.wait_outer(again, moved)

    def test_quick_tile_with_nothing_registered_centres_640_by_480(self):
        editor = self.start(settings={"Size": {"SizeX": "500", "SizeY": "300"}, "Position": {"PosX": "10", "PosY": "10"}})
        self.desktop.key("ctrl+t")
        self.wait_outer(editor, TILE)
        time.sleep(0.5)
        self.assertEqual(editor.setting("Position", "PosX"), "192")

    def test_quick_tile_from_a_maximised_window_lands_exactly_on_the_tile(self):
        editor = self.start()
        for _ in range(3):
            self.maximise(editor)
            self.desktop.key("ctrl+t")
            wait_until(lambda: not self.desktop.wm_state(editor.window) & {"_NET_WM_STATE_MAXIMIZED_VERT"})
            self.wait_outer(editor, TILE)

    def test_registered_tile_is_recalled_after_a_restart(self):
        editor = self.start()
        self.move_by_alt_drag(editor, 50, 30)
        registered = self.outer(editor)
        editor.menu_nth("t", 3)  # クイックタイルの登録 has no access key
        editor.dialog("Kaboma Edit 3")
        self.desktop.key("y")
        editor.back_in_editor()
        wait_until(lambda: editor.setting("Size", "TileSizeX") is not None, what="the tile stored")
        settings = editor.settings()
        self.assertEqual((int(settings["Position"]["TilePosX"]), int(settings["Position"]["TilePosY"]),
                          int(settings["Size"]["TileSizeX"]), int(settings["Size"]["TileSizeY"])), registered)
        editor.quit()
        again = self.start(settings=None)
        self.move_by_alt_drag(again, -150, -100)
        self.desktop.key("ctrl+t")
        self.wait_outer(again, registered)

    def drag(self, start, end):
        display = self.desktop.display
        self.desktop.move(*start)
        time.sleep(0.05)
        xtest.fake_input(display, X.ButtonPress, 1)
        display.sync()
        for step in range(1, 21):
            self.desktop.move(start[0] + (end[0] - start[0]) * step // 20, start[1] + (end[1] - start[1]) * step // 20)
            time.sleep(0.03)
        xtest.fake_input(display, X.ButtonRelease, 1)
        display.sync()
        time.sleep(0.5)

    def test_the_tool_bar_floats_with_its_caption_and_docks_again(self):
        editor = self.start()
        x, y, w, h = self.desktop.geometry(editor.window)
        self.drag((x + 5, y + 32), (x + 300, y + 260))  # by its handle
        bar = wait_until(lambda: self.desktop.find_window(title="Kaboma Edit 3"), what="the floating tool bar")
        wait_until(lambda: self.desktop.frame_extents(bar)[2] > 0, what="its caption")
        bx, by, bw, bh = self.desktop.geometry(bar)
        self.drag((bx + 4, by + bh // 2), (x + 20, y + 25))
        wait_until(lambda: self.desktop.find_window(title="Kaboma Edit 3") is None, what="the bar docked")

    def test_a_tile_with_no_room_never_hides_the_window(self):
        for height in ("", "0", "-40", "10"):
            with self.subTest(TileSizeY=height):
                editor = self.start(settings={"Size": {"TileSizeY": height}})
                self.desktop.key("ctrl+t")
                time.sleep(0.8)
                self.assertTrue(self.desktop.is_viewable(editor.window), "the window is still shown")
                x, y, w, h = self.outer(editor)
                self.assertGreaterEqual(h, 100)
                editor.quit()
                again = self.start(settings=None)
                self.assertTrue(self.desktop.is_viewable(again.window))
                self.assertGreaterEqual(self.outer(again)[3], 100)
                again.quit()


if __name__ == "__main__":
    main()
