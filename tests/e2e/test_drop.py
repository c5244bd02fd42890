"""Files dropped on the window as a file manager drops them (the desktop's
drag-and-drop protocol): the first file opens, whether dropped on the text
or on the bars, and a modified text is offered for saving first."""

from e2e_case import EditorTestCase, main
from editor import FILE_CAPTION


class Drop(EditorTestCase):
    def test_the_first_dropped_file_opens_and_saves(self):
        first = self.file("first.txt", "一つ目\r\n".encode("cp932"))
        second = self.file("second.txt", b"two\r\n")
        editor = self.start()
        self.desktop.drop_files(editor.window, [first, second])
        editor.wait_title(lambda title: title.startswith("first.txt"))
        self.desktop.type("+")
        editor.save()
        self.wait_bytes(first, "+一つ目\r\n".encode("cp932"))
        self.assertEqual(self.read(second), b"two\r\n")

    def test_a_drop_on_a_modified_text_asks_to_save_it_first(self):
        kept = self.file("kept.txt", b"kept\r\n")
        dropped = self.file("dropped.txt", b"dropped\r\n")
        editor = self.start(kept)
        self.desktop.type("edit ")
        x, y, w, h = self.desktop.geometry(editor.window)
        self.desktop.drop_files(editor.window, [dropped], x=x + w // 2, y=y + 30,  # on the tool bar
                                wait_finished=False)
        box = editor.dialog(FILE_CAPTION)
        self.desktop.key("y")
        editor.wait_closed(box)
        editor.wait_title(lambda title: title.startswith("dropped.txt"))
        self.assertEqual(self.read(kept), b"edit kept\r\n")


if __name__ == "__main__":
    main()
