"""The link under the favourites: it opens the program's documentation in the
desktop's browser, the page installed with the program or, for a copy that is
not installed, the page the copy carries. The desktop's opener (xdg-open, as
Qt finds it on PATH) is replaced by one that notes what it was handed."""

import os
import shutil
import subprocess
import tempfile
import unittest
from urllib.parse import unquote, urlparse

import layout
from harness import SystemTest, wait_for

BUILD_DIR = os.environ.get("REELBOX_BUILD_DIR", "")


class Link(SystemTest):
    def opener(self):
        """A folder holding an xdg-open that writes its argument to a file."""
        folder = tempfile.mkdtemp(prefix="reelbox-opener-")
        self.addCleanup(shutil.rmtree, folder, True)
        self.opened = os.path.join(folder, "opened")
        script = os.path.join(folder, "xdg-open")
        with open(script, "w") as f:
            f.write(f'#!/bin/sh\nprintf "%s" "$1" > "{self.opened}.part" && mv "{self.opened}.part" "{self.opened}"\n')
        os.chmod(script, 0o755)
        return {"PATH": folder + os.pathsep + os.environ.get("PATH", "")}

    def installed(self):
        prefix = tempfile.mkdtemp(prefix="reelbox-prefix-")
        self.addCleanup(shutil.rmtree, prefix, True)
        subprocess.run(["cmake", "--install", BUILD_DIR, "--prefix", prefix], check=True, stdout=subprocess.DEVNULL)
        return os.path.join(prefix, "bin", "reelbox")

    def test_the_link_opens_the_documentation_of_an_installed_program_and_of_a_copy(self):
        for how in ("installed", "a copy"):
            with self.subTest(how):
                program_file = self.installed() if how == "installed" else None
                program = self.start(folder=self.clips, program=program_file, env=self.opener())
                program.click(layout.centre(layout.LINK))
                wait_for(lambda: os.path.exists(self.opened), "the desktop to be asked to open the page")
                with open(self.opened) as f:
                    url = urlparse(f.read())
                self.assertEqual(url.scheme, "file")
                page = unquote(url.path)
                if program_file:
                    self.assertEqual(page, os.path.join(os.path.dirname(os.path.dirname(program_file)),
                                                        "share", "doc", "reelbox", "index.html"))
                with open(page, encoding="utf-8") as f:
                    text = f.read()
                self.assertIn("<title>Reelbox の使い方</title>", text)
                program.close()


if __name__ == "__main__":
    unittest.main()
