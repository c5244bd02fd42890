"""Prints the accessible tree of one application as JSON lines, as a screen
reader reads it through AT-SPI: role, name, states, extents on the screen,
and for text objects their text and caret. Run in a process of its own with
the desktop's D-Bus session in the environment (the library keeps one
connection a process).

usage: atspi_dump.py PID                 the tree
       atspi_dump.py PID --text          each text object as a reader reads it
                                         at the caret: its first line, the
                                         caret, the line and the character there
       atspi_dump.py PID --events SECONDS KIND...
                                         the application's events of these
                                         kinds ("object:text-caret-moved"...) for
                                         SECONDS, as they come; "ready" first"""

import json
import sys
import time

import pyatspi
from gi.repository import GLib


def describe(node, depth):
    entry = {"depth": depth, "role": node.getRoleName(), "name": node.name or ""}
    if node.description:
        entry["description"] = node.description
    states = node.getState()
    entry["states"] = [pyatspi.stateToString(s) for s in states.getStates()]
    try:
        extents = node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        entry["extents"] = [extents.x, extents.y, extents.width, extents.height]
    except NotImplementedError:
        pass
    try:
        text = node.queryText()
        entry["text"] = text.getText(0, min(text.characterCount, 4096))
        entry["characters"] = text.characterCount
        entry["caret"] = text.caretOffset
    except NotImplementedError:
        pass
    print(json.dumps(entry, ensure_ascii=False))
    for i in range(node.childCount):
        child = node.getChildAtIndex(i)
        if child is not None:
            describe(child, depth + 1)


def find_application(pid):
    desktop = pyatspi.Registry.getDesktop(0)
    for app in desktop:
        if app is not None and app.get_process_id() == pid:
            return app
    return None


def at_offset(text, offset, boundary):
    content, start, end = text.getTextAtOffset(offset, boundary)
    return {"text": content, "start": start, "end": end}


def describe_text(node):
    """Each text object below `node` read as a reader reads it at the caret."""
    if node.getRole() == pyatspi.ROLE_TEXT:
        try:
            text = node.queryText()
        except NotImplementedError:
            text = None
        if text is not None:
            caret = text.caretOffset
            print(json.dumps({"name": node.name or "", "characters": text.characterCount, "caret": caret,
                              "first_line": at_offset(text, 0, pyatspi.TEXT_BOUNDARY_LINE_START),
                              "caret_line": at_offset(text, caret, pyatspi.TEXT_BOUNDARY_LINE_START),
                              "caret_character": at_offset(text, caret, pyatspi.TEXT_BOUNDARY_CHAR)},
                             ensure_ascii=False))
    for i in range(node.childCount):
        child = node.getChildAtIndex(i)
        if child is not None:
            describe_text(child)


def listen(pid, seconds, kinds):
    def heard(event):
        if not any(event.type.startswith(kind) for kind in kinds):
            return
        try:
            if event.source.get_application().get_process_id() != pid:
                return
            entry = {"type": event.type, "role": event.source.getRoleName(), "name": event.source.name or "",
                     "detail1": event.detail1, "detail2": event.detail2}
        except Exception:  # the source may be gone already
            return
        if isinstance(event.any_data, str):
            entry["data"] = event.any_data
        print(json.dumps(entry, ensure_ascii=False), flush=True)

    # One registration for every object event, the kinds picked out here: an
    # application's bridge may miss the second of several registrations
    # made at once, and then never send those events.
    pyatspi.Registry.registerEventListener(heard, "object:")
    GLib.timeout_add(int(seconds * 1000), lambda: pyatspi.Registry.stop() and False)
    GLib.idle_add(lambda: print("ready", flush=True) and False)
    pyatspi.Registry.start()


def main():
    pid = int(sys.argv[1])
    mode = sys.argv[2] if len(sys.argv) > 2 else None
    if mode == "--events":
        listen(pid, float(sys.argv[3]), sys.argv[4:])
        return 0
    deadline = time.monotonic() + 10
    while (app := find_application(pid)) is None:
        if time.monotonic() > deadline:
            return 1
        time.sleep(0.1)
    if mode == "--text":
        describe_text(app)
    else:
        describe(app, 0)
    return 0


if __name__ == "__main__":
    sys.exit(main())
