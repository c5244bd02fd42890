"""The page set-up means what it shows: pages per sheet and landscape chosen
in the dialog come out on the printed job (a queue of a print scheduler of
the test's own saves it), two pages side by side on each landscape sheet."""

import re
import subprocess
import unittest

from desktop import wait_until
from e2e_case import ACCESSIBLE_EDITOR, EditorTestCase, main
from print_scheduler import PrintScheduler, unavailable


def pdf_pages(path):
    info = subprocess.run(["pdfinfo", path], capture_output=True, text=True).stdout
    return int(re.search(r"Pages:\s+(\d+)", info).group(1))


def pdf_lines(path):
    text = subprocess.run(["pdftotext", "-enc", "UTF-8", path, "-"], capture_output=True, text=True).stdout
    return [line for line in text.replace("\f", "\n").split("\n") if line]


def pdf_words(path):
    """(xMin, yMin, xMax, yMax, page width, page height) of every word."""
    html = subprocess.run(["pdftotext", "-bbox", path, "-"], capture_output=True, text=True).stdout
    words, width, height = [], 0.0, 0.0
    for match in re.finditer(r'<page width="([\d.]+)" height="([\d.]+)">|<word xMin="([\d.]+)" yMin="([\d.]+)" '
                             r'xMax="([\d.]+)" yMax="([\d.]+)"', html):
        if match.group(1):
            width, height = float(match.group(1)), float(match.group(2))
        else:
            words.append(tuple(float(match.group(i)) for i in range(3, 7)) + (width, height))
    return words


@unittest.skipIf(unavailable(), unavailable())
class PageSetUp(EditorTestCase):
    desktop_options = {"dbus": True}

    def setUp(self):
        super().setUp()
        self.scheduler = PrintScheduler()
        self.addCleanup(self.scheduler.close)

    def click_node(self, editor, role, name):
        for node in self.accessible_tree(editor):
            if node["role"] == role and node["name"] == name and "showing" in node["states"]:
                x, y, w, h = node["extents"]
                self.desktop.click(x + w // 2, y + h // 2)
                return
        self.fail(f"no {role} {name!r} on screen")

    def test_two_pages_a_sheet_in_landscape_print_side_by_side(self):
        lines = [f"行{n}は日本語の文です。" for n in range(1, 151)]  # three pages
        path = self.file("doc.txt", "".join(line + "\r\n" for line in lines).encode("cp932"))
        editor = self.start(path, env=dict(ACCESSIBLE_EDITOR, **self.scheduler.environment()))
        editor.menu("f", "r")
        setup = editor.dialog("ページ設定")
        self.click_node(editor, "radio button", "横 (ランドスケープ)")
        self.click_node(editor, "combo box", "1 (1x1)")
        self.desktop.key("Down", "Return")
        wait_until(lambda: any(n["role"] == "combo box" and n["name"] == "2 (2x1)" for n in self.accessible_tree(editor)),
                   what="two pages a sheet chosen")
        self.click_node(editor, "push button", "OK")
        editor.wait_closed(setup)
        editor.back_in_editor()
        self.desktop.key("ctrl+p")
        dialog = editor.dialog("印刷")
        self.desktop.key("Return")  # on the default queue, Main
        editor.wait_closed(dialog)
        self.assert_two_pages_a_sheet(self.scheduler.jobs("Main", 1), lines, landscape=True)

    def test_two_pages_a_sheet_chosen_in_the_print_dialogs_printer_properties(self):
        lines = [f"行{n}は日本語の文です。" for n in range(1, 151)]
        path = self.file("doc.txt", "".join(line + "\r\n" for line in lines).encode("cp932"))
        editor = self.start(path, env=dict(ACCESSIBLE_EDITOR, **self.scheduler.environment()))
        self.desktop.key("ctrl+p")
        dialog = editor.dialog("印刷")
        self.desktop.key("alt+r")  # プロパティ
        properties = self.desktop.wait_window(contains="プロパティ")
        self.desktop.wait_active(properties)
        self.click_node(editor, "combo box", "1 (1x1)")
        self.desktop.key("Down", "Return")
        self.click_node(editor, "push button", "OK")
        self.desktop.wait_window_gone(properties)
        self.desktop.wait_active(dialog)
        self.desktop.key("Return")
        editor.wait_closed(dialog)
        self.assert_two_pages_a_sheet(self.scheduler.jobs("Main", 1), lines, landscape=False)

    def assert_two_pages_a_sheet(self, jobs, lines, landscape):
        """Every line once, two pages on each sheet: side by side on a
        landscape sheet, one above the other (each on its side) on an
        upright one."""
        self.assertEqual(len(jobs), 1)
        self.assertEqual(sorted(pdf_lines(jobs[0])), sorted(lines), "every line once")
        words = pdf_words(jobs[0])
        self.assertTrue(all((width > height) == landscape for *_, width, height in words))
        if landscape:
            self.assertEqual(pdf_pages(jobs[0]), 2, "three pages on two sheets")
            self.assertTrue(any(x1 < width / 2 for _, _, x1, _, width, _ in words), "a page on the left")
            self.assertTrue(any(x0 > width / 2 for x0, _, _, _, width, _ in words), "a page on the right")
        else:
            self.assertTrue(any(y1 < height / 2 for _, _, _, y1, _, height in words), "a page above")
            self.assertTrue(any(y0 > height / 2 for _, y0, _, _, _, height in words), "a page below")

if __name__ == "__main__":
    main()
