# Positions and velocities of the Sun, the planets and the Moon at epoch J2000.0 (2000-01-01 12:00
# TDB) in the simulator's world frame (km, km/s): +Y to the celestial north pole, right ascension
# 0 h along +Z, 6 h along -X. The places come from the IAU/SOFA planetary theories as ERFA carries
# them (Debian: python3-erfa): plan94 for the planets, epv00 for Earth, moon98 for the Moon.
import math

import erfa

AU_KM = 149597870.7
SECONDS_PER_DAY = 86400.0
J2000_JD = 2451545.0
# The simulator's gravitational constant, km^3 kg^-1 s^-2.
G_SIM = 6.672e-20
G_SI_KM = 6.6743e-20  # CODATA 2018, km^3 kg^-1 s^-2, turns published GM values into masses
# The simulator's G is 0.035 % smaller than the true one, so every simulated GM is too. Scaling all
# velocities by sqrt(G_SIM / G_SI_KM) keeps every orbit's size, shape and orientation (the whole
# motion merely runs that much slower), so the bodies keep to their true paths.
VELOCITY_SCALE = math.sqrt(G_SIM / G_SI_KM)

# GM in km^3/s^2 (JPL DE440 constants), so masses follow as GM / G.
GM_KM3_S2 = {
    "Sun": 1.32712440041e11,
    "Mercury": 22031.868,
    "Venus": 324858.592,
    "Earth": 398600.435,
    "Moon": 4902.800,
    "Mars": 42828.375,
    "Jupiter": 126712764.1,
    "Saturn": 37940584.8,
    "Uranus": 5794556.4,
    "Neptune": 6836527.1,
}

# plan94's planet numbers (3, the Earth-Moon barycentre, is not used: Earth comes from epv00).
PLAN94_NUMBER = {"Mercury": 1, "Venus": 2, "Mars": 4, "Jupiter": 5, "Saturn": 6, "Uranus": 7,
                 "Neptune": 8}


def mass_kg(name):
    return GM_KM3_S2[name] / G_SI_KM


def equatorial_to_world(v):
    """J2000 mean equator and equinox (x to the equinox, z to the pole) to the world frame."""
    x, y, z = (float(c) for c in v)
    return (-y, z, x)


def world_direction(ra_deg, dec_deg):
    """Unit vector of a direction given by right ascension and declination in degrees."""
    a, d = math.radians(ra_deg), math.radians(dec_deg)
    return (-math.cos(d) * math.sin(a), math.sin(d), math.cos(d) * math.cos(a))


def right_ascension_deg(v):
    """Right ascension of a world-frame vector, degrees in [0, 360)."""
    x, _, z = v
    return math.degrees(math.atan2(-x, z)) % 360.0


def add(a, b):
    return tuple(x + y for x, y in zip(a, b))


def sub(a, b):
    return tuple(x - y for x, y in zip(a, b))


def scale(a, s):
    return tuple(x * s for x in a)


def _state_km(pv_au):
    """(position km, velocity km/s) in the world frame from an ERFA p,v pair in au and au/day."""
    position, velocity = pv_au
    return (equatorial_to_world(scale(position, AU_KM)),
            equatorial_to_world(scale(velocity, AU_KM / SECONDS_PER_DAY)))


def heliocentric_j2000():
    """{name: (position km, velocity km/s)} relative to the Sun's centre, geometric (no light
    time, no aberration), in the world frame, exactly as the theories give them."""
    states = {"Sun": ((0.0, 0.0, 0.0), (0.0, 0.0, 0.0))}
    for name, number in PLAN94_NUMBER.items():
        states[name] = _state_km(erfa.plan94(J2000_JD, 0.0, number))
    earth_heliocentric, _ = erfa.epv00(J2000_JD, 0.0)
    states["Earth"] = _state_km(earth_heliocentric)
    moon_position, moon_velocity = _state_km(erfa.moon98(J2000_JD, 0.0))
    earth_position, earth_velocity = states["Earth"]
    states["Moon"] = (add(earth_position, moon_position), add(earth_velocity, moon_velocity))
    return states


def solar_system_j2000():
    """Returns {name: (position_km, velocity_km_s)} in the world frame as delivered.

    The origin is Earth's centre at the epoch: object files hold six significant digits, and
    only small coordinates keep Earth, the Moon and the ship near Earth to within a kilometre of
    their places. Velocities are relative to the system's centre of mass (it stays at rest) and
    scaled by VELOCITY_SCALE for the simulator's gravitational constant."""
    helio = heliocentric_j2000()
    total_mass = sum(mass_kg(name) for name in helio)
    momentum = (0.0, 0.0, 0.0)
    for name, (_, velocity) in helio.items():
        momentum = add(momentum, scale(velocity, mass_kg(name)))
    centre_velocity = scale(momentum, 1.0 / total_mass)
    origin = helio["Earth"][0]
    return {name: (sub(position, origin), scale(sub(velocity, centre_velocity), VELOCITY_SCALE))
            for name, (position, velocity) in helio.items()}
