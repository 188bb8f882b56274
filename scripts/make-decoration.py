#!/usr/bin/env python3
"""Draws the standard decoration set of the gallery pages: ten small GIF
buttons (arrows, page and directory marks, a house and an index grid).

Usage: scripts/make-decoration.py [output folder]
The default folder is resources/decopool/standard beside this script's folder.
The pictures are drawn here from simple shapes; run it again after changing
a shape and commit the GIFs it writes.
"""
import os
import sys

SIZE = 20
# 0 transparent background, 1 button colour, 2 outline, 3 unused
PALETTE = [(255, 255, 255), (46, 94, 150), (20, 45, 80), (0, 0, 0)]


def blank():
    return [[0] * SIZE for _ in range(SIZE)]


def triangle(pic, left, width, pointing):
    """A filled triangle between columns left..left+width-1, centred vertically."""
    mid = (SIZE - 1) / 2.0
    for i in range(width):
        x = left + i
        # half height grows away from the tip
        reach = i if pointing == "left" else width - 1 - i
        half = (reach + 1) * (SIZE / 2.0 - 3) / width
        for y in range(SIZE):
            if abs(y - mid) <= half:
                pic[y][x] = 1


def bar(pic, left, width=2):
    for y in range(4, SIZE - 4):
        for x in range(left, left + width):
            pic[y][x] = 1


def house(pic):
    for y in range(3, 10):
        spread = y - 3
        for x in range(10 - spread - 1, 10 + spread + 1):
            if 0 <= x < SIZE:
                pic[y][x] = 1
    for y in range(10, 17):
        for x in range(4, 16):
            pic[y][x] = 1
    for y in range(12, 17):
        for x in range(8, 12):
            pic[y][x] = 0


def grid(pic):
    for row in range(3):
        for col in range(3):
            for y in range(3 + row * 5, 7 + row * 5):
                for x in range(3 + col * 5, 7 + col * 5):
                    pic[y][x] = 1


def outline(pic):
    """Darkens the edge pixels of every shape, so the buttons read on any background."""
    out = [row[:] for row in pic]
    for y in range(SIZE):
        for x in range(SIZE):
            if pic[y][x] != 1:
                continue
            for dy, dx in ((-1, 0), (1, 0), (0, -1), (0, 1)):
                ny, nx = y + dy, x + dx
                if not (0 <= ny < SIZE and 0 <= nx < SIZE) or pic[ny][nx] == 0:
                    out[y][x] = 2
                    break
    return out


def shapes():
    def make(*steps):
        pic = blank()
        for step in steps:
            step(pic)
        return outline(pic)

    return {
        "links": make(lambda p: triangle(p, 5, 10, "left")),
        "rechts": make(lambda p: triangle(p, 5, 10, "right")),
        "pfadanfang": make(lambda p: bar(p, 4), lambda p: triangle(p, 7, 9, "left")),
        "pfadende": make(lambda p: triangle(p, 4, 9, "right"), lambda p: bar(p, 14)),
        "seitenanfang": make(lambda p: triangle(p, 2, 8, "left"), lambda p: triangle(p, 10, 8, "left")),
        "seitenende": make(lambda p: triangle(p, 2, 8, "right"), lambda p: triangle(p, 10, 8, "right")),
        "gesamtanfang": make(lambda p: bar(p, 1), lambda p: triangle(p, 4, 7, "left"),
                             lambda p: triangle(p, 11, 7, "left")),
        "gesamtende": make(lambda p: triangle(p, 2, 7, "right"), lambda p: triangle(p, 9, 7, "right"),
                           lambda p: bar(p, 17)),
        "home": make(house),
        "index": make(grid),
    }


def lzw_literal_stream(pixels, min_code_size=2):
    """An LZW code stream that sends every pixel as its own code and clears
    the table before it would grow, so every code keeps the starting width."""
    clear = 1 << min_code_size
    end = clear + 1
    width = min_code_size + 1
    codes = []
    run = 0
    for p in pixels:
        if run == 0:
            codes.append(clear)
        codes.append(p)
        run += 1
        # two literals after a clear add one table entry; the third would
        # reach the next code width, so the table starts again.
        if run == (1 << width) - clear - 2:
            run = 0
    codes.append(end)
    data = bytearray()
    acc = 0
    bits = 0
    for c in codes:
        acc |= c << bits
        bits += width
        while bits >= 8:
            data.append(acc & 0xFF)
            acc >>= 8
            bits -= 8
    if bits:
        data.append(acc & 0xFF)
    return bytes(data)


def gif(pic):
    out = bytearray(b"GIF89a")
    out += SIZE.to_bytes(2, "little") + SIZE.to_bytes(2, "little")
    out += bytes([0xF1, 0, 0])  # global colour table of 4 entries
    for r, g, b in PALETTE:
        out += bytes([r, g, b])
    out += bytes([0x21, 0xF9, 4, 0x01, 0, 0, 0, 0])  # colour 0 is transparent
    out += b"\x2C" + bytes(4) + SIZE.to_bytes(2, "little") + SIZE.to_bytes(2, "little") + b"\x00"
    out += bytes([2])  # minimum code size
    stream = lzw_literal_stream([v for row in pic for v in row])
    for i in range(0, len(stream), 255):
        block = stream[i:i + 255]
        out += bytes([len(block)]) + block
    out += b"\x00\x3B"
    return bytes(out)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    target = sys.argv[1] if len(sys.argv) > 1 else os.path.join(here, "..", "resources", "decopool", "standard")
    os.makedirs(target, exist_ok=True)
    for name, pic in sorted(shapes().items()):
        with open(os.path.join(target, name + ".gif"), "wb") as f:
            f.write(gif(pic))


if __name__ == "__main__":
    main()
