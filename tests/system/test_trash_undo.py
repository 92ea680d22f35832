"""The trash picture with the real mouse and Ctrl+Z: a file dragged onto it
goes to the desktop trash of the test's own home (with or without the
question), its neighbour becomes the selection, and Ctrl+Z within the time
puts it back byte for byte with both lists as they were."""

import hashlib
import os
import unittest
import urllib.parse

import layout
import subprocess

from harness import can_mount, stays, wait_for, with_mounts
from test_absent_files import greyed, shown_normally
from test_favourites import FavouritesTest, records


def sha256(path):
    with open(path, "rb") as f:
        return hashlib.sha256(f.read()).hexdigest()


def selected_rows(program, rect):
    """The rows of a list that show the selection's blue."""
    x, y, width, height = rect
    picture = program.screen()
    rows = []
    for row in range((height - 2 * layout.LIST_FRAME) // layout.LIST_ROW_HEIGHT):
        band = picture.region(program.main.x + x + 3, program.main.y + y + layout.LIST_FRAME
                              + row * layout.LIST_ROW_HEIGHT + 2, width - 24, layout.LIST_ROW_HEIGHT - 4)
        blue = sum(1 for i in range(0, len(band), 3) if band[i + 2] > 150 and band[i] < 100)
        if blue > 40:
            rows.append(row)
    return rows


class TrashAndUndo(FavouritesTest):
    def trash_of_home(self, program, *parts):
        return os.path.join(os.fsencode(program.home), b".local", b"share", b"Trash", *parts)

    def test_a_trashed_file_comes_back_with_ctrl_z_once_with_both_lists_as_they_were(self):
        names = ["a.avi", "b.avi", "c.avi"]
        for index, name in enumerate(names):
            with open(os.path.join(self.clips, name), "wb") as f:
                f.write(os.urandom(1000 + index))
        b = os.path.join(self.clips, "b.avi")
        digest = sha256(b)
        # A record padded with NULs, as another program may leave it, must come back as it was.
        group0 = (records([b]) + os.path.join(self.clips, "a.avi")).encode().ljust(510, b"\0")
        group3 = records([b]).encode()
        program = self.start_on(names, files={"Reelbox00.rdm": group0, "Reelbox03.rdm": group3})
        self.wait_favourites(program, 2)
        self.select_file(program, 1)
        wait_for(lambda: selected_rows(program, layout.FILES) == [1], "b.avi selected")

        self.drag_file_to(program, 1, layout.centre(layout.TRASH))  # the switch is off: no question
        trashed = self.trash_of_home(program, b"files", b"b.avi")
        wait_for(lambda: os.path.exists(trashed), "b.avi in the trash")
        self.assertEqual(len(program.windows()), 1, "no question")
        self.assertEqual(sha256(trashed), digest)
        with open(self.trash_of_home(program, b"info", b"b.avi.trashinfo"), "rb") as f:
            self.assertIn(b"\nPath=" + urllib.parse.quote_from_bytes(os.fsencode(b)).encode() + b"\n", f.read())
        wait_for(lambda: len(self.file_rows(program)) == 2 and selected_rows(program, layout.FILES) == [1],
                 "the file list without b.avi, c.avi selected in its place")
        wait_for(lambda: greyed(program, 0), "its favourite greyed")

        self.display.key("ctrl+z")
        wait_for(lambda: os.path.exists(b), "b.avi back in its folder")
        self.assertEqual(sha256(b), digest)
        self.assertFalse(os.path.exists(trashed))
        self.assertEqual(os.listdir(self.trash_of_home(program, b"info")), [])
        wait_for(lambda: len(self.file_rows(program)) == 3 and selected_rows(program, layout.FILES) == [1],
                 "the file list as it was, b.avi selected")
        wait_for(lambda: shown_normally(program, 0), "its favourite shown as there")

        os.rename(b, b + ".aside")  # were it taken back again, it would show here
        self.display.key("ctrl+z")
        stays(lambda: not os.path.exists(b) and len(program.windows()) == 1, "a second Ctrl+Z doing nothing", 1.0)
        os.rename(b + ".aside", b)
        program.click(layout.button("exit"))
        self.assertEqual(program.wait_exit(), 0)
        self.assertEqual(program.read("Reelbox00.rdm"), group0)
        self.assertEqual(program.read("Reelbox03.rdm"), group3)

    def test_a_name_that_is_not_utf8_goes_to_the_trash_after_the_question_and_comes_back_as_its_bytes(self):
        name = "ビデオ.avi".encode("shift_jis")
        path = os.path.join(os.fsencode(self.clips), name)
        with open(path, "wb") as f:
            f.write(os.urandom(2000))
        digest = sha256(path)
        program = self.start_on([name], Kakunin=" 1")
        before = {w.id for w in program.windows()}
        self.drag_file_to(program, 0, layout.centre(layout.TRASH))
        wait_for(lambda: [w for w in program.windows() if w.id not in before], "the question")
        self.display.key("alt+y")
        trashed = self.trash_of_home(program, b"files", name)
        wait_for(lambda: os.path.exists(trashed), "the file in the trash under its own bytes")
        with open(self.trash_of_home(program, b"info", name + b".trashinfo"), "rb") as f:
            self.assertIn(b"\nPath=" + urllib.parse.quote_from_bytes(path).encode() + b"\n", f.read())
        wait_for(lambda: self.file_rows(program) == [], "an empty file list")

        self.display.key("ctrl+z")
        wait_for(lambda: os.path.exists(path), "the file back under its own bytes")
        self.assertEqual(sha256(path), digest)
        self.assertEqual(os.listdir(os.path.join(os.fsencode(self.clips))), [name])
        wait_for(lambda: len(self.file_rows(program)) == 1, "the file listed again")


@unittest.skipUnless(can_mount(), "needs root and mount namespaces for a drive of its own")
class DriveTrash(FavouritesTest):
    def test_a_file_on_another_drive_goes_to_that_drives_own_trash_and_comes_back(self):
        drive = "/mnt/drive"
        program = self.start(folder=drive, command_prefix=with_mounts(
            f"mount -t tmpfs mnt /mnt && mkdir {drive} && mount -t tmpfs -o size=4m drive {drive} && "
            f"echo clip > {drive}/a.avi"))
        in_namespace = ["nsenter", "--mount", "--target", str(program.process.pid)]
        read = lambda path: subprocess.run([*in_namespace, "cat", path], capture_output=True).stdout
        wait_for(lambda: len(self.file_rows(program)) == 1, "the drive's file")
        self.drag_file_to(program, 0, layout.centre(layout.TRASH))
        trash = f"{drive}/.Trash-{os.getuid()}"
        wait_for(lambda: read(f"{trash}/files/a.avi") == b"clip\n", "a.avi in the drive's own trash")
        self.assertIn(b"\nPath=a.avi\n", read(f"{trash}/info/a.avi.trashinfo"))
        self.display.key("ctrl+z")
        wait_for(lambda: read(f"{drive}/a.avi") == b"clip\n", "a.avi back on the drive")
        self.assertEqual(read(f"{trash}/info/a.avi.trashinfo"), b"")

        # Where the administrator made a trash for all (sticky), each user's is in it.
        subprocess.run([*in_namespace, "sh", "-c", f"mkdir -m 1777 {drive}/.Trash"], check=True)
        wait_for(lambda: len(self.file_rows(program)) == 1, "a.avi listed again")
        self.drag_file_to(program, 0, layout.centre(layout.TRASH))
        wait_for(lambda: read(f"{drive}/.Trash/{os.getuid()}/files/a.avi") == b"clip\n",
                 "a.avi in the shared trash's folder of the user")


if __name__ == "__main__":
    unittest.main()
