"""A desktop of the test's own: a private X server (Xvfb), a window manager
(openbox) and a D-Bus session, driven from outside as a person would, with
real input through XTest, and read back only as a person sees it: windows,
their titles, map state and geometry, the clipboard, pixels.

Every process started here is stopped by its process id (or its process
group) when the desktop is closed, also when the test fails; each also
dies with the test process (PR_SET_PDEATHSIG)."""

import ctypes
import os
import signal
import struct
import subprocess
import tempfile
import time
import zlib

from Xlib import X, XK, Xatom, display, error
from Xlib.ext import xtest

_libc = ctypes.CDLL(None, use_errno=True)
_PR_SET_PDEATHSIG = 1


def _die_with_parent():
    _libc.prctl(_PR_SET_PDEATHSIG, signal.SIGKILL)


def wait_until(predicate, timeout=10.0, interval=0.03, what="a condition"):
    """Polls `predicate` until it returns something true; returns that."""
    deadline = time.monotonic() + timeout
    while True:
        value = predicate()
        if value:
            return value
        if time.monotonic() > deadline:
            raise TimeoutError(f"timed out after {timeout} s waiting for {what}")
        time.sleep(interval)


def start_process(argv, env=None, new_group=False, **kwargs):
    return subprocess.Popen(argv, env=env, preexec_fn=_die_with_parent, start_new_session=new_group,
                            stdin=subprocess.DEVNULL, **kwargs)


def stop_process(process, group=False):
    """TERM, then KILL after a second; by process group when `group`."""
    if process is None or process.poll() is not None:
        return
    send = (lambda sig: os.killpg(process.pid, sig)) if group else process.send_signal
    try:
        send(signal.SIGTERM)
        process.wait(timeout=1.0)
    except subprocess.TimeoutExpired:
        send(signal.SIGKILL)
        process.wait()
    except ProcessLookupError:
        pass


# X keysym names for the characters typed as themselves.
_KEY_NAMES = {
    "\n": "Return", "\t": "Tab", " ": "space", "\b": "BackSpace",
}
_MODIFIERS = {"ctrl": "Control_L", "shift": "Shift_L", "alt": "Alt_L", "super": "Super_L"}


class Image:
    """Pixels of a screenshot: rows of (r, g, b)."""

    def __init__(self, width, height, bgrx):
        self.width, self.height, self._data = width, height, bgrx

    def pixel(self, x, y):
        offset = (y * self.width + x) * 4
        b, g, r = self._data[offset], self._data[offset + 1], self._data[offset + 2]
        return (r, g, b)

    def save_png(self, path):
        rows = bytearray()
        for y in range(self.height):
            rows.append(0)
            row = self._data[y * self.width * 4:(y + 1) * self.width * 4]
            for x in range(self.width):
                rows += bytes((row[4 * x + 2], row[4 * x + 1], row[4 * x]))

        def chunk(kind, data):
            body = kind + data
            return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)
        header = struct.pack(">IIBBBBB", self.width, self.height, 8, 2, 0, 0, 0)
        with open(path, "wb") as out:
            out.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) + chunk(b"IDAT", zlib.compress(bytes(rows), 6))
                      + chunk(b"IEND", b""))


