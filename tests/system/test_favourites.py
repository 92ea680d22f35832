"""The favourites list driven with the real mouse: filling it, playing it,
clearing it, and what 終了 keeps of it."""

import os
import unittest

import layout
from harness import wait_for
from test_playback import PlayerTest, player_size


def list_records(program, group=0):
    """The paths of a favourites list file: 255-byte records, blank-padded."""
    data = program.read(f"Reelbox{group:02d}.rdm")
    return [data[i:i + 255].decode("utf-8").rstrip(" ") for i in range(0, len(data), 255)]


class FavouritesTest(PlayerTest):
    def favourite_rows(self, program):
        return program.list_rows(layout.FAVOURITES)


class FavouriteButtons(FavouritesTest):
    SIZES = {"a.avi": (320, 240), "b.avi": (256, 192)}

    def test_all_files_go_to_favourites_play_in_order_and_are_kept_by_exit(self):
        for name, size in self.SIZES.items():
            self.clip(name, size=size, seconds=1.0, rate=10)
        program = self.start_on(list(self.SIZES))
        program.click(layout.button("all_to_favourites"))
        wait_for(lambda: len(self.favourite_rows(program)) == 2, "two favourites")

        program.click(layout.button("play_favourites"))
        # Each favourite shows its player, in list order.
        for picture in self.SIZES.values():
            wait_for(lambda: [p for p in program.players() if p.size == player_size(picture)],
                     f"the player of the {picture[0]}x{picture[1]} favourite")
        program.wait_no_player()

        program.click(layout.button("exit"))
        self.assertEqual(program.wait_exit(), 0)
        self.assertEqual(list_records(program), [os.path.join(self.clips, n) for n in self.SIZES])

    def test_clear_empties_the_list_and_exit_removes_its_file(self):
        names = ["a.avi", "b.avi"]
        for name in names:
            open(os.path.join(self.clips, name), "wb").close()
        records = "".join(os.path.join(self.clips, n).ljust(255) for n in names)
        program = self.start(folder=self.clips, files={"Reelbox00.rdm": records})
        wait_for(lambda: len(self.favourite_rows(program)) == 2, "the two saved favourites")
        program.click(layout.button("clear_favourites"))
        wait_for(lambda: self.favourite_rows(program) == [], "an empty favourites list")
        program.click(layout.button("exit"))
        self.assertEqual(program.wait_exit(), 0)
        self.assertFalse(program.exists("Reelbox00.rdm"))


if __name__ == "__main__":
    unittest.main()
