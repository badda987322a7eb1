#!/usr/bin/env python3
"""Rebuilds the bundled sample stage: sample.stage and its foreground picture sample.JPG.

The picture is drawn here (an evening sky with hills and a sun) and compressed with
libjpeg-turbo's cjpeg; the stage lays out a block pattern over a 640 x 480 picture with
15 x 12 blocks. Run from anywhere: python3 res/sample/make_sample.py
"""
import math
import os
import subprocess
import tempfile

W, H = 640, 480
BW, BH = 15, 12
HERE = os.path.dirname(os.path.abspath(__file__))


def pixel(x, y):
    t = y / H
    # Sky: deep blue at the top to orange near the horizon.
    r = int(30 + 200 * t)
    g = int(40 + 110 * t)
    b = int(120 - 60 * t)
    # Sun.
    d = math.hypot(x - 470, y - 300)
    if d < 60:
        r, g, b = 255, 220, 120
    elif d < 90:
        k = (90 - d) / 30
        r = int(r + (255 - r) * k)
        g = int(g + (200 - g) * k)
        b = int(b + (120 - b) * k)
    # Two ranges of hills.
    if y > 380 + 30 * math.sin(x / 70.0):
        r, g, b = 60, 90 + int(20 * math.sin(x / 13.0)), 60
    if y > 420 + 20 * math.sin(x / 45.0 + 1.0):
        r, g, b = 30, 60, 40
    return r, g, b


def write_picture(path):
    rows = bytearray()
    for y in range(H):
        for x in range(W):
            rows += bytes(pixel(x, y))
    with tempfile.NamedTemporaryFile(suffix=".ppm", delete=False) as f:
        f.write(b"P6\n%d %d\n255\n" % (W, H))
        f.write(rows)
        ppm = f.name
    try:
        with open(path, "wb") as out:
            subprocess.run(["cjpeg", "-quality", "85", ppm], stdout=out, check=True)
    finally:
        os.unlink(ppm)


def block_list():
    columns = -(-W // BW)
    rows = -(-H // BH)
    cells = []
    for y in range(rows):
        for x in range(columns):
            on = 3 <= y <= 14 and 2 <= x <= columns - 3 and (x + y) % 4 != 0
            # A heart-like gap in the middle, kind 4 (indestructible) along the bottom row.
            if on and abs(x - columns // 2) + abs(y - 8) < 3:
                on = False
            kind = 1 if on else 0
            if y == 15 and 6 <= x <= columns - 7 and x % 3 == 0:
                kind = 4
            cells.append(str(kind))
    return "".join(c + "," for c in cells)


def write_stage(path):
    pairs = [
        ("version", "RK"), ("graphicWidth", str(W)), ("graphicHeight", str(H)),
        ("graphic1", "sample.JPG"), ("graphic2", "graphic2.JPG"),
        ("minRadian", "2"), ("maxRadian", "8"), ("ballSize", "10"), ("baseSpeed", "16"),
        ("precision", "4"), ("xSpeed", "10"), ("barWidth", "100"), ("barHeight", "12"),
        ("criticalWidth", "3"), ("edgeWidth", "5"), ("blockWidth", str(BW)),
        ("blockHeight", str(BH)), ("barSpace", "150"), ("life", "5"), ("blockMask", "1"),
        ("ballSpeedRate", "1"), ("barSpeedRate", "0"),
        ("keyboardMode", "false"), ("blockMode", "false"), ("soundMode", "true"),
        ("effectMode", "true"), ("liteMode", "true"), ("edgeBack", "true"),
        ("timerVisible", "true"), ("rankingEnable", "false"),
        ("block", block_list()), ("command", "OnStart,play"),
        ("bgcolorGame", "402010"), ("bgcolorHtml", "0"),
        ("title", "サンプルステージ"), ("quality", "high"),
    ]
    record = "".join(k + "=" + v + "&" for k, v in pairs)
    with open(path, "wb") as f:
        f.write(record.encode("cp932"))


if __name__ == "__main__":
    write_picture(os.path.join(HERE, "sample.JPG"))
    write_stage(os.path.join(HERE, "sample.stage"))
