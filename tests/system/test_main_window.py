"""The main window driven with the real mouse: leaving with and without saving,
the switches, the file browser, the title drag and the window at rest."""

import os
import time
import unittest

import layout
from harness import SystemTest, colour_near, stays, wait_for


def settings_of(program):
    """The keys of the settings file's [Section], as written."""
    values = {}
    for line in program.read("Reelbox.ini").decode("utf-8").splitlines():
        if "=" in line:
            key, value = line.split("=", 1)
            values[key.strip()] = value.strip()
    return values


class Leaving(SystemTest):
    def test_exit_saves_the_folder_and_switches_and_leaves(self):
        os.mkdir(os.path.join(self.clips, "inner"))
        program = self.start(folder=self.clips)
        program.click(layout.switch("Rep1"))
        wait_for(lambda: colour_near(program.pixel(layout.switch("Rep1")), layout.SWITCH_ON),
                 "the repeat switch to show on")
        program.click(layout.button("exit"))
        self.assertEqual(program.wait_exit(), 0)
        saved = settings_of(program)
        self.assertEqual(saved["Path"], self.clips)
        self.assertEqual(saved["Rep1"], "1")
        self.assertEqual(saved["Group"], "0")

    def test_cancel_and_the_close_picture_leave_without_saving(self):
        for how in ("cancel", "close picture"):
            with self.subTest(how):
                program = self.start(folder=self.clips)
                program.click(layout.switch("Full1"))
                wait_for(lambda: colour_near(program.pixel(layout.switch("Full1")), layout.SWITCH_ON),
                         "the full-screen switch to show on")
                before = program.read("Reelbox.ini")
                program.click(layout.button("cancel") if how == "cancel" else layout.CLOSE_PICTURE)
                self.assertEqual(program.wait_exit(), 0)
                self.assertEqual(program.read("Reelbox.ini"), before)
                program.close()


class Switches(SystemTest):
    # Each switch with the key it is saved as and the value a click leaves.
    TOGGLES = [("Full1", "Full1", "1"), ("Rep1", "Rep1", "1"), ("Kakunin", "Kakunin", "1"),
               ("Full2", "Full2", "1"), ("Rep2", "Rep2", "1")]

    def test_each_switch_toggles_with_its_picture_and_is_saved_by_exit(self):
        program = self.start(folder=self.clips)
        shown = lambda name: program.pixel(layout.switch(name))
        for name, _, _ in self.TOGGLES:
            self.assertTrue(colour_near(shown(name), layout.SWITCH_OFF), name)
            program.click(layout.switch(name))
            wait_for(lambda: colour_near(shown(name), layout.SWITCH_ON), f"{name} to show on")
        # The order pairs: a click on "random" moves the mark from "in order".
        for side in ("1", "2"):
            self.assertTrue(colour_near(shown(f"rdm{side}_in_order"), layout.SWITCH_ON))
            program.click(layout.switch(f"rdm{side}_random"))
            wait_for(lambda: colour_near(shown(f"rdm{side}_random"), layout.SWITCH_ON),
                     f"random order {side} to show on")
            self.assertTrue(colour_near(shown(f"rdm{side}_in_order"), layout.SWITCH_OFF))
        # A second click turns a switch off again.
        program.click(layout.switch("Rep2"))
        wait_for(lambda: colour_near(shown("Rep2"), layout.SWITCH_OFF), "Rep2 to show off")

        program.click(layout.button("exit"))
        self.assertEqual(program.wait_exit(), 0)
        saved = settings_of(program)
        self.assertEqual({k: saved[k] for k in ("Full1", "Rep1", "Kakunin", "Full2", "Rep2", "rdm1", "rdm2")},
                         {"Full1": "1", "Rep1": "1", "Kakunin": "1", "Full2": "1", "Rep2": "0",
                          "rdm1": "1", "rdm2": "1"})

    def test_saved_switches_show_at_the_next_start(self):
        program = self.start(folder=self.clips, Full2=" 1", rdm1=" 1")
        self.assertTrue(colour_near(program.pixel(layout.switch("Full2")), layout.SWITCH_ON))
        self.assertTrue(colour_near(program.pixel(layout.switch("rdm1_random")), layout.SWITCH_ON))
        self.assertTrue(colour_near(program.pixel(layout.switch("rdm1_in_order")), layout.SWITCH_OFF))


class Browser(SystemTest):
    def file_lines(self, program):
        return program.list_rows(layout.FILES)

    def test_the_file_type_box_opens_and_changes_the_file_list(self):
        for name in ("a.avi", "b.avi", "c.mpg"):
            open(os.path.join(self.clips, name), "wb").close()
        program = self.start(folder=self.clips)
        wait_for(lambda: len(self.file_lines(program)) == 3, "three files in the list")
        before = program.windows()
        program.click(layout.centre(layout.FILE_KINDS))
        popup = wait_for(lambda: [w for w in program.windows() if w.id not in {b.id for b in before}],
                         "the file-type list to open")[0]
        # Eight kinds, one row each: the fourth is "*.mpeg;*.mpg".
        row = popup.height // 8
        self.display.click(popup.x + popup.width // 2, popup.y + row * 3 + row // 2)
        wait_for(lambda: len(self.file_lines(program)) == 1, "the list to show the one mpg file")

    def test_a_double_click_on_a_folder_opens_it(self):
        inner = os.path.join(self.clips, "inner")
        os.mkdir(inner)
        open(os.path.join(inner, "x.avi"), "wb").close()
        program = self.start(folder=self.clips)
        self.assertEqual(self.file_lines(program), [])
        x, y, width, height = layout.inside(layout.FOLDERS)
        picture = program.screen()
        # (The rows above the sideways scroll bar.)
        lines = picture.text_lines(program.main.x + x + 20, program.main.y + y, width - 20, height - 20)
        # The folder tree shows the path down to the folder shown, then its subfolder.
        program.display.click(program.main.x + x + 40, lines[-1], repeat=2)
        wait_for(lambda: len(self.file_lines(program)) == 1, "the subfolder's file to show")
        program.click(layout.button("exit"))
        program.wait_exit()
        self.assertEqual(settings_of(program)["Path"], inner)


class TitleDrag(SystemTest):
    def test_dragging_the_title_picture_moves_the_window(self):
        program = self.start(folder=self.clips)
        before = program.main
        start = program.at(layout.TITLE)
        self.display.drag(start, (start[0] - 150, start[1] + 100))
        wait_for(lambda: (lambda m: (m.x - before.x, m.y - before.y) == (-150, 100))(program.refresh_main()),
                 "the window to follow the pointer 150 px left and 100 px down")


class AtRest(SystemTest):
    def test_the_main_window_at_rest_costs_next_to_nothing(self):
        program = self.start(folder=self.clips)
        self.display.move(5, 1000)  # away from the window
        time.sleep(0.5)  # let start-up work finish
        cpu, wakes = program.cpu_seconds(), program.voluntary_switches()
        time.sleep(5)
        cpu, wakes = program.cpu_seconds() - cpu, program.voluntary_switches() - wakes
        print(f"main window at rest for 5 s: {cpu:.3f} CPU s, {wakes / 5:.1f} wakes/s")
        self.assertLess(cpu, 0.25)
        self.assertLess(wakes / 5, 10)


if __name__ == "__main__":
    unittest.main()
