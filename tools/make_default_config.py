#!/usr/bin/env python3
# Generates the delivered default configuration: the solar system at J2000.0 with an observer near
# Earth, the object template, the selection/time/view files and their pristine backup copies.
import math
import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import ephemeris  # noqa: E402
from object_writer import NA, format_float, object_file_text  # noqa: E402
from output import write_text, run_data_generator  # noqa: E402

# 32 x 16 facets: up close the renderer's N-patches refine it to 128 x 64, which keeps the limb
# smooth at a fraction of the triangles the 64 x 32 mesh would cost the software rasteriser.
SPHERE_MESH = "Media/Models/sphere_mid.x"
SECONDS_PER_HOUR = 3600.0

# name: texture, equatorial radius [km], polar radius [km], sidereal rotation period [h]
# (negative = retrograde), north pole right ascension and declination [deg] (IAU WGCCRE 2015).
BODIES = {
    "Sun": ("sun.jpg", 695700.0, 695700.0, 609.12, 286.13, 63.87),
    "Mercury": ("mercury.jpg", 2440.53, 2438.26, 1407.6, 281.0103, 61.4155),
    "Venus": ("venus.jpg", 6051.8, 6051.8, -5832.6, 272.76, 67.16),
    "Earth": ("earth.jpg", 6378.137, 6356.752, 23.9344696, 0.0, 90.0),
    "Moon": ("moon.jpg", 1738.1, 1736.0, 655.728, 269.9949, 66.5392),
    "Mars": ("mars.jpg", 3396.19, 3376.2, 24.6229, 317.269, 54.432),
    "Jupiter": ("jupiter.jpg", 71492.0, 66854.0, 9.9250, 268.057, 64.495),
    "Saturn": ("saturn.jpg", 60268.0, 54364.0, 10.656, 40.589, 83.537),
    "Uranus": ("uranus.jpg", 25559.0, 24973.0, -17.24, 257.311, -15.175),
    "Neptune": ("neptune.jpg", 24764.0, 24341.0, 16.11, 299.36, 43.46),
}
ORDER = ["Sun", "Mercury", "Venus", "Earth", "Moon", "Mars", "Jupiter", "Saturn", "Uranus",
         "Neptune"]
OBSERVER = "Observer"

SATURN_RING_INNER_KM = 74500.0
SATURN_RING_OUTER_KM = 140220.0
SATURN_RING_TEXTURE = "Media/Ring Textures/saturn_ring.png"

GMST_J2000_DEG = 280.46061837  # Greenwich mean sidereal time at 2000-01-01 12:00 UT1
OBSERVER_DISTANCE_EARTH_RADII = 4.0
OBSERVER_EARTH_OFFSET_DEG = 13.0  # Earth's direction from the view axis, toward +x
OBSERVER_MASS_KG = 1000.0

SELECTION_FILES = {
    "configfile.cfg": "Default Configuration\n-999\n",
    "moviefile.cfg": "My Recording\n-999\n",
    "screenshotfile.cfg": "My Screenshots\n-999\n",
}
TIME_TEXT = "0"
LAST_VIEW_TEXT = "1 0 0 0\n0 1 0 0\n0 0 1 0\n0 0 0 1\n"


def wrap_signed(angle_rad):
    """Remainder after division by 2 pi with the sign of the angle, as the simulator keeps it."""
    return math.fmod(angle_rad, 2 * math.pi)


def tilt_rad(pole_ra_deg, pole_dec_deg):
    """Tilt about the world x axis that brings the mesh's y axis nearest to the body's pole.

    A body is tilted only about x, so the pole can lean toward right ascension 0 h (+) or 12 h
    (-); the angle is that of the pole's projection on the y-z plane."""
    _, y, z = ephemeris.world_direction(pole_ra_deg, pole_dec_deg)
    angle = math.atan2(z, y)
    return 0.0 if abs(angle) < 1e-9 else angle


def spin_rate(period_h):
    """Item 18 in revolutions per second. The spin turns a body about its y axis so that positive
    values move +z toward +x, which in this frame is westward; eastward (prograde) spin is negative."""
    return -1.0 / (period_h * SECONDS_PER_HOUR)


def stored(vector):
    """The vector as it reads back from an object file."""
    return tuple(float(format_float(c)) for c in vector)


def blank_items():
    items = [NA] * 61
    for flag in (22, 26, 27, 28):
        items[flag] = 0
    return items


