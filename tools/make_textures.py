#!/usr/bin/env python3
# Generates Media/Textures/ and Media/Ring Textures/: planet and Moon maps taken from Debian's
# openuniverse-common and xplanet-images packages (scaled to 1024 x 512, RGB), a procedural Sun
# and Saturn's ring with an alpha channel. Needs djpeg/cjpeg (Debian: libjpeg-turbo-progs).
#
# Usage: make_textures.py --packages DIR [--out DATA_DIR], where DIR holds the unpacked packages
# (apt-get download openuniverse-common xplanet-images; dpkg -x each .deb DIR).
import argparse
import math
import os
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from canvas import Canvas  # noqa: E402
from make_pictures import fractal  # noqa: E402
from output import write_bytes  # noqa: E402

OPENUNIVERSE = "usr/share/openuniverse/textures/"
XPLANET = "usr/share/xplanet/images/"
WIDTH, HEIGHT = 1024, 512
JPEG_QUALITY = "90"
SEED = 1610

# target file: source inside the unpacked packages
MAPS = {
    "mercury.jpg": OPENUNIVERSE + "mercury.jpg",
    "venus.jpg": OPENUNIVERSE + "venus.jpg",
    "earth.jpg": XPLANET + "earth.jpg",
    "moon.jpg": OPENUNIVERSE + "moon.jpg",
    "mars.jpg": OPENUNIVERSE + "mars.jpg",
    "jupiter.jpg": OPENUNIVERSE + "jupiter.jpg",
    "saturn.jpg": OPENUNIVERSE + "saturn.jpg",
    "uranus.jpg": OPENUNIVERSE + "uranus.jpg",
    "neptune.jpg": OPENUNIVERSE + "neptune.jpg",
}
RING_SOURCE = OPENUNIVERSE + "rings.jpg"


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


def encode(rows, width, height):
    header = b"P6\n%d %d\n255\n" % (width, height)
    body = b"".join(bytes(c for p in row for c in p) for row in rows)
    return subprocess.run(["cjpeg", "-quality", JPEG_QUALITY, "-optimize"], input=header + body,
                          check=True, capture_output=True).stdout


def sun_map():
    """Granulated photosphere with a few dark spots in the activity belts."""
    width, height = WIDTH, HEIGHT
    spots = [(0.18, 0.30, 0.020), (0.46, 0.64, 0.014), (0.71, 0.33, 0.017), (0.90, 0.68, 0.011)]
    rows = []
    for y in range(height):
        row = []
        for x in range(width):
            n = fractal(x / 9.0, y / 9.0, SEED, 3, period=width // 9 + 1)
            m = fractal(x / 64.0, y / 64.0, SEED + 5, 2, period=width // 64)
            level = 0.78 + 0.16 * n + 0.08 * m
            for sx, sy, sr in spots:
                d = math.hypot((x / width - sx) * 2, y / height - sy)
                if d < sr * 2.2:
                    level *= 0.55 if d < sr else 0.80
            row.append((min(255, int(255 * level)), min(255, int(200 * level)),
                        min(255, int(90 * level))))
        rows.append(row)
    return rows


def ring_texture(path):
    """Radial profile of the ring picture (inner edge at u = 0) averaged over its rows, with
    opacity from brightness so the gaps stay see-through."""
    width, height, rows = decode(path)
    profile = []
    for x in range(width):
        total = [sum(rows[y][x][k] for y in range(height)) for k in range(3)]
        profile.append(tuple(int(round(t / height)) for t in total))
    canvas = Canvas(width, 16)
    alpha = []
    for y in range(16):
        canvas.pixels[y] = list(profile)
        alpha.append([max(0, min(255, int(round((sum(p) / 3 - 95) * 255 / 130))))
                      for p in profile])
    return canvas.png_bytes(alpha=alpha)


def build(packages, out_dir):
    written = []
    for name, source in sorted(MAPS.items()):
        width, height, rows = decode(os.path.join(packages, source))
        if (width, height) != (WIDTH, HEIGHT):
            rows = resample(rows, width, height, WIDTH, HEIGHT)
        relative = "Media/Textures/" + name
        write_bytes(os.path.join(out_dir, relative), encode(rows, WIDTH, HEIGHT))
        written.append(relative)
    relative = "Media/Textures/sun.jpg"
    write_bytes(os.path.join(out_dir, relative), encode(sun_map(), WIDTH, HEIGHT))
    written.append(relative)
    relative = "Media/Ring Textures/saturn_ring.png"
    write_bytes(os.path.join(out_dir, relative),
                ring_texture(os.path.join(packages, RING_SOURCE)))
    written.append(relative)
    return written


def main():
    parser = argparse.ArgumentParser(description="Generates the body and ring textures.")
    parser.add_argument("--packages", required=True,
                        help="folder holding the unpacked openuniverse-common and xplanet-images")
    parser.add_argument("--out", default=os.path.join(os.path.dirname(__file__), "..", "data"),
                        help="data directory to write into (default: the repository's data/)")
    args = parser.parse_args()
    build(args.packages, args.out)


if __name__ == "__main__":
    main()
