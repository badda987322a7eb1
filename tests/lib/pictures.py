"""Readers for the pictures the shell tests compare: 8-bit RGB PNG (as rkstage render
writes it) and binary PPM (as djpeg writes it). Each returns width, height and a function
giving the (r, g, b) tuple at (x, y)."""
import struct
import zlib


def png(path):
    data = open(path, 'rb').read()
    assert data[:8] == b'\x89PNG\r\n\x1a\n', 'not a PNG'
    pos, idat = 8, b''
    while pos < len(data):
        n, kind = struct.unpack('>I4s', data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + n]
        if kind == b'IHDR':
            w, h, depth, colour = struct.unpack('>IIBB', body[:10])
            assert (depth, colour) == (8, 2), 'not 8-bit RGB'
        elif kind == b'IDAT':
            idat += body
        pos += 12 + n
    raw, rows, prev = zlib.decompress(idat), [], bytearray(3 * w)
    for y in range(h):
        line = raw[y * (3 * w + 1):(y + 1) * (3 * w + 1)]
        f, row = line[0], bytearray(line[1:])
        for i in range(3 * w):
            a = row[i - 3] if i >= 3 else 0
            b = prev[i]
            c = prev[i - 3] if i >= 3 else 0
            if f == 1: row[i] = (row[i] + a) & 255
            elif f == 2: row[i] = (row[i] + b) & 255
            elif f == 3: row[i] = (row[i] + (a + b) // 2) & 255
            elif f == 4:
                p = a + b - c
                pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                row[i] = (row[i] + (a if pa <= pb and pa <= pc else b if pb <= pc else c)) & 255
        rows.append(bytes(row))
        prev = row
    return w, h, lambda x, y: tuple(rows[y][3 * x:3 * x + 3])


def ppm(path):
    parts = open(path, 'rb').read().split(maxsplit=4)
    w, h, body = int(parts[1]), int(parts[2]), parts[4]
    return w, h, lambda x, y: tuple(body[3 * (y * w + x):3 * (y * w + x) + 3])
