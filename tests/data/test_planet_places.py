#!/usr/bin/env python3
# The delivered default configuration against the IAU/SOFA planetary theories (ERFA's plan94,
# epv00 and moon98) at J2000.0: every body stands within one arcminute of its geometric place as
# seen from the ship, and moves with the theory's velocity. Reads the object files as text, so it
# checks what is delivered, not what a generator meant to write.
#
# Usage: test_planet_places.py DATA_DIR   (DATA_DIR holds Objects/ and "Backup Default Config/")
import math
import os
import re
import sys
import unittest

import erfa

AU_KM = 149597870.7
SECONDS_PER_DAY = 86400.0
J2000_JD = 2451545.0
ARCMINUTE_RAD = math.radians(1.0 / 60.0)
PLANETS = ["Mercury", "Venus", "Earth", "Mars", "Jupiter", "Saturn", "Uranus", "Neptune"]
PLAN94 = {"Mercury": 1, "Venus": 2, "Mars": 4, "Jupiter": 5, "Saturn": 6, "Uranus": 7,
          "Neptune": 8}
DATA_DIR = None


def read_items(path):
    """{item number: text after "= "} of an object file."""
    items = {}
    with open(path, encoding="utf-8") as handle:
        for line in handle:
            match = re.match(r"Item (\d+)\. [^=]*= ?(.*)$", line.rstrip("\n"))
            if match:
                items[int(match.group(1))] = match.group(2)
    return items


def vector(items, first):
    return tuple(float(items[first + k]) for k in range(3))


def to_world(equatorial):
    """J2000 equator (x to the equinox, z north) to the files' frame (RA 0 h along +z, 6 h along
    -x, north +y)."""
    x, y, z = (float(c) for c in equatorial)
    return (-y, z, x)


def sub(a, b):
    return tuple(x - y for x, y in zip(a, b))


def add(a, b):
    return tuple(x + y for x, y in zip(a, b))


def norm(a):
    return math.sqrt(sum(c * c for c in a))


def angle(a, b):
    """Angle between two vectors, accurate also for tiny angles."""
    cross = (a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0])
    return math.atan2(norm(cross), sum(x * y for x, y in zip(a, b)))


def theory_heliocentric(tt=(J2000_JD, 0.0)):
    """{name: (position km, velocity km/s)} relative to the Sun in the files' frame, at the
    two-part TT Julian date tt."""
    def state(pv):
        return (to_world([c * AU_KM for c in pv[0]]),
                to_world([c * AU_KM / SECONDS_PER_DAY for c in pv[1]]))
    places = {"Sun": ((0.0, 0.0, 0.0), (0.0, 0.0, 0.0))}
    for name, number in PLAN94.items():
        places[name] = state(erfa.plan94(tt[0], tt[1], number))
    places["Earth"] = state(erfa.epv00(tt[0], tt[1])[0])
    moon = state(erfa.moon98(tt[0], tt[1]))
    places["Moon"] = (add(places["Earth"][0], moon[0]), add(places["Earth"][1], moon[1]))
    return places


class DeliveredPlaces(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        objects = os.path.join(DATA_DIR, "Objects")
        cls.files = {name: read_items(os.path.join(objects, name + ".cfg"))
                     for name in ["Sun", "Moon", "Observer"] + PLANETS}
        cls.theory = theory_heliocentric()

    def test_every_body_stands_at_its_j2000_place_as_seen_from_the_ship(self):
        # The ship's start is given relative to Earth (its home), so Earth ties the files' frame
        # to the theory's: the ship's heliocentric place is its offset from Earth plus Earth's.
        ship = vector(self.files["Observer"], 2)
        earth_file = vector(self.files["Earth"], 2)
        ship_theory = add(self.theory["Earth"][0], sub(ship, earth_file))
        self.assertLess(norm(sub(ship, earth_file)), 50000.0, "the ship starts near Earth")
        for name in ["Sun", "Moon"] + PLANETS:
            with self.subTest(body=name):
                seen = sub(vector(self.files[name], 2), ship)
                true = sub(self.theory[name][0], ship_theory)
                self.assertLess(angle(seen, true), ARCMINUTE_RAD,
                                "%s is %.3f arcmin from its place" %
                                (name, math.degrees(angle(seen, true)) * 60))
                self.assertAlmostEqual(norm(seen) / norm(true), 1.0, delta=1e-4)

    def test_every_body_moves_with_the_theorys_velocity(self):
        # Relative to the Sun (planets) and to Earth (the Moon): 0.1 % catches a wrong unit, frame
        # or sign; the delivered speeds run 0.017 % slow for the simulator's G.
        sun_velocity = vector(self.files["Sun"], 5)
        for name in PLANETS:
            with self.subTest(body=name):
                given = sub(vector(self.files[name], 5), sun_velocity)
                true = self.theory[name][1]
                self.assertLess(norm(sub(given, true)) / norm(true), 1e-3)
        moon = sub(vector(self.files["Moon"], 5), vector(self.files["Earth"], 5))
        moon_true = sub(self.theory["Moon"][1], self.theory["Earth"][1])
        self.assertLess(norm(sub(moon, moon_true)) / norm(moon_true), 1e-3)

    def test_backup_copies_equal_the_delivered_objects(self):
        backup = os.path.join(DATA_DIR, "Backup Default Config")
        for name in ["Sun", "Moon", "Observer"] + PLANETS:
            with self.subTest(body=name):
                with open(os.path.join(DATA_DIR, "Objects", name + ".cfg"), "rb") as a, \
                        open(os.path.join(backup, name + ".cfg"), "rb") as b:
                    self.assertEqual(a.read(), b.read())


if __name__ == "__main__":
    if len(sys.argv) < 2:
        sys.exit("usage: test_planet_places.py DATA_DIR")
    DATA_DIR = sys.argv.pop(1)
    unittest.main(verbosity=2)
