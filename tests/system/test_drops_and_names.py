"""Files as the disk and the drag hold them, with the real mouse: a name that
is not UTF-8 (Shift_JIS bytes from an old Windows disk) listed, played, added
and kept; file URLs of this machine and of others; and a drag from a second
copy of the program, which counts as a drop from outside."""

import os
import socket
import subprocess
import unittest
import urllib.parse

import layout
from harness import DRAG_SOURCE, Reelbox, stays, wait_for
from test_favourites import FavouritesTest
from test_playback import player_size

SHIFT_JIS_NAME = "ビデオ.avi".encode("shift_jis")


def raw_records(program, group=0):
    """The path bytes of a favourites list file's records."""
    data = program.read(f"Reelbox{group:02d}.rdm")
    return [data[i:i + 255].rstrip(b" ") for i in range(0, len(data), 255)]


class Drops(FavouritesTest):
    def drop_from_file_manager(self, program, *locations):
        source = subprocess.Popen([DRAG_SOURCE, "20", "20", *locations], env=self.display.env,
                                  stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.addCleanup(lambda: (source.kill(), source.wait()))
        wait_for(lambda: self.display.run(["xdotool", "search", "--onlyvisible", "--name", "uri drag source"],
                                          check=False).strip(), "the file manager's window")
        self.display.drag_and_drop((60, 60), program.at(layout.centre(layout.FAVOURITES)))

    def test_a_name_that_is_not_utf8_is_listed_played_added_and_kept_as_the_disk_holds_it(self):
        clips = os.fsencode(self.clips)
        foreign = clips + b"/" + SHIFT_JIS_NAME
        self.clip(os.fsdecode(foreign), size=(256, 192), seconds=1.0, rate=10)
        other = self.clip("b.avi", size=(320, 240), seconds=1.0, rate=10)
        program = self.start_on([foreign, other])
        self.select_file(program, 1)  # sorted after b.avi
        program.click(layout.button("play_file"))
        wait_for(lambda: [p for p in program.players() if p.size == player_size((256, 192))],
                 "the player of the file with the Shift_JIS name")
        program.wait_no_player()

        program.click(layout.button("all_to_favourites"))
        self.wait_favourites(program, 2, "both files in the favourites")
        quoted = urllib.parse.quote_from_bytes
        self.drop_from_file_manager(program,
                                    b"file://localhost" + quoted(foreign).encode(),
                                    f"file://{socket.gethostname()}{quoted(os.fsencode(other))}".encode(),
                                    b"file://elsewhere" + quoted(foreign).encode(),
                                    b"file://" + quoted(clips).encode() + b"/b.avi%00.avi",
                                    b"file://" + quoted(clips).encode() + b"/x%2F..%2Fb.avi")
        self.wait_favourites(program, 4, "the two files of this machine from the drop")
        stays(lambda: len(self.favourite_rows(program)) == 4, "nothing else added", 1.0)
        program.click(layout.button("exit"))
        self.assertEqual(program.wait_exit(), 0)
        self.assertEqual(raw_records(program), [os.fsencode(other), foreign, foreign, os.fsencode(other)])


class SecondCopy(FavouritesTest):
    def test_a_file_dragged_from_another_copy_is_added_by_its_url_and_never_deleted(self):
        here, there = os.path.join(self.clips, "here"), os.path.join(self.clips, "there")
        for folder, name in ((here, "mine.avi"), (there, "theirs.avi")):
            os.makedirs(folder)
            open(os.path.join(folder, name), "wb").close()
        mine = self.start(folder=here)
        # The second copy runs from a program folder of its own.
        theirs = Reelbox(self.display, ini=f"[Section]\r\nPath={there}\r\n")
        self.addCleanup(theirs.close)
        theirs.start()
        self.display.xdotool("windowmove", mine.main.id, 20, 100)
        self.display.xdotool("windowmove", theirs.main.id, 700, 100)
        wait_for(lambda: mine.refresh_main().x < 100 and theirs.refresh_main().x > 600, "the windows side by side")
        wait_for(lambda: len(self.file_rows(mine)) == 1 and len(self.file_rows(theirs)) == 1, "both files listed")
        self.select_file(mine, 0)  # a selection the drags must not act on

        self.drag_file_to(theirs, 0, (mine.main.x - theirs.main.x + layout.centre(layout.TRASH)[0],
                                      layout.centre(layout.TRASH)[1]))
        stays(lambda: len(mine.windows()) == 1, "no question and no deletion", 1.5)
        self.assertTrue(os.path.exists(os.path.join(there, "theirs.avi")))
        self.assertTrue(os.path.exists(os.path.join(here, "mine.avi")))

        self.drag_file_to(theirs, 0, (mine.main.x - theirs.main.x + layout.centre(layout.FAVOURITES)[0],
                                      layout.centre(layout.FAVOURITES)[1]))
        self.wait_favourites(mine, 1, "the other copy's file in the favourites")
        self.assertEqual(self.exit_and_read(mine), [os.path.join(there, "theirs.avi")])


if __name__ == "__main__":
    unittest.main()
