"""The Debian package as `make package` builds it: what it installs, what it
depends on, that its launcher entry and AppStream description validate, and
that lintian finds no error in it."""

import os
import re
import shutil
import subprocess
import tempfile
import unittest

BUILD_DIR = os.environ.get("REELBOX_BUILD_DIR", "")
DESKTOP_ID = "jp.example.reelbox"
ICON_SIZES = (16, 22, 24, 32, 48, 64, 128, 256)


def run(*command):
    return subprocess.run(command, check=True, capture_output=True, text=True).stdout


class DebianPackage(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.output = tempfile.mkdtemp(prefix="reelbox-package-")
        run("cpack", "-G", "DEB", "--config", os.path.join(BUILD_DIR, "CPackConfig.cmake"), "-B", cls.output)
        found = [name for name in os.listdir(cls.output) if name.endswith(".deb")]
        assert len(found) == 1, found
        cls.deb = os.path.join(cls.output, found[0])

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.output, ignore_errors=True)

    def field(self, name):
        return run("dpkg-deb", "--field", self.deb, name).strip()

    def test_installs_the_program_its_launcher_entry_description_icons_and_documentation(self):
        listed = run("dpkg-deb", "-c", self.deb).splitlines()
        files = {line.split()[-1] for line in listed if not line.startswith("d")}
        expected = {"./usr/bin/reelbox", "./usr/libexec/reelbox/reelbox-opengl-probe",
                    f"./usr/share/applications/{DESKTOP_ID}.desktop",
                    f"./usr/share/metainfo/{DESKTOP_ID}.metainfo.xml",
                    f"./usr/share/icons/hicolor/scalable/apps/{DESKTOP_ID}.svg",
                    "./usr/share/doc/reelbox/index.html"}
        expected |= {f"./usr/share/icons/hicolor/{n}x{n}/apps/{DESKTOP_ID}.png" for n in ICON_SIZES}
        expected |= {"./usr/share/man/man1/reelbox.1.gz", "./usr/share/doc/reelbox/changelog.gz",
                     "./usr/share/doc/reelbox/copyright"}
        self.assertEqual(files, expected)
        executable = next(line for line in listed if line.endswith("./usr/bin/reelbox"))
        self.assertTrue(executable.startswith("-rwxr-xr-x root/root"), executable)
        self.assertEqual(os.path.basename(self.deb), f"reelbox_{self.field('Version')}_{self.field('Architecture')}.deb")

    def test_depends_on_what_the_program_links_and_loads(self):
        info = run("dpkg-deb", "-I", self.deb)
        depends = self.field("Depends")
        print(f"Depends: {depends}\npackage size: {os.path.getsize(self.deb)} bytes, "
              f"installed size: {self.field('Installed-Size')} KiB")
        self.assertIn(f"Depends: {depends}", info)
        packages = {re.split(r"[ (]", alternative.strip())[0]
                    for entry in depends.split(",") for alternative in entry.split("|")}
        # Worked out from the libraries the executable links...
        self.assertLessEqual({"libc6", "libstdc++6", "libqt6core6", "libqt6gui6", "libqt6widgets6"}, packages)
        # ...and what it needs without linking: libmpv (loaded on the first
        # playback), Qt's platform plugins and translations, a Japanese font.
        self.assertLessEqual({"libmpv2", "qt6-qpa-plugins", "qt6-translations-l10n", "fonts-ipafont-gothic"},
                             packages)
        self.assertRegex(depends, r"libmpv2 \(>= [0-9.]+\)")
        # Nothing a build needs.
        self.assertFalse({p for p in packages if p.endswith("-dev")}, depends)
        self.assertEqual(self.field("Section"), "video")
        self.assertIn("qt6-wayland", self.field("Recommends").split(", "))  # native Wayland

    def test_launcher_entry_and_description_validate(self):
        unpacked = os.path.join(self.output, "unpacked")
        run("dpkg-deb", "-x", self.deb, unpacked)
        share = os.path.join(unpacked, "usr", "share")
        run("desktop-file-validate", os.path.join(share, "applications", DESKTOP_ID + ".desktop"))
        run("appstreamcli", "validate", "--no-net", "--pedantic",
            os.path.join(share, "metainfo", DESKTOP_ID + ".metainfo.xml"))
        with open(os.path.join(share, "applications", DESKTOP_ID + ".desktop"), encoding="utf-8") as f:
            entry = f.read()
        for line in ("Exec=reelbox %F", f"Icon={DESKTOP_ID}", "Categories=AudioVideo;Video;Player;"):
            self.assertIn(line + "\n", entry)
        self.assertRegex(entry, r"\nName\[ja\]=\S")
        self.assertRegex(entry, r"\nMimeType=(.*;)?video/x-msvideo;")

    def test_lintian_finds_no_error(self):
        found = subprocess.run(["lintian", self.deb], capture_output=True, text=True)
        print(found.stdout, end="")
        self.assertIn(found.returncode, (0, 1), found.stderr)  # 1: it found something
        self.assertFalse([line for line in found.stdout.splitlines() if line.startswith("E:")], found.stdout)


if __name__ == "__main__":
    unittest.main()
