"""Media keys and the desktop's media controls: while a player window plays,
the program is an MPRIS player on the session bus, and its commands do what
the window's own keys do."""

import re
import subprocess
import unittest

import layout
from harness import Reelbox, wait_for
from test_playback import PlayerTest, player_size

NAME = "org.mpris.MediaPlayer2.reelbox"
PATH = "/org/mpris/MediaPlayer2"
PLAYER = "org.mpris.MediaPlayer2.Player"


class MediaControls(PlayerTest):
    def bus(self, name, method, *arguments):
        return self.display.run(["gdbus", "call", "--session", "--dest", name, "--object-path", PATH,
                                 "--method", method, *arguments])

    def players_on_the_bus(self):
        listed = self.display.run(["gdbus", "call", "--session", "--dest", "org.freedesktop.DBus", "--object-path",
                                   "/org/freedesktop/DBus", "--method", "org.freedesktop.DBus.ListNames"])
        return sorted(n for n in re.findall(r"'([^']+)'", listed) if n.startswith("org.mpris.MediaPlayer2."))

    def status(self, name=NAME):
        return re.search(r"<'(\w+)'>", self.bus(name, "org.freedesktop.DBus.Properties.Get", PLAYER,
                                                "PlaybackStatus")).group(1)

    def command(self, method, name=NAME):
        self.bus(name, f"{PLAYER}.{method}")

    def test_a_playing_list_shows_what_plays_and_takes_pause_play_next_and_stop(self):
        for name, size in {"a.avi": (320, 240), "b.avi": (256, 192), "c.avi": (192, 144)}.items():
            self.clip(name, size=size, seconds=8, rate=10)
        program = self.start_on(["a.avi", "b.avi", "c.avi"])
        self.assertEqual(self.players_on_the_bus(), [], "offered before anything plays")
        monitor = subprocess.Popen(["gdbus", "monitor", "--session", "--dest", NAME], env=self.display.env,
                                   stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
        self.addCleanup(monitor.wait)
        self.addCleanup(monitor.terminate)
        program.click(layout.button("play_files"))
        player = program.wait_player()
        wait_for(lambda: self.players_on_the_bus() == [NAME], "the player's name on the bus")
        metadata = self.bus(NAME, "org.freedesktop.DBus.Properties.Get", PLAYER, "Metadata")
        self.assertIn("'xesam:title': <'a.avi'>", metadata)
        self.assertIn("'mpris:trackid': <objectpath '/", metadata)
        length = int(re.search(r"'mpris:length': <int64 (\d+)>", metadata).group(1))
        self.assertAlmostEqual(length / 1e6, 8.0, delta=0.2)
        wait_for(lambda: self.status() == "Playing", "the status Playing")

        self.command("Pause")
        wait_for(lambda: self.status() == "Paused", "the status Paused")
        self.wait_picture_still(player)
        position = self.bus(NAME, "org.freedesktop.DBus.Properties.Get", PLAYER, "Position")
        self.assertTrue(0 < int(re.search(r"int64 (\d+)", position).group(1)) < 8_000_000, position)
        self.command("Play")
        wait_for(lambda: self.status() == "Playing", "the status Playing again")
        self.wait_picture_moving(player)

        self.command("Next")
        wait_for(lambda: [p.size for p in program.players()] == [player_size((256, 192))], "the second file's window")
        self.assertIn("'xesam:title': <'b.avi'>", self.bus(NAME, "org.freedesktop.DBus.Properties.Get", PLAYER,
                                                           "Metadata"))
        self.command("Stop")
        program.wait_no_player("the list to end")
        wait_for(lambda: self.players_on_the_bus() == [], "the name to leave the bus")
        self.main_takes_a_click(program)

        monitor.terminate()
        changes = monitor.communicate()[0]
        for change in ("'PlaybackStatus': <'Paused'>", "'PlaybackStatus': <'Playing'>", "'xesam:title': <'b.avi'>"):
            self.assertIn(change, changes)

    def test_a_second_copy_plays_under_a_name_of_its_own(self):
        first = self.start(arguments=[self.clip("long.avi", seconds=20, rate=5)])
        first.wait_player()
        wait_for(lambda: self.players_on_the_bus() == [NAME], "the first copy's name")
        second = Reelbox(self.display)
        self.addCleanup(second.close)
        second.start(arguments=[self.clip("other.avi", seconds=20, rate=5)])
        instance = f"{NAME}.instance{second.process.pid}"
        wait_for(lambda: self.players_on_the_bus() == [NAME, instance], "the second copy's name")
        self.command("Stop", name=instance)
        second.wait_no_player("the second copy's player to close")
        wait_for(lambda: self.players_on_the_bus() == [NAME], "the second copy's name to go")
        self.assertTrue(first.players(), "the first copy's player went too")

    def test_without_a_session_bus_a_file_plays_as_before(self):
        self.clip("one.avi", seconds=1.5, rate=10)
        program = self.start(arguments=["one.avi"], cwd=self.clips,
                             env={"DBUS_SESSION_BUS_ADDRESS": f"unix:path={self.clips}/no-bus"})
        player = program.wait_player()
        self.wait_picture_moving(player)
        program.wait_no_player("the player to close at the end of the clip")
        self.main_takes_a_click(program)


if __name__ == "__main__":
    unittest.main()
