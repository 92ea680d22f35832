"""What the user keeps, with the real program and real files: hand-edited
switch values read one way throughout, settings files with foreign bytes kept
byte for byte, saves that keep what they replace, and no litter from saves a
kill interrupted."""

import os
import signal
import stat
import threading
import time
import unittest

import layout
from harness import Reelbox, colour_near, stays, wait_for
from test_favourites import FavouritesTest, list_records, records
from test_main_window import settings_of

SWITCH_KEYS = ("rdm1", "rdm2", "Group", "Full1", "Full2", "Rep1", "Rep2", "Kakunin")

# Root may read any file: without these capabilities a file's mode binds it too.
WITHOUT_ROOTS_RIGHTS = ("setpriv", "--inh-caps=-dac_override,-dac_read_search",
                        "--bounding-set=-dac_override,-dac_read_search")


class KeptFilesTest(FavouritesTest):
    def prepare(self, ini=None, files=None):
        """A program folder of its own, for a test to change before the start
        (program.start) and to start again after an end."""
        program = Reelbox(self.display, ini=ini, files=files)
        self.addCleanup(program.close)
        self.addCleanup(self._keep_screen_on_failure)
        return program

    def shows_on(self, program, switch):
        return colour_near(program.pixel(layout.switch(switch)), layout.SWITCH_ON)

    def new_windows(self, program, before):
        return [w for w in program.windows() if w.id not in before]


def settings_file(lines, end="\r\n"):
    """A settings file's bytes: lines (text, or bytes as they are) ended by end."""
    return b"".join((line if isinstance(line, bytes) else line.encode()) + end.encode() for line in lines)


class SwitchValues(KeptFilesTest):
    def test_a_hand_edited_value_shows_toggles_saves_and_acts_as_one_thing(self):
        for name in ("a.avi", "b.avi"):
            open(os.path.join(self.clips, name), "wb").close()
        program = self.start_on(["a.avi", "b.avi"], Kakunin="abc", Rep1="-1", rdm1="2", Full1="1.9",
                                Full2="0.5", Rep2="40000", rdm2=" ")
        shown = {name: self.shows_on(program, name) for name in layout.SWITCHES}
        self.assertEqual(shown, {"Kakunin": True, "Rep1": True, "rdm1_random": True, "rdm1_in_order": False,
                                 "Full1": True, "Full2": False, "Rep2": False, "rdm2_in_order": True,
                                 "rdm2_random": False})

        # The confirmation that shows on asks before the trash takes a file.
        before = {w.id for w in program.windows()}
        self.drag_file_to(program, 0, layout.centre(layout.TRASH))
        wait_for(lambda: self.new_windows(program, before), "the question before deleting")
        self.display.key("alt+n")
        wait_for(lambda: not self.new_windows(program, before), "the question to close")
        self.assertTrue(os.path.exists(os.path.join(self.clips, "a.avi")), "kept after 'No'")

        # One click turns each of them the other way, and 終了 saves what shows.
        for name in ("Kakunin", "Rep1", "Full1", "Full2", "Rep2"):
            program.click(layout.switch(name))
            wait_for(lambda: self.shows_on(program, name) != shown[name], f"{name} to turn over")
        program.click(layout.switch("rdm1_in_order"))
        wait_for(lambda: self.shows_on(program, "rdm1_in_order"), "in order to show chosen")
        self.assertFalse(self.shows_on(program, "rdm1_random"))
        program.click(layout.button("exit"))
        self.assertEqual(program.wait_exit(), 0)
        saved = settings_of(program)
        self.assertEqual({k: saved[k] for k in SWITCH_KEYS},
                         {"Kakunin": "0", "Rep1": "0", "rdm1": "0", "Full1": "0", "Full2": "1", "Rep2": "1",
                          "rdm2": "0", "Group": "0"})


