"""The right-click menu of four pages as a user meets it: real right-clicks
in the text step through the pages. The pages of a test hold 1, 2, 3 and 4
items, so the page on screen is told by its height."""

import time

from desktop import wait_until
from e2e_case import EditorTestCase, main

# Page n holds n items (paste, select all, ...): told apart by height.
PAGES = {"MenuCommand": {"Popup1": "=", "Popup2": "=>", "Popup3": "=>?", "Popup4": "=>?@"}}


class CyclePopup(EditorTestCase):
    def start_editor(self, settings=PAGES):
        self.path = self.file("text.txt", b"line one\r\nline two\r\n")
        editor = self.start(self.path, settings=settings)
        x, y, w, h = self.desktop.geometry(editor.window)
        self.point = (x + w // 2, y + h // 2)
        return editor

    def open_popup(self):
        popups = self.desktop.popups()
        return popups[0] if popups else None

    def right_click(self, **kwargs):
        self.desktop.right_click(*self.point, **kwargs)

    def wait_popup(self, what):
        return wait_until(self.open_popup, 5, what=what)

    def item_height(self):
        """One page's height per item, from pages 1 and 2."""
        return self.heights[1] - self.heights[0]

    def page_heights(self):
        heights = []
        for page in range(4):
            self.right_click()
            wait_until(lambda: self.open_popup() and self.open_popup()[3] not in heights, 5,
                       what=f"page {page + 1}")
            heights.append(self.open_popup()[3])
        return heights

    def test_right_clicks_step_through_the_pages_then_close_and_restart(self):
        self.start_editor()
        heights = self.page_heights()
        steps = [b - a for a, b in zip(heights, heights[1:])]
        self.assertTrue(steps[0] > 0 and steps == [steps[0]] * 3, f"pages of 1 to 4 items: {heights}")
        self.right_click()  # closes page 4; its release shows nothing
        time.sleep(0.5)
        self.assertIsNone(self.open_popup())
        self.right_click()
        self.assertEqual(self.wait_popup("page 1 again")[3], heights[0])
        self.desktop.key("Escape")

    def test_a_fast_tap_reaches_the_next_page(self):
        self.start_editor()
        one = None
        for attempt in range(8):
            self.right_click()
            one = self.wait_popup("page 1")[3]
            self.right_click(hold=0)  # press and release back to back, as a touchpad tap
            wait_until(lambda: (p := self.open_popup()) and p[3] > one, 5, what=f"page 2 after a tap ({attempt})")
            self.desktop.key("Escape")
            wait_until(lambda: self.open_popup() is None, what="the page closed")

    def test_a_page_of_only_separators_is_drawn_and_gives_the_keys_back(self):
        self.start_editor({"MenuCommand": {"Popup1": ":::", "Popup2": ":<::<:"}})
        self.right_click()
        x, y, w, h = self.wait_popup("the page of separators")
        time.sleep(0.2)
        self.assertEqual(self.separator_lines((x, y, w, h)), 3)
        self.right_click()
        wait_until(lambda: (p := self.open_popup()) and p[3] > h, what="page 2")
        time.sleep(0.2)
        self.assertEqual(self.separator_lines(self.open_popup()), 4)
        self.desktop.key("Escape")
        wait_until(lambda: self.open_popup() is None, what="the page closed")
        self.desktop.type("typed")
        self.desktop.key("ctrl+s")
        self.wait_bytes(self.path, b"typedline one\r\nline two\r\n")

    def separator_lines(self, area):
        """Runs of rows, in the page's left margin, drawn in another colour
        than the page (items leave their margin blank)."""
        image = self.desktop.screenshot(area=area)
        column = [image.pixel(6, row) for row in range(2, image.height - 2)]
        background = max(set(column), key=column.count)
        runs, inside = 0, False
        for colour in column:
            differs = colour != background
            if differs and not inside:
                runs += 1
            inside = differs
        return runs

    def test_an_item_chosen_runs_its_command_and_the_cycle_restarts(self):
        editor = self.start_editor({"MenuCommand": {"Popup1": "C"}})  # ↓末尾に移動
        self.right_click()
        one = self.wait_popup("page 1")
        self.desktop.key("Down", "Return")
        wait_until(lambda: self.open_popup() is None, what="the page closed")
        self.desktop.type("end")
        editor.save()
        self.wait_bytes(self.path, b"line one\r\nline two\r\nend")
        self.right_click()
        self.assertEqual(self.wait_popup("page 1 after a choice"), one)
        self.desktop.key("Escape")


if __name__ == "__main__":
    main()
