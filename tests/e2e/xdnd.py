"""The source side of the desktop's drag-and-drop protocol (XDND 5), enough
to drop a list of files on a window as a file manager does: enter, one
position, drop, the file list handed over on request, finished."""

import time
import urllib.parse

from Xlib import X, Xatom
from Xlib.protocol import event as xevent

_VERSION = 5


def _client_message(desktop, window, kind, data):
    message = xevent.ClientMessage(window=window, client_type=desktop.atom(kind), data=(32, (data + [0] * 5)[:5]))
    window.send_event(message, event_mask=0, propagate=False)
    desktop.display.flush()


def _server_time(desktop, window):
    """A timestamp of the server's, from a property change of our own."""
    window.change_attributes(event_mask=X.PropertyChangeMask)
    window.change_property(desktop.atom("KB_E2E_TIME"), Xatom.STRING, 8, b"")
    desktop.display.flush()
    while True:
        event = desktop.display.next_event()
        if event.type == X.PropertyNotify and event.window.id == window.id:
            return event.time


def _uri_list(paths):
    lines = []
    for path in paths:
        raw = path if isinstance(path, bytes) else path.encode("utf-8")
        lines.append(b"file://" + urllib.parse.quote_from_bytes(raw, safe=b"/").encode())
    return b"\r\n".join(lines) + b"\r\n"


def _answer_request(desktop, request, data):
    uri_list = desktop.atom("text/uri-list")
    prop = request.property or request.target
    if request.target == uri_list:
        request.requestor.change_property(prop, uri_list, 8, data)
    else:
        prop = X.NONE
    notify = xevent.SelectionNotify(time=request.time, requestor=request.requestor, selection=request.selection,
                                    target=request.target, property=prop)
    request.requestor.send_event(notify)
    desktop.display.flush()


def drag_files(desktop, target, paths, x=None, y=None, timeout=10.0, wait_finished=True):
    """Drops `paths` on `target`. Without `wait_finished` it returns once the
    window has taken the file list: what the drop opens (a question) may
    hold the protocol's last message until it is answered."""
    gx, gy, w, h = desktop.geometry(target)
    x = gx + w // 2 if x is None else x
    y = gy + h // 2 if y is None else y
    source = desktop.root.create_window(-10, -10, 1, 1, 0, X.CopyFromParent)
    try:
        now = _server_time(desktop, source)
        source.set_selection_owner(desktop.atom("XdndSelection"), now)
        desktop.move(x, y)
        uri_list = desktop.atom("text/uri-list")
        _client_message(desktop, target, "XdndEnter", [source.id, _VERSION << 24, uri_list, 0, 0])
        _client_message(desktop, target, "XdndPosition",
                        [source.id, 0, (x << 16) | y, now, desktop.atom("XdndActionCopy")])
        data = _uri_list(paths)
        dropped = False
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            if not desktop.display.pending_events():
                time.sleep(0.01)
                continue
            event = desktop.display.next_event()
            if event.type == X.SelectionRequest:
                _answer_request(desktop, event, data)
                if dropped and not wait_finished:
                    return
            elif event.type == X.ClientMessage:
                kind = desktop.display.get_atom_name(event.client_type)
                if kind == "XdndStatus" and not dropped:
                    if not event.data[1][1] & 1:
                        raise AssertionError("the window refused the drop")
                    _client_message(desktop, target, "XdndDrop", [source.id, 0, now, 0, 0])
                    dropped = True
                elif kind == "XdndFinished":
                    return
        raise TimeoutError("the drop was not finished")
    finally:
        source.destroy()
        desktop.display.flush()
