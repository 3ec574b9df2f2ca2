"""A small PNG reader (Python's standard library only): 8-bit greyscale, grey with alpha, RGB,
RGBA and palette pictures, not interlaced, which is what the engine's shots and browsers write."""

import struct
import zlib

SIGNATURE = b"\x89PNG\r\n\x1a\n"
CHANNELS = {0: 1, 2: 3, 3: 1, 4: 2, 6: 4}


class PngError(Exception):
    pass


def _paeth(a, b, c):
    p = a + b - c
    pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
    if pa <= pb and pa <= pc:
        return a
    return b if pb <= pc else c


def _unfilter(raw, width, height, bpp):
    stride = width * bpp
    rows = []
    previous = bytearray(stride)
    pos = 0
    for _ in range(height):
        if pos + 1 + stride > len(raw):
            raise PngError("picture data cut short")
        kind = raw[pos]
        row = bytearray(raw[pos + 1:pos + 1 + stride])
        pos += 1 + stride
        if kind == 1:
            for i in range(bpp, stride):
                row[i] = (row[i] + row[i - bpp]) & 0xFF
        elif kind == 2:
            for i in range(stride):
                row[i] = (row[i] + previous[i]) & 0xFF
        elif kind == 3:
            for i in range(stride):
                left = row[i - bpp] if i >= bpp else 0
                row[i] = (row[i] + ((left + previous[i]) >> 1)) & 0xFF
        elif kind == 4:
            for i in range(stride):
                left = row[i - bpp] if i >= bpp else 0
                up_left = previous[i - bpp] if i >= bpp else 0
                row[i] = (row[i] + _paeth(left, previous[i], up_left)) & 0xFF
        elif kind != 0:
            raise PngError(f"unknown row filter {kind}")
        rows.append(row)
        previous = row
    return rows


def read_rgba(path):
    """(width, height, pixels): pixels is a bytearray of RGBA, rows top to bottom."""
    with open(path, "rb") as f:
        data = f.read()
    if not data.startswith(SIGNATURE):
        raise PngError(f"{path}: not a PNG file")
    pos = len(SIGNATURE)
    header = None
    palette = b""
    transparency = b""
    compressed = bytearray()
    while pos + 8 <= len(data):
        length, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + length]
        pos += 12 + length
        if kind == b"IHDR":
            header = struct.unpack(">IIBBBBB", body)
        elif kind == b"PLTE":
            palette = body
        elif kind == b"tRNS":
            transparency = body
        elif kind == b"IDAT":
            compressed += body
        elif kind == b"IEND":
            break
    if header is None:
        raise PngError(f"{path}: no header")
    width, height, depth, colour, _, _, interlace = header
    if depth != 8 or colour not in CHANNELS or interlace:
        raise PngError(f"{path}: only 8-bit pictures without interlacing are read (depth {depth}, type {colour})")
    channels = CHANNELS[colour]
    rows = _unfilter(zlib.decompress(bytes(compressed)), width, height, channels)
    out = bytearray(width * height * 4)
    o = 0
    for row in rows:
        if colour == 6:
            out[o:o + width * 4] = row
            o += width * 4
            continue
        for x in range(width):
            if colour == 2:
                r, g, b = row[3 * x:3 * x + 3]
                a = 255
            elif colour == 0:
                r = g = b = row[x]
                a = 255
            elif colour == 4:
                r = g = b = row[2 * x]
                a = row[2 * x + 1]
            else:
                i = row[x]
                r, g, b = palette[3 * i:3 * i + 3]
                a = transparency[i] if i < len(transparency) else 255
            out[o:o + 4] = bytes((r, g, b, a))
            o += 4
    return width, height, out
