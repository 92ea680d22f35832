"""The favourites list driven with the real mouse: filling it by dragging
from the file list and from a file manager, playing, removing and clearing
entries, deleting files on the trash picture, switching groups, and what 終了
keeps of it all."""

import os
import subprocess
import unittest

import layout
from harness import DRAG_SOURCE, can_mount, colour_near, stays, wait_for, with_mounts
from test_playback import PlayerTest, player_size


def list_records(program, group=0):
    """The paths of a favourites list file: 255-byte records, blank-padded."""
    data = program.read(f"Reelbox{group:02d}.rdm")
    return [data[i:i + 255].decode("utf-8").rstrip(" ") for i in range(0, len(data), 255)]


def records(paths):
    return "".join(path.ljust(255) for path in paths)


class FavouritesTest(PlayerTest):
    def favourite_rows(self, program):
        return program.list_rows(layout.FAVOURITES)

    def wait_favourites(self, program, count, what=None):
        wait_for(lambda: len(self.favourite_rows(program)) == count, what or f"{count} favourites")

    def file_point(self, program, row):
        return (program.main.x + layout.FILES[0] + 40, self.file_rows(program)[row])

    def favourite_point(self, program, row):
        return (program.main.x + layout.FAVOURITES[0] + 60, self.favourite_rows(program)[row])

    def drag_file_to(self, program, row, target):
        """Drags the file list's row-th file with the mouse onto a point of the main window."""
        self.display.drag_and_drop(self.file_point(program, row), program.at(target))

    def exit_and_read(self, program, group=0):
        program.click(layout.button("exit"))
        self.assertEqual(program.wait_exit(), 0)
        name = f"Reelbox{group:02d}.rdm"
        return list_records(program, group) if program.exists(name) else []


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


