"""A real Japanese input method on a test's desktop: ibus-daemon on an
address of its own with the Mozc engine, kana input on from the start, as a
Japanese user's desktop runs it.

Mozc refuses to run as root: the tests that use it run as an ordinary user
(as root, scripts/run-e2e-unprivileged runs them as a throwaway one). Where
the input method cannot start, `unavailable()` says why; with
KB_E2E_REQUIRE_IME=1 that is a failure instead of a skip.

Every process started here is stopped by its process id when the desktop
closes, also those that detach from their parent (the Mozc server)."""

import ctypes
import os
import shutil
import signal
import subprocess
import time

from desktop import wait_until

ENGINE = "mozc-jp"
MOZC_ENGINE = "/usr/lib/ibus-mozc/ibus-engine-mozc"
MEMORY_CONFIG = "/usr/libexec/ibus-memconf"

_libc = ctypes.CDLL(None, use_errno=True)
_PR_SET_CHILD_SUBREAPER = 36


def required():
    return os.environ.get("KB_E2E_REQUIRE_IME") == "1"


def unavailable():
    """Why the input method cannot run here, or None."""
    if os.geteuid() == 0:
        return "Mozc refuses to run as root: run through scripts/run-e2e-unprivileged"
    for program, package in (("ibus-daemon", "ibus"), ("ibus", "ibus"), (MOZC_ENGINE, "ibus-mozc"),
                             (MEMORY_CONFIG, "ibus")):
        if shutil.which(program) is None:
            return f"{program} is missing (package {package})"
    return None


def _children():
    """Ids of the processes whose parent is this one."""
    mine = []
    for entry in os.listdir("/proc"):
        if not entry.isdigit():
            continue
        try:
            with open(f"/proc/{entry}/stat") as stat:
                fields = stat.read().rsplit(")", 1)[1].split()
        except OSError:
            continue
        if int(fields[1]) == os.getpid():
            mine.append(int(entry))
    return mine


def _running(pid):
    try:
        done, _ = os.waitpid(pid, os.WNOHANG)
        return done == 0
    except ChildProcessError:
        return os.path.exists(f"/proc/{pid}")


def _stop_children():
    """TERM, then KILL after two seconds, to every child by its id."""
    for sig, wait in ((signal.SIGTERM, 2.0), (signal.SIGKILL, 2.0)):
        pids = _children()
        for pid in pids:
            try:
                os.kill(pid, sig)
            except ProcessLookupError:
                pass
        deadline = time.monotonic() + wait
        while any(_running(pid) for pid in pids) and time.monotonic() < deadline:
            time.sleep(0.05)


class InputMethod:
    """ibus-daemon with Mozc for the programs of `desktop`; a program takes
    its input through it with `env` added to its environment. Needs
    Desktop(dbus=True)."""

    def __init__(self, desktop):
        self.desktop = desktop
        home = os.path.join(desktop.scratch.name, "home")
        config = os.path.join(home, ".config")
        os.makedirs(os.path.join(config, "mozc"), exist_ok=True)
        with open(os.path.join(config, "mozc", "ibus_config.textproto"), "w") as f:
            f.write('engines {\n  name: "mozc-jp"\n  longname: "Mozc"\n  layout: "default"\n'
                    '  layout_variant: ""\n  layout_option: ""\n  rank: 80\n}\n'
                    'active_on_launch: True\n')
        address = "unix:path=" + os.path.join(desktop.scratch.name, "ibus-socket")
        self.env = {"IBUS_ADDRESS": address, "QT_IM_MODULE": "ibus", "GTK_IM_MODULE": "ibus",
                    "XMODIFIERS": "@im=ibus"}
        self._daemon_env = dict(desktop.env, HOME=home, XDG_CONFIG_HOME=config,
                                XDG_CACHE_HOME=os.path.join(home, ".cache"), **self.env)
        # The Mozc server detaches from the engine that starts it: as an orphan
        # it becomes this process's child, and is stopped with the rest.
        _libc.prctl(_PR_SET_CHILD_SUBREAPER, 1, 0, 0, 0)
        desktop.after_close(_stop_children)
        self.log = os.path.join(desktop.scratch.name, "ibus.log")
        with open(self.log, "wb") as log:
            self.daemon = desktop.start(["ibus-daemon", "--panel=disable", "--emoji-extension=disable",
                                         f"--config={MEMORY_CONFIG}", f"--address={address}", "--cache=refresh"],
                                        env=self._daemon_env, stdout=log, stderr=subprocess.STDOUT)
        wait_until(self._engine_set, 20, interval=0.2, what="ibus to take the Mozc engine")

    def ibus(self, *args):
        return subprocess.run(["ibus", *args], env=self._daemon_env, capture_output=True, text=True, timeout=10)

    def _engine_set(self):
        if self.daemon.poll() is not None:
            raise RuntimeError(f"ibus-daemon ended: {self.daemon_log()}")
        # It may answer before the engine is up: what counts is the engine set.
        self.ibus("engine", ENGINE)
        return self.ibus("engine").stdout.strip() == ENGINE

    def daemon_log(self):
        with open(self.log, "rb") as f:
            return f.read().decode("utf-8", "replace")