def body_items(name, position, velocity, spin_angle_rad):
    texture, r_eq, r_pol, period_h, pole_ra, pole_dec = BODIES[name]
    items = blank_items()
    items[0] = "Objects/%s.cfg" % name
    items[1] = ephemeris.mass_kg(name)
    items[2:5] = position
    items[5:8] = velocity
    items[9:12] = position
    items[15] = SPHERE_MESH
    items[16] = "Media/Textures/" + texture
    items[17] = tilt_rad(pole_ra, pole_dec)
    items[18] = spin_rate(period_h)
    items[19] = spin_angle_rad
    items[20] = r_eq
    items[21] = r_pol
    if name == "Sun":
        items[26] = 1
        items[29:33] = (1.0, 1.0, 1.0, 1.0)
    else:
        items[27] = 1
    if name == "Saturn":
        items[22] = 1
        items[23] = SATURN_RING_TEXTURE
        items[24] = SATURN_RING_INNER_KM
        items[25] = SATURN_RING_OUTER_KM
    return items


def observer_items(earth_position, earth_velocity):
    """The ship: four Earth radii from Earth's centre (within reach of the energy refill), in a
    circular equatorial orbit. With the identity view it looks along +z; Earth stands a little
    right of the centre, clear of the heads-up text on the left, lit from the right by the Sun."""
    r_km = OBSERVER_DISTANCE_EARTH_RADII * BODIES["Earth"][1]
    a = math.radians(OBSERVER_EARTH_OFFSET_DEG)
    position = stored(ephemeris.add(earth_position,
                                    (-r_km * math.sin(a), 0.0, -r_km * math.cos(a))))
    # The orbit is computed from the positions as stored (six digits), so that it stays circular.
    rel = tuple(p - e for p, e in zip(position, stored(earth_position)))
    r_stored = math.sqrt(sum(c * c for c in rel))
    speed = math.sqrt(ephemeris.G_SIM * ephemeris.mass_kg("Earth") / r_stored)
    # Prograde: eastward, toward larger right ascension, in the equatorial plane.
    direction = (-rel[2] / r_stored, 0.0, rel[0] / r_stored)
    velocity = ephemeris.add(earth_velocity, ephemeris.scale(direction, speed))
    items = blank_items()
    items[0] = "Objects/%s.cfg" % OBSERVER
    items[1] = OBSERVER_MASS_KG
    items[2:5] = position
    items[5:8] = velocity
    items[9:12] = position
    items[15] = NA
    items[16] = NA
    items[28] = 1
    items[33:39] = (0.0,) * 6
    items[39:48] = (0.0, 0.0, 1.0, 0.0, 1.0, 0.0, 1.0, 0.0, 0.0)
    items[48] = 0.001   # torque level change, rad/s^2 per s
    items[49] = 0.002   # torque level, rad/s^2
    items[50] = 1000.0  # thrust level change, kN per s
    items[51:54] = (1000.0, 1000.0, 1000.0)  # nominal thrust, kN
    items[54:57] = (0.0, 0.0, 0.0)
    items[57] = 1e11    # energy, kJ
    items[58] = 1e5     # slow jump-distance change, km per s
    items[59] = 1e7     # fast jump-distance change, km per s
    items[60] = 1e6     # jump distance, km
    return items


def template_items():
    return blank_items()


def build(out_dir):
    world = ephemeris.solar_system_j2000()
    earth_pos, earth_vel = world["Earth"]
    moon_pos, _ = world["Moon"]
    to_earth = tuple(e - m for e, m in zip(earth_pos, moon_pos))
    # Spin angles: Greenwich faces the mean sidereal time; the Moon's near side faces Earth.
    spin = {name: 0.0 for name in ORDER}
    spin["Earth"] = wrap_signed(-math.radians(GMST_J2000_DEG))
    spin["Moon"] = wrap_signed(-math.radians(ephemeris.right_ascension_deg(to_earth)))

    files = {}
    for name in ORDER:
        position, velocity = world[name]
        files["Objects/%s.cfg" % name] = object_file_text(
            body_items(name, position, velocity, spin[name]))
    files["Objects/%s.cfg" % OBSERVER] = object_file_text(observer_items(earth_pos, earth_vel))

    entries = ["%s.cfg" % name for name in ORDER] + ["%s.cfg" % OBSERVER]
    configuration = "".join(e + "\n" for e in entries) + "-999\n"
    files["Configurations/Default Configuration.cfg"] = configuration
    files["CfgTemplate.cfg"] = object_file_text(template_items())
    files.update(SELECTION_FILES)
    files["time.cfg"] = TIME_TEXT
    files["last_view.cfg"] = LAST_VIEW_TEXT

    backup = "Backup Default Config/"
    for name in ("configfile.cfg", "moviefile.cfg", "screenshotfile.cfg", "time.cfg",
                 "CfgTemplate.cfg", "last_view.cfg"):
        files[backup + name] = files[name]
    files[backup + "Default Configuration.cfg"] = configuration
    for entry in entries:
        files[backup + entry] = files["Objects/" + entry]

    for relative, text in sorted(files.items()):
        write_text(os.path.join(out_dir, relative), text)
    return sorted(files)


def main():
    run_data_generator(build, __doc__)


if __name__ == "__main__":
    main()
