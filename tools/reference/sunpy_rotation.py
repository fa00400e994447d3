#!/usr/bin/python3
"""Reference values for the rotation of a feature, from SunPy's RotatedSunFrame.

Prints C++ table rows for tests/core/featurerotation_test.cpp: for each rotation
model, a feature given by its heliographic latitude and Carrington longitude
(SunPy's, observer at the Earth) at T0 is rotated to T1 = T0 + days.  Each row
holds the Julian day of T0 (UTC), the days, the latitude and Carrington
longitude at T0, and SunPy's results at T1: the latitude, the change of the
Carrington longitude and the change of the Stonyhurst longitude (the distance
from the central meridian) from T0 to T1.

Changes rather than positions are compared because SunPy's Carrington
longitude comes from its own ephemeris (with light travel time); the change of
the Stonyhurst longitude carries the Earth's real motion between the two
instants, which is what the rotated view must get right.

The Sun's centre is held fixed (transform_with_sun_center), as the program
holds it: SunPy otherwise moves the Sun with its barycentric motion between
the two instants, a few thousand km over days.

sunpy.physics.differential_rotation imports sunpy.map, which needs matplotlib
at import time; the rotation does not use it, so the few names it imports from
sunpy.map are stood in for when matplotlib is missing.

Run once: /usr/bin/python3 tools/reference/sunpy_rotation.py
"""
import sys
import types

try:
    import matplotlib  # noqa: F401
except ImportError:
    stand_in = types.ModuleType("sunpy.map")
    for name in ["contains_full_disk", "coordinate_is_on_solar_disk", "is_all_off_disk",
                 "is_all_on_disk", "map_edges", "on_disk_bounding_coordinates"]:
        setattr(stand_in, name, None)
    helper = types.ModuleType("sunpy.map.header_helper")
    helper.get_observer_meta = None
    sys.modules["sunpy.map"] = stand_in
    sys.modules["sunpy.map.header_helper"] = helper

import astropy.units as u  # noqa: E402
import sunpy  # noqa: E402
from astropy.coordinates import SkyCoord  # noqa: E402
from astropy.time import Time  # noqa: E402
from sunpy.coordinates import RotatedSunFrame, frames, transform_with_sun_center  # noqa: E402

# (T0 in UTC, days, latitude, Carrington longitude)
CASES = [
    ("2024-03-01T00:00", 1, 0.0, 120.0),
    ("2024-03-01T00:00", 14, 15.0, 200.0),
    ("2025-06-21T06:30", 3, -30.0, 10.0),
    ("2025-06-21T06:30", 7, 45.0, 300.0),
    ("2026-12-10T12:00", 10, -60.0, 75.5),
    ("2026-09-05T18:00", 5, 22.5, 359.0),
]
MODELS = ["rigid", "howard", "snodgrass", "allen"]


def signed(angle_deg):
    return (angle_deg + 180.0) % 360.0 - 180.0


def row(model, start, days, latitude, longitude):
    t0 = Time(start, scale="utc")
    t1 = t0 + days * u.day
    with transform_with_sun_center():
        hgc0 = frames.HeliographicCarrington(observer="earth", obstime=t0)
        at_t0 = SkyCoord(longitude * u.deg, latitude * u.deg, 1 * u.R_sun, frame=hgc0)
        rotated = SkyCoord(longitude * u.deg, latitude * u.deg, 1 * u.R_sun,
                           frame=RotatedSunFrame(base=hgc0, duration=days * u.day,
                                                 rotation_model=model))
        hgc1 = rotated.transform_to(frames.HeliographicCarrington(observer="earth", obstime=t1))
        hgs0 = at_t0.transform_to(frames.HeliographicStonyhurst(obstime=t0))
        hgs1 = rotated.transform_to(frames.HeliographicStonyhurst(obstime=t1))
    carrington_change = signed(hgc1.lon.to_value(u.deg) - longitude)
    stonyhurst_change = signed(hgs1.lon.to_value(u.deg) - hgs0.lon.to_value(u.deg))
    return (f'    {{"{model}", {t0.jd:.6f}, {days}, {latitude}, {longitude}, '
            f'{hgc1.lat.to_value(u.deg):.6f}, {carrington_change:.6f}, '
            f'{stonyhurst_change:.6f}}},')


def main():
    print(f"// SunPy {sunpy.__version__}, RotatedSunFrame")
    for model in MODELS:
        for case in CASES:
            print(row(model, *case))


if __name__ == "__main__":
    main()
