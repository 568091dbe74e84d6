#!/usr/bin/env python3
# Generates Media/Textures/sun.jpg: a procedural photosphere in longitude/latitude projection.
# Every pixel is coloured from its point on the unit sphere (three-dimensional noise, spots placed
# by great-circle distance), so the granulation keeps one size everywhere and nothing pinches
# toward the poles, where a flat noise pattern stretched over the map would. Within 22 degrees of
# a pole the finest octaves fade out: there the sphere mesh's triangle fans and the texture's
# mip levels smear fine detail along the meridians into a star of streaks. No limb darkening:
# the texture is the surface itself, seen face on. Needs numpy (Debian: python3-numpy) and cjpeg
# (Debian: libjpeg-turbo-progs).
import os
import subprocess
import sys

import numpy as np

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
from output import write_bytes, run_data_generator  # noqa: E402
from make_textures import JPEG_QUALITY  # noqa: E402

WIDTH, HEIGHT = 2048, 1024
SEED = 1610
PHOTOSPHERE_RGB = np.array([255.0, 212.0, 118.0])
# (frequency per sphere radius, amplitude, fades near the poles): granules, their clustering,
# large-scale mottling.
OCTAVES = [(90.0, 0.10, True), (45.0, 0.07, True), (12.0, 0.04, False), (3.0, 0.03, False)]
POLAR_FADE_DEG = 22.0
# Spots in the activity belts: latitude, longitude [deg], umbra and penumbra radius [rad].
SPOTS = [(18.0, 65.0, 0.020, 0.045), (14.0, 72.0, 0.010, 0.024), (-22.0, 164.0, 0.016, 0.036),
         (-12.0, 255.0, 0.022, 0.050), (-15.0, 262.0, 0.009, 0.020), (26.0, 318.0, 0.013, 0.030)]


def sphere_points(width, height):
    """Unit vectors of the pixel centres; rows run from the north pole (y = +1) down."""
    lon = (np.arange(width) + 0.5) / width * 2 * np.pi
    lat = np.pi / 2 - (np.arange(height) + 0.5) / height * np.pi
    lon, lat = np.meshgrid(lon, lat)
    return np.stack([np.cos(lat) * np.cos(lon), np.sin(lat), np.cos(lat) * np.sin(lon)], axis=-1)


def lattice_value(ix, iy, iz, seed):
    """Deterministic pseudo-random value in [-1, 1] per integer lattice point."""
    h = (ix * 73856093) ^ (iy * 19349663) ^ (iz * 83492791) ^ (seed * 2654435761)
    h = h & 0xFFFFFFFF
    h ^= h >> 13
    h = (h * 1274126177) & 0xFFFFFFFF
    h ^= h >> 16
    return h.astype(np.float64) / 0x7FFFFFFF - 1.0


def value_noise(points, frequency, seed):
    """Smooth three-dimensional value noise at the given points."""
    p = points * frequency
    base = np.floor(p).astype(np.int64)
    f = p - base
    f = f * f * (3 - 2 * f)
    total = np.zeros(points.shape[:-1])
    for dx in (0, 1):
        for dy in (0, 1):
            for dz in (0, 1):
                weight = ((f[..., 0] if dx else 1 - f[..., 0]) * (f[..., 1] if dy else 1 - f[..., 1])
                          * (f[..., 2] if dz else 1 - f[..., 2]))
                total += weight * lattice_value(base[..., 0] + dx, base[..., 1] + dy,
                                                base[..., 2] + dz, seed)
    return total


def sun_rgb(width=WIDTH, height=HEIGHT):
    points = sphere_points(width, height)
    level = np.full(points.shape[:-1], 0.86)
    from_pole = np.degrees(np.arccos(np.abs(points[..., 1])))
    t = np.clip(from_pole / POLAR_FADE_DEG, 0.0, 1.0)
    fade = t * t * (3 - 2 * t)
    for k, (frequency, amplitude, fades) in enumerate(OCTAVES):
        level += amplitude * (fade if fades else 1.0) * value_noise(points, frequency, SEED + k)
    for lat, lon, umbra, penumbra in SPOTS:
        la, lo = np.radians(lat), np.radians(lon)
        centre = np.array([np.cos(la) * np.cos(lo), np.sin(la), np.cos(la) * np.sin(lo)])
        distance = np.arccos(np.clip(points @ centre, -1.0, 1.0))
        faculae = (distance > penumbra) & (distance < 2.5 * penumbra)
        level = np.where(faculae, level * 1.05, level)
        level = np.where(distance < penumbra, level * 0.68, level)
        level = np.where(distance < umbra, level * 0.45, level)
    rgb = np.clip(level[..., None] * PHOTOSPHERE_RGB, 0, 255).astype(np.uint8)
    return rgb


def build(out_dir):
    ppm = b"P6\n%d %d\n255\n" % (WIDTH, HEIGHT) + sun_rgb().tobytes()
    jpeg = subprocess.run(["cjpeg", "-quality", JPEG_QUALITY, "-optimize"], input=ppm, check=True,
                          capture_output=True).stdout
    relative = "Media/Textures/sun.jpg"
    write_bytes(os.path.join(out_dir, relative), jpeg)
    return [relative]


def main():
    run_data_generator(build, "Generates the Sun's texture.")


if __name__ == "__main__":
    main()
