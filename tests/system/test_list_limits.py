"""The lists at their limit and their selection, with the real mouse: a folder
with more files than a list holds, the favourites filled past their limit,
and a press below the favourites' last entry."""

import os
import unittest

import layout
from harness import stays, wait_for
from test_favourites import FavouritesTest, records

LIMIT = 32767


def button_enabled(program, name):
    """An enabled skinned button draws its caption dark; a disabled one grey."""
    x, y, width, height = layout.BUTTONS[name]
    band = program.screen().region(program.main.x + x + 4, program.main.y + y + 4, width - 8, height - 8)
    return min(band) < 60


class ListLimits(FavouritesTest):
    def wait_message(self, program, what):
        """Waits for a message box over the main window and closes it with Return."""
        wait_for(lambda: len(program.windows()) == 2, what, timeout=30)
        self.display.key("Return")
        wait_for(lambda: len(program.windows()) == 1, "the message to close")

    def test_past_the_limit_nothing_wraps_and_the_user_is_told_how_many_were_left_out(self):
        for i in range(LIMIT + 233):
            open(os.path.join(self.clips, f"c{i:05d}.avi"), "wb").close()
        program = self.start(folder=self.clips)
        self.wait_message(program, "the message that 233 files are not listed")
        self.assertTrue(button_enabled(program, "all_to_favourites"))
        self.assertTrue(button_enabled(program, "play_files"))

        program.click(layout.button("all_to_favourites"))
        wait_for(lambda: button_enabled(program, "clear_favourites"), "the favourites filled", timeout=60)
        stays(lambda: len(program.windows()) == 1, "no message while the list had room", 1.0)
        program.click(layout.button("all_to_favourites"))
        self.wait_message(program, "the message that none could be added")
        self.assertTrue(button_enabled(program, "play_favourites"))
        self.assertTrue(button_enabled(program, "clear_favourites"))

        program.click(layout.button("exit"))
        self.assertEqual(program.wait_exit(timeout=60), 0)
        self.assertEqual(len(program.read("Reelbox00.rdm")), LIMIT * 255)


class FavouriteSelection(FavouritesTest):
    def test_a_press_below_the_entries_keeps_the_selection_that_remove_acts_on(self):
        paths = []
        for name in ("a.avi", "b.avi"):
            paths.append(os.path.join(self.clips, name))
            open(paths[-1], "wb").close()
        program = self.start(folder=self.clips, files={"Reelbox00.rdm": records(paths)})
        self.wait_favourites(program, 2)
        second = self.favourite_point(program, 1)
        self.display.click(*second)
        selected = program.screen().pixel(second[0] + 100, second[1])
        self.display.click(second[0], second[1] + 5 * layout.LIST_ROW_HEIGHT)  # the empty part
        stays(lambda: program.screen().pixel(second[0] + 100, second[1]) == selected,
              "the second entry shown selected", 0.5)
        program.click(layout.button("remove_favourite"))
        self.wait_favourites(program, 1)
        self.assertEqual(self.exit_and_read(program), [paths[0]])


if __name__ == "__main__":
    unittest.main()
