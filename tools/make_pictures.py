#!/usr/bin/env python3
# Generates the simulator's launch-screen picture (Media/Misc/shuttle_start.bmp) and the
# launcher's artwork (Media/Launcher/): launch pad picture, background tiles, dialog pictures.
import math
import os
import random
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from canvas import Canvas  # noqa: E402
from output import write_bytes, run_data_generator  # noqa: E402

SEED = 20000101


def lattice(ix, iy, seed, period=None):
    """Deterministic pseudo-random value in [0, 1) for an integer lattice point."""
    if period:
        ix, iy = ix % period, iy % period
    h = (ix * 374761393 + iy * 668265263 + seed * 2147483647) & 0xFFFFFFFF
    h = ((h ^ (h >> 13)) * 1274126177) & 0xFFFFFFFF
    return ((h ^ (h >> 16)) & 0xFFFF) / 65536.0


def value_noise(x, y, seed, period=None):
    ix, iy = math.floor(x), math.floor(y)
    fx, fy = x - ix, y - iy
    sx, sy = fx * fx * (3 - 2 * fx), fy * fy * (3 - 2 * fy)
    a = lattice(ix, iy, seed, period)
    b = lattice(ix + 1, iy, seed, period)
    c = lattice(ix, iy + 1, seed, period)
    d = lattice(ix + 1, iy + 1, seed, period)
    return (a + (b - a) * sx) + ((c + (d - c) * sx) - (a + (b - a) * sx)) * sy


def fractal(x, y, seed, octaves=4, period=None):
    total, amplitude, norm = 0.0, 1.0, 0.0
    for octave in range(octaves):
        scale = 2 ** octave
        total += amplitude * value_noise(x * scale, y * scale, seed + octave,
                                         period * scale if period else None)
        norm += amplitude
        amplitude *= 0.5
    return total / norm


def mix(a, b, t):
    t = max(0.0, min(1.0, t))
    return tuple(int(round(p + (q - p) * t)) for p, q in zip(a, b))


def starfield(canvas, rng, count, brightness=1.0):
    for _ in range(count):
        x, y = int(rng.random() * canvas.width), int(rng.random() * canvas.height)
        level = rng.random() ** 3 * brightness
        tint = rng.random()
        colour = mix((170, 190, 255), (255, 220, 180), tint)
        colour = tuple(int(c * (0.25 + 0.75 * level)) for c in colour)
        canvas.set(x, y, tuple(max(o, c) for o, c in zip(canvas.get(x, y), colour)))
        if level > 0.6:
            for dx, dy in ((1, 0), (-1, 0), (0, 1), (0, -1)):
                canvas.blend(x + dx, y + dy, colour, 0.45)


