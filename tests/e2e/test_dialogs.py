"""Every command that opens a dialog, run from the menu by its access keys
(and from the tool bar where it has a button), answered by keys or clicks
in the real dialog, its effect checked once the dialog has closed."""

import os
import stat
import subprocess
import time

from desktop import wait_until
from e2e_case import ACCESSIBLE_EDITOR, EditorTestCase, main

SJIS = "cp932"


class DialogCase(EditorTestCase):
    def open_text(self, text, name="text.txt", **kwargs):
        self.path = self.file(name, text.encode(SJIS))
        return self.start(self.path, **kwargs)

    def answer(self, editor, title, *keys, typed=None):
        """Waits for the dialog, presses `keys` (typing `typed` first), and
        waits until it has closed and the text has the focus again."""
        dialog = editor.dialog(title)
        if typed is not None:
            self.desktop.type(typed)
        self.desktop.key(*keys)
        editor.wait_closed(dialog)
        editor.back_in_editor()

    def saved(self, editor, encoding=SJIS):
        editor.save()
        editor.wait_modified(False)
        return self.read(self.path).decode(encoding)

    def colour_in_text(self, editor, colour, tolerance=60):
        image = self.desktop.screenshot(editor.window)
        near = lambda p: all(abs(a - b) <= tolerance for a, b in zip(p, colour))
        return any(near(image.pixel(x, y)) for y in range(60, 120) for x in range(0, 200))


class FontAndColours(DialogCase):
    def test_one_font_dialog_takes_style_size_effects_and_colour(self):
        editor = self.open_text("")
        self.desktop.type("あいう漢字")
        editor.menu("c", "f")
        dialog = editor.dialog("フォント")
        self.desktop.key("Tab", "Down", "Down")  # スタイル: 太字
        self.desktop.key("Tab", "ctrl+a")
        self.desktop.type("20")
        self.desktop.key("Tab", "space")  # 取り消し線
        self.desktop.key("alt+c")
        self.answer_colour(editor, "文字の色", "#c00000")
        self.desktop.key("alt+c")  # chosen again, then Escape: the font stays
        colours = editor.dialog("文字の色")
        self.desktop.key("Escape")
        editor.wait_closed(colours)
        self.desktop.key("Return")
        editor.wait_closed(dialog)
        wait_until(lambda: editor.setting("Font", "Size") == "400", what="the font stored")
        font, colour = editor.settings()["Font"], editor.settings()["TextColor"]
        self.assertEqual((font["Bold"], font["Strike"], font["Under"]), ("1", "1", "0"))
        self.assertEqual((colour["Red"], colour["Green"], colour["Blue"]), ("192", "0", "0"))
        wait_until(lambda: self.colour_in_text(editor, (192, 0, 0)), what="red text on screen")

    def answer_colour(self, editor, title, html):
        dialog = editor.dialog(title)
        self.desktop.key("alt+h", "ctrl+a")
        self.desktop.type(html)
        self.desktop.key("Return")
        editor.wait_closed(dialog)

    def test_background_colour_dialog_says_what_it_is_for(self):
        editor = self.open_text("text")
        editor.menu("c", "t")
        self.answer_colour(editor, "背景色", "#00c000")
        wait_until(lambda: editor.setting("BgColor", "Green") == "192", what="the background stored")
        self.assertEqual((editor.setting("BgColor", "Red"), editor.setting("BgColor", "Blue")), ("0", "0"))
        wait_until(lambda: self.colour_in_text(editor, (0, 192, 0), 10), what="a green background")


class Codes(DialogCase):
    def test_kanji_code_settings_save_in_the_chosen_code(self):
        editor = self.open_text("a\r\n")
        editor.menu("c", "k")
        # The load choice has the focus; Tab reaches the save choice.
        self.answer(editor, "漢字コード設定", "Tab", "Down", "Down", "Return")  # Shift-JIS, JIS, EUC
        self.assertEqual(editor.setting("KanaCode", "Save"), "3")
        self.desktop.key("ctrl+End")
        self.desktop.type("あ")
        editor.save()
        self.wait_bytes(self.path, b"a\r\n\xa4\xa2")