class Desktop:
    """Xvfb + openbox (+ a D-Bus session when asked), closed on exit."""

    def __init__(self, width=1024, height=768, window_manager=True, dbus=False):
        self.width, self.height = width, height
        self._processes = []  # (process, by group)
        self._after_close = []
        self.scratch = tempfile.TemporaryDirectory(prefix="kb-e2e-")
        self.env = dict(os.environ)
        for key in ("WAYLAND_DISPLAY", "DBUS_SESSION_BUS_ADDRESS", "QT_QPA_PLATFORM", "XDG_SESSION_TYPE"):
            self.env.pop(key, None)
        # Sockets of the session's services (the accessibility bus) in here.
        self.env["XDG_RUNTIME_DIR"] = self.scratch.name
        try:
            self._start_server()
            self.display = display.Display(self.env["DISPLAY"])
            self.root = self.display.screen().root
            self._spare_keycodes = None
            self._typed = {}  # character -> keycode remapped to it
            if dbus:
                self._start_dbus()
            if window_manager:
                self._start_window_manager()
        except BaseException:
            self.close()
            raise

    # -- processes ---------------------------------------------------------

    def _start_server(self):
        read_end, write_end = os.pipe()
        server = start_process(["Xvfb", "-displayfd", str(write_end), "-screen", "0",
                                f"{self.width}x{self.height}x24", "-nolisten", "tcp", "-noreset"],
                               pass_fds=(write_end,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write_end)
        self._processes.append((server, False))
        number = b""
        with os.fdopen(read_end, "rb") as pipe:
            while not number.endswith(b"\n"):
                byte = pipe.read(1)
                if not byte:
                    raise RuntimeError("Xvfb did not start")
                number += byte
        self.env["DISPLAY"] = ":" + number.decode().strip()

    def _start_dbus(self):
        read_end, write_end = os.pipe()
        bus = start_process(["dbus-daemon", "--session", "--nofork", "--nopidfile",
                             f"--print-address={write_end}"], env=self.env, new_group=True,
                            pass_fds=(write_end,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(write_end)
        self._processes.append((bus, True))  # with the services it activates
        with os.fdopen(read_end, "rb") as pipe:
            address = pipe.readline().decode().strip()
        if not address:
            raise RuntimeError("dbus-daemon did not start")
        self.env["DBUS_SESSION_BUS_ADDRESS"] = address

    def _start_window_manager(self):
        check = self.display.intern_atom("_NET_SUPPORTING_WM_CHECK")
        manager = self.start(["openbox", "--sm-disable"], stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        wait_until(lambda: self.root.get_full_property(check, X.AnyPropertyType), 10, what="openbox")
        self.window_manager = manager

    def start(self, argv, env=None, group=False, **kwargs):
        """Starts a program on this desktop; stopped when the desktop closes."""
        process = start_process(argv, env=env or self.env, new_group=group, **kwargs)
        self._processes.append((process, group))
        return process

    def after_close(self, callback):
        """Runs `callback` once the desktop's own processes are stopped."""
        self._after_close.append(callback)

    def close(self):
        if getattr(self, "display", None) is not None:
            self.display.close()
            self.display = None
        for process, group in reversed(self._processes):
            stop_process(process, group)
        self._processes.clear()
        for callback in reversed(self._after_close):
            callback()
        self._after_close.clear()
        self.scratch.cleanup()

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.close()

    # -- atoms and properties ----------------------------------------------

    def atom(self, name):
        return self.display.intern_atom(name)

    def _property(self, window, name, kind=X.AnyPropertyType):
        try:
            value = window.get_full_property(self.atom(name), kind)
        except error.XError:
            return None
        return value.value if value else None

    def title(self, window):
        name = self._property(window, "_NET_WM_NAME")
        if name is None:
            name = self._property(window, "WM_NAME")
        if name is None:
            return ""
        return name.decode("utf-8", "replace") if isinstance(name, bytes) else str(name)

    def pid_of(self, window):
        value = self._property(window, "_NET_WM_PID")
        return value[0] if value is not None and len(value) else None

    def windows(self):
        """Managed top-level windows (openbox's client list), oldest first."""
        ids = self._property(self.root, "_NET_CLIENT_LIST") or []
        return [self.display.create_resource_object("window", i) for i in ids]

    def find_window(self, title=None, pid=None, contains=None):
        for window in reversed(self.windows()):
            text = self.title(window)
            if title is not None and text != title:
                continue
            if contains is not None and contains not in text:
                continue
            if pid is not None and self.pid_of(window) != pid:
                continue
            return window
        return None

    def wait_window(self, title=None, pid=None, contains=None, timeout=10.0):
        return wait_until(lambda: self.find_window(title, pid, contains), timeout,
                          what=f"a window titled {title or contains!r}")

    def wait_window_gone(self, window, timeout=10.0):
        wait_until(lambda: window.id not in [w.id for w in self.windows()], timeout, what="the window to close")

    def active_window(self):
        value = self._property(self.root, "_NET_ACTIVE_WINDOW")
        if not value or not value[0]:
            return None
        return self.display.create_resource_object("window", value[0])

    def wait_active(self, window, timeout=10.0):
        """Until the window manager has given `window` the focus."""
        def active():
            current = self.active_window()
            return current is not None and current.id == window.id
        wait_until(active, timeout, what=f"{self.title(window)!r} to be active")
        self.display.sync()

    def map_state(self, window):
        try:
            return window.get_attributes().map_state
        except error.XError:
            return None

    def is_viewable(self, window):
        return self.map_state(window) == X.IsViewable

    def wm_state(self, window):
        """The _NET_WM_STATE names (e.g. _NET_WM_STATE_MAXIMIZED_VERT)."""
        atoms = self._property(window, "_NET_WM_STATE") or []
        return {self.display.get_atom_name(a) for a in atoms}

    def popups(self):
        """Popup windows on screen (menus, tool tips): mapped windows that the
        window manager does not manage, as (x, y, width, height)."""
        found = []
        for child in self.root.query_tree().children:
            try:
                attributes = child.get_attributes()
                if attributes.map_state != X.IsViewable or not attributes.override_redirect:
                    continue
                g = child.get_geometry()
            except error.XError:
                continue
            if g.width > 1 and g.height > 1:
                found.append((g.x, g.y, g.width, g.height))
        return found

    def geometry(self, window):
        """The client area's (x, y, width, height) on the screen."""
        g = window.get_geometry()
        origin = window.translate_coords(self.root, 0, 0)
        return (-origin.x, -origin.y, g.width, g.height)

    def frame_extents(self, window):
        """(left, right, top, bottom) of the window manager's frame."""
        value = self._property(window, "_NET_FRAME_EXTENTS")
        return tuple(value) if value is not None and len(value) == 4 else (0, 0, 0, 0)

    def outer_geometry(self, window):
        x, y, w, h = self.geometry(window)
        left, right, top, bottom = self.frame_extents(window)
        return (x - left, y - top, w + left + right, h + top + bottom)

    # -- input ---------------------------------------------------------------

    def _keycode(self, keysym):
        """(keycode, needs shift) for a keysym on the keyboard, or None."""
        for code, index in self.display.keysym_to_keycodes(keysym):
            if index in (0, 1):
                return code, index == 1
        return None

    def _spare(self):
        if self._spare_keycodes is None:
            low, high = self.display.display.info.min_keycode, self.display.display.info.max_keycode
            mapping = self.display.get_keyboard_mapping(low, high - low + 1)
            self._spare_keycodes = [low + i for i, syms in enumerate(mapping) if not any(syms)][-24:]
            self._spare_next = 0
        return self._spare_keycodes

    def _remap(self, characters):
        """Binds keycodes of no key to the characters' keysyms, as many at once
        as there are spare codes, and waits for clients to reload the map."""
        spare = self._spare()
        changed = False
        for ch in characters:
            if ch in self._typed:
                continue
            code = spare[self._spare_next % len(spare)]
            self._spare_next += 1
            for old, bound in list(self._typed.items()):
                if bound == code:
                    del self._typed[old]
            keysym = ord(ch) if ord(ch) < 0x100 else 0x01000000 | ord(ch)
            self.display.change_keyboard_mapping(code, [(keysym, keysym)])
            self._typed[ch] = code
            changed = True
        if changed:
            self.display.sync()
            time.sleep(0.15)  # clients reload the keymap on MappingNotify

    def _fake(self, kind, code):
        xtest.fake_input(self.display, kind, code)

    def _tap(self, code, shift=False, delay=0.0):
        shift_code = self._keycode(XK.string_to_keysym("Shift_L"))[0]
        if shift:
            self._fake(X.KeyPress, shift_code)
        self._fake(X.KeyPress, code)
        self._fake(X.KeyRelease, code)
        if shift:
            self._fake(X.KeyRelease, shift_code)
        self.display.sync()
        if delay:
            time.sleep(delay)

    def key(self, *combinations, delay=0.02):
        """Presses key combinations such as "ctrl+s", "alt+f", "Return", "F3"."""
        for combination in combinations:
            *modifiers, name = combination.split("+") if combination != "+" else ["plus"]
            keysym = XK.string_to_keysym(name)
            if keysym == X.NoSymbol:
                if len(name) != 1:
                    raise ValueError(f"unknown key {name!r}")
                keysym = ord(name)
            found = self._keycode(keysym)
            if found is None:
                raise ValueError(f"no key for {name!r}")
            code, shifted = found
            held = [self._keycode(XK.string_to_keysym(_MODIFIERS[m]))[0] for m in modifiers]
            if shifted and "shift" not in modifiers:
                held.append(self._keycode(XK.string_to_keysym("Shift_L"))[0])
            for modifier in held:
                self._fake(X.KeyPress, modifier)
            self._fake(X.KeyPress, code)
            self._fake(X.KeyRelease, code)
            for modifier in reversed(held):
                self._fake(X.KeyRelease, modifier)
            self.display.sync()
            time.sleep(delay)

    def type(self, text, delay=0.01):
        """Types `text` key by key; characters no key has (Japanese) are
        typed through keycodes bound to them for the moment."""
        plain = {}
        for ch in text:
            name = _KEY_NAMES.get(ch, ch)
            keysym = XK.string_to_keysym(name) if len(name) > 1 else (ord(ch) if ord(ch) < 0x100 else 0)
            found = self._keycode(keysym) if keysym else None
            if found is not None:
                plain[ch] = found
        others = [ch for ch in dict.fromkeys(text) if ch not in plain]
        for start in range(0, len(text), 1):
            ch = text[start]
            if ch in plain:
                code, shifted = plain[ch]
                self._tap(code, shifted, delay)
                continue
            if ch not in self._typed:
                batch = [c for c in others if c not in self._typed][:len(self._spare())]
                self._remap(batch)
            self._tap(self._typed[ch], False, delay)

    def move(self, x, y):
        xtest.fake_input(self.display, X.MotionNotify, x=x, y=y)
        self.display.sync()

    def click(self, x, y, button=1, hold=0.02, pause=0.05):
        self.move(x, y)
        time.sleep(0.02)
        self._fake(X.ButtonPress, button)
        self.display.sync()
        if hold:
            time.sleep(hold)
        self._fake(X.ButtonRelease, button)
        self.display.sync()
        time.sleep(pause)

    def right_click(self, x, y, hold=0.02, pause=0.05):
        self.click(x, y, button=3, hold=hold, pause=pause)

    def click_in(self, window, x, y, button=1, **kwargs):
        wx, wy, _, _ = self.geometry(window)
        self.click(wx + x, wy + y, button, **kwargs)

    # -- what the screen shows ---------------------------------------------

    def screenshot(self, window=None, save=None, area=None):
        """The screen, a window's client area or an (x, y, width, height) area."""
        if area is not None:
            x, y, w, h = area
        else:
            x, y, w, h = self.geometry(window) if window is not None else (0, 0, self.width, self.height)
        x, y = max(0, x), max(0, y)
        w, h = min(w, self.width - x), min(h, self.height - y)
        raw = self.root.get_image(x, y, w, h, X.ZPixmap, 0xFFFFFFFF)
        image = Image(w, h, raw.data)
        if save:
            image.save_png(save)
        return image

    def clipboard_text(self, selection="CLIPBOARD", timeout=5.0):
        """The clipboard's text as its owner converts it to UTF8_STRING, or
        None when nobody owns it."""
        atom = self.atom(selection)
        if self.display.get_selection_owner(atom) == X.NONE:
            return None
        requestor = self.root.create_window(0, 0, 1, 1, 0, X.CopyFromParent)
        target, prop = self.atom("UTF8_STRING"), self.atom("KB_E2E_CLIPBOARD")
        try:
            requestor.convert_selection(atom, target, prop, X.CurrentTime)
            self.display.flush()
            deadline = time.monotonic() + timeout
            while time.monotonic() < deadline:
                while self.display.pending_events():
                    event = self.display.next_event()
                    if event.type == X.SelectionNotify and event.requestor.id == requestor.id:
                        if event.property == X.NONE:
                            return None
                        value = requestor.get_full_property(prop, X.AnyPropertyType, sizehint=1 << 24)
                        return value.value.decode("utf-8") if value else ""
                time.sleep(0.02)
            raise TimeoutError("the clipboard's owner did not answer")
        finally:
            requestor.destroy()
            self.display.flush()

    def drop_files(self, window, paths, x=None, y=None, wait_finished=True):
        """Drags files from a source window of ours onto `window` and drops them
        there, through the desktop's drag-and-drop protocol (XDND 5)."""
        from xdnd import drag_files  # the protocol lives on its own
        drag_files(self, window, paths, x, y, wait_finished=wait_finished)
