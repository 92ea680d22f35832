"""No click on an enabled skinned button is lost, and none is made up: a
button that disabled itself while it held the focus, the first click after a
player window closed over a resting pointer, and a press slid off a button
(or the close picture) and released at once."""

import os
import time
import unittest

import layout
from harness import SystemTest, colour_near, stays, wait_for
from test_favourites import FavouritesTest, records


class EveryClickCounts(FavouritesTest):
    def test_remove_twice_and_clear_after_refilling(self):
        names = ["a.avi", "b.avi", "c.avi"]
        for name in names:
            open(os.path.join(self.clips, name), "wb").close()
        paths = [os.path.join(self.clips, n) for n in names]
        program = self.start(folder=self.clips, files={"Reelbox00.rdm": records(paths)})
        self.wait_favourites(program, 3)
        for left in (2, 1):  # each round: choose the first entry, remove it
            self.display.click(*self.favourite_point(program, 0))
            program.click(layout.button("remove_favourite"))
            self.wait_favourites(program, left, f"{left} favourites after a remove")
        self.display.click(*self.favourite_point(program, 0))
        program.click(layout.button("all_to_favourites"))
        self.wait_favourites(program, 4)
        program.click(layout.button("clear_favourites"))
        self.wait_favourites(program, 0, "an empty list")
        program.click(layout.button("all_to_favourites"))  # filled again
        self.wait_favourites(program, 3)
        program.click(layout.button("clear_favourites"))
        self.wait_favourites(program, 0, "an empty list after the second clear")

    def test_play_takes_the_first_click_after_esc_with_the_pointer_unmoved(self):
        self.clip("a.avi", size=(320, 240), seconds=20, rate=10)
        for where in ("window", "full screen"):
            with self.subTest(where):
                program = self.start_on(["a.avi"], Full1=" 1" if where == "full screen" else " 0")
                self.select_file(program, 0)
                program.click(layout.button("play_file"))
                for show in ("first", "second"):
                    player = program.wait_player(f"the {show} player")
                    self.wait_picture_moving(player)
                    self.display.key("Escape")
                    program.wait_no_player()
                    if show == "first":
                        self.display.xdotool("click", 1)  # where the pointer rests, not moved
                program.close()


class NoClickIsMadeUp(FavouritesTest):
    def test_a_press_slid_off_and_released_at_once_does_nothing(self):
        for control in ("cancel", "close picture"):
            with self.subTest(control):
                program = self.start(folder=self.clips)
                start = program.at(layout.button("cancel") if control == "cancel" else layout.CLOSE_PICTURE)
                self.display.move(*start)
                before = time.monotonic()
                self.display.xdotool("mousedown", 1, "mousemove", start[0] - 60, start[1] + 40, "mouseup", 1)
                print(f"{control}: pressed, slid off and released in {(time.monotonic() - before) * 1000:.0f} ms")
                stays(lambda: not program.exited(), f"the program after a press slid off {control}", 1.0)
                program.click(layout.button("cancel") if control == "cancel" else layout.CLOSE_PICTURE)
                self.assertEqual(program.wait_exit(), 0, "a real click still leaves")
                program.close()


if __name__ == "__main__":
    unittest.main()
