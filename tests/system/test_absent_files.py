"""Favourites whose files cannot be reached, driven with the real mouse: a
drive that is unplugged and plugged in again while the program runs, a FIFO
where a clip was, a full group, and a saved folder whose name ends in a
blank."""

import os
import subprocess
import unittest

import layout
from harness import DRAG_SOURCE, can_mount, stays, wait_for, with_mounts
from test_favourites import FavouritesTest, records
from test_playback import player_size


def darkest_in_row(program, row):
    """The darkest channel value of a favourites row's text: black text is
    near 0, the grey of an entry that cannot be reached stays light."""
    x, y, width, _ = layout.FAVOURITES
    top = program.main.y + y + layout.LIST_FRAME + row * layout.LIST_ROW_HEIGHT
    band = program.screen().region(program.main.x + x + 3, top, width - 20, layout.LIST_ROW_HEIGHT)
    return min(band)


def greyed(program, row):
    return 100 < darkest_in_row(program, row) < 200


def shown_normally(program, row):
    return darkest_in_row(program, row) < 80


class AbsentFiles(FavouritesTest):
    def press_favourite(self, program, row):
        x, y, _, _ = layout.FAVOURITES
        self.display.click(program.main.x + x + 60,
                           program.main.y + y + layout.LIST_FRAME + row * layout.LIST_ROW_HEIGHT + 7)

    def wait_played(self, program, size, what):
        wait_for(lambda: [p for p in program.players() if p.size == player_size(size)], what)
        program.wait_no_player()


@unittest.skipUnless(can_mount(), "needs root and mount namespaces for a drive that comes and goes")
class UnpluggedDrive(AbsentFiles):
    def test_favourites_on_an_unplugged_drive_stay_greyed_are_skipped_and_are_kept_byte_for_byte(self):
        drive = os.path.join(self.clips, "stick")
        os.makedirs(drive)
        self.clip("stick/holiday.avi", size=(256, 192), seconds=1.0, rate=10)
        here = self.clip("here.avi", size=(320, 240), seconds=1.0, rate=10)
        saved = records(["/mnt/usb/holiday.avi", here]).encode()
        # The drive is where it would be mounted, but not mounted yet.
        program = self.start(folder=self.clips, files={"Reelbox00.rdm": saved},
                             command_prefix=with_mounts("mount -t tmpfs mnt /mnt && mkdir /mnt/usb"))
        in_namespace = ["nsenter", "--mount", "--target", str(program.process.pid)]
        wait_for(lambda: greyed(program, 0) and shown_normally(program, 1), "the absent favourite greyed")

        program.click(layout.button("play_favourites"))
        self.wait_played(program, (320, 240), "the one favourite that is there")
        stays(lambda: not program.players(), "nothing else played", 1.0)

        # A group switch away and back keeps the entry and its record.
        program.click(layout.centre(layout.group_marker(3)))
        self.wait_favourites(program, 0, "group 3's empty list")
        self.assertEqual(program.read("Reelbox00.rdm"), saved)
        program.click(layout.centre(layout.group_marker(0)))
        wait_for(lambda: greyed(program, 0) and shown_normally(program, 1), "both entries back")

        # Plugged in while the program runs: the entry can be played at once.
        subprocess.run([*in_namespace, "mount", "--bind", drive, "/mnt/usb"], check=True)
        wait_for(lambda: shown_normally(program, 0), "the favourite shown as reachable")
        self.press_favourite(program, 0)
        program.click(layout.button("play_favourite"))
        self.wait_played(program, (256, 192), "the favourite on the drive")

        self.press_favourite(program, 1)  # a selected entry shows the selection's colours
        subprocess.run([*in_namespace, "umount", "/mnt/usb"], check=True)
        wait_for(lambda: greyed(program, 0), "the favourite greyed again once unplugged")
        program.click(layout.button("exit"))
        self.assertEqual(program.wait_exit(), 0)
        self.assertEqual(program.read("Reelbox00.rdm"), saved)


class SpecialFiles(AbsentFiles):
    def test_a_fifo_in_a_group_or_a_drop_never_blocks_and_is_passed_over(self):
        here = self.clip("here.avi", size=(320, 240), seconds=1.0, rate=10)
        fifo, dropped = os.path.join(self.clips, "pipe.avi"), os.path.join(self.clips, "dropped.avi")
        os.mkfifo(fifo)
        os.mkfifo(dropped)
        program = self.start(folder=self.clips, files={"Reelbox00.rdm": records([fifo, here])})
        wait_for(lambda: greyed(program, 0) and shown_normally(program, 1), "the FIFO greyed, the clip not")

        source = subprocess.Popen([DRAG_SOURCE, "20", "20", dropped], env=self.display.env,
                                  stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.addCleanup(lambda: (source.kill(), source.wait()))
        wait_for(lambda: self.display.run(["xdotool", "search", "--onlyvisible", "--name", "uri drag source"],
                                          check=False).strip(), "the file manager's window")
        self.display.drag_and_drop((60, 60), program.at(layout.centre(layout.FAVOURITES)))
        wait_for(lambda: greyed(program, 2), "the dropped FIFO added, greyed")

        program.click(layout.button("play_favourites"))
        self.wait_played(program, (320, 240), "the clip between the FIFOs")
        stays(lambda: not program.players(), "no FIFO opened", 1.0)
        self.assertEqual(self.exit_and_read(program), [fifo, here, dropped])

    def test_a_saved_folder_whose_name_ends_in_a_blank_is_restored_and_saved_again(self):
        folder = os.path.join(self.clips, "clips ")
        os.makedirs(folder)
        open(os.path.join(folder, "a.avi"), "wb").close()
        # As the program stores such a folder: quoted, so the blank is kept.
        program = self.start(folder=f'"{folder}"')
        wait_for(lambda: len(self.file_rows(program)) == 1, "the folder's file listed")
        program.click(layout.button("exit"))
        self.assertEqual(program.wait_exit(), 0)
        self.assertIn(f'Path="{folder}"\r\n', program.read("Reelbox.ini").decode())


class FullGroup(AbsentFiles):
    def test_a_switch_to_a_full_group_answers_at_once_and_greys_the_entry_that_is_gone(self):
        here = self.clip("here.avi", size=(320, 240), seconds=1.0, rate=10)
        many = os.path.join(self.clips, "many")
        os.makedirs(many)
        paths = [os.path.join(self.clips, "gone.avi"), here]
        for i in range(32767 - len(paths)):
            paths.append(os.path.join(many, f"{i}.avi"))
            open(paths[-1], "wb").close()
        program = self.start(folder=self.clips, files={"Reelbox01.rdm": records(paths)})
        program.click(layout.centre(layout.group_marker(1)))
        self.press_favourite(program, 1)  # taken while the files are still looked at
        program.click(layout.button("play_favourite"))
        self.wait_played(program, (320, 240), "the pressed entry")
        wait_for(lambda: greyed(program, 0), "the entry whose file is gone greyed")


if __name__ == "__main__":
    unittest.main()
