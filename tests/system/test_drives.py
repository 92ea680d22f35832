"""The drive list as a user with a removable drive meets it."""

import unittest

import layout
from harness import SystemTest, can_mount, wait_for, with_mounts


@unittest.skipUnless(can_mount(), "needs root and mount namespaces to mount a drive")
class RemovableDrive(SystemTest):
    def test_a_stick_mounted_under_run_media_is_offered_and_opens(self):
        # The program runs in a mount namespace of its own, where a stick is
        # mounted where udisks mounts one (nothing of it shows outside).
        stick = "/run/media/tester/STICK"
        program = self.start(folder=self.clips, command_prefix=with_mounts(
            f"mkdir -p /run/media && mount -t tmpfs media /run/media && mkdir -p {stick} && "
            f"mount -t tmpfs -o size=4m stick {stick} && touch {stick}/holiday.avi"))
        before = program.windows()
        program.click(layout.centre(layout.DRIVES))
        popup = wait_for(lambda: [w for w in program.windows() if w.id not in {b.id for b in before}],
                         "the drive list to open")[0]
        picture = program.screen()
        rows = picture.text_lines(popup.x + 2, popup.y + 2, popup.width - 4, popup.height - 4)
        self.assertGreaterEqual(len(rows), 2, "the root and the stick")
        # The drives are listed in mount order; the stick was mounted last.
        self.display.click(popup.x + 30, rows[-1])
        wait_for(lambda: len(program.list_rows(layout.FILES)) == 1, "the stick's one video in the file list")
        program.click(layout.button("exit"))
        program.wait_exit()
        self.assertIn(f"Path={stick}", program.read("Reelbox.ini").decode())


if __name__ == "__main__":
    unittest.main()
