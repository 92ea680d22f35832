"""What the main window shows at its edges and in its dialogs, as a user sees
it: the painted background reaches every border pixel, and every message box
and question speaks Japanese (Qt's own translations for its buttons) and
answers the mnemonic a user types. Each dialog's picture is kept in
dialog-screens/ of the build's test folder for a look."""

import os
import unittest

import layout
from harness import SystemTest, colour_near, wait_for
from test_favourites import list_records

PLATFORM_GREY = (239, 239, 239)
DARK_END = (0, 30, 30)  # the gradient's colour at the top and bottom of the panel


def ink_width(picture, x, y, width, height, level=110):
    """Columns from the first to the last that hold a dark pixel: how wide
    the text inside a rectangle is drawn."""
    columns = [column for column in range(x, x + width)
               if any(max(picture.pixel(column, row)) < level for row in range(y, y + height))]
    return columns[-1] - columns[0] + 1 if columns else 0


class Border(SystemTest):
    def test_the_painted_background_reaches_every_border_pixel(self):
        program = self.start(folder=self.clips)
        picture = program.screen()
        width, height = program.main.size
        edges = {"top": [(x, 0) for x in range(width)], "bottom": [(x, height - 1) for x in range(width)],
                 "left": [(0, y) for y in range(height)], "right": [(width - 1, y) for y in range(height)]}
        for edge, points in edges.items():
            grey = [p for p in points if colour_near(picture.pixel(*program.at(p)), PLATFORM_GREY, 4)]
            self.assertEqual(grey, [], f"platform grey on the {edge} edge")
        bottom = {picture.pixel(*program.at(p)) for p in edges["bottom"]}
        self.assertTrue(all(colour_near(c, DARK_END) for c in bottom), bottom)


class Dialogs(SystemTest):
    def open_dialog(self, program, action):
        """Does action and returns the window it opened, its picture kept."""
        before = {w.id for w in program.windows()}
        action()
        box = wait_for(lambda: [w for w in program.windows() if w.id not in before], "the dialog")[0]
        wait_for(lambda: program.screen().pixel(box.x + box.width // 2, box.y + box.height - 5) != (0, 0, 0),
                 "the dialog to be painted")
        folder = os.path.join(os.getcwd(), "dialog-screens")
        os.makedirs(folder, exist_ok=True)
        self.display.run(["import", "-window", str(box.id), os.path.join(folder, self.dialog + ".png")])
        return box

    def assert_yes_no_in_japanese(self, box):
        """The two buttons at the bottom right carry "はい(Y)" and "いいえ(N)":
        Japanese words with their mnemonic, far wider than "Yes" and "No"."""
        picture = self.display.screenshot()
        row = (box.y + box.height - 40, 30)
        halves = [(box.x + box.width // 2, box.width // 4), (box.x + box.width * 3 // 4, box.width // 4)]
        widths = [ink_width(picture, x, row[0], w - 4, row[1]) for x, w in halves]
        self.assertTrue(all(w >= 34 for w in widths), f"button texts {widths} px wide, as English ones are")

    def test_the_trash_question_reads_japanese_and_takes_alt_y(self):
        self.dialog = "trash-question"
        for name in ("a.avi", "b.avi"):
            open(os.path.join(self.clips, name), "wb").close()
        program = self.start(folder=self.clips, Kakunin=" 1")
        files = wait_for(lambda: program.list_rows(layout.FILES), "the files")
        box = self.open_dialog(program, lambda: self.display.drag_and_drop(
            (program.main.x + layout.FILES[0] + 40, files[0]), program.at(layout.centre(layout.TRASH))))
        self.assert_yes_no_in_japanese(box)
        self.display.key("alt+y")
        wait_for(lambda: os.path.exists(os.path.join(program.home, ".local/share/Trash/files/a.avi")),
                 "a.avi in the trash")

    def test_the_unsaved_files_question_reads_japanese_and_takes_alt_n_then_alt_y(self):
        self.dialog = "unsaved-files-question"
        program = self.start(folder=self.clips)
        os.remove(program.path("Reelbox.ini"))
        os.mkdir(program.path("Reelbox.ini"))  # no file can be written where it stands
        box = self.open_dialog(program, lambda: program.click(layout.button("exit")))
        self.assert_yes_no_in_japanese(box)
        self.display.key("alt+n")
        program.wait_no_player("the question to close")
        self.assertFalse(program.exited(), "left after いいえ")
        program.click(layout.button("exit"))
        program.wait_player("the question again")
        self.display.key("alt+y")
        self.assertEqual(program.wait_exit(), 0)

    def test_the_message_that_a_path_is_too_long_is_answered_with_return(self):
        self.dialog = "path-too-long"
        inner = os.path.join(self.clips, "d" * 200)
        os.mkdir(inner)
        open(os.path.join(inner, "v" * 60 + ".avi"), "wb").close()
        program = self.start(folder=inner)
        wait_for(lambda: program.list_rows(layout.FILES), "the file")
        self.open_dialog(program, lambda: program.click(layout.button("all_to_favourites")))
        self.display.key("Return")
        program.wait_no_player("the message to close")
        self.assertEqual(program.list_rows(layout.FAVOURITES), [])

    def test_the_message_that_a_group_could_not_be_saved_is_answered_with_return(self):
        self.dialog = "group-not-saved"
        open(os.path.join(self.clips, "a.avi"), "wb").close()
        program = self.start(folder=self.clips)
        os.mkdir(program.path("Reelbox00.rdm"))  # the group's list file cannot be written
        wait_for(lambda: program.list_rows(layout.FILES), "the file")
        program.click(layout.button("all_to_favourites"))
        wait_for(lambda: program.list_rows(layout.FAVOURITES), "the favourite")
        self.open_dialog(program, lambda: program.click(layout.centre(layout.group_marker(3))))
        self.display.key("Return")
        program.wait_no_player("the message to close")
        self.assertEqual(len(program.list_rows(layout.FAVOURITES)), 1, "group 0 stays, with its entry")


if __name__ == "__main__":
    unittest.main()
