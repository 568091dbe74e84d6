#!/usr/bin/env python3
# Takes the screenshot of the software catalogue entry from the simulator itself: a headless
# corvane run on a copy of the shipped data stores a snapshot (F7), which is converted to PNG.
import argparse
import os
import shutil
import struct
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from canvas import Canvas  # noqa: E402
from output import write_bytes  # noqa: E402

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
# Frames at a fixed 1/50 s; the snapshot is taken after the view has settled, with the keyboard
# help closed and the heads-up display and on-screen controls shown as at start.
SCRIPT = "20 key F7 down\n21 key F7 up\n"
FRAMES = 24


def read_bmp(path):
    """Pixels of an uncompressed 24- or 32-bit BMP as a Canvas."""
    with open(path, "rb") as f:
        data = f.read()
    if data[:2] != b"BM" or len(data) < 54:
        raise ValueError(f"{path} is not a BMP file")
    offset = struct.unpack_from("<I", data, 10)[0]
    width, height, _, bits, compression = struct.unpack_from("<iiHHI", data, 18)
    if bits not in (24, 32) or compression not in (0, 3) or width <= 0 or height == 0:
        raise ValueError(f"{path}: unsupported BMP ({bits} bits, compression {compression})")
    bottom_up = height > 0
    height = abs(height)
    step = bits // 8
    row_size = (width * step + 3) & ~3
    if offset + row_size * height > len(data):
        raise ValueError(f"{path} is truncated")
    canvas = Canvas(width, height)
    for row in range(height):
        y = height - 1 - row if bottom_up else row
        base = offset + row * row_size
        canvas.pixels[y] = [(data[base + x * step + 2], data[base + x * step + 1], data[base + x * step])
                            for x in range(width)]
    return canvas


def take(corvane, size, work):
    data = os.path.join(work, "data")
    shutil.copytree(os.path.join(ROOT, "data"), data)
    script = os.path.join(work, "script.txt")
    with open(script, "w") as f:
        f.write(SCRIPT)
    env = dict(os.environ, SDL_VIDEODRIVER="offscreen", XDG_RUNTIME_DIR=work,
               CELESTRIX_NO_MESSAGE_BOXES="1")
    subprocess.run([corvane, "--headless", "--windowed", "--size", size, "--fixed-dt", "0.02",
                    "--frames", str(FRAMES), "--input", script, data + "/|1"],
                   cwd=data, env=env, check=True)
    with open(os.path.join(data, "screenshotfile.cfg")) as f:
        title = f.readline().rstrip("\r\n")
    return read_bmp(os.path.join(data, "Screenshots", title, f"{title}_0.bmp"))


def main():
    parser = argparse.ArgumentParser(description="Takes the catalogue screenshot with corvane.")
    parser.add_argument("--corvane", default=os.path.join(ROOT, "build", "corvane"))
    parser.add_argument("--size", default="1600x900")
    parser.add_argument("--out", default=os.path.join(ROOT, "packaging", "screenshots", "flight.png"))
    args = parser.parse_args()
    with tempfile.TemporaryDirectory(prefix="celestrix_screenshot_") as work:
        picture = take(os.path.abspath(args.corvane), args.size, work)
    write_bytes(args.out, picture.png_bytes())
    print(f"{args.out}: {picture.width} x {picture.height}")


if __name__ == "__main__":
    main()
