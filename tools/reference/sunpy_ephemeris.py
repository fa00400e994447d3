#!/usr/bin/python3
"""Reference values of the Sun's physical ephemeris from SunPy (4.1, with
astropy 5.2), written as a CSV for the precise ephemeris's tests.

300 instants, whole minutes UTC, spread over 1900-2100 by a fixed seed.
SunPy's defaults: L0 with the light time from the Sun's near surface and no
stellar aberration; B0 the Earth's heliographic latitude; P against the
Earth's rotation pole (ITRS); the geometric distance.

Astropy holds TAI - UTC at its table's values outside the leap-second table
and has no Delta T; so that the comparison tests the ephemeris rather than
the time scale, instants before 1960 and after the table are handed to
SunPy in TT computed from the Espenak & Meeus polynomials exactly as the
program does, and the CSV records TT - UTC used.

Usage: /usr/bin/python3 tools/reference/sunpy_ephemeris.py > tests/core/sunpy_reference.csv
"""
import datetime
import random
import warnings

import astropy.units as u
from astropy.time import Time
from astropy.utils import iers
from astropy.utils.exceptions import ErfaWarning

iers.conf.auto_download = False
warnings.simplefilter("ignore", ErfaWarning)
warnings.simplefilter("ignore", UserWarning)

from sunpy.coordinates import sun  # noqa: E402

FIRST_JD = 2415020.5  # 1900-01-01 0 h UTC
END_JD = 2488434.5    # 2101-01-01 0 h UTC


def espenak_meeus(y):
    def poly(t, cs):
        return sum(c * t ** k for k, c in enumerate(cs))
    if y < 1920:
        return poly(y - 1900, [-2.79, 1.494119, -0.0598939, 0.0061966, -0.000197])
    if y < 1941:
        return poly(y - 1920, [21.20, 0.84493, -0.076100, 0.0020936])
    if y < 1961:
        return poly(y - 1950, [29.07, 0.407, -1 / 233, 1 / 2547])
    if y < 1986:
        return poly(y - 1975, [45.45, 1.067, -1 / 260, -1 / 718])
    if y < 2005:
        return poly(y - 2000, [63.86, 0.3345, -0.060374, 0.0017275, 0.000651814, 0.00002373599])
    if y < 2050:
        return poly(y - 2000, [62.92, 0.32217, 0.005589])
    uu = (y - 1820) / 100
    return -20 + 32 * uu * uu - 0.5628 * (2150 - y)


def decimal_year(jd):
    return 2000 + (jd - 2451544.5) / 365.25


def table_end_jd():
    import erfa
    year = 1960
    while True:
        with warnings.catch_warnings():
            warnings.simplefilter("error", ErfaWarning)
            try:
                erfa.dat(year, 1, 1, 0.0)
            except ErfaWarning:
                break
        year += 1
    return Time(f"{year}-01-01", scale="utc").jd


def tt_minus_utc(jd, minute, end):
    year = decimal_year(jd)
    if year < 1960:
        return espenak_meeus(year)
    # From the clock time: a bare Julian day would be read as ERFA's
    # quasi-JD, which stretches a day that ends in a step of TAI - UTC.
    clock = (datetime.datetime(1900, 1, 1) + datetime.timedelta(minutes=minute)).isoformat()
    t = Time(clock, scale="utc")
    if jd < end:
        return ((t.tt.jd1 - FIRST_JD) + t.tt.jd2) * 86400 - minute * 60
    last = Time(end - 1, format="jd", scale="utc")
    held = (last.tt.jd1 - last.jd1 + last.tt.jd2 - last.jd2) * 86400
    return held + espenak_meeus(year) - espenak_meeus(decimal_year(end))


def main():
    rng = random.Random(20)
    end = table_end_jd()
    minutes = int((END_JD - FIRST_JD) * 1440)
    print("# SunPy 4.1.2 / astropy 5.2.1 sunpy.coordinates.sun defaults; tools/reference/sunpy_ephemeris.py")
    print("jd_utc,tt_minus_utc_s,p_deg,b0_deg,l0_deg,distance_au,carrington")
    for _ in range(300):
        minute = rng.randrange(minutes)
        jd = FIRST_JD + minute / 1440
        dt = tt_minus_utc(jd, minute, end)
        t = Time(jd, dt / 86400, format="jd", scale="tt")
        print(f"{jd:.10f},{dt:.4f},{sun.P(t).to_value(u.deg):.10f},{sun.B0(t).to_value(u.deg):.10f},"
              f"{sun.L0(t).to_value(u.deg):.10f},{sun.earth_distance(t).to_value(u.AU):.12f},"
              f"{sun.carrington_rotation_number(t):.9f}")


main()
