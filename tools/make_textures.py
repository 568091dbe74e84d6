#!/usr/bin/env python3
# Generates the planet and Moon maps of Media/Textures/ from Debian's openuniverse-common and
# xplanet-images packages: Earth unchanged at 2048 x 1024, the others scaled to 1024 x 512, RGB.
# The Sun and Saturn's ring are procedural (make_sun_texture.py, make_ring_texture.py). Needs
# djpeg/cjpeg (Debian: libjpeg-turbo-progs).
#
# Usage: make_textures.py --packages DIR [--out DATA_DIR], where DIR holds the unpacked packages
# (apt-get download openuniverse-common xplanet-images; dpkg -x each .deb DIR).
import argparse
import os
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from output import write_bytes  # noqa: E402

OPENUNIVERSE = "usr/share/openuniverse/textures/"
XPLANET = "usr/share/xplanet/images/"
WIDTH, HEIGHT = 1024, 512
JPEG_QUALITY = "90"

# target file: source inside the unpacked packages
MAPS = {
    "mercury.jpg": OPENUNIVERSE + "mercury.jpg",
    "venus.jpg": OPENUNIVERSE + "venus.jpg",
    "moon.jpg": OPENUNIVERSE + "moon.jpg",
    "mars.jpg": OPENUNIVERSE + "mars.jpg",
    "jupiter.jpg": OPENUNIVERSE + "jupiter.jpg",
    "saturn.jpg": OPENUNIVERSE + "saturn.jpg",
    "uranus.jpg": OPENUNIVERSE + "uranus.jpg",
    "neptune.jpg": OPENUNIVERSE + "neptune.jpg",
}
# Brightness factor and loss of saturation per map. Saturn's rings are lit by the Sun at a low
# angle (18 degrees in the default configuration), so the renderer's plain diffuse lighting
# makes them a third as bright as the globe's centre; photographs show the B ring about as bright
# as the globe. The globe's map is darkened to match, and its strong yellow turns to the pale
# gold of photographs. (brightness per channel, loss of saturation)
TONE = {"saturn.jpg": ((0.40, 0.37, 0.36), 0.45)}

# Taken byte for byte: NASA's Blue Marble at 2048 x 1024, already a longitude/latitude JPEG.
UNCHANGED = {"earth.jpg": XPLANET + "earth.jpg"}


def decode(path):
    """Decodes a JPEG with djpeg; returns (width, height, rows of (r, g, b))."""
    data = subprocess.run(["djpeg", "-pnm", path], check=True, capture_output=True).stdout
    magic, size, maxval, pixels = data.split(b"\n", 3)
    width, height = (int(v) for v in size.split())
    if int(maxval) != 255:
        raise ValueError("unexpected sample range in " + path)
    step = 3 if magic == b"P6" else 1
    rows = []
    for y in range(height):
        row = pixels[y * width * step:(y + 1) * width * step]
        if step == 3:
            rows.append([tuple(row[x * 3:x * 3 + 3]) for x in range(width)])
        else:
            rows.append([(v, v, v) for v in row])
    return width, height, rows


def resample(rows, width, height, new_width, new_height):
    """Box filter to a smaller (or equal) size; nearest source pixel when enlarging."""
    out = []
    for y in range(new_height):
        y0, y1 = y * height // new_height, max(y * height // new_height + 1,
                                               (y + 1) * height // new_height)
        row = []
        for x in range(new_width):
            x0, x1 = x * width // new_width, max(x * width // new_width + 1,
                                                 (x + 1) * width // new_width)
            total, count = [0, 0, 0], 0
            for yy in range(y0, y1):
                for xx in range(x0, x1):
                    for k in range(3):
                        total[k] += rows[yy][xx][k]
                    count += 1
            row.append(tuple((t + count // 2) // count for t in total))
        out.append(row)
    return out


def toned(rows, gains, desaturation):
    out = []
    for row in rows:
        new_row = []
        for pixel in row:
            grey = sum(pixel) / 3.0
            new_row.append(tuple(min(255, int(round((grey + (c - grey) * (1 - desaturation)) * g)))
                                 for c, g in zip(pixel, gains)))
        out.append(new_row)
    return out


def encode(rows, width, height):
    header = b"P6\n%d %d\n255\n" % (width, height)
    body = b"".join(bytes(c for p in row for c in p) for row in rows)
    return subprocess.run(["cjpeg", "-quality", JPEG_QUALITY, "-optimize"], input=header + body,
                          check=True, capture_output=True).stdout


def build(packages, out_dir):
    written = []
    for name, source in sorted(MAPS.items()):
        width, height, rows = decode(os.path.join(packages, source))
        if (width, height) != (WIDTH, HEIGHT):
            rows = resample(rows, width, height, WIDTH, HEIGHT)
        if name in TONE:
            rows = toned(rows, *TONE[name])
        relative = "Media/Textures/" + name
        write_bytes(os.path.join(out_dir, relative), encode(rows, WIDTH, HEIGHT))
        written.append(relative)
    for name, source in sorted(UNCHANGED.items()):
        with open(os.path.join(packages, source), "rb") as handle:
            data = handle.read()
        relative = "Media/Textures/" + name
        write_bytes(os.path.join(out_dir, relative), data)
        written.append(relative)
    return written


def main():
    parser = argparse.ArgumentParser(description="Generates the planet and Moon maps.")
    parser.add_argument("--packages", required=True,
                        help="folder holding the unpacked openuniverse-common and xplanet-images")
    parser.add_argument("--out", default=os.path.join(os.path.dirname(__file__), "..", "data"),
                        help="data directory to write into (default: the repository's data/)")
    args = parser.parse_args()
    build(args.packages, args.out)


if __name__ == "__main__":
    main()
