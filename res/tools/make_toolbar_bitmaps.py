#!/usr/bin/env python3
"""Draws the main toolbar's pictures (14 images of 33 x 30 pixels side by side)
in three forms: normal (194), hot (196) and disabled (195), and writes them as
PNG byte arrays to res/ToolbarBitmaps.inc. Run from the repository root:

    python3 res/tools/make_toolbar_bitmaps.py
"""
import math
import struct
import zlib

W, H, COUNT = 33, 30, 14


class Canvas:
    def __init__(self, width, height):
        self.w, self.h = width, height
        self.px = [[(0, 0, 0, 0)] * width for _ in range(height)]

    def put(self, x, y, c):
        x, y = int(round(x)), int(round(y))
        if 0 <= x < self.w and 0 <= y < self.h:
            self.px[y][x] = c

    def rect(self, x0, y0, x1, y1, fill=None, line=None):
        for y in range(y0, y1 + 1):
            for x in range(x0, x1 + 1):
                edge = x in (x0, x1) or y in (y0, y1)
                if edge and line:
                    self.put(x, y, line)
                elif fill:
                    self.put(x, y, fill)

    def line(self, x0, y0, x1, y1, c, width=1):
        steps = int(max(abs(x1 - x0), abs(y1 - y0)) * 2) + 1
        for i in range(steps + 1):
            t = i / steps
            x, y = x0 + (x1 - x0) * t, y0 + (y1 - y0) * t
            for dx in range(width):
                for dy in range(width):
                    self.put(x + dx - width // 2, y + dy - width // 2, c)

    def circle(self, cx, cy, r, fill=None, line=None):
        for y in range(self.h):
            for x in range(self.w):
                d = math.hypot(x - cx, y - cy)
                if line and r - 1.0 <= d <= r:
                    self.put(x, y, line)
                elif fill and d < r - 1.0:
                    self.put(x, y, fill)

    def polygon(self, points, fill):
        ys = [p[1] for p in points]
        for y in range(int(min(ys)), int(max(ys)) + 1):
            xs = []
            for (xa, ya), (xb, yb) in zip(points, points[1:] + points[:1]):
                if (ya <= y < yb) or (yb <= y < ya):
                    xs.append(xa + (y - ya) * (xb - xa) / (yb - ya))
            xs.sort()
            for a, b in zip(xs[::2], xs[1::2]):
                for x in range(int(math.ceil(a)), int(math.floor(b)) + 1):
                    self.put(x, y, fill)


INK = (40, 40, 40, 255)
WHITE = (255, 255, 255, 255)
BLUE = (40, 90, 180, 255)
LIGHTBLUE = (150, 190, 240, 255)
YELLOW = (240, 200, 60, 255)
GREEN = (40, 150, 60, 255)
RED = (200, 50, 40, 255)
GREY = (150, 150, 150, 255)


def page(c, ox):
    c.polygon([(ox + 9, 4), (ox + 20, 4), (ox + 25, 9), (ox + 25, 26), (ox + 9, 26)], WHITE)
    for (a, b) in [((9, 4), (20, 4)), ((20, 4), (25, 9)), ((25, 9), (25, 26)), ((25, 26), (9, 26)), ((9, 26), (9, 4))]:
        c.line(ox + a[0], a[1], ox + b[0], b[1], INK)
    c.line(ox + 20, 4, ox + 20, 9, INK)
    c.line(ox + 20, 9, ox + 25, 9, INK)


def draw_new(c, ox):
    page(c, ox)
    c.line(ox + 12, 15, ox + 22, 15, BLUE)
    c.line(ox + 17, 10, ox + 17, 20, BLUE)


def draw_open(c, ox):
    c.polygon([(ox + 4, 9), (ox + 12, 9), (ox + 14, 11), (ox + 27, 11), (ox + 27, 25), (ox + 4, 25)], YELLOW)
    c.polygon([(ox + 8, 15), (ox + 30, 15), (ox + 27, 25), (ox + 4, 25)], (250, 225, 120, 255))
    c.line(ox + 4, 25, ox + 27, 25, INK)


def draw_save(c, ox):
    c.rect(ox + 6, 5, ox + 26, 25, fill=BLUE, line=INK)
    c.rect(ox + 10, 6, ox + 22, 13, fill=WHITE)
    c.rect(ox + 11, 18, ox + 21, 25, fill=GREY)


def draw_print(c, ox):
    c.rect(ox + 10, 4, ox + 22, 12, fill=WHITE, line=INK)
    c.rect(ox + 5, 12, ox + 27, 22, fill=GREY, line=INK)
    c.rect(ox + 10, 19, ox + 22, 27, fill=WHITE, line=INK)
    c.put(ox + 24, 15, GREEN)


def draw_preview(c, ox):
    page(c, ox - 3)
    c.circle(ox + 19, 16, 6, fill=LIGHTBLUE, line=INK)
    c.line(ox + 23, 20, ox + 28, 26, INK, 2)


def draw_connect(c, ox):
    c.rect(ox + 4, 12, ox + 13, 19, fill=GREY, line=INK)
    c.line(ox + 13, 14, ox + 17, 14, INK)
    c.line(ox + 13, 17, ox + 17, 17, INK)
    c.rect(ox + 19, 11, ox + 28, 20, fill=GREEN, line=INK)
    c.line(ox + 1, 15, ox + 4, 15, INK, 2)


def arrow(c, ox, down, color):
    c.rect(ox + 6, 19, ox + 26, 26, fill=GREY, line=INK)
    if down:
        c.rect(ox + 14, 3, ox + 18, 11, fill=color)
        c.polygon([(ox + 9, 11), (ox + 24, 11), (ox + 16.5, 18)], color)
    else:
        c.rect(ox + 14, 10, ox + 18, 18, fill=color)
        c.polygon([(ox + 9, 10), (ox + 24, 10), (ox + 16.5, 3)], color)


def draw_read(c, ox):
    arrow(c, ox, True, GREEN)


def draw_write(c, ox):
    arrow(c, ox, False, RED)


def draw_compare(c, ox):
    c.rect(ox + 4, 5, ox + 14, 26, fill=WHITE, line=INK)
    c.rect(ox + 18, 5, ox + 28, 26, fill=WHITE, line=INK)
    for y in (9, 13, 17, 21):
        c.line(ox + 6, y, ox + 12, y, GREY)
        c.line(ox + 20, y, ox + 26, y, RED if y == 13 else GREY)


def draw_graph(c, ox):
    c.rect(ox + 3, 4, ox + 29, 26, fill=(20, 30, 20, 255), line=INK)
    last = None
    for x in range(4, 29):
        y = 15 - 8 * math.sin((x - 4) / 24 * 2 * math.pi)
        if last:
            c.line(ox + last[0], last[1], ox + x, y, (80, 240, 80, 255))
        last = (x, y)


def draw_keypad(c, ox):
    c.rect(ox + 6, 3, ox + 26, 27, fill=GREY, line=INK)
    c.rect(ox + 9, 6, ox + 23, 10, fill=(60, 200, 80, 255))
    for row in range(3):
        for col in range(3):
            x, y = ox + 9 + col * 5, 13 + row * 5
            c.rect(x, y, x + 3, y + 3, fill=WHITE, line=INK)


def draw_control(c, ox):
    c.circle(ox + 16, 15, 12, fill=GREEN, line=INK)
    c.polygon([(ox + 12, 8), (ox + 23, 15), (ox + 12, 22)], WHITE)


def draw_status(c, ox):
    c.circle(ox + 16, 18, 12, fill=WHITE, line=INK)
    c.rect(ox + 3, 19, ox + 29, 29, fill=(0, 0, 0, 0))
    c.line(ox + 4, 18, ox + 28, 18, INK)
    c.line(ox + 16, 18, ox + 23, 10, RED, 2)


def draw_about(c, ox):
    c.circle(ox + 16, 15, 12, fill=BLUE, line=INK)
    c.line(ox + 12, 10, ox + 16, 7, WHITE, 2)
    c.line(ox + 16, 7, ox + 20, 10, WHITE, 2)
    c.line(ox + 20, 10, ox + 16, 15, WHITE, 2)
    c.line(ox + 16, 15, ox + 16, 18, WHITE, 2)
    c.rect(ox + 15, 21, ox + 17, 23, fill=WHITE)


DRAWERS = [draw_new, draw_open, draw_save, draw_print, draw_preview, draw_connect, draw_read, draw_write,
           draw_compare, draw_graph, draw_keypad, draw_control, draw_status, draw_about]


def strip(kind):
    c = Canvas(W * COUNT, H)
    for i, draw in enumerate(DRAWERS):
        draw(c, i * W)
    for y in range(H):
        for x in range(c.w):
            r, g, b, a = c.px[y][x]
            if kind == "hot" and a:
                r, g, b = (min(255, v + 40) for v in (r, g, b))
            elif kind == "disabled" and a:
                grey = int(0.3 * r + 0.59 * g + 0.11 * b)
                grey = 140 + grey * 100 // 255
                r = g = b = grey
            c.px[y][x] = (r, g, b, a)
    return c


def png(c):
    raw = b"".join(b"\0" + bytes(v for p in row for v in p) for row in c.px)

    def chunk(tag, data):
        body = tag + data
        return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)

    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", c.w, c.h, 8, 6, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def main():
    out = ["// Generated by res/tools/make_toolbar_bitmaps.py: the main toolbar's 14 pictures",
           "// (33 x 30 pixels each, side by side) as PNG, normal, hot and disabled."]
    for ident, kind in ((194, "normal"), (196, "hot"), (195, "disabled")):
        data = png(strip(kind))
        out.append("constexpr unsigned char kBitmap%d[] = {" % ident)
        for i in range(0, len(data), 16):
            out.append("    " + ", ".join("0x%02x" % b for b in data[i:i + 16]) + ",")
        out.append("};")
    with open("res/ToolbarBitmaps.inc", "w") as f:
        f.write("\n".join(out) + "\n")


if __name__ == "__main__":
    main()
