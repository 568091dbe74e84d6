#!/usr/bin/env python3
# Generates Media/Ring Textures/saturn_ring.png: Saturn's rings as a radial profile from the inner
# ring radius of the object file (74500 km, u = 0) to its outer ring radius (140220 km, u = 1).
# Colour and opacity follow the measured structure of the rings: the faint, translucent C ring
# with its plateaus and gaps, the bright and opaque B ring, the dark Cassini division with the
# Huygens gap, the A ring with the Encke and Keeler gaps, and the empty Roche division outside.
# The alpha channel is the opacity; the first and the last columns are fully transparent, so
# that the planet's shadow (drawn with clamped texture coordinates) never shows off the ring.
import math
import os
import random
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from canvas import Canvas  # noqa: E402
from output import write_bytes, run_data_generator  # noqa: E402

INNER_KM = 74500.0
OUTER_KM = 140220.0
WIDTH, HEIGHT = 1024, 8
SUBSAMPLES = 16
SEED = 1655  # Huygens' year: fixed, so the fine ringlets are the same on every run

# Regions: (inner km, outer km, opacity at the inner end, opacity at the outer end, brightness
# at the inner end, brightness at the outer end, colour). Brightness 1 is the B ring's core.
C_GREY = (0.86, 0.84, 0.80)
B_TAN = (1.00, 0.93, 0.80)
A_TAN = (1.00, 0.95, 0.85)
CASSINI_GREY = (0.80, 0.80, 0.80)
REGIONS = [
    (74490, 77750, 0.06, 0.10, 0.40, 0.45, C_GREY),      # inner C ring
    (77750, 77950, 0.00, 0.00, 0.00, 0.00, C_GREY),      # Colombo gap
    (77950, 84630, 0.10, 0.13, 0.45, 0.50, C_GREY),
    (84630, 85500, 0.38, 0.38, 0.62, 0.62, C_GREY),      # plateaus
    (85500, 85900, 0.12, 0.12, 0.48, 0.48, C_GREY),
    (85900, 86300, 0.36, 0.36, 0.60, 0.60, C_GREY),
    (86300, 87340, 0.13, 0.14, 0.48, 0.50, C_GREY),
    (87340, 87610, 0.00, 0.00, 0.00, 0.00, C_GREY),      # Maxwell gap
    (87610, 88690, 0.14, 0.15, 0.50, 0.50, C_GREY),
    (88690, 88720, 0.00, 0.00, 0.00, 0.00, C_GREY),      # Bond gap
    (88720, 89190, 0.40, 0.40, 0.64, 0.64, C_GREY),
    (89190, 90200, 0.15, 0.16, 0.52, 0.52, C_GREY),
    (90200, 90220, 0.00, 0.00, 0.00, 0.00, C_GREY),      # Dawes gap
    (90220, 91980, 0.18, 0.45, 0.55, 0.70, C_GREY),      # C ring ramp
    (91980, 99000, 0.82, 0.93, 0.78, 0.88, B_TAN),       # inner B ring
    (99000, 110000, 0.99, 1.00, 0.95, 1.00, B_TAN),      # opaque core
    (110000, 115000, 0.98, 0.97, 0.97, 0.92, B_TAN),
    (115000, 117580, 0.95, 0.92, 0.90, 0.86, B_TAN),     # sharp outer edge
    (117580, 118200, 0.00, 0.00, 0.00, 0.00, CASSINI_GREY),  # Huygens gap
    (118200, 120900, 0.09, 0.11, 0.32, 0.34, CASSINI_GREY),  # Cassini division
    (120900, 122050, 0.12, 0.42, 0.36, 0.55, CASSINI_GREY),  # its outer ramp
    (122050, 126000, 0.80, 0.78, 0.80, 0.78, A_TAN),     # A ring
    (126000, 133423, 0.76, 0.70, 0.76, 0.72, A_TAN),
    (133423, 133745, 0.00, 0.00, 0.00, 0.00, A_TAN),     # Encke gap
    (133745, 136485, 0.64, 0.60, 0.70, 0.66, A_TAN),
    (136485, 136527, 0.00, 0.00, 0.00, 0.00, A_TAN),     # Keeler gap
    (136527, 136775, 0.58, 0.56, 0.64, 0.62, A_TAN),
]
# Narrow gaps in the Cassini division (centre km, width km).
CASSINI_GAPS = [(118590, 60), (118930, 40), (119910, 60), (120055, 35), (120245, 30)]
# The fine ringlets: relative ripple of brightness and opacity in the B and A rings.
RIPPLE = {"B": 0.07, "A": 0.04, "C": 0.10}