class ForeignBytes(KeptFilesTest):
    def test_lines_the_program_does_not_write_come_back_byte_for_byte(self):
        folder = os.path.join(self.clips, "動画")
        os.mkdir(folder)
        open(os.path.join(folder, "a.avi"), "wb").close()
        switches = [f"{key}= 0" for key in SWITCH_KEYS]
        files = {
            # UTF-8 with a byte-order mark, LF endings and one Latin-1 byte elsewhere.
            "UTF-8 with a stray byte": b"\xef\xbb\xbf" + settings_file(
                ["; 設定", "[Other]", b"name=caf\xe9", "[Section]", f"Path={folder}", *switches, "[Tail]", "日=本"],
                "\n"),
            # Shift_JIS from Windows, with one character cut short in another section.
            "Shift_JIS with a cut character": settings_file(
                ["[Section]", b"Path=" + self.clips.encode() + b"/\x93\xae\x89\xe6", *switches, "[Old]",
                 b"x=\x93\xae\x89"]),
        }
        for what, ini in files.items():
            with self.subTest(what):
                program = self.start(ini=ini)
                wait_for(lambda: len(self.file_rows(program)) == 1, "the saved folder's one file")
                program.click(layout.switch("Rep1"))
                wait_for(lambda: self.shows_on(program, "Rep1"), "the repeat switch to show on")
                program.click(layout.button("exit"))
                self.assertEqual(program.wait_exit(), 0)
                self.assertEqual(program.read("Reelbox.ini"), ini.replace(b"Rep1= 0", b"Rep1= 1"))
                program.close()


class Saves(KeptFilesTest):
    def test_a_list_file_that_cannot_be_read_is_kept_and_the_user_told_once(self):
        paths = [os.path.join(self.clips, n) for n in ("a.avi", "b.avi")]
        for path in paths:
            open(path, "wb").close()
        program = self.prepare(ini=settings_file(["[Section]", f"Path={self.clips}"]),
                               files={"Reelbox00.rdm": records(paths)})
        os.chmod(program.path("Reelbox00.rdm"), 0)
        program.start(WITHOUT_ROOTS_RIGHTS if os.geteuid() == 0 else ())
        message = program.wait_player("the message that group 1's list cannot be read")
        self.assertEqual(self.display.run(["xdotool", "getwindowname", str(message.id)]).strip(), "Reelbox")
        self.display.key("Return")
        program.wait_no_player("the message to close")

        marker = lambda n: program.pixel(layout.centre(layout.group_marker(n)))
        program.click(layout.centre(layout.group_marker(3)))
        wait_for(lambda: colour_near(marker(3), layout.GROUP_CURRENT), "group 4 to be current")
        self.assertTrue(colour_near(marker(0), layout.GROUP_FILLED), "the kept file still holds entries")
        program.click(layout.centre(layout.group_marker(0)))
        wait_for(lambda: colour_near(marker(0), layout.GROUP_CURRENT), "group 1 to be current again")
        stays(lambda: not program.players(), "told once only", 1.0)
        program.click(layout.button("exit"))
        self.assertEqual(program.wait_exit(), 0, "終了 reports nothing it could not save")
        self.assertEqual(stat.S_IMODE(os.stat(program.path("Reelbox00.rdm")).st_mode), 0)
        os.chmod(program.path("Reelbox00.rdm"), 0o644)
        self.assertEqual(list_records(program), paths)

    def test_exit_keeps_modes_and_links_and_the_old_folder_when_the_new_one_cannot_be_stored(self):
        inner = os.path.join(self.clips, "new\nline")
        os.mkdir(inner)
        open(os.path.join(inner, "a.avi"), "wb").close()
        clip = os.path.join(self.clips, "b.avi")
        open(clip, "wb").close()
        program = self.prepare(ini=settings_file(["[Section]", f"Path={self.clips}", "Rep1= 0"]))
        os.chmod(program.path("Reelbox.ini"), 0o600)
        # The favourites kept elsewhere, through a link.
        shared = os.path.join(program.root, "shared")
        os.mkdir(shared)
        with open(os.path.join(shared, "favourites.rdm"), "w") as f:
            f.write(records([clip]))
        os.symlink("../shared/favourites.rdm", program.path("Reelbox00.rdm"))
        program.start()
        self.wait_favourites(program, 1, "the linked list's favourite")

        # Into the folder whose name holds a line break (its name shows on two lines).
        x, y, width, height = layout.inside(layout.FOLDERS)
        lines = program.screen().text_lines(program.main.x + x + 20, program.main.y + y, width - 20, height - 20)
        self.display.click(program.main.x + x + 40, lines[-2], repeat=2)
        wait_for(lambda: len(self.file_rows(program)) == 1, "the inner folder's file")
        self.drag_file_to(program, 0, layout.centre(layout.FAVOURITES))
        self.wait_favourites(program, 3, "the new favourite, its name on two lines")
        program.click(layout.switch("Rep1"))
        wait_for(lambda: self.shows_on(program, "Rep1"), "the repeat switch to show on")
        program.click(layout.button("exit"))
        self.assertEqual(program.wait_exit(), 0, "終了 reports nothing it could not save")

        saved = settings_of(program)
        self.assertEqual((saved["Path"], saved["Rep1"]), (self.clips, "1"))
        self.assertEqual(stat.S_IMODE(os.stat(program.path("Reelbox.ini")).st_mode), 0o600)
        self.assertTrue(os.path.islink(program.path("Reelbox00.rdm")))
        self.assertEqual(list_records(program), [clip, os.path.join(inner, "a.avi")])


