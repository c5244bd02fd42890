"""The base of every end-to-end test: a fresh desktop per test, files in its
scratch folder, the editor started as a person starts it, and on failure a
screenshot kept in KB_E2E_ARTIFACTS (the build's e2e-failures/)."""

import json
import os
import subprocess
import sys
import threading
import unittest

from desktop import Desktop, wait_until
from editor import Editor

HERE = os.path.dirname(os.path.abspath(__file__))


class EditorTestCase(unittest.TestCase):
    # Desktop(...) keywords of the whole class: size, dbus.
    desktop_options = {}

    def setUp(self):
        self.desktop = Desktop(**self.desktop_options)
        self.addCleanup(self.desktop.close)
        self.folder = self.desktop.scratch.name

    def tearDown(self):
        """A failed test leaves its last screen behind (before the editor quits)."""
        artifacts = os.environ.get("KB_E2E_ARTIFACTS")
        if not artifacts or self._outcome.success:
            return
        os.makedirs(artifacts, exist_ok=True)
        try:
            self.desktop.screenshot(save=os.path.join(artifacts, self.id() + ".png"))
        except Exception as problem:  # the screen may be gone with the failure
            print(f"no screenshot: {problem}", file=sys.stderr)

    def file(self, name, data):
        """A file in the test's folder; `data` bytes (or str as UTF-8)."""
        path = os.path.join(self.folder, name) if isinstance(name, str) else os.path.join(self.folder.encode(), name)
        with open(path, "wb") as f:
            f.write(data if isinstance(data, bytes) else data.encode("utf-8"))
        return path

    def read(self, path):
        with open(path, "rb") as f:
            return f.read()

    def start(self, *args, **kwargs):
        editor = Editor(self.desktop, *args, **kwargs)
        self.addCleanup(editor.quit)
        return editor

    def wait_bytes(self, path, expected, timeout=10.0):
        """Until the file holds `expected`; fails showing what it holds."""
        try:
            wait_until(lambda: os.path.exists(path) and self.read(path) == expected, timeout,
                       what=f"{path} to hold the expected bytes")
        except TimeoutError:
            self.assertEqual(self.read(path) if os.path.exists(path) else None, expected)

    def accessible_tree(self, editor):
        """The editor's accessible objects, as a screen reader reads them
        (needs desktop_options = {"dbus": True} and accessibility on)."""
        out = subprocess.run([sys.executable, os.path.join(HERE, "atspi_dump.py"), str(editor.process.pid)],
                             env=self.desktop.env, capture_output=True, text=True, timeout=60)
        self.assertEqual(out.returncode, 0, out.stderr)
        return [json.loads(line) for line in out.stdout.splitlines()]

    def accessible_text(self, editor):
        """Each text object of the editor as a screen reader reads it at the
        caret: name, characters, caret, first_line, caret_line and
        caret_character (each of the last three text, start and end)."""
        out = subprocess.run([sys.executable, os.path.join(HERE, "atspi_dump.py"), str(editor.process.pid), "--text"],
                             env=self.desktop.env, capture_output=True, text=True, timeout=60)
        self.assertEqual(out.returncode, 0, out.stderr)
        return [json.loads(line) for line in out.stdout.splitlines()]

    def listen_accessible_events(self, editor, *kinds, seconds=8.0):
        """Listens from now on, as a screen reader does, to the editor's
        accessibility events of `kinds` (AT-SPI's names) for `seconds`.
        The editor's bridge hears of a new listener a moment later: see
        AccessibleEvents.wait_for."""
        listener = subprocess.Popen([sys.executable, os.path.join(HERE, "atspi_dump.py"), str(editor.process.pid),
                                     "--events", str(seconds), *kinds],
                                    env=self.desktop.env, stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)
        self.addCleanup(listener.kill)
        ready = listener.stdout.readline()
        if ready.strip() != "ready":
            self.fail(f"no event listener: {ready}{listener.stderr.read()}")
        return AccessibleEvents(listener, seconds)

    def click_tool_button(self, editor, name):
        """Clicks the tool-bar button named `name` where the screen shows it."""
        for node in self.accessible_tree(editor):
            if node["role"] == "push button" and node["name"].startswith(name) and "showing" in node["states"]:
                x, y, w, h = node["extents"]
                self.desktop.click(x + w // 2, y + h // 2)
                return
        self.fail(f"no tool-bar button {name!r}")


class AccessibleEvents:
    """The events a listener of listen_accessible_events hears, as they come."""

    def __init__(self, process, seconds):
        self.process, self.seconds, self.events = process, seconds, []
        self.reader = threading.Thread(target=self._read, daemon=True)
        self.reader.start()

    def _read(self):
        for line in self.process.stdout:
            if line.strip():
                self.events.append(json.loads(line))

    def wait_for(self, predicate, timeout=5.0):
        """Whether an event for which `predicate` holds comes within `timeout`."""
        try:
            wait_until(lambda: any(predicate(e) for e in list(self.events)), timeout)
            return True
        except TimeoutError:
            return False

    def heard(self):
        """Every event heard, once the listening time is over."""
        self.process.wait(timeout=self.seconds + 30)
        self.reader.join(timeout=10)
        return list(self.events)


ACCESSIBLE_EDITOR = {"QT_LINUX_ACCESSIBILITY_ALWAYS_ON": "1"}


def main(skip_code=None):
    """Runs the module's tests; with `skip_code`, a run in which every test
    was skipped exits with it (ctest shows the module as skipped)."""
    result = unittest.main(verbosity=2, exit=False).result
    if skip_code is not None and result.testsRun and len(result.skipped) == result.testsRun:
        print(f"SKIPPED: {result.skipped[0][1]}")
        sys.exit(skip_code)
    sys.exit(0 if result.wasSuccessful() else 1)
