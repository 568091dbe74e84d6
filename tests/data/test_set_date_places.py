#!/usr/bin/env python3
# "celestrix --set-date" against the IAU/SOFA planetary theories (ERFA's plan94, epv00 and moon98)
# on dates across the settable range: on a copy of the delivered data, every planet, the Sun and the
# Moon stand within one arcminute of their geometric places as seen from the ship, the ship keeps
# its place and motion relative to Earth, mission time starts at 0, the date file holds the date,
# and bad dates are refused with a message and nothing written.
#
# Usage: test_set_date_places.py CELESTRIX DATA_DIR
import math
import os
import shutil
import subprocess
import sys
import tempfile
import unittest

import warnings

import erfa

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from test_planet_places import (ARCMINUTE_RAD, PLANETS, add, angle, norm, read_items,  # noqa: E402
                                sub, theory_heliocentric, vector)

CELESTRIX = None
DATA_DIR = None
DATES = ["1950-01-01", "2026-12-08", "2100-06-01T18:30"]


def terrestrial_time(text):
    """Two-part TT Julian date of a UTC date as --set-date takes it."""
    day, _, clock = text.partition("T")
    y, m, d = (int(p) for p in day.split("-"))
    hh, mm = (int(p) for p in clock.split(":")) if clock else (0, 0)
    u1, u2 = erfa.dtf2d("UTC", y, m, d, hh, mm, 0.0)
    return erfa.taitt(*erfa.utctai(u1, u2))


def read_bodies(data):
    return {name: read_items(os.path.join(data, "Objects", name + ".cfg"))
            for name in ["Sun", "Moon", "Observer"] + PLANETS}


def read_folder(folder):
    contents = {}
    for name in os.listdir(folder):
        with open(os.path.join(folder, name), "rb") as handle:
            contents[name] = handle.read()
    return contents


class SetDate(unittest.TestCase):
    def setUp(self):
        self.tmp = tempfile.mkdtemp(prefix="celestrix-set-date-")
        self.data = os.path.join(self.tmp, "data") + "/"
        shutil.copytree(DATA_DIR, self.data)
        self.before = read_bodies(self.data)

    def tearDown(self):
        shutil.rmtree(self.tmp, ignore_errors=True)

    def run_set_date(self, date):
        env = dict(os.environ, XDG_RUNTIME_DIR=self.tmp, QT_QPA_PLATFORM="offscreen")
        return subprocess.run([CELESTRIX, "--data-dir", self.data, "--set-date", date], env=env,
                              capture_output=True, text=True, timeout=60)

    def test_every_body_stands_at_its_place_of_the_date_seen_from_the_ship(self):
        for date in DATES:
            with self.subTest(date=date):
                run = self.run_set_date(date)
                self.assertEqual(run.returncode, 0, run.stderr)
                files = read_bodies(self.data)
                # ERFA flags dates before 1960 (no UTC yet) and past 2100 as dubious; the theories
                # still hold there.
                with warnings.catch_warnings():
                    warnings.simplefilter("ignore")
                    theory = theory_heliocentric(terrestrial_time(date))
                ship = vector(files["Observer"], 2)
                earth = vector(files["Earth"], 2)
                ship_theory = add(theory["Earth"][0], sub(ship, earth))
                worst = 0.0
                for name in ["Sun", "Moon"] + PLANETS:
                    seen = sub(vector(files[name], 2), ship)
                    true = sub(theory[name][0], ship_theory)
                    worst = max(worst, math.degrees(angle(seen, true)) * 60)
                    self.assertLess(angle(seen, true), ARCMINUTE_RAD, "%s on %s is %.3f arcmin off" %
                                    (name, date, math.degrees(angle(seen, true)) * 60))
                    self.assertAlmostEqual(norm(seen) / norm(true), 1.0, delta=1e-4)
                print("%s: largest offset %.4f arcmin" % (date, worst), file=sys.stderr)
                # Motions: planets relative to the Sun, the Moon relative to Earth (0.1 %).
                sun_v = vector(files["Sun"], 5)
                for name in PLANETS:
                    given = sub(vector(files[name], 5), sun_v)
                    self.assertLess(norm(sub(given, theory[name][1])) / norm(theory[name][1]), 1e-3, name)
                moon = sub(vector(files["Moon"], 5), vector(files["Earth"], 5))
                moon_true = sub(theory["Moon"][1], theory["Earth"][1])
                self.assertLess(norm(sub(moon, moon_true)) / norm(moon_true), 1e-3)
                # The ship keeps its place and motion relative to Earth.
                for first in (2, 5):
                    rel = sub(vector(files["Observer"], first), vector(files["Earth"], first))
                    rel0 = sub(vector(self.before["Observer"], first), vector(self.before["Earth"], first))
                    self.assertLess(norm(sub(rel, rel0)) / norm(rel0), 1e-4, "observer item %d" % first)
                with open(os.path.join(self.data, "time.cfg")) as handle:
                    self.assertEqual(handle.read().strip(), "0")
                with open(os.path.join(self.data, "mission_date.cfg")) as handle:
                    expected = date if "T" in date else date + "T00:00"
                    self.assertEqual(handle.read().strip(), expected)

    def test_bad_dates_are_refused_and_change_nothing(self):
        objects = os.path.join(self.data, "Objects")
        snapshot = read_folder(objects)
        for date, words in [("1899-12-31", "1900 to 2100"), ("2101-01-01", "1900 to 2100"),
                            ("2026-02-29", "calendar"), ("2026-12-08T24:00", "calendar"),
                            ("08.12.2026", "YYYY-MM-DD"), ("2026-12-8", "YYYY-MM-DD")]:
            with self.subTest(date=date):
                run = self.run_set_date(date)
                self.assertNotEqual(run.returncode, 0)
                self.assertIn(words, run.stderr)
        self.assertEqual(snapshot, read_folder(objects))
        self.assertFalse(os.path.exists(os.path.join(self.data, "mission_date.cfg")))


if __name__ == "__main__":
    if len(sys.argv) < 3:
        sys.exit("usage: test_set_date_places.py CELESTRIX DATA_DIR")
    DATA_DIR = sys.argv.pop(2)
    CELESTRIX = sys.argv.pop(1)
    unittest.main(verbosity=2)
