# Positions and velocities of the Sun, the planets and the Moon at epoch J2000.0 in the simulator's
# world frame (km, km/s): +Y to the celestial north pole, right ascension 0 h along +Z, 6 h along -X.
import math

AU_KM = 149597870.7
OBLIQUITY_DEG = 23.43928  # mean obliquity of the ecliptic at J2000.0
# The simulator's gravitational constant, km^3 kg^-1 s^-2; velocities are computed with it so
# that the simulated orbits keep the published semi-major axes.
G_SIM = 6.672e-20
G_SI_KM = 6.6743e-20  # CODATA 2018, km^3 kg^-1 s^-2, turns published GM values into masses

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

# Keplerian elements at J2000.0 of the JPL "approximate positions of the planets" table
# (valid 1800-2050): a [AU], e, I [deg], L [deg], longitude of perihelion [deg], node [deg].
ELEMENTS = {
    "Mercury": (0.38709927, 0.20563593, 7.00497902, 252.25032350, 77.45779628, 48.33076593),
    "Venus": (0.72333566, 0.00677672, 3.39467605, 181.97909950, 131.60246718, 76.67984255),
    "EMBary": (1.00000261, 0.01671123, -0.00001531, 100.46457166, 102.93768193, 0.0),
    "Mars": (1.52371034, 0.09339410, 1.84969142, -4.55343205, -23.94362959, 49.55953891),
    "Jupiter": (5.20288700, 0.04838624, 1.30439695, 34.39644051, 14.72847983, 100.47390909),
    "Saturn": (9.53667594, 0.05386179, 2.48599187, 49.95424423, 92.59887831, 113.66242448),
    "Uranus": (19.18916464, 0.04725744, 0.77263783, 313.23810451, 170.95427630, 74.01692503),
    "Neptune": (30.06992276, 0.00859048, 1.77004347, -55.12002969, 44.96476227, 131.78422574),
}


def mass_kg(name):
    return GM_KM3_S2[name] / G_SI_KM


def ecliptic_to_world(v):
    """Ecliptic (x to the equinox, z to the ecliptic pole) to the world frame."""
    eps = math.radians(OBLIQUITY_DEG)
    x, y, z = v
    xe = x
    ye = y * math.cos(eps) - z * math.sin(eps)
    ze = y * math.sin(eps) + z * math.cos(eps)
    # Equatorial (X to RA 0 h, Y to RA 6 h, Z north) to world: RA 0 h along +Z, 6 h along -X.
    return (-ye, ze, xe)


def world_direction(ra_deg, dec_deg):
    """Unit vector of a direction given by right ascension and declination in degrees."""
    a, d = math.radians(ra_deg), math.radians(dec_deg)
    return (-math.cos(d) * math.sin(a), math.sin(d), math.cos(d) * math.cos(a))


def right_ascension_deg(v):
    """Right ascension of a world-frame vector, degrees in [0, 360)."""
    x, _, z = v
    return math.degrees(math.atan2(-x, z)) % 360.0


def kepler_state(elements, mu_km3_s2):
    """Heliocentric ecliptic position (km) and velocity (km/s) from J2000 elements."""
    a_au, e, inc, mean_long, long_peri, node = elements
    a = a_au * AU_KM
    inc, node = math.radians(inc), math.radians(node)
    arg_peri = math.radians(long_peri) - node
    mean_anom = math.radians((mean_long - long_peri + 180.0) % 360.0 - 180.0)
    ecc_anom = mean_anom
    for _ in range(50):
        ecc_anom -= (ecc_anom - e * math.sin(ecc_anom) - mean_anom) / (1 - e * math.cos(ecc_anom))
    # Orbit-plane coordinates, x toward perihelion.
    xp = a * (math.cos(ecc_anom) - e)
    yp = a * math.sqrt(1 - e * e) * math.sin(ecc_anom)
    r = a * (1 - e * math.cos(ecc_anom))
    ecc_rate = math.sqrt(mu_km3_s2 / a ** 3) / (1 - e * math.cos(ecc_anom))
    vxp = -a * math.sin(ecc_anom) * ecc_rate
    vyp = a * math.sqrt(1 - e * e) * math.cos(ecc_anom) * ecc_rate
    del r

    def rotate(xo, yo):
        cw, sw = math.cos(arg_peri), math.sin(arg_peri)
        co, so = math.cos(node), math.sin(node)
        ci, si = math.cos(inc), math.sin(inc)
        x = (cw * co - sw * so * ci) * xo + (-sw * co - cw * so * ci) * yo
        y = (cw * so + sw * co * ci) * xo + (-sw * so + cw * co * ci) * yo
        z = (sw * si) * xo + (cw * si) * yo
        return (x, y, z)

    return rotate(xp, yp), rotate(vxp, vyp)


