#!/usr/bin/env python3
"""Draws the small flag pictures of the language list (resources/languages/*.gif).

Each flag is drawn sharp at ten times its size from its geometry and then
reduced to 20 x 12 pixels with ImageMagick, so the thin stripes blend into the
small picture instead of breaking up. Run from the top of the source tree:

    python3 scripts/draw-flags.py
"""
import math
import os
import subprocess
import tempfile

WIDTH, HEIGHT = 20, 12
SCALE = 10

BLUE = (1, 33, 105)
RED = (200, 16, 46)
WHITE = (255, 255, 255)


def union_flag(x, y):
    """Colour at (x, y) in flag units: 60 wide, 30 high."""
    # The red cross on its white border.
    if abs(y - 15) < 5 or abs(x - 30) < 5:
        return RED if abs(y - 15) < 3 or abs(x - 30) < 3 else WHITE
    # The two diagonals, white with a thinner red stripe offset clockwise.
    norm = math.hypot(1, 0.5)
    for rising, d in ((False, (y - x / 2) / norm), (True, (y - (30 - x / 2)) / norm)):
        if abs(d) < 3:
            left = x < 30
            red_side = (d > 0) == (left == rising)
            return RED if red_side and abs(d) < 2 else WHITE
    return BLUE


def german_flag(_x, y):
    if y < 10:
        return (0, 0, 0)
    if y < 20:
        return (221, 0, 0)
    return (255, 206, 0)


def draw(colour_at, target):
    width, height = WIDTH * SCALE, HEIGHT * SCALE
    pixels = bytearray()
    for py in range(height):
        for px in range(width):
            x = (px + 0.5) * 60 / width
            y = (py + 0.5) * 30 / height
            pixels += bytes(colour_at(x, y))
    with tempfile.NamedTemporaryFile(suffix=".ppm", delete=False) as sharp:
        sharp.write(b"P6\n%d %d\n255\n" % (width, height))
        sharp.write(pixels)
    try:
        subprocess.run(["convert", sharp.name, "-filter", "Lanczos", "-resize", "%dx%d!" % (WIDTH, HEIGHT),
                        target], check=True)
    finally:
        os.unlink(sharp.name)


if __name__ == "__main__":
    folder = os.path.join("resources", "languages")
    draw(union_flag, os.path.join(folder, "english.gif"))
    draw(german_flag, os.path.join(folder, "Deutsch.gif"))
