#!/usr/bin/env python3
"""Writes reference.txt: the expected decode of every valid PngSuite file, made without libpng.

An independent PNG decoder in plain Python (zlib only) decodes each file the way Ravel's loader is
specified to: every colour type and depth to 8 bits per channel, 16-bit samples keep their high byte,
grey becomes RGB, palette and tRNS become RGBA, no gamma, no background. Each line of the output is

    name width height channels fnv1a32-of-pixels

with the pixels row by row, top to bottom, channels bytes each (3 for RGB, 4 for RGBA). Files this
decoder refuses (the x*.png ones) are not listed. Run from this folder: python3 make_reference.py
"""
import glob
import os
import struct
import zlib

ADAM7 = [(0, 0, 8, 8), (4, 0, 8, 8), (0, 4, 4, 8), (2, 0, 4, 4), (0, 2, 2, 4), (1, 0, 2, 2), (0, 1, 1, 2)]
CHANNELS = {0: 1, 2: 3, 3: 1, 4: 2, 6: 4}


def chunks(data):
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise ValueError("signature")
    pos = 8
    while True:
        if pos + 8 > len(data):
            raise ValueError("truncated")
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        crc = struct.unpack(">I", data[pos + 8 + length:pos + 12 + length])[0]
        if zlib.crc32(kind + body) != crc:
            raise ValueError("crc " + kind.decode("latin-1"))
        yield kind, body
        pos += 12 + length
        if kind == b"IEND":
            return


def paeth(a, b, c):
    p = a + b - c
    pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
    if pa <= pb and pa <= pc:
        return a
    return b if pb <= pc else c


def unfilter(raw, pos, width, height, bpp_bits):
    """Returns the unfiltered rows of one pass and the position after them."""
    stride = (width * bpp_bits + 7) // 8
    bpp = max(1, bpp_bits // 8)
    rows, prev = [], bytearray(stride)
    for _ in range(height):
        ftype = raw[pos]
        line = bytearray(raw[pos + 1:pos + 1 + stride])
        if len(line) != stride or ftype > 4:
            raise ValueError("image data")
        pos += 1 + stride
        for i in range(stride):
            a = line[i - bpp] if i >= bpp else 0
            b = prev[i]
            c = prev[i - bpp] if i >= bpp else 0
            line[i] = (line[i] + (0, a, b, (a + b) // 2, paeth(a, b, c))[ftype]) & 255
        rows.append(line)
        prev = line
    return rows, pos


def samples(line, width, depth, nchan):
    n = width * nchan
    if depth == 8:
        return list(line[:n])
    if depth == 16:
        return [line[2 * i] << 8 | line[2 * i + 1] for i in range(n)]
    out, per = [], 8 // depth
    for i in range(n):
        byte = line[i // per]
        shift = 8 - depth * (i % per + 1)
        out.append((byte >> shift) & ((1 << depth) - 1))
    return out


def decode(path):
    with open(path, "rb") as f:
        data = f.read()
    ihdr, plte, trns, idat = None, None, None, b""
    for kind, body in chunks(data):
        if kind == b"IHDR":
            ihdr = struct.unpack(">IIBBBBB", body)
        elif kind == b"PLTE":
            plte = body
        elif kind == b"tRNS":
            trns = body
        elif kind == b"IDAT":
            idat += body
    width, height, depth, ctype, _, _, interlace = ihdr
    if ctype not in CHANNELS or depth not in (1, 2, 4, 8, 16) or not idat:
        raise ValueError("header")
    nchan = CHANNELS[ctype]
    raw = zlib.decompress(idat)
    grid = [[None] * width for _ in range(height)]
    passes = ADAM7 if interlace else [(0, 0, 1, 1)]
    pos = 0
    for x0, y0, dx, dy in passes:
        pw = (width - x0 + dx - 1) // dx if width > x0 else 0
        ph = (height - y0 + dy - 1) // dy if height > y0 else 0
        if pw == 0 or ph == 0:
            continue
        rows, pos = unfilter(raw, pos, pw, ph, depth * nchan)
        for j, line in enumerate(rows):
            s = samples(line, pw, depth, nchan)
            for i in range(pw):
                grid[y0 + j * dy][x0 + i * dx] = s[i * nchan:(i + 1) * nchan]
    if pos != len(raw):
        raise ValueError("extra image data")

    def to8(v):
        if depth == 16:
            return v >> 8
        return v * 255 // ((1 << depth) - 1) if ctype != 3 else v

    alpha = ctype in (4, 6) or trns is not None
    key = None
    if trns is not None and ctype in (0, 2):
        key = list(struct.unpack(">%dH" % (len(trns) // 2), trns))
    out = bytearray()
    for row in grid:
        for s in row:
            if ctype == 3:
                r, g, b = plte[3 * s[0]:3 * s[0] + 3]
                a = trns[s[0]] if trns is not None and s[0] < len(trns) else 255
            elif ctype in (0, 4):
                r = g = b = to8(s[0])
                a = to8(s[1]) if ctype == 4 else (0 if key == s[:1] else 255)
            else:
                r, g, b = (to8(v) for v in s[:3])
                a = to8(s[3]) if ctype == 6 else (0 if key == s[:3] else 255)
            out += bytes((r, g, b, a) if alpha else (r, g, b))
    return width, height, 4 if alpha else 3, bytes(out)


def fnv1a(data):
    h = 2166136261
    for byte in data:
        h = ((h ^ byte) * 16777619) & 0xFFFFFFFF
    return h


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    lines = []
    for path in sorted(glob.glob(os.path.join(here, "*.png"))):
        try:
            width, height, nchan, pixels = decode(path)
        except (ValueError, zlib.error, struct.error, TypeError, IndexError):
            continue
        lines.append("%s %d %d %d %08x" % (os.path.basename(path), width, height, nchan, fnv1a(pixels)))
    with open(os.path.join(here, "reference.txt"), "w") as f:
        f.write("\n".join(lines) + "\n")


if __name__ == "__main__":
    main()
