"""The real kb_zeva3 on a test's desktop, with a settings file and a home of
its own, and what a person does with it: the menus by keyboard, the tool
bar by clicks, dialogs answered by keys."""

import configparser
import os
import subprocess
import time

from desktop import wait_until

APP_TITLE = "Kaboma Edit 3"
# The caption of the questions about files (save, open).
FILE_CAPTION = "Kb_zeva3"


def read_settings(path):
    """The settings file as {section: {key: value}} (Shift-JIS text)."""
    parser = configparser.RawConfigParser(strict=False, interpolation=None)
    parser.optionxform = str
    if os.path.exists(path):
        with open(path, "rb") as f:
            parser.read_string(f.read().decode("cp932", "replace"))
    return {s: dict(parser.items(s)) for s in parser.sections()}


def write_settings(path, sections):
    lines = []
    for section, keys in sections.items():
        lines.append(f"[{section}]")
        lines += [f"{k}={v}" for k, v in keys.items()]
    with open(path, "wb") as f:
        f.write(("\r\n".join(lines) + "\r\n").encode("cp932"))


class Editor:
    """One editor process. `settings`: sections to write before it starts."""

    def __init__(self, desktop, *args, settings=None, env=None, home=None, ini=None, cwd=None, wait=True):
        self.desktop = desktop
        self.executable = os.path.abspath(os.environ["KB_ZEVA3"])
        base = desktop.scratch.name
        self.home = home or os.path.join(base, "home")
        os.makedirs(self.home, exist_ok=True)
        self.ini = ini or os.path.join(base, "Kb_zeva3.ini")
        if settings is not None:
            write_settings(self.ini, settings)
        self.env = dict(desktop.env, HOME=self.home, KB_ZEVA3_INI=self.ini,
                        XDG_CONFIG_HOME=os.path.join(self.home, ".config"),
                        XDG_DATA_HOME=os.path.join(self.home, ".local", "share"),
                        XDG_CACHE_HOME=os.path.join(self.home, ".cache"),
                        LANG="C.UTF-8", QT_QPA_PLATFORM="xcb", QT_IM_MODULE="")
        self.env.update(env or {})
        self.output = os.path.join(base, f"editor-{len(desktop._processes)}.log")
        with open(self.output, "wb") as log:
            self.process = desktop.start([self.executable, *args], env=self.env, cwd=cwd or self.home,
                                         stdout=log, stderr=subprocess.STDOUT)
        self.window = None
        if wait:
            self.wait_main_window()

    def wait_main_window(self, timeout=20):
        """Until the main window is shown and has the focus (what a start
        asks first, such as an unfinished save, comes before it)."""
        desktop = self.desktop
        self.window = desktop.wait_window(pid=self.process.pid, contains=f" - {APP_TITLE}", timeout=timeout)
        desktop.wait_active(self.window)
        wait_until(lambda: desktop.is_viewable(self.window), what="the main window to show")
        time.sleep(0.2)  # the first frame and the first idle tick

    # -- what the user sees -------------------------------------------------

    @property
    def title(self):
        return self.desktop.title(self.window)

    def settings(self):
        return read_settings(self.ini)

    def setting(self, section, key, default=None):
        return self.settings().get(section, {}).get(key, default)

    def wait_title(self, predicate, timeout=10.0):
        return wait_until(lambda: predicate(self.title) and self.title, timeout,
                          what=f"the title to change (now {self.title!r})")

    def wait_modified(self, modified=True, timeout=10.0):
        self.wait_title(lambda t: ("*" in t.split(" - ")[0]) == modified, timeout)

    # -- dialogs ------------------------------------------------------------

    def dialog(self, title, timeout=10.0, other_than=None):
        """Waits for the dialog titled `title` (another than the window
        `other_than`) to be shown and take the focus."""
        def found():
            return next((w for w in reversed(self.desktop.windows()) if self.desktop.title(w) == title
                         and (other_than is None or w.id != other_than.id)), None)
        window = wait_until(found, timeout, what=f"a window titled {title!r}")
        wait_until(lambda: self.desktop.is_viewable(window), timeout, what=f"{title!r} to show")
        self.desktop.wait_active(window, timeout)
        time.sleep(0.1)
        return window

    def dialog_containing(self, text, timeout=10.0):
        window = self.desktop.wait_window(contains=text, timeout=timeout)
        self.desktop.wait_active(window, timeout)
        time.sleep(0.1)
        return window

    def wait_closed(self, window, timeout=10.0):
        self.desktop.wait_window_gone(window, timeout)

    def back_in_editor(self, timeout=10.0):
        """The main window has the focus again (a dialog closed)."""
        self.desktop.wait_active(self.window, timeout)
        time.sleep(0.1)

    # -- commands -----------------------------------------------------------

    def menu(self, menu_key, item_key):
        """A menu item by its access keys: Alt+menu, then the item's letter."""
        self.desktop.key(f"alt+{menu_key}")
        time.sleep(0.25)
        self.desktop.key(item_key)

    def menu_nth(self, menu_key, index):
        """The `index`-th item (from 0, separators not counted) of a menu
        opened by its access key, for items that have none of their own."""
        self.desktop.key(f"alt+{menu_key}")
        time.sleep(0.25)
        self.desktop.key(*(["Down"] * index), "Return")

    def save(self):
        self.desktop.key("ctrl+s")

    def quit(self, discard=True):
        """Closes the window as a user does; unsaved text is thrown away."""
        if self.process.poll() is not None:
            return
        if self.window is not None and self.desktop.active_window() is not None \
                and self.desktop.active_window().id == self.window.id:
            self.desktop.key("alt+F4")
        deadline = time.monotonic() + 5
        while self.process.poll() is None and time.monotonic() < deadline:
            box = self.desktop.find_window(title=FILE_CAPTION, pid=self.process.pid)
            if box is not None and discard:
                try:
                    self.desktop.wait_active(box, timeout=1)
                    self.desktop.key("n")
                except TimeoutError:
                    pass
            time.sleep(0.1)
        if self.process.poll() is None:
            self.process.kill()
        self.process.wait()

    def log(self):
        """What the editor printed (standard output and error)."""
        with open(self.output, "rb") as f:
            return f.read().decode("utf-8", "replace")

    def wait_exit(self, timeout=10.0):
        return self.process.wait(timeout=timeout)
