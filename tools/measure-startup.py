#!/usr/bin/env python3
"""Measures how long the program takes from its start until its first
complete picture is on the screen, and how much memory it holds then.

Run it on an X display of its own, e.g.

    xvfb-run -a -s "-screen 0 1280x1024x24" tools/measure-startup.py build

For each run it starts the program under `/usr/bin/time -v`, then asks the
X server every millisecond (Xlib through ctypes, no extra packages) for the
main window (caption "helidisk   Version ...") and, once it is mapped, for
the colour of a screen pixel inside the solar disk.  The window paints the
picture, the readout and the controls in one pass from its back buffer, so
the moment that pixel turns yellow is the moment the first complete picture
is on the screen.  The program then runs on for a second, and is ended;
its peak resident memory comes from `time -v`.
"""
import ctypes
import ctypes.util
import os
import re
import signal
import statistics
import subprocess
import sys
import tempfile
import time

RUNS = 10
TIMEOUT_S = 10.0
CAPTION_PREFIX = b"helidisk   Version"
# A point inside the disk at the design size, clear of the grid lines and
# the centre cross: client coordinates below the menu bar are added to it.
DISK_POINT = (470, 280)
YELLOW = (255, 255, 0)

xlib = ctypes.CDLL(ctypes.util.find_library("X11"))
xlib.XOpenDisplay.restype = ctypes.c_void_p
xlib.XOpenDisplay.argtypes = [ctypes.c_char_p]
xlib.XDefaultRootWindow.restype = ctypes.c_ulong
xlib.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
xlib.XQueryTree.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.POINTER(ctypes.c_ulong),
                            ctypes.POINTER(ctypes.c_ulong),
                            ctypes.POINTER(ctypes.POINTER(ctypes.c_ulong)),
                            ctypes.POINTER(ctypes.c_uint)]
xlib.XFetchName.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.POINTER(ctypes.c_char_p)]
xlib.XFree.argtypes = [ctypes.c_void_p]
xlib.XGetImage.restype = ctypes.c_void_p
xlib.XGetImage.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int,
                           ctypes.c_uint, ctypes.c_uint, ctypes.c_ulong, ctypes.c_int]
xlib.XGetPixel.restype = ctypes.c_ulong
xlib.XGetPixel.argtypes = [ctypes.c_void_p, ctypes.c_int, ctypes.c_int]


class WindowAttributes(ctypes.Structure):
    _fields_ = [("x", ctypes.c_int), ("y", ctypes.c_int), ("width", ctypes.c_int),
                ("height", ctypes.c_int), ("border_width", ctypes.c_int),
                ("depth", ctypes.c_int), ("visual", ctypes.c_void_p),
                ("root", ctypes.c_ulong), ("c_class", ctypes.c_int),
                ("bit_gravity", ctypes.c_int), ("win_gravity", ctypes.c_int),
                ("backing_store", ctypes.c_int), ("backing_planes", ctypes.c_ulong),
                ("backing_pixel", ctypes.c_ulong), ("save_under", ctypes.c_int),
                ("colormap", ctypes.c_ulong), ("map_installed", ctypes.c_int),
                ("map_state", ctypes.c_int), ("all_event_masks", ctypes.c_long),
                ("your_event_mask", ctypes.c_long), ("do_not_propagate_mask", ctypes.c_long),
                ("override_redirect", ctypes.c_int), ("screen", ctypes.c_void_p)]


xlib.XGetWindowAttributes.argtypes = [ctypes.c_void_p, ctypes.c_ulong,
                                      ctypes.POINTER(WindowAttributes)]
IS_VIEWABLE = 2
ALL_PLANES = ~0 & 0xFFFFFFFFFFFFFFFF
Z_PIXMAP = 2


def find_main_window(display, root):
    """The mapped top-level window whose caption starts with the prefix."""
    root_return, parent, count = ctypes.c_ulong(), ctypes.c_ulong(), ctypes.c_uint()
    children = ctypes.POINTER(ctypes.c_ulong)()
    if not xlib.XQueryTree(display, root, ctypes.byref(root_return), ctypes.byref(parent),
                           ctypes.byref(children), ctypes.byref(count)):
        return None
    found = None
    for index in range(count.value):
        name = ctypes.c_char_p()
        if xlib.XFetchName(display, children[index], ctypes.byref(name)) and name.value:
            if name.value.startswith(CAPTION_PREFIX):
                found = children[index]
            xlib.XFree(name)
        if found:
            break
    if children:
        xlib.XFree(children)
    return found


def pixel_colour(display, window, x, y):
    image = xlib.XGetImage(display, window, x, y, 1, 1, ALL_PLANES, Z_PIXMAP)
    if not image:
        return None
    pixel = xlib.XGetPixel(image, 0, 0)
    # XDestroyImage is a macro ctypes cannot call; a 1 x 1 image per poll
    # is left to the end of this short-lived script.
    return ((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF)


def one_run(program, display):
    root = xlib.XDefaultRootWindow(display)
    with tempfile.NamedTemporaryFile(mode="r", suffix=".time") as report:
        started = time.monotonic()
        process = subprocess.Popen(["/usr/bin/time", "-v", "-o", report.name, program],
                                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        mapped_ms = picture_ms = None
        while time.monotonic() - started < TIMEOUT_S and picture_ms is None:
            window = find_main_window(display, root)
            attributes = WindowAttributes()
            if window and xlib.XGetWindowAttributes(display, window, ctypes.byref(attributes)) \
                    and attributes.map_state == IS_VIEWABLE:
                if mapped_ms is None:
                    mapped_ms = (time.monotonic() - started) * 1000
                menu_height = attributes.height - 760
                colour = pixel_colour(display, window, DISK_POINT[0] + 1,
                                      DISK_POINT[1] + 1 + menu_height)
                if colour == YELLOW:
                    picture_ms = (time.monotonic() - started) * 1000
            time.sleep(0.001)
        time.sleep(1.0)
        # The program is time's only child; end it, time then reports.
        children = subprocess.run(["pgrep", "-P", str(process.pid)], capture_output=True,
                                  text=True).stdout.split()
        for child in children:
            os.kill(int(child), signal.SIGTERM)
        process.wait(timeout=TIMEOUT_S)
        text = open(report.name).read()
    peak_kib = int(re.search(r"Maximum resident set size \(kbytes\): (\d+)", text).group(1))
    return mapped_ms, picture_ms, peak_kib


def main():
    build = sys.argv[1] if len(sys.argv) > 1 else "build"
    program = os.path.join(build, "src", "app", "helidisk")
    display = xlib.XOpenDisplay(None)
    if not display:
        sys.exit("measure-startup: no X display; run it under xvfb-run")
    results = [one_run(program, display) for _ in range(RUNS)]
    for mapped_ms, picture_ms, peak_kib in results:
        print(f"window mapped {mapped_ms:7.1f} ms   first complete picture {picture_ms:7.1f} ms"
              f"   peak RSS {peak_kib / 1024:6.1f} MiB")
    pictures = [picture for _, picture, _ in results]
    print(f"first complete picture: median {statistics.median(pictures):.1f} ms, "
          f"max {max(pictures):.1f} ms over {RUNS} runs; "
          f"peak RSS median {statistics.median(r[2] for r in results) / 1024:.1f} MiB")


if __name__ == "__main__":
    main()