class Litter(KeptFilesTest):
    ENTRIES = 20000  # a list whose save takes long enough to be caught in

    def leftovers(self, program):
        return [n for n in os.listdir(program.folder) if n.endswith(".tmp")]

    def kill_during_a_save(self, program, action, name):
        """Does action and kills the program as soon as the temporary file of a
        save of name shows (else once the action is done); True when the kill
        met that save."""
        caught = []

        def watch():
            deadline = time.monotonic() + 5
            while program.process.poll() is None and time.monotonic() < deadline:
                if any(n.startswith(name + ".") and n.endswith(".tmp") for n in os.listdir(program.folder)):
                    program.process.send_signal(signal.SIGKILL)
                    caught.append(name)
                    return
        watcher = threading.Thread(target=watch)
        watcher.start()
        action()
        watcher.join()
        if program.process.poll() is None:
            program.process.send_signal(signal.SIGKILL)
        program.process.wait()
        return bool(caught)

    def test_saves_killed_during_exit_or_a_group_switch_leave_nothing_behind(self):
        clip = os.path.join(self.clips, "a.avi")
        open(clip, "wb").close()
        entries = records([clip] * self.ENTRIES).encode()
        keys = SWITCH_KEYS + ("Path",)
        program = self.prepare(ini=settings_file(["[Section]", f"Path={self.clips}", *(f"{k}= 0" for k in SWITCH_KEYS)]),
                               files={"Reelbox00.rdm": entries})
        exit = lambda: program.click(layout.button("exit"))
        switch = lambda: program.click(layout.centre(layout.group_marker(3)))
        trials = [("終了", exit, "Reelbox.ini"), ("終了", exit, "Reelbox00.rdm"),
                  ("a group switch", switch, "Reelbox00.rdm")] * 2
        caught = 0
        for what, action, name in trials:
            program.start()
            self.assertEqual(self.leftovers(program), [], "the start removes what a killed save left")
            wait_for(lambda: self.favourite_rows(program), "the favourites")
            was_on = self.shows_on(program, "Rep1")
            program.click(layout.switch("Rep1"))
            wait_for(lambda: self.shows_on(program, "Rep1") != was_on, "the switch to turn")
            caught += self.kill_during_a_save(program, action, name)
            # Never a torn file: the list is whole, the settings hold every key.
            self.assertEqual(program.read("Reelbox00.rdm"), entries, what)
            self.assertEqual(sorted(k for k in settings_of(program) if k in keys), sorted(keys), what)
            program.log.close()
        print(f"{caught} of {len(trials)} kills met a save under way")
        self.assertGreater(caught, 0, "no kill met a save: the test proves nothing")
        program.start()
        self.assertEqual(self.leftovers(program), [])


if __name__ == "__main__":
    unittest.main()
