#!/usr/bin/env python3
# Draws the launcher's desktop icon for the hicolor icon theme: a PNG at each usual size and a
# scalable SVG. The design is the launcher's own icon (Media/Launcher/celestrix.png, drawn by
# make_pictures.py): a blue planet with a gold ring and a pale moon. Every size is drawn anew
# with 4 x 4 samples per pixel, so that small sizes stay sharp and edges get smooth alpha.
import argparse
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from canvas import Canvas  # noqa: E402
from output import write_bytes, write_text  # noqa: E402

SIZES = (16, 22, 24, 32, 48, 64, 128, 256)
SAMPLES = 4
NAME = "celestrix"

# Shapes on a 64-unit square, back to front: (kind, centre x, centre y, radius, width, colour).
PLANET = ("disc", 32, 32, 26, 0, (40, 90, 170))
RING = ("ring", 32, 32, 30, 2.5, (220, 190, 90))
MOON = ("disc", 24, 24, 8, 0, (200, 230, 255))
SHAPES = (PLANET, RING, MOON)


def covers(shape, x, y, scale):
    kind, cx, cy, radius, width, _ = shape
    d = ((x - cx * scale) ** 2 + (y - cy * scale) ** 2) ** 0.5
    if kind == "disc":
        return d <= radius * scale
    # The ring stays at least one pixel wide, or it would fade out at 16 pixels.
    half = max(width * scale, 1.0) / 2
    return abs(d - radius * scale) <= half


def draw(size):
    scale = size / 64.0
    canvas = Canvas(size, size)
    alpha = [[0] * size for _ in range(size)]
    for py in range(size):
        for px in range(size):
            total = [0, 0, 0]
            hits = 0
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    x = px + (sx + 0.5) / SAMPLES
                    y = py + (sy + 0.5) / SAMPLES
                    colour = None
                    for shape in SHAPES:
                        if covers(shape, x, y, scale):
                            colour = shape[5]
                    if colour:
                        hits += 1
                        total = [t + c for t, c in zip(total, colour)]
            if hits:
                canvas.pixels[py][px] = tuple(int(round(t / hits)) for t in total)
                alpha[py][px] = int(round(255 * hits / SAMPLES ** 2))
    return canvas.png_bytes(alpha=alpha)


def svg():
    parts = ['<svg xmlns="http://www.w3.org/2000/svg" width="64" height="64" viewBox="0 0 64 64">']
    for kind, cx, cy, radius, width, (r, g, b) in SHAPES:
        colour = f"#{r:02x}{g:02x}{b:02x}"
        if kind == "disc":
            parts.append(f'  <circle cx="{cx}" cy="{cy}" r="{radius}" fill="{colour}"/>')
        else:
            parts.append(f'  <circle cx="{cx}" cy="{cy}" r="{radius}" fill="none" '
                         f'stroke="{colour}" stroke-width="{width}"/>')
    parts.append("</svg>")
    return "\n".join(parts) + "\n"


def build(out_dir):
    written = []
    for size in SIZES:
        relative = f"{size}x{size}/apps/{NAME}.png"
        write_bytes(os.path.join(out_dir, relative), draw(size))
        written.append(relative)
    relative = f"scalable/apps/{NAME}.svg"
    write_text(os.path.join(out_dir, relative), svg())
    written.append(relative)
    return written


def main():
    parser = argparse.ArgumentParser(description="Draws the launcher's hicolor icons.")
    parser.add_argument("--out", default=os.path.join(os.path.dirname(os.path.abspath(__file__)),
                                                      "..", "packaging", "icons", "hicolor"),
                        help="icon theme folder to write into (default: packaging/icons/hicolor)")
    build(parser.parse_args().out)


if __name__ == "__main__":
    main()