def space_scene(width, height, seed):
    """Space with stars, a nebula haze, a large sunlit planet filling the upper left (bright, so
    dark text stays readable there) and a small moon, both lit from the front right."""
    rng = random.Random(seed)
    c = Canvas(width, height)
    for y in range(height):
        for x in range(width):
            haze = fractal(x / 180.0, y / 180.0, seed + 7, 3)
            v = max(0.0, haze - 0.55) * 2.0
            c.pixels[y][x] = (int(8 + 40 * v), int(6 + 14 * v), int(18 + 60 * v))
    starfield(c, rng, width * height // 300)
    # Planet: centre off the top-left corner; lit from the upper left.
    pcx, pcy, radius = -0.30 * width, -1.10 * height, 1.85 * height
    light = (0.30, 0.45, 0.84)
    norm = math.sqrt(sum(v * v for v in light))
    light = tuple(v / norm for v in light)
    for y in range(height):
        for x in range(width):
            dx, dy = (x + 0.5 - pcx) / radius, (y + 0.5 - pcy) / radius
            r2 = dx * dx + dy * dy
            if r2 > 1.08:
                continue
            if r2 > 1.0:
                # Atmosphere glow just outside the limb.
                glow = (1.08 - r2) / 0.08
                c.blend(x, y, (120, 180, 255), glow ** 2 * 0.8)
                continue
            dz = math.sqrt(1.0 - r2)
            lit = max(0.0, dx * light[0] + dy * light[1] + dz * light[2])
            lat_noise = fractal(x / 90.0, y / 60.0, seed + 11, 4)
            cloud = fractal(x / 55.0, y / 30.0, seed + 23, 4)
            ocean = (90, 140, 210)
            land = (150, 165, 120)
            base = mix(ocean, land, (lat_noise - 0.52) * 6)
            base = mix(base, (245, 248, 255), (cloud - 0.40) * 2.5)
            base = mix(base, (210, 225, 245), 0.35)
            rim = (1 - dz) ** 3
            colour = mix(base, (190, 220, 255), rim)
            shade = 0.06 + 0.98 * lit
            c.pixels[y][x] = tuple(min(255, int(v * shade + 70 * rim * lit)) for v in colour)
    # A small moon in the lower right.
    mcx, mcy, mr = 0.80 * width, 0.72 * height, 0.05 * height
    for y in range(int(mcy - mr) - 2, int(mcy + mr) + 3):
        for x in range(int(mcx - mr) - 2, int(mcx + mr) + 3):
            dx, dy = (x + 0.5 - mcx) / mr, (y + 0.5 - mcy) / mr
            r2 = dx * dx + dy * dy
            if r2 >= 1.0:
                continue
            dz = math.sqrt(1 - r2)
            lit = max(0.0, dx * light[0] + dy * light[1] + dz * light[2])
            grey = 150 + 60 * fractal(x / 6.0, y / 6.0, seed + 31, 3)
            c.pixels[y][x] = tuple(int(grey * (0.05 + 0.95 * lit) * k) for k in (1.0, 0.98, 0.95))
    return c


def tile(size, base, seed, contrast):
    """A seamless, softly mottled background tile."""
    c = Canvas(size, size)
    cells = 4
    for y in range(size):
        for x in range(size):
            n = fractal(x * cells / size, y * cells / size, seed, 3, period=cells)
            c.pixels[y][x] = tuple(max(0, min(255, int(v + (n - 0.5) * contrast))) for v in base)
    return c


def dialog_picture(kind, seed):
    """Pictures of the launcher's message dialogs: a planet with a coloured sign."""
    width, height = 180, 170
    c = space_scene(width, height, seed)
    signs = {
        "error": ((200, 40, 40), "!"),
        "warning": ((230, 170, 20), "?"),
        "message": ((40, 120, 210), "I"),
        "about": ((40, 160, 90), "C"),
    }
    colour, glyph = signs[kind]
    c.disc(130, 120, 30, colour)
    c.ring(130, 120, 29, 2, (240, 240, 240))
    c.text_centred(130, 106, glyph, (255, 255, 255), scale=4)
    return c


def drag_picture(width, label):
    c = Canvas(width, 16, (60, 80, 130))
    c.fill_rect(0, 0, width, 1, (150, 170, 220))
    c.fill_rect(0, 15, width, 16, (20, 30, 60))
    c.text(4, 5, label, (255, 255, 255))
    return c


def launcher_icon():
    c = Canvas(64, 64)
    c.disc(32, 32, 26, (40, 90, 170))
    c.ring(32, 32, 30, 2.5, (220, 190, 90))
    c.disc(24, 24, 8, (200, 230, 255))
    return c


def build(out_dir):
    pictures = {
        "Media/Misc/shuttle_start.bmp": space_scene(1024, 768, SEED),
        "Media/Launcher/launch_pad.bmp": space_scene(326, 257, SEED + 1),
        "Media/Launcher/tile64.bmp": tile(64, (200, 200, 205), SEED + 2, 22),
        "Media/Launcher/tile32.bmp": tile(32, (178, 184, 196), SEED + 3, 18),
        "Media/Launcher/error.bmp": dialog_picture("error", SEED + 4),
        "Media/Launcher/warning.bmp": dialog_picture("warning", SEED + 5),
        "Media/Launcher/message.bmp": dialog_picture("message", SEED + 6),
        "Media/Launcher/about.bmp": dialog_picture("about", SEED + 7),
        "Media/Launcher/drag_one.bmp": drag_picture(88, "1 OBJECT"),
        "Media/Launcher/drag_many.bmp": drag_picture(89, "OBJECTS"),
    }
    written = []
    for relative, picture in sorted(pictures.items()):
        write_bytes(os.path.join(out_dir, relative), picture.bmp_bytes())
        written.append(relative)
    icon = "Media/Launcher/celestrix.png"
    write_bytes(os.path.join(out_dir, icon), launcher_icon().png_bytes(
        alpha=[[0 if p == (0, 0, 0) else 255 for p in row] for row in launcher_icon().pixels]))
    written.append(icon)
    return written


def main():
    run_data_generator(build, "Generates the launch-screen and launcher art.")


if __name__ == "__main__":
    main()
