"""Print preview and printing as a user meets them: every page of the preview
drawn, in one- and two-page modes, also after a page holding marker boxes;
two pages side by side; a long document's preview at once; a long print
that shows its progress and stops at Escape."""

import os
import re
import subprocess
import time

from desktop import wait_until
from e2e_case import ACCESSIBLE_EDITOR, EditorTestCase, main

WHITE = (255, 255, 255)


def pdf_pages(path):
    info = subprocess.run(["pdfinfo", path], capture_output=True, text=True).stdout
    match = re.search(r"Pages:\s+(\d+)", info)
    return int(match.group(1)) if match else 0


def resident_megabytes(pid):
    """The memory a process holds, as a system monitor shows it."""
    with open(f"/proc/{pid}/status") as status:
        for line in status:
            if line.startswith("VmRSS:"):
                return int(line.split()[1]) / 1024
    raise RuntimeError("no VmRSS")


def numbered(first, last):
    return b"".join(f"行{n}は日本語の文です。\r\n".encode("cp932") for n in range(first, last + 1))


def papers(shot, top=45):
    """The white sheets a preview shows, left to right, as (x0, y0, x1, y1):
    found along a row of their top margins, which hold no text."""
    def white_runs(y):
        runs, start = [], None
        for x in range(shot.width + 1):
            white = x < shot.width and shot.pixel(x, y) == WHITE
            if white and start is None:
                start = x
            elif not white and start is not None:
                if x - start >= 60:
                    runs.append((start, x - 1))
                start = None
        return runs
    first = next((y for y in range(top, shot.height) if white_runs(y)), None)
    if first is None:
        return []
    sheets = []
    for x0, x1 in white_runs(first + 3):
        bottom = first
        while bottom + 1 < shot.height and shot.pixel(x0 + 2, bottom + 1) == WHITE:
            bottom += 1
        sheets.append((x0, first, x1, bottom))
    return sheets


def ink(shot, sheet):
    """Grey and dark pixels inside a sheet: its text, drawn small."""
    x0, y0, x1, y1 = sheet
    return sum(max(shot.pixel(x, y)) < 200 for x in range(x0 + 4, x1 - 4) for y in range(y0 + 4, y1 - 4, 2))


