"""Another application that takes its input through the desktop's input
method: a GTK window with one text entry (start it with GTK_IM_MODULE=ibus).
Its title shows what the entry holds, so a test reads it from outside:
"entry: TEXT".

usage: entry_window.py"""

import gi

gi.require_version("Gtk", "3.0")
from gi.repository import Gtk  # noqa: E402


def main():
    window = Gtk.Window(title="entry: ")
    window.set_default_size(300, 60)
    entry = Gtk.Entry()
    entry.connect("changed", lambda e: window.set_title("entry: " + e.get_text()))
    window.add(entry)
    window.connect("destroy", Gtk.main_quit)
    window.show_all()
    Gtk.main()


if __name__ == "__main__":
    main()