def moon_geocentric_ecliptic(t_centuries):
    """Geocentric ecliptic position of the Moon (km), main terms of the ELP-2000/82 series."""
    d2r = math.radians
    lp = 218.3164477 + 481267.88123421 * t_centuries
    dd = d2r(297.8501921 + 445267.1114034 * t_centuries)
    m = d2r(357.5291092 + 35999.0502909 * t_centuries)
    mp = d2r(134.9633964 + 477198.8675055 * t_centuries)
    f = d2r(93.2720950 + 483202.0175233 * t_centuries)
    lon = lp + 1e-6 * (
        6288774 * math.sin(mp) + 1274027 * math.sin(2 * dd - mp) + 658314 * math.sin(2 * dd)
        + 213618 * math.sin(2 * mp) - 185116 * math.sin(m) - 114332 * math.sin(2 * f)
        + 58793 * math.sin(2 * dd - 2 * mp) + 57066 * math.sin(2 * dd - m - mp)
        + 53322 * math.sin(2 * dd + mp) + 45758 * math.sin(2 * dd - m)
        - 40923 * math.sin(m - mp) - 34720 * math.sin(dd) - 30383 * math.sin(m + mp))
    lat = 1e-6 * (
        5128122 * math.sin(f) + 280602 * math.sin(mp + f) + 277693 * math.sin(mp - f)
        + 173237 * math.sin(2 * dd - f) + 55413 * math.sin(2 * dd - mp + f)
        + 46271 * math.sin(2 * dd - mp - f) + 32573 * math.sin(2 * dd + f)
        + 17198 * math.sin(2 * mp + f))
    dist = 385000.56 + 1e-3 * (
        -20905355 * math.cos(mp) - 3699111 * math.cos(2 * dd - mp) - 2955968 * math.cos(2 * dd)
        - 569925 * math.cos(2 * mp) + 48888 * math.cos(m) - 3149 * math.cos(2 * f)
        + 246158 * math.cos(2 * dd - 2 * mp) - 152138 * math.cos(2 * dd - m - mp)
        - 170733 * math.cos(2 * dd + mp) - 204586 * math.cos(2 * dd - m)
        - 129620 * math.cos(m - mp) + 108743 * math.cos(dd) + 104755 * math.cos(m + mp))
    lon, lat = d2r(lon), d2r(lat)
    return (dist * math.cos(lat) * math.cos(lon), dist * math.cos(lat) * math.sin(lon),
            dist * math.sin(lat))


def moon_geocentric_state():
    """Geocentric ecliptic position (km) and velocity (km/s) of the Moon at J2000.0."""
    step_s = 600.0
    dt = step_s / (36525.0 * 86400.0)
    before = moon_geocentric_ecliptic(-dt)
    after = moon_geocentric_ecliptic(dt)
    velocity = tuple((b - a) / (2 * step_s) for a, b in zip(before, after))
    return moon_geocentric_ecliptic(0.0), velocity


def add(a, b):
    return tuple(x + y for x, y in zip(a, b))


def scale(a, s):
    return tuple(x * s for x in a)


def solar_system_j2000():
    """Returns {name: (position_km, velocity_km_s)} in the world frame.

    Positions are heliocentric (the Sun at the origin); the Sun's velocity cancels the total
    momentum, so the centre of mass of the system stays at rest."""
    m_sun = mass_kg("Sun")
    states = {}
    for name, elements in ELEMENTS.items():
        if name == "EMBary":
            m_body = mass_kg("Earth") + mass_kg("Moon")
        else:
            m_body = mass_kg(name)
        states[name] = kepler_state(elements, G_SIM * (m_sun + m_body))
    moon_pos, moon_vel = moon_geocentric_state()
    m_earth, m_moon = mass_kg("Earth"), mass_kg("Moon")
    share = m_moon / (m_earth + m_moon)
    bary_pos, bary_vel = states.pop("EMBary")
    states["Earth"] = (add(bary_pos, scale(moon_pos, -share)), add(bary_vel, scale(moon_vel, -share)))
    states["Moon"] = (add(bary_pos, scale(moon_pos, 1 - share)),
                      add(bary_vel, scale(moon_vel, 1 - share)))
    world = {name: (ecliptic_to_world(p), ecliptic_to_world(v)) for name, (p, v) in states.items()}
    momentum = (0.0, 0.0, 0.0)
    for name, (_, v) in world.items():
        momentum = add(momentum, scale(v, mass_kg(name)))
    world["Sun"] = ((0.0, 0.0, 0.0), scale(momentum, -1.0 / m_sun))
    return world