class Dragging(FavouritesTest):
    def test_a_file_dragged_from_the_file_list_joins_the_favourites(self):
        for name in ("a.avi", "b.avi"):
            open(os.path.join(self.clips, name), "wb").close()
        program = self.start_on(["a.avi", "b.avi"])
        favourites = layout.centre(layout.FAVOURITES)
        self.drag_file_to(program, 1, favourites)
        self.wait_favourites(program, 1, "the dragged file in the favourites")
        self.drag_file_to(program, 1, favourites)
        self.wait_favourites(program, 2, "the same file a second time")
        self.assertEqual(self.exit_and_read(program), [os.path.join(self.clips, "b.avi")] * 2)

    def test_a_file_let_go_on_the_favourites_scroll_bar_joins_them(self):
        open(os.path.join(self.clips, "a.avi"), "wb").close()
        kept = [os.path.join(self.clips, f"kept{i:02d}.avi") for i in range(30)]  # more than the list shows
        program = self.start(folder=self.clips, files={"Reelbox00.rdm": records(kept)})
        wait_for(lambda: len(self.file_rows(program)) == 1, "the file in the file list")
        x, y, width, height = layout.FAVOURITES
        self.drag_file_to(program, 0, (x + width - 8, y + height // 2))  # the vertical scroll bar
        self.assertEqual(self.exit_and_read(program), kept + [os.path.join(self.clips, "a.avi")])

    def test_files_dropped_from_a_file_manager_are_added_when_they_are_local_videos(self):
        program = self.start(folder=self.clips)
        names = ["Holiday.Mpg", "notes.txt", "z.avi"]
        for name in names:
            open(os.path.join(self.clips, name), "wb").close()
        dropped = [os.path.join(self.clips, n) for n in names] + ["sftp://host/remote.avi"]
        source = subprocess.Popen([DRAG_SOURCE, "20", "20", *dropped], env=self.display.env,
                                  stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.addCleanup(lambda: (source.kill(), source.wait()))
        wait_for(lambda: self.display.run(["xdotool", "search", "--onlyvisible", "--name", "uri drag source"],
                                          check=False).strip(), "the file manager's window")
        self.display.drag_and_drop((60, 60), program.at(layout.centre(layout.FAVOURITES)))
        self.wait_favourites(program, 2, "the two local videos of the drop")
        self.assertEqual(self.exit_and_read(program),
                         [os.path.join(self.clips, "Holiday.Mpg"), os.path.join(self.clips, "z.avi")])


class PlayingAndEditing(FavouritesTest):
    SIZES = {"a.avi": (320, 240), "b.avi": (256, 192)}

    def start_with_favourites(self):
        for name, size in self.SIZES.items():
            self.clip(name, size=size, seconds=1.0, rate=10)
        paths = [os.path.join(self.clips, n) for n in self.SIZES]
        program = self.start(folder=self.clips, files={"Reelbox00.rdm": records(paths)})
        self.wait_favourites(program, 2, "the two saved favourites")
        return program, paths

    def test_a_press_arms_play_and_remove(self):
        program, paths = self.start_with_favourites()
        self.display.click(*self.favourite_point(program, 1))
        program.click(layout.button("play_favourite"))
        wait_for(lambda: [p for p in program.players() if p.size == player_size(self.SIZES["b.avi"])],
                 "the pressed favourite's player")
        program.wait_no_player()
        self.display.click(*self.favourite_point(program, 0))
        program.click(layout.button("remove_favourite"))
        self.wait_favourites(program, 1, "one favourite left")
        self.assertEqual(self.exit_and_read(program), [paths[1]])

    def test_after_a_removal_nothing_shows_selected_and_play_does_nothing(self):
        program, paths = self.start_with_favourites()
        self.display.click(*self.favourite_point(program, 0))
        program.click(layout.button("remove_favourite"))
        self.wait_favourites(program, 1, "one favourite left")
        x, y, width, height = program.at(layout.FAVOURITES[:2]) + layout.FAVOURITES[2:]
        band = self.display.screenshot().region(x + 2, y + 2, width - 24, height - 24)
        blue = [band[i:i + 3] for i in range(0, len(band), 3) if band[i + 2] > 150 and band[i] < 100]
        self.assertEqual(blue, [], "a row still shows selected")
        program.click(layout.button("play_favourite"))
        stays(lambda: not program.players(), "nothing played", 1.0)

    def test_a_double_click_plays_the_entry_once(self):
        program, paths = self.start_with_favourites()
        self.display.click(*self.favourite_point(program, 0), repeat=2)
        program.wait_player("the double-clicked favourite's player")
        program.wait_no_player("the player to close at the end of the clip")
        stays(lambda: not program.players(), "played once", 1.0)


class TrashPicture(FavouritesTest):
    def test_with_the_switch_off_a_file_dropped_on_the_trash_goes_there_at_once(self):
        for name in ("a.avi", "b.avi"):
            open(os.path.join(self.clips, name), "wb").close()
        program = self.start_on(["a.avi", "b.avi"])
        self.drag_file_to(program, 0, layout.centre(layout.TRASH))
        trashed = os.path.join(program.home, ".local", "share", "Trash", "files", "a.avi")
        wait_for(lambda: os.path.exists(trashed), "a.avi in the trash of the test's home")
        self.assertFalse(os.path.exists(os.path.join(self.clips, "a.avi")))
        wait_for(lambda: len(self.file_rows(program)) == 1, "the file list without a.avi")
        self.assertTrue(os.path.exists(os.path.join(self.clips, "b.avi")))

    def test_with_the_switch_on_the_user_is_asked_and_the_file_goes_to_the_trash(self):
        for name in ("a.avi", "b.avi"):
            open(os.path.join(self.clips, name), "wb").close()
        program = self.start_on(["a.avi", "b.avi"], Kakunin=" 1")
        self.assertTrue(colour_near(program.pixel(layout.switch("Kakunin")), layout.SWITCH_ON))
        before = {w.id for w in program.windows()}
        self.drag_file_to(program, 0, layout.centre(layout.TRASH))
        wait_for(lambda: [w for w in program.windows() if w.id not in before], "the question")
        self.assertTrue(os.path.exists(os.path.join(self.clips, "a.avi")), "nothing moves before the answer")
        self.display.key("alt+y")
        trashed = os.path.join(program.home, ".local", "share", "Trash", "files", "a.avi")
        wait_for(lambda: os.path.exists(trashed), "a.avi in the trash of the test's home")
        self.assertFalse(os.path.exists(os.path.join(self.clips, "a.avi")))
        wait_for(lambda: len(self.file_rows(program)) == 1, "the file list without a.avi")


@unittest.skipUnless(can_mount(), "needs root and mount namespaces for a read-only drive")
class NoTrash(FavouritesTest):
    def test_a_file_the_trash_cannot_take_stays_and_the_user_is_told(self):
        # A read-only drive: nothing on it can go to a trash.
        drive = "/mnt/readonly"
        program = self.start(folder=drive, Kakunin=" 1", command_prefix=with_mounts(
            f"mount -t tmpfs mnt /mnt && mkdir {drive} && mount -t tmpfs -o size=4m ro {drive} && "
            f"touch {drive}/a.avi {drive}/b.avi && mount -o remount,ro {drive}"))
        wait_for(lambda: len(self.file_rows(program)) == 2, "the drive's two files")
        before = {w.id for w in program.windows()}
        self.drag_file_to(program, 0, layout.centre(layout.TRASH))
        question = wait_for(lambda: [w for w in program.windows() if w.id not in before], "the question")[0]
        self.display.key("alt+y")
        wait_for(lambda: [w for w in program.windows() if w.id not in before and w.id != question.id],
                 "the message that the file could not go to the trash")
        self.assertEqual(len(self.file_rows(program)), 2, "the file is still listed")


class Groups(FavouritesTest):
    def test_markers_switch_groups_and_exit_keeps_each_in_its_file(self):
        names = ["a.avi", "b.avi"]
        for name in names:
            open(os.path.join(self.clips, name), "wb").close()
        paths = [os.path.join(self.clips, n) for n in names]
        program = self.start(folder=self.clips, files={"Reelbox00.rdm": records(paths)})
        wait_for(lambda: len(self.file_rows(program)) == 2, "the two files")
        self.wait_favourites(program, 2)
        marker = lambda n: program.pixel(layout.centre(layout.group_marker(n)))

        program.click(layout.centre(layout.group_marker(3)))
        self.wait_favourites(program, 0, "group 3's empty list")
        self.assertTrue(colour_near(marker(3), layout.GROUP_CURRENT))
        self.assertTrue(colour_near(marker(0), layout.GROUP_FILLED))
        self.drag_file_to(program, 1, layout.centre(layout.FAVOURITES))
        self.wait_favourites(program, 1, "the file dragged into group 3")

        program.click(layout.centre(layout.group_marker(0)))
        self.wait_favourites(program, 2, "group 0's two entries back")
        self.assertTrue(colour_near(marker(0), layout.GROUP_CURRENT))
        self.assertTrue(colour_near(marker(3), layout.GROUP_FILLED))
        self.assertTrue(colour_near(marker(7), layout.GROUP_EMPTY))
        self.assertEqual(list_records(program, 3), [paths[1]])
        self.assertEqual(self.exit_and_read(program), paths)

        # The next start shows the groups as they were left.
        program = self.start(ini=program.read("Reelbox.ini").decode(), files={
            "Reelbox00.rdm": records(paths), "Reelbox03.rdm": records([paths[1]])})
        self.wait_favourites(program, 2)
        self.assertTrue(colour_near(program.pixel(layout.centre(layout.group_marker(3))), layout.GROUP_FILLED))


if __name__ == "__main__":
    unittest.main()
