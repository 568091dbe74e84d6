#!/usr/bin/env python3
# Generates stars.txt, the sky catalogue: every star of the Bright Star Catalogue (from Debian's
# xplanet package) with its B-V colour index taken from the Hipparcos/Tycho list of kstars-data.
#
# Usage: make_star_catalogue.py --bsc .../usr/share/xplanet/stars/BSC
#                               --hipparcos .../usr/share/kstars/stars.dat [--out DATA_DIR]
# Each line of the result holds: catalogue (HR) number, right ascension [h], declination [deg],
# visual magnitude, B-V; the file ends with a line "-999". Fainter stars come first, so that
# where two stars fall on one sky texel the brighter one, written later, is the one shown.
import math
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from output import data_dir_parser, write_text  # noqa: E402

MATCH_RADIUS_DEG = 0.05      # 3 arcminutes; proper motion over the epochs stays well within
MATCH_MAGNITUDE = 0.6        # largest magnitude difference accepted for a match
DEFAULT_COLOUR_INDEX = 0.0   # white, for the few stars without a counterpart


def read_bsc(path):
    """Returns [(hr_number, ra_h, dec_deg, magnitude)] of the xplanet BSC file."""
    stars = []
    with open(path, encoding="latin-1") as handle:
        for line in handle:
            if line.startswith("#") or not line.strip():
                continue
            first, _, rest = line.partition('"')
            _, _, after_name = rest.partition('"')
            dec, ra, mag = (float(v) for v in first.split()[:3])
            hr_number = int(after_name.split()[0])
            stars.append((hr_number, ra, dec, mag))
    return stars


def sexagesimal(text):
    """hhmmss.ss or +ddmmss.s to a decimal number of hours or degrees."""
    sign = -1.0 if text.startswith("-") else 1.0
    digits = text.lstrip("+-")
    whole = digits.split(".")[0]
    head = len(whole) - 4
    value = float(whole[:head]) + float(whole[head:head + 2]) / 60.0
    value += float(digits[head + 2:]) / 3600.0
    return sign * value


def read_hipparcos(path):
    """Returns [(ra_h, dec_deg, magnitude, b_minus_v)] of kstars' stars.dat."""
    stars = []
    with open(path, encoding="latin-1") as handle:
        for line in handle:
            if line.startswith("#") or len(line) < 56:
                continue
            try:
                ra = sexagesimal(line[0:9])
                dec = sexagesimal(line[10:19])
                mag = float(line[45:51])
                bv = float(line[51:56])
            except ValueError:
                continue
            stars.append((ra, dec, mag, bv))
    return stars


def unit(ra_h, dec_deg):
    a, d = math.radians(ra_h * 15.0), math.radians(dec_deg)
    return (math.cos(d) * math.cos(a), math.cos(d) * math.sin(a), math.sin(d))


def colour_indices(bsc, hipparcos):
    """Matches each BSC star to the Hipparcos star of nearest magnitude within the match radius;
    where the magnitudes differ more (components of double stars, variables) the nearest star
    within the radius gives the colour."""
    cells = {}
    for ra, dec, mag, bv in hipparcos:
        key = (int(math.floor(dec)), int(math.floor(ra * 15.0)))
        cells.setdefault(key, []).append((unit(ra, dec), mag, bv))
    limit = math.cos(math.radians(MATCH_RADIUS_DEG))
    result = {}
    for hr_number, ra, dec, mag in bsc:
        direction = unit(ra, dec)
        best = None
        nearest = None
        d0, a0 = int(math.floor(dec)), int(math.floor(ra * 15.0))
        for dd in (-1, 0, 1):
            # Near the poles one degree of right ascension is short: search the whole ring.
            span = range(360) if abs(dec) > 80 else [(a0 + da) % 360 for da in (-1, 0, 1)]
            for aa in span:
                for other, other_mag, bv in cells.get((d0 + dd, aa), []):
                    cosine = sum(p * q for p, q in zip(direction, other))
                    if cosine < limit:
                        continue
                    if nearest is None or cosine > nearest[0]:
                        nearest = (cosine, bv)
                    if abs(other_mag - mag) > MATCH_MAGNITUDE:
                        continue
                    score = (abs(other_mag - mag), -cosine)
                    if best is None or score < best[0]:
                        best = (score, bv)
        if best is not None:
            result[hr_number] = best[1]
        else:
            result[hr_number] = nearest[1] if nearest else None
    return result


def catalogue_text(bsc, colours):
    ordered = sorted(bsc, key=lambda s: (-s[3], s[0]))
    lines = []
    for hr_number, ra, dec, mag in ordered:
        bv = colours.get(hr_number)
        bv = DEFAULT_COLOUR_INDEX if bv is None else bv
        bv_text = "%.2f" % bv
        lines.append("%d %.4f %.4f %.2f %s" % (hr_number, ra, dec, mag,
                                               "0.00" if bv_text == "-0.00" else bv_text))
    lines.append("-999")
    return "\n".join(lines) + "\n"


def main():
    parser = data_dir_parser("Generates stars.txt.")
    parser.add_argument("--bsc", required=True, help="xplanet's usr/share/xplanet/stars/BSC")
    parser.add_argument("--hipparcos", required=True, help="kstars-data's usr/share/kstars/stars.dat")
    args = parser.parse_args()
    bsc = read_bsc(args.bsc)
    colours = colour_indices(bsc, read_hipparcos(args.hipparcos))
    missing = sum(1 for v in colours.values() if v is None)
    write_text(os.path.join(args.out, "stars.txt"), catalogue_text(bsc, colours))
    print("stars.txt: %d stars, %d without a colour index match" % (len(bsc), missing))


if __name__ == "__main__":
    main()