class FindAndReplace(DialogCase):
    desktop_options = {"dbus": True}

    def test_find_from_the_menu_selects_the_match(self):
        editor = self.open_text("一行目\r\n探す言葉\r\n")
        editor.menu("e", "f")
        dialog = editor.dialog("検索")
        self.desktop.type("言葉")
        self.desktop.key("Return")
        time.sleep(0.3)
        self.desktop.key("Escape")
        editor.wait_closed(dialog)
        editor.back_in_editor()
        self.desktop.type("単語")
        self.assertEqual(self.saved(editor), "一行目\r\n探す単語\r\n")

    def test_replace_all_from_the_tool_bar(self):
        editor = self.open_text("東京都と東京都\r\n東京都\r\n", env=ACCESSIBLE_EDITOR)
        self.click_tool_button(editor, "置換")
        dialog = editor.dialog("置換")
        self.desktop.type("東京都")
        self.desktop.key("Tab")
        self.desktop.type("大阪府")
        self.desktop.key("alt+a")
        time.sleep(0.3)
        self.desktop.key("Escape")
        editor.wait_closed(dialog)
        self.assertEqual(self.saved(editor), "大阪府と大阪府\r\n大阪府\r\n")

    def test_go_to_line_from_the_tool_bar(self):
        editor = self.open_text("".join(f"{n}\r\n" for n in range(1, 10)), env=ACCESSIBLE_EDITOR)
        self.click_tool_button(editor, "行指定移動")
        self.answer(editor, "行指定ジャンプ", "Return", typed="7")
        self.desktop.type(">")
        self.assertIn("6\r\n>7\r\n", self.saved(editor))


class CommandCustomisation(DialogCase):
    def test_cycle_popup_settings_remove_an_item_from_page_one(self):
        editor = self.open_text("")
        editor.menu("c", "c")
        dialog = editor.dialog("カスタマイズ\u3000サイクルポップアップ")
        x, y, w, h = self.desktop.geometry(dialog)
        self.desktop.click(x + 250, y + 140)  # ×←削除, on the page's selected first item
        self.desktop.key("Return")
        editor.wait_closed(dialog)
        wait_until(lambda: editor.setting("MenuCommand", "Popup1") == "<=:>?:@ABC", what="page 1 stored")

    def test_custom_button_bound_to_select_all(self):
        editor = self.open_text("abc\r\n")
        editor.menu("c", "b")
        dialog = editor.dialog("カスタムボタンの設定")
        self.desktop.key("Home", *["Down"] * 14)  # 全て選択
        self.desktop.key("Return")
        editor.wait_closed(dialog)
        editor.back_in_editor()
        self.desktop.key("ctrl+b")
        self.desktop.type("x")
        self.assertEqual(self.saved(editor), "x")


class FileDialogs(DialogCase):
    def test_open_starts_in_the_documents_folder(self):
        folder = os.path.join(self.folder, "書類")
        os.makedirs(folder)
        shown = self.file(os.path.join("書類", "shown.txt"), b"shown\r\n")
        other = self.file(os.path.join("書類", "other.txt"), b"other\r\n")
        editor = self.start(shown)  # started from the home folder
        editor.menu("f", "o")
        dialog = editor.dialog("開く")
        self.desktop.screenshot(dialog, save=os.path.join(self.folder, "open.png"))
        self.desktop.type("other.txt\n")  # a bare name: the folder the dialog is in
        editor.wait_closed(dialog)
        editor.wait_title(lambda title: title.startswith("other.txt"))
        self.desktop.type("+")
        editor.save()
        self.wait_bytes(other, b"+other\r\n")


class Shell(DialogCase):
    def test_mini_launcher_settings_and_launch_with_the_saved_document(self):
        record = os.path.join(self.folder, "launched.txt")
        script = self.file("record.sh", f"#!/bin/sh\nprintf '%s' \"$1\" > '{record}'\n")
        os.chmod(script, stat.S_IRWXU)
        editor = self.open_text("saved\r\n")
        editor.menu("t", "m")
        dialog = editor.dialog("ミニランチャーの機能設定")
        self.desktop.key("Down")  # 下に登録したソフトで開く
        self.desktop.key("Tab")
        self.desktop.type(script)
        self.desktop.key("Return")
        editor.wait_closed(dialog)
        editor.back_in_editor()
        self.desktop.key("F3")
        wait_until(lambda: os.path.exists(record), what="the registered program started")
        self.assertEqual(self.read(record).decode(), self.path)

    def test_extension_association_makes_the_desktop_open_the_type_with_the_editor(self):
        editor = self.open_text("")
        editor.menu("c", "a")
        dialog = editor.dialog("拡張子関連付け")
        self.desktop.type("kbx")
        self.desktop.key("Return")
        question = editor.dialog("拡張子関連付け", other_than=dialog)
        self.desktop.key("y")
        editor.wait_closed(question)
        wait_until(lambda: not self.desktop.is_viewable(dialog), what="the dialog closed")
        sample = self.file("sample.kbx", b"x")

        def default_application():
            info = subprocess.run(["gio", "info", "-a", "standard::content-type", sample], env=editor.env,
                                  capture_output=True, text=True).stdout
            kind = info.rsplit("standard::content-type:", 1)[-1].strip()
            answer = subprocess.run(["gio", "mime", kind], env=editor.env, capture_output=True, text=True).stdout
            return "kb_zeva3.desktop" in answer.split("\n")[0] and answer
        wait_until(default_application, what="the desktop to open .kbx with the editor")


if __name__ == "__main__":
    main()
