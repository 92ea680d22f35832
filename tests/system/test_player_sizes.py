"""The files people have, played from the main window with the real mouse and
keyboard in both player windows, on a screen with a dock along its left edge:
sound without a picture, MP4 and Matroska under an .avi name, a picture
larger than the screen, non-square pixels, a rotated phone clip and a tiny
picture. Each window lies wholly on what the dock leaves of the screen,
shows the picture whole at its proportions, and stops on Esc."""

import os
import subprocess
import unittest

import layout
from harness import colour_near, stays, wait_for
from test_playback import PlayerTest

DOCK = 100  # pixels along the left edge
GREEN = (32, 192, 64)  # the clips' picture, so that any bar shows
SECONDS = 20


def make(path, picture, codecs, container, remux=()):
    """A clip of a green picture `picture` (w, h) big (none: sound only) and a
    tone, in `container`; with `remux`, copied once more with those options
    (ffmpeg 5.1 writes a rotation only on a stream copy)."""
    command = ["ffmpeg", "-v", "error", "-y"]
    if picture:
        command += ["-f", "lavfi", "-i", f"color=c=0x20c040:size={picture[0]}x{picture[1]}:rate=25:duration={SECONDS}"]
    command += ["-f", "lavfi", "-i", f"sine=frequency=440:duration={SECONDS}", *codecs, "-f", container]
    first = path + ".first" if remux else path
    subprocess.run(command + [first], check=True)
    if remux:
        subprocess.run(["ffmpeg", "-v", "error", "-y", "-i", first, "-c", "copy", *remux, "-f", container, path],
                       check=True)
        os.remove(first)


# name, stored picture, codecs, container, remux options, the picture as the
# windows show it on 1180 x 1024 pixels (none: no picture), and the two
# windows' sizes (a width of None: as wide as the window's strip and status
# bar need, which fonts decide; no second size: not played there).
CLIPS = [
    ("big.avi", (1920, 1080), ["-c:v", "mpeg4", "-q:v", "10"], "avi", (), (1180, 663), (1180, 716), (1180, 729)),
    ("dvd.avi", (720, 480), ["-c:v", "mpeg2video", "-aspect", "16:9", "-c:a", "mp2"], "mpeg", (), (854, 480),
     (854, 533), (854, 546)),
    ("mkv.avi", (192, 144), ["-c:v", "mpeg4", "-c:a", "libvorbis"], "matroska", (), (192, 144), (192, 197),
     (192, 210)),
    ("mp4.avi", (256, 192), ["-c:v", "mpeg4", "-c:a", "aac"], "mp4", (), (256, 192), (256, 245), (256, 258)),
    ("rotated.avi", (320, 180), ["-c:v", "mpeg4", "-c:a", "aac"], "mp4", ["-metadata:s:v:0", "rotate=90"],
     (180, 320), (180, 373), (180, 386)),
    ("sound.avi", None, ["-c:a", "libmp3lame"], "avi", (), None, (233, 246), (209, 219)),
    ("sound.wmv", None, ["-c:a", "wmav2"], "asf", (), None, (233, 246), None),  # a double-click hands it on
    ("tiny.avi", (64, 48), ["-c:v", "mpeg4"], "avi", (), (64, 48), (150, 101), (None, 114)),
]


def greenish(pixel):
    return colour_near(pixel, GREEN, 40)


