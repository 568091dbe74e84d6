#!/usr/bin/env python3
"""Adds a 1000-object test configuration to a data directory and selects it in configfile.cfg.

"Asteroid Field": the Sun, 998 asteroids on circular orbits of a belt between 2.2 and 3.2 AU about
the Sun's position and velocity as the data directory holds them, and the default observer.
With --with-solar-system, "Solar System and Asteroid Field": the bodies of the default
configuration, the same belt filled up to 1000 objects, and the default observer. All asteroids
share one mesh and one texture. Deterministic (fixed seed).

Usage: make_asteroid_field.py --out DATADIR [--with-solar-system]
       (DATADIR: a copy of the repository's data/)
"""
import argparse
import math
import os
import random
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from object_writer import NA, object_file_text  # noqa: E402
from output import write_text  # noqa: E402

BELT_NAME = "Asteroid Field"
SYSTEM_NAME = "Solar System and Asteroid Field"
DEFAULT_CONFIGURATION = "Default Configuration"
TOTAL_OBJECTS = 1000
MESH = "Media/Models/sphere_lo.x"
TEXTURE = "Media/Textures/moon.jpg"
AU_KM = 1.495978707e8
# The simulator's gravitational constant: the 32-bit float nearest 6.672e-20 km^3 kg^-1 s^-2.
G_KM3_PER_KG_S2 = 6.672000046761508e-20


def read_items(path, wanted):
    """The numeric items of an object file, by number, for the numbers in wanted."""
    items = {}
    with open(path, encoding="latin-1") as f:
        for line in f:
            if not line.startswith("Item ") or "=" not in line:
                continue
            number = int(line[5:line.index(".")])
            if number in wanted:
                items[number] = float(line.split("=", 1)[1].strip())
    missing = [n for n in wanted if n not in items]
    if missing:
        raise SystemExit("%s: items %s missing" % (path, missing))
    return items


def sun_state(out_dir):
    """Mass, position and velocity of the Sun as the data directory delivers them."""
    items = read_items(os.path.join(out_dir, "Objects", "Sun.cfg"), range(1, 8))
    return items[1], (items[2], items[3], items[4]), (items[5], items[6], items[7])


def default_bodies(out_dir):
    """The default configuration's entries without the observer (kept last by the caller)."""
    path = os.path.join(out_dir, "Configurations", DEFAULT_CONFIGURATION + ".cfg")
    entries = []
    with open(path, encoding="latin-1") as f:
        for line in f:
            entry = line.strip()
            if entry == "-999":
                break
            if entry and entry != "Observer.cfg":
                entries.append(entry)
    return entries


def asteroid_items(index, rng, sun):
    mass, centre, centre_velocity = sun
    radius_au = rng.uniform(2.2, 3.2)
    angle = rng.uniform(0.0, 2.0 * math.pi)
    tilt = rng.uniform(-0.1, 0.1)
    r = radius_au * AU_KM
    offset = (r * math.cos(angle), r * math.sin(tilt), r * math.sin(angle))
    speed = math.sqrt(G_KM3_PER_KG_S2 * mass / math.sqrt(sum(c * c for c in offset)))
    relative_velocity = (-speed * math.sin(angle), 0.0, speed * math.cos(angle))
    position = tuple(c + o for c, o in zip(centre, offset))
    velocity = tuple(c + v for c, v in zip(centre_velocity, relative_velocity))
    size_km = rng.uniform(50.0, 500.0)
    items = [NA] * 61
    for flag in (22, 26, 27, 28):
        items[flag] = 0
    items[0] = "Objects/Asteroid_%03d.cfg" % index
    items[1] = 2.0e18 * (size_km / 100.0) ** 3
    items[2:5] = position
    items[5:8] = velocity
    items[9:12] = position
    items[15] = MESH
    items[16] = TEXTURE
    items[17] = rng.uniform(0.0, 1.0)
    items[18] = 1.0 / rng.uniform(4.0 * 3600.0, 30.0 * 3600.0)
    items[19] = 0.0
    items[20] = size_km
    items[21] = size_km * 0.8
    items[27] = 1
    return items


def build(out_dir, with_solar_system):
    rng = random.Random(1000)
    sun = sun_state(out_dir)
    entries = default_bodies(out_dir) if with_solar_system else ["Sun.cfg"]
    name = SYSTEM_NAME if with_solar_system else BELT_NAME
    for index in range(TOTAL_OBJECTS - 1 - len(entries)):
        file_name = "Asteroid_%03d.cfg" % index
        write_text(os.path.join(out_dir, "Objects", file_name),
                   object_file_text(asteroid_items(index, rng, sun)))
        entries.append(file_name)
    entries.append("Observer.cfg")
    write_text(os.path.join(out_dir, "Configurations", name + ".cfg"),
               "".join(e + "\n" for e in entries) + "-999\n")
    write_text(os.path.join(out_dir, "configfile.cfg"), name + "\n-999\n")
    return name, len(entries)


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--out", required=True, help="data directory (a copy of data/) to add the configuration to")
    parser.add_argument("--with-solar-system", action="store_true",
                        help="the default configuration's bodies plus asteroids up to 1000 objects")
    args = parser.parse_args()
    name, count = build(args.out, args.with_solar_system)
    print("%d objects in Configurations/%s.cfg" % (count, name))


if __name__ == "__main__":
    main()
