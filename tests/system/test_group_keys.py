"""The player windows' group keys with real key presses: the number row adds
the playing file to groups 1 to 10, with Shift to groups 11 to 20, in both
players and in full screen; the list files hold it once, and the main
window's markers show the groups filled."""

import os
import unittest

import layout
from harness import colour_near, wait_for
from test_favourites import FavouritesTest, records
from test_playback import TITLE_HEIGHT

NOTE_BACKGROUND = (0x30, 0x30, 0x30)


class GroupKeys(FavouritesTest):
    def note_shows(self, player):
        # Inside the note's padding, at its place over the picture.
        return colour_near(self.display.screenshot().pixel(player.x + 11, player.y + TITLE_HEIGHT + 11),
                           NOTE_BACKGROUND)

    def press_and_wait_file(self, program, key, name, content):
        self.display.key(key)
        wait_for(lambda: program.exists(name) and program.read(name) == content, f"{name} after {key}")

    def test_digits_and_shift_digits_add_the_playing_file_to_groups_in_both_players(self):
        clip = self.clip("a.avi", seconds=20, rate=10)
        record = records([clip]).encode()
        program = self.start_on(["a.avi"], Full2=" 1")
        marker = lambda n: program.pixel(layout.centre(layout.group_marker(n)))
        self.assertTrue(colour_near(marker(2), layout.GROUP_EMPTY))

        # The DirectShow window: 3 is group 3, a second 3 adds nothing, Shift+2
        # is group 12 by the key's place; 1 puts it in the shown group's list.
        self.select_file(program, 0)
        program.click(layout.button("play_file"))
        player = program.wait_player()
        self.press_and_wait_file(program, "3", "Reelbox02.rdm", record)
        wait_for(lambda: self.note_shows(player), "the note over the picture")
        self.display.key("3")
        self.press_and_wait_file(program, "shift+2", "Reelbox11.rdm", record)
        self.display.key("1")
        self.assertEqual(program.read("Reelbox02.rdm"), record, "added twice")
        self.assertEqual([p.id for p in program.players()], [player.id], "a group key stopped the play")
        wait_for(lambda: not self.note_shows(player), "the note to go away by itself")
        self.assertFalse(program.exists("Reelbox00.rdm"), "the shown group is saved as its list is")
        self.display.key("Escape")
        program.wait_no_player()
        self.assertTrue(colour_near(marker(2), layout.GROUP_FILLED))
        self.assertTrue(colour_near(marker(11), layout.GROUP_FILLED))
        self.wait_favourites(program, 1, "the file in the shown group's list")

        # The RealAudio window, in full screen: Shift+0 is group 20; 1 finds it there.
        self.display.click(*self.favourite_point(program, 0), repeat=2)
        wait_for(lambda: [p for p in program.players() if p.width >= 1280], "the full-screen player")
        self.press_and_wait_file(program, "shift+0", "Reelbox19.rdm", record)
        self.display.key("1", "Escape")
        program.wait_no_player()
        self.wait_favourites(program, 1, "the file once in the shown group")
        self.assertEqual(self.exit_and_read(program), [clip])
        self.assertEqual(sorted(n for n in os.listdir(program.folder) if n.endswith(".rdm")),
                         ["Reelbox00.rdm", "Reelbox02.rdm", "Reelbox11.rdm", "Reelbox19.rdm"])


if __name__ == "__main__":
    unittest.main()
