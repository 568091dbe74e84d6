#!/usr/bin/env python3
# Generates the bitmaps of Media/Icons/: the restore prompt's yes/no icons, the heads-up display
# icons and an off/on pair for every on-screen control. Opaque black is transparent on screen.
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import gui_layout  # noqa: E402
from canvas import Canvas  # noqa: E402
from output import write_bytes, run_data_generator  # noqa: E402

WHITE = (255, 255, 255)
# Fill, border and text colours of a button: off state, then the lit state by kind.
OFF_STYLE = ((28, 40, 72), (110, 130, 180), (215, 225, 245))
ON_STYLE = {
    "toggle": ((30, 110, 60), (140, 240, 160), WHITE),
    "latch": ((150, 100, 10), (255, 210, 90), WHITE),
    "once": ((20, 90, 130), (120, 210, 255), WHITE),
    "alert": ((140, 20, 20), (255, 120, 120), WHITE),
}


def button(key, label, style):
    fill, border, ink = style
    c = Canvas(32, 32)
    c.rounded_rect(0, 0, 32, 32, 5, fill, border)
    c.text_centred(16, 5, key, ink)
    c.text_centred(16, 19, label, ink)
    return c


def yes_no(yes):
    c = Canvas(64, 64)
    colour = (40, 170, 60) if yes else (190, 40, 40)
    c.disc(32, 32, 30, colour)
    c.ring(32, 32, 29, 2, (230, 240, 230))
    if yes:
        c.line(17, 33, 27, 44, 5, WHITE)
        c.line(27, 44, 47, 21, 5, WHITE)
    else:
        c.line(20, 20, 44, 44, 5, WHITE)
        c.line(44, 20, 20, 44, 5, WHITE)
    return c


def bullseye():
    c = Canvas(128, 128)
    green = (120, 255, 140)
    for radius in (14, 34, 58):
        c.ring(64, 64, radius, 1.6, green)
    for a, b in ((4, 52), (76, 124)):
        c.line(a, 64, b, 64, 1.4, green)
        c.line(64, a, 64, b, 1.4, green)
    c.disc(64, 64, 2.2, WHITE)
    return c


def destination():
    """Drawn on a square that stands on one corner; no colour key, half transparent."""
    c = Canvas(64, 64, (10, 60, 20))
    bright = (120, 255, 140)
    c.fill_rect(0, 0, 64, 4, bright)
    c.fill_rect(0, 60, 64, 64, bright)
    c.fill_rect(0, 0, 4, 64, bright)
    c.fill_rect(60, 0, 64, 64, bright)
    c.ring(32, 32, 12, 3, bright)
    c.line(0, 0, 63, 63, 2, (60, 160, 80))
    c.line(63, 0, 0, 63, 2, (60, 160, 80))
    return c


def solid(colour):
    return Canvas(32, 32, colour)


def build(out_dir):
    pictures = {
        "yes64.bmp": yes_no(True),
        "no64.bmp": yes_no(False),
        "bullseye128.bmp": bullseye(),
        "destination64.bmp": destination(),
        "background32.bmp": solid((70, 95, 150)),
        "red32.bmp": solid((255, 30, 30)),
        "yellow32.bmp": solid((255, 230, 40)),
    }
    for name, (key, label, kind) in gui_layout.BUTTONS.items():
        pictures[os.path.basename(gui_layout.icon_path(name, False))] = button(key, label,
                                                                              OFF_STYLE)
        pictures[os.path.basename(gui_layout.icon_path(name, True))] = button(key, label,
                                                                             ON_STYLE[kind])
    written = []
    for name in sorted(pictures):
        relative = "Media/Icons/" + name
        write_bytes(os.path.join(out_dir, relative), pictures[name].bmp_bytes())
        written.append(relative)
    return written


def main():
    run_data_generator(build, "Generates the icon bitmaps.")


if __name__ == "__main__":
    main()
