"""A print scheduler of the test's own, as the unit tests' PrivateScheduler:
cupsd in the foreground with its configuration, spool and socket in a
folder of the test's, and two queues, "Main" (the default) and "Other",
whose backend saves each job as a PDF file. The editor finds it through
CUPS_SERVER (`environment()`)."""

import os
import socket
import subprocess
import tempfile
import time

DAEMON = "/usr/sbin/cupsd"
EXEC_HELPER = "/usr/lib/cups/daemon/cups-exec"

BACKEND = """#!/bin/sh
[ $# -eq 0 ] && { echo 'direct savejob "Unknown" "Saves each job"'; exit 0; }
out="${DEVICE_URI#savejob:}"
if [ -n "$6" ]; then cat "$6" > "$out/.job-$1"; else cat > "$out/.job-$1"; fi
mv "$out/.job-$1" "$out/job-$1.pdf"
"""


def unavailable():
    """Why the scheduler cannot run here, or None."""
    if not (os.access(DAEMON, os.X_OK) and os.access(EXEC_HELPER, os.X_OK)):
        return "cupsd is not installed"
    if os.geteuid() != 0:
        return "cupsd runs its backends as another user only for root"
    return None


def _free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


class PrintScheduler:
    def __init__(self):
        self.folder = tempfile.TemporaryDirectory(prefix="kb-e2e-cups-")
        d = self.folder.name
        for sub in ("conf", "spool/tmp", "cache", "state", "log", "bin/backend", "bin/daemon", "out/Main", "out/Other"):
            os.makedirs(os.path.join(d, sub))
        self.socket = os.path.join(d, "cups.sock")
        os.symlink(EXEC_HELPER, os.path.join(d, "bin/daemon/cups-exec"))
        backend = os.path.join(d, "bin/backend/savejob")
        with open(backend, "w") as f:
            f.write(BACKEND)
        os.chmod(backend, 0o700)
        with open(os.path.join(d, "conf/cupsd.conf"), "w") as f:
            f.write(f"Listen {self.socket}\nListen 127.0.0.1:{_free_port()}\nBrowsing No\nLogLevel warn\n"
                    "DefaultAuthType None\n<Location />\nOrder allow,deny\nAllow all\n</Location>\n")
        with open(os.path.join(d, "conf/cups-files.conf"), "w") as f:
            f.write(f"ServerRoot {d}/conf\nRequestRoot {d}/spool\nTempDir {d}/spool/tmp\nCacheDir {d}/cache\n"
                    f"StateDir {d}/state\nServerBin {d}/bin\nDataDir /usr/share/cups\nAccessLog {d}/log/access_log\n"
                    f"ErrorLog {d}/log/error_log\nPageLog {d}/log/page_log\nPrintcap {d}/printcap\n")
        with open(os.path.join(d, "conf/printers.conf"), "w") as f:
            for kind, name in (("DefaultPrinter", "Main"), ("Printer", "Other")):
                f.write(f"<{kind} {name}>\nDeviceURI savejob:{d}/out/{name}\nState Idle\nAccepting Yes\n</{kind}>\n")
        self.process = subprocess.Popen([DAEMON, "-f", "-c", os.path.join(d, "conf/cupsd.conf"),
                                         "-s", os.path.join(d, "conf/cups-files.conf")],
                                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        deadline = time.monotonic() + 20
        while time.monotonic() < deadline:
            if self.process.poll() is not None:
                raise RuntimeError("cupsd ended at its start")
            with socket.socket(socket.AF_UNIX) as s:
                if s.connect_ex(self.socket) == 0:
                    return
            time.sleep(0.1)
        self.close()
        raise RuntimeError("cupsd did not answer")

    def environment(self):
        return {"CUPS_SERVER": self.socket}

    def jobs(self, queue, at_least=0, timeout=30):
        """The PDF files queue `queue` has saved, oldest first, waiting up
        to `timeout` seconds for `at_least` of them."""
        folder = os.path.join(self.folder.name, "out", queue)
        deadline = time.monotonic() + timeout
        while True:
            names = [n for n in os.listdir(folder) if n.endswith(".pdf")]
            if len(names) >= at_least or time.monotonic() > deadline:
                return [os.path.join(folder, n) for n in sorted(names, key=lambda n: (len(n), n))]
            time.sleep(0.1)

    def close(self):
        if self.process.poll() is None:
            self.process.terminate()
            self.process.wait()
        self.folder.cleanup()
