"""Prints the accessible tree of one application as JSON lines, as a screen
reader reads it through AT-SPI: role, name, states, extents on the screen,
and for text objects their text and caret. Run in a process of its own with
the desktop's D-Bus session in the environment (the library keeps one
connection a process).

usage: atspi_dump.py PID"""

import json
import sys
import time

import pyatspi


def describe(node, depth):
    entry = {"depth": depth, "role": node.getRoleName(), "name": node.name or ""}
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


def main():
    pid = int(sys.argv[1])
    deadline = time.monotonic() + 10
    while (app := find_application(pid)) is None:
        if time.monotonic() > deadline:
            return 1
        time.sleep(0.1)
    describe(app, 0)
    return 0


if __name__ == "__main__":
    sys.exit(main())
