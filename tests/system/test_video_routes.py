"""The picture as each drawing route shows it: in software (what this
machine's software OpenGL gets) and with OpenGL, forced by REELBOX_VIDEO_ROUTE.
A wide clip, red on its left half and blue on its right, played full screen:
the picture fills the width at its proportions, black bars above and below."""

import subprocess
import unittest

import layout
from harness import colour_near, wait_for
from test_playback import TITLE_HEIGHT, PlayerTest

RED, BLUE, BLACK = (255, 0, 0), (0, 0, 255), (0, 0, 0)


class VideoRoutes(PlayerTest):
    def make_halves_clip(self, name):
        """A 320 x 160 clip: red on the left, blue on the right, for ten seconds."""
        subprocess.run(["ffmpeg", "-v", "error", "-y", "-f", "lavfi", "-i",
                        "color=red:size=160x160:rate=25:duration=10,pad=320:160:0:0:blue",
                        "-c:v", "mpeg4", "-q:v", "2", "-pix_fmt", "yuv420p", self.clips + "/" + name], check=True)

    def test_each_route_shows_the_picture_full_screen_with_black_bars(self):
        self.make_halves_clip("halves.avi")
        for route in ("software", "opengl"):
            with self.subTest(route):
                program = self.start_on(["halves.avi"], Full1=" 1", env={"REELBOX_VIDEO_ROUTE": route})
                self.select_file(program, 0)
                program.click(layout.button("play_file"))
                player = program.wait_player()
                area = (player.x, player.y + TITLE_HEIGHT, player.width, player.height - TITLE_HEIGHT - 33)
                shown = (area[2], area[2] // 2)  # the picture at the area's width, 2:1
                bar = (area[3] - shown[1]) // 2
                self.assertGreater(bar, 20, f"a full-screen area {area} leaves bars for a 2:1 picture")
                middle = area[1] + area[3] // 2
                points = {
                    "the left half": ((area[0] + area[2] // 4, middle), RED),
                    "the right half": ((area[0] + 3 * area[2] // 4, middle), BLUE),
                    "the bar above": ((area[0] + area[2] // 2, area[1] + bar // 2), BLACK),
                    "the bar below": ((area[0] + area[2] // 2, area[1] + area[3] - bar // 2), BLACK),
                    "the picture's top edge": ((area[0] + area[2] // 4, area[1] + bar + 4), RED),
                    "the picture's bottom edge": ((area[0] + 3 * area[2] // 4, area[1] + bar + shown[1] - 5), BLUE),
                }

                def wrong():
                    """The points that do not show their colour, with what they show."""
                    screen = self.display.screenshot()
                    return {what: screen.pixel(*point) for what, (point, colour) in points.items()
                            if not colour_near(screen.pixel(*point), colour, 40)}
                try:
                    wait_for(lambda: not wrong(), f"{route}: the picture in place")
                except AssertionError:
                    self.fail(f"{route}: {wrong()} in the area {area}")
                self.display.key("Escape")
                program.wait_no_player()
                program.close()


if __name__ == "__main__":
    unittest.main()