class PlayerSizes(PlayerTest):
    def setUp(self):
        super().setUp()
        self.area = self.display.add_panel("left", DOCK)

    def picture_rect(self, player, shown, below):
        """Where the picture should be: centred across the window under the
        20-pixel strip, `below` pixels of chrome beneath it."""
        return (player.x + (player.width - shown[0]) // 2, player.y + 20, shown[0], player.height - 20 - below)

    def check_picture(self, rect, what):
        """The picture fills rect: green along its edges and in its middle, no bar."""
        x, y, width, height = rect
        middle = (x + width // 2, y + height // 2)
        wait_for(lambda: greenish(self.display.screenshot().pixel(*middle)), f"{what}: the picture to show")
        screen = self.display.screenshot()
        inset = 2  # scaling blurs the very edge
        edge = [(x + i, y + j) for i in range(inset, width - inset, 7) for j in (inset, height - 1 - inset)]
        edge += [(x + i, y + j) for j in range(inset, height - inset, 7) for i in (inset, width - 1 - inset)]
        bad = [p for p in edge if not greenish(screen.pixel(*p))]
        self.assertFalse(bad, f"{what}: bars or a picture out of place at {bad[:5]}")

    def wait_laid_out(self, program, height, what):
        """The player window once laid out `height` pixels tall: the largest
        of the program's windows but the main one (the picture has a window
        of its own inside it)."""
        def player():
            players = program.players()
            largest = max(players, key=lambda p: p.width * p.height, default=None)
            return largest if largest and largest.height == height else None
        return wait_for(player, f"{what}, {height} pixels tall (seen: {program.players()})")

    def check_window(self, player, size, shown, below, what):
        ax, ay, aw, ah = self.area
        self.assertTrue(ax <= player.x and ay <= player.y and player.x + player.width <= ax + aw
                        and player.y + player.height <= ay + ah, f"{what}: {player} off the area {self.area}")
        width, height = size
        self.assertEqual(player.height, height, what)
        if width is None:
            self.assertTrue(shown[0] < player.width <= 233, f"{what}: {player.width} pixels wide")
        else:
            self.assertEqual(player.width, width, what)
        if shown:
            self.check_picture(self.picture_rect(player, shown, below), what)

    def test_each_clip_fits_the_screen_shows_its_picture_whole_and_stops_on_esc(self):
        for name, picture, codecs, container, remux, *_ in CLIPS:
            make(os.path.join(self.clips, name), picture, codecs, container, remux)
        program = self.start_on([row[0] for row in CLIPS])
        x, rows = program.main.x + layout.FILES[0] + 40, self.file_rows(program)
        for row, (name, *_, shown, directshow, realaudio) in enumerate(CLIPS):
            with self.subTest(name):
                self.display.click(x, rows[row])
                program.click(layout.button("play_file"))
                what = f"{name} in the DirectShow window"
                self.check_window(self.wait_laid_out(program, directshow[1], what), directshow, shown, 33, what)
                self.display.key("Escape")
                program.wait_no_player(f"{name}: the DirectShow window to close on Esc")
                if realaudio is None:
                    continue
                self.display.click(x, rows[row], repeat=2)
                what = f"{name} in the RealAudio window"
                self.check_window(self.wait_laid_out(program, realaudio[1], what), realaudio, shown, 46, what)
                self.display.key("Escape")
                program.wait_no_player(f"{name}: the RealAudio window to close on Esc")


class SoundOnly(PlayerTest):
    def test_a_sound_file_plays_in_a_visible_modal_window_that_esc_stops(self):
        make(os.path.join(self.clips, "talk.avi"), None, ["-c:a", "libmp3lame"], "avi")
        program = self.start_on(["talk.avi"])
        self.select_file(program, 0)
        program.click(layout.button("play_file"))
        player = program.wait_player()
        self.assertEqual(player.size, (233, 246))  # no picture: no window of its own inside
        # The main window takes no click meanwhile: no switch flips, no second player.
        for control in (layout.switch("Rep2"), layout.button("play_file")):
            px, py = program.at(control)
            self.assertFalse(player.x <= px < player.x + player.width and player.y <= py < player.y + player.height)
            program.click(control)
        stays(lambda: len(program.players()) == 1 and not colour_near(program.pixel(layout.switch("Rep2")),
                                                                      layout.SWITCH_ON),
              "one player and the main window untouched", 1.5)
        self.display.key("Escape")
        program.wait_no_player("the sound file's player to close on Esc")
        self.main_takes_a_click(program)


if __name__ == "__main__":
    unittest.main()