def ripple_profile(rng):
    """Smoothed random ripple on a 100 km grid over the whole ring, deterministic."""
    step = 100.0
    count = int((OUTER_KM - INNER_KM) / step) + 3
    raw = [rng.uniform(-1.0, 1.0) for _ in range(count)]
    smooth = [(raw[max(i - 1, 0)] + 2 * raw[i] + raw[min(i + 1, count - 1)]) / 4 for i in range(count)]

    def at(r_km):
        x = (r_km - INNER_KM) / step
        i = min(max(int(x), 0), count - 2)
        f = x - i
        return smooth[i] * (1 - f) + smooth[i + 1] * f
    return at


def sample(r_km, ripple):
    """(opacity, brightness, colour) at one radius."""
    for inner, outer, a0, a1, b0, b1, colour in REGIONS:
        if inner <= r_km < outer:
            t = (r_km - inner) / (outer - inner)
            opacity = a0 + (a1 - a0) * t
            brightness = b0 + (b1 - b0) * t
            if opacity == 0:
                return 0.0, 0.0, colour
            ring = "C" if r_km < 91980 else "B" if r_km < 117580 else "A" if r_km >= 122050 else "C"
            wave = 1 + RIPPLE[ring] * ripple(r_km)
            if colour is CASSINI_GREY:
                for centre, width in CASSINI_GAPS:
                    if abs(r_km - centre) < width / 2:
                        return 0.0, 0.0, colour
            return min(1.0, opacity * wave), min(1.0, brightness * wave), colour
    return 0.0, 0.0, C_GREY


def profile():
    """Per column: ((r, g, b), alpha), each texel the average over its span of radius."""
    ripple = ripple_profile(random.Random(SEED))
    columns = []
    span = (OUTER_KM - INNER_KM) / WIDTH
    for x in range(WIDTH):
        colour_sum = [0.0, 0.0, 0.0]
        alpha_sum = 0.0
        for s in range(SUBSAMPLES):
            r_km = INNER_KM + (x + (s + 0.5) / SUBSAMPLES) * span
            opacity, brightness, colour = sample(r_km, ripple)
            alpha_sum += opacity
            for k in range(3):
                # Colour weighted by opacity: a texel half gap, half ring has the ring's colour.
                colour_sum[k] += opacity * brightness * colour[k]
        alpha = alpha_sum / SUBSAMPLES
        rgb = tuple(min(255, int(round(255 * c / alpha_sum))) if alpha_sum > 0 else 0
                    for c in colour_sum)
        columns.append((rgb, alpha))
    # Transparent first and last columns: clamped shadow coordinates read these off the ring.
    columns[0] = ((0, 0, 0), 0.0)
    columns[-1] = ((0, 0, 0), 0.0)
    return columns


def ring_png():
    columns = profile()
    canvas = Canvas(WIDTH, HEIGHT)
    row = [rgb for rgb, _ in columns]
    alpha_row = [int(round(255 * a)) for _, a in columns]
    for y in range(HEIGHT):
        canvas.pixels[y] = list(row)
    return canvas.png_bytes(alpha=[list(alpha_row) for _ in range(HEIGHT)])


def build(out_dir):
    relative = "Media/Ring Textures/saturn_ring.png"
    write_bytes(os.path.join(out_dir, relative), ring_png())
    return [relative]


def main():
    run_data_generator(build, "Generates Saturn's ring texture.")


if __name__ == "__main__":
    main()
