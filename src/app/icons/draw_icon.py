#!/usr/bin/env python3
"""Draws helidisk's icon: the yellow solar disk on black with a grid of
heliographic parallels and meridians, the 280 deg meridian red and the
100 deg meridian blue, as the program's picture shows them.

Writes helidisk-32.png and helidisk-256.png beside this script.  Only the
standard library is needed; each pixel is the mean of 8 x 8 samples.
"""
import math
import os
import struct
import zlib

TILT_B0 = math.radians(12)  # heliographic latitude of the disk centre
CENTRE_L0 = math.radians(245)  # heliographic longitude of the disk centre
GRID_STEP = math.radians(30)
SAMPLES = 8

BLACK = (0, 0, 0)
YELLOW = (255, 255, 0)
GREY = (128, 128, 128)
RED = (255, 0, 0)
BLUE = (0, 0, 255)


def heliographic(x, y):
    """Latitude and longitude of the visible point at (x, y), unit disk, y up."""
    z = math.sqrt(max(0.0, 1.0 - x * x - y * y))
    # Undo the tilt by B0 about the x axis.
    y_body = y * math.cos(TILT_B0) + z * math.sin(TILT_B0)
    z_body = -y * math.sin(TILT_B0) + z * math.cos(TILT_B0)
    latitude = math.asin(max(-1.0, min(1.0, y_body)))
    longitude = (math.atan2(x, z_body) + CENTRE_L0) % (2 * math.pi)
    return latitude, longitude


def angular_gap(angle, step):
    return abs((angle + step / 2) % step - step / 2)


def sample_colour(x, y, line_width):
    """Colour at (x, y) in units of the disk radius; line_width likewise."""
    radius = math.hypot(x, y)
    if radius > 1.0:
        return BLACK
    if radius > 1.0 - line_width:
        return BLACK  # the limb
    latitude, longitude = heliographic(x, y)
    half = line_width / 2
    meridian_scale = math.cos(latitude)
    for degrees, colour in ((280, RED), (100, BLUE)):
        gap = abs((longitude - math.radians(degrees) + math.pi) % (2 * math.pi) - math.pi)
        if gap * meridian_scale < line_width:
            return colour
    if angular_gap(latitude, GRID_STEP) < half:
        return GREY
    if abs(latitude) < math.radians(75) and angular_gap(longitude, GRID_STEP) * meridian_scale < half:
        return GREY
    return YELLOW


def render(size):
    disk_radius = size * 0.46
    line_width = max(1.0, size / 128) / disk_radius
    rows = []
    for row in range(size):
        pixels = bytearray()
        for column in range(size):
            total = [0, 0, 0]
            for sy in range(SAMPLES):
                for sx in range(SAMPLES):
                    px = column + (sx + 0.5) / SAMPLES
                    py = row + (sy + 0.5) / SAMPLES
                    x = (px - size / 2) / disk_radius
                    y = (size / 2 - py) / disk_radius
                    colour = sample_colour(x, y, line_width)
                    for channel in range(3):
                        total[channel] += colour[channel]
            pixels.extend(round(value / SAMPLES**2) for value in total)
        rows.append(bytes(pixels))
    return rows


def write_png(path, rows):
    size = len(rows)

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    raw = b"".join(b"\x00" + row for row in rows)
    header = struct.pack(">IIBBBBB", size, size, 8, 2, 0, 0, 0)
    with open(path, "wb") as png:
        png.write(b"\x89PNG\r\n\x1a\n")
        png.write(chunk(b"IHDR", header))
        png.write(chunk(b"IDAT", zlib.compress(raw, 9)))
        png.write(chunk(b"IEND", b""))


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    for size in (32, 256):
        write_png(os.path.join(here, f"helidisk-{size}.png"), render(size))


if __name__ == "__main__":
    main()
