#!/usr/bin/env python3
"""Adds the 1000-object test configuration "Asteroid Field" to a data directory: the Sun, 998
asteroids on circular orbits of a belt between 2.2 and 3.2 AU that all share one mesh and one
texture, and the default observer; selects it in configfile.cfg. Deterministic (fixed seed).

Usage: make_asteroid_field.py --out DATADIR   (DATADIR: a copy of the repository's data/)
"""
import argparse
import math
import os
import random
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from object_writer import NA, object_file_text  # noqa: E402
from output import write_text  # noqa: E402

NAME = "Asteroid Field"
ASTEROIDS = 998
MESH = "Media/Models/sphere_lo.x"
TEXTURE = "Media/Textures/moon.jpg"
AU_KM = 1.495978707e8
GM_SUN_KM3_S2 = 1.32712440018e11


def asteroid_items(index, rng):
    radius_au = rng.uniform(2.2, 3.2)
    angle = rng.uniform(0.0, 2.0 * math.pi)
    tilt = rng.uniform(-0.1, 0.1)
    r = radius_au * AU_KM
    position = (r * math.cos(angle), r * math.sin(tilt), r * math.sin(angle))
    speed = math.sqrt(GM_SUN_KM3_S2 / r)
    velocity = (-speed * math.sin(angle), 0.0, speed * math.cos(angle))
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


def build(out_dir):
    rng = random.Random(1000)
    entries = ["Sun.cfg"]
    for index in range(ASTEROIDS):
        name = "Asteroid_%03d.cfg" % index
        write_text(os.path.join(out_dir, "Objects", name), object_file_text(asteroid_items(index, rng)))
        entries.append(name)
    entries.append("Observer.cfg")
    write_text(os.path.join(out_dir, "Configurations", NAME + ".cfg"), "".join(e + "\n" for e in entries) + "-999\n")
    write_text(os.path.join(out_dir, "configfile.cfg"), NAME + "\n-999\n")
    return len(entries)


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--out", required=True, help="data directory (a copy of data/) to add the configuration to")
    args = parser.parse_args()
    print("%d objects in Configurations/%s.cfg" % (build(args.out), NAME))


if __name__ == "__main__":
    main()