class PrintPreview(EditorTestCase):
    def open_preview(self, editor):
        editor.menu("f", "v")
        return editor.dialog("印刷プレビュー")

    def shown(self, window, count):
        """The sheets shown once `count` of them are on screen."""
        def drawn():
            sheets = papers(self.desktop.screenshot(window))
            return sheets if len(sheets) == count else None
        return wait_until(drawn, what=f"{count} sheet(s) in the preview")

    def test_every_page_after_marker_boxes_is_drawn_in_one_and_two_page_modes(self):
        # Page 1 holds a form feed, a byte that is no character and a pair
        # without one, each drawn as a box: the pages after it were white.
        path = self.file("boxes.txt", b"\x0c \x80 \x85\x40 " + numbered(1, 150))
        editor = self.start(path)
        window = self.open_preview(editor)
        for page in (1, 2, 3):
            sheets = self.shown(window, 1)
            self.assertGreater(ink(self.desktop.screenshot(window), sheets[0]), 200, f"page {page}")
            self.desktop.key("Next")
            time.sleep(0.3)
        self.desktop.key("Prior", "Prior", "Prior")
        self.desktop.key("alt+t")  # 2 ページ
        sheets = self.shown(window, 2)
        shot = self.desktop.screenshot(window)
        left, right = sheets
        self.assertEqual(left[1], right[1], "side by side, at one height")
        self.assertLess(left[2], right[0])
        self.assertGreater(ink(shot, left), 200, "page 1")
        self.assertGreater(ink(shot, right), 200, "page 2")
        self.desktop.key("Next")
        time.sleep(0.3)
        shot = self.desktop.screenshot(window)
        sheets = papers(shot)
        self.assertEqual(len(sheets), 1, "page 3 alone in the last spread")
        self.assertGreater(ink(shot, sheets[0]), 200, "page 3")
        self.assertLess(sheets[0][2], shot.width // 2, "on the left of its spread")
        self.desktop.key("Escape")
        editor.wait_closed(window)
        editor.back_in_editor()

    def test_a_long_documents_preview_shows_at_once_and_escape_closes_it(self):
        # 1,018 pages were all laid out before the preview showed: seconds
        # of a frozen window, and over 100 MB more memory.
        path = self.file("long.txt", numbered(1, 56 * 1018))
        editor = self.start(path)
        before = resident_megabytes(editor.process.pid)
        started = time.monotonic()
        window = self.open_preview(editor)
        self.shown(window, 1)
        self.assertLess(time.monotonic() - started, 5, "no long wait before the first page")
        self.assertLess(resident_megabytes(editor.process.pid) - before, 30, "only the pages shown are drawn")
        self.desktop.key("Escape")
        editor.wait_closed(window)
        editor.back_in_editor()
        self.desktop.type("x")
        editor.wait_modified()

    def test_a_long_print_shows_its_progress_and_escape_stops_it(self):
        # Long enough to be printing still when the window shows.
        path = self.file("long.txt", numbered(1, 56 * 4000))
        editor = self.start(path)
        pdf = os.path.join(editor.home, "print.pdf")
        self.desktop.key("ctrl+p")
        dialog = editor.dialog("印刷")
        self.desktop.key("Return")  # to the PDF file the dialog names
        editor.wait_closed(dialog)
        progress = self.desktop.wait_window(title="Kb_zeva3", timeout=10)
        self.desktop.wait_active(progress)
        self.desktop.screenshot(progress, save=os.path.join(self.folder, "progress.png"))
        self.desktop.key("Escape")
        editor.wait_closed(progress)
        editor.back_in_editor()
        time.sleep(0.5)
        self.assertFalse(os.path.exists(pdf), "a stopped print leaves no file")
        self.desktop.type("x")
        editor.wait_modified()


class PrintStartsAfresh(EditorTestCase):
    """After pages 2-3 were printed twice, the preview showed only those two
    pages and the next print started with them and two copies."""
    desktop_options = {"dbus": True}

    def node(self, editor, role, name, index=0):
        found = [n for n in self.accessible_tree(editor)
                 if n["role"] == role and n["name"] == name and "showing" in n["states"]]
        self.assertGreater(len(found), index, f"no {role} {name!r} on screen")
        return found[index]

    def click(self, node):
        x, y, w, h = node["extents"]
        self.desktop.click(x + w // 2, y + h // 2)

    def enter(self, node, value):
        self.click(node)
        self.desktop.key("ctrl+a")
        self.desktop.type(value)

    def test_each_print_and_preview_starts_from_the_whole_document_and_one_copy(self):
        path = self.file("doc.txt", numbered(1, 300))
        editor = self.start(path, env=ACCESSIBLE_EDITOR)
        pdf = os.path.join(editor.home, "print.pdf")
        self.desktop.key("ctrl+p")
        dialog = editor.dialog("印刷")
        self.desktop.key("alt+o")  # オプション
        self.click(wait_until(lambda: self.node(editor, "radio button", "先頭のページ"), what="the page range"))
        self.enter(self.node(editor, "spin button", "印刷範囲", 0), "2")
        self.enter(self.node(editor, "spin button", "印刷範囲", 1), "3")
        self.enter(self.node(editor, "spin button", "印刷部数:"), "2")
        self.desktop.key("Return")
        editor.wait_closed(dialog)
        editor.back_in_editor()
        wait_until(lambda: os.path.exists(pdf) and pdf_pages(pdf) == 2, what="pages 2-3 printed")

        editor.menu("f", "v")
        preview = editor.dialog("印刷プレビュー")
        label = wait_until(lambda: next((n["name"] for n in self.accessible_tree(editor)
                                         if n["role"] == "label" and n["name"].endswith(" ページ")
                                         and "?" not in n["name"]), None), what="the page count")
        self.assertEqual(label, "1 / 6 ページ", "the whole document")
        self.desktop.key("Escape")
        editor.wait_closed(preview)
        editor.back_in_editor()

        self.desktop.key("ctrl+p")
        dialog = editor.dialog("印刷")
        self.desktop.key("alt+o")
        every = wait_until(lambda: self.node(editor, "radio button", "すべて印刷"), what="the print range")
        self.assertIn("checked", every["states"])
        self.assertEqual(self.node(editor, "spin button", "印刷部数:")["text"], "1")
        self.desktop.key("Escape")
        editor.wait_closed(dialog)


if __name__ == "__main__":
    main()
