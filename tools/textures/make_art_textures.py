#!/usr/bin/python3
"""Writes the texture pictures the art-text dialog offers (resources/program/贴图/纹理-*.png).

Plain Python (zlib and struct only): every texture is computed from a fixed formula,
so running this again gives the same files byte for byte.
"""
import math
import os
import random
import struct
import zlib

SIZE = 96
OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "resources",
                   "program", "贴图")


def write_png(path, pixels, width, height):
    raw = b"".join(b"\x00" + bytes(c for p in pixels[y * width:(y + 1) * width] for c in p)
                   for y in range(height))

    def chunk(kind, data):
        body = kind + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

    png = b"\x89PNG\r\n\x1a\n"
    png += chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
    png += chunk(b"IDAT", zlib.compress(raw, 9))
    png += chunk(b"IEND", b"")
    with open(path, "wb") as f:
        f.write(png)


def noise_table(seed):
    rnd = random.Random(seed)
    return [[rnd.random() for _ in range(SIZE)] for _ in range(SIZE)]


def smooth(table, x, y, scale):
    """Value noise that wraps around the tile, so the texture repeats without seams."""
    cells = SIZE // scale
    fx, fy = x / scale, y / scale
    x0, y0 = int(fx) % cells, int(fy) % cells
    x1, y1 = (x0 + 1) % cells, (y0 + 1) % cells
    tx, ty = fx - int(fx), fy - int(fy)
    tx, ty = tx * tx * (3 - 2 * tx), ty * ty * (3 - 2 * ty)
    a = table[y0][x0] * (1 - tx) + table[y0][x1] * tx
    b = table[y1][x0] * (1 - tx) + table[y1][x1] * tx
    return a * (1 - ty) + b * ty


def turbulence(table, x, y):
    return sum(smooth(table, x, y, s) / (SIZE // s) for s in (48, 24, 12, 6)) / \
        sum(1 / (SIZE // s) for s in (48, 24, 12, 6))


def mix(c1, c2, t):
    t = max(0.0, min(1.0, t))
    return tuple(int(a + (b - a) * t) for a, b in zip(c1, c2))


def wood(x, y, table):
    rings = math.sin((x / SIZE * 2 * math.pi) * 6 + turbulence(table, x, y) * 5)
    return mix((122, 72, 32), (201, 145, 84), (rings + 1) / 2)


def marble(x, y, table):
    vein = abs(math.sin((x + y) / SIZE * 2 * math.pi * 2 + turbulence(table, x, y) * 8))
    return mix((84, 92, 110), (236, 236, 240), vein ** 0.4)


def weave(x, y, table):
    across = (x // 8 + y // 8) % 2 == 0
    shade = 0.5 + 0.5 * math.sin(((y if across else x) % 8) / 8 * math.pi)
    base = (190, 40, 48) if across else (240, 200, 60)
    return mix((60, 20, 20), base, 0.45 + 0.55 * shade - 0.15 * table[y][x])


def brushed_metal(x, y, table):
    streak = smooth(table, x, (y * 7) % SIZE, 6) * 0.3 + table[y][x] * 0.1
    glow = 0.5 + 0.5 * math.cos((y / SIZE) * 2 * math.pi)
    return mix((110, 116, 124), (232, 236, 242), 0.25 + 0.5 * glow + streak)


def stars(x, y, table):
    base = mix((10, 24, 90), (40, 70, 170), y / SIZE)
    return (255, 240, 180) if table[y][x] > 0.985 else base


TEXTURES = {
    "纹理-木纹": (wood, 11),
    "纹理-大理石": (marble, 12),
    "纹理-编织": (weave, 13),
    "纹理-拉丝金属": (brushed_metal, 14),
    "纹理-星空": (stars, 15),
}


def main():
    os.makedirs(OUT, exist_ok=True)
    for name, (shade, seed) in TEXTURES.items():
        table = noise_table(seed)
        pixels = [shade(x, y, table) for y in range(SIZE) for x in range(SIZE)]
        write_png(os.path.join(OUT, name + ".png"), pixels, SIZE, SIZE)


if __name__ == "__main__":
    main()
