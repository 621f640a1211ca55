#!/usr/bin/env python3
"""Draws the pictures of the live windows and writes them as PNG byte arrays
to res/MonitorBitmaps.inc. Run from the repository root:

    python3 res/tools/make_monitor_bitmaps.py

res/BitmapTable.inc lists them by id.

The windows draw lamps, digits and the knob pointer over these pictures at
fixed pixel positions, so the places below are the windows' places:
- 155 the keypad face, 300 x 400: display window at (60,55)-(235,102), lamps
  Hz/RPM, FWD, REV, FUN under it (FWD at x 120, REV at x 165, y 101), UP at
  (43,137)-(110,179), DOWN at (43,195)-(110,237), RUN at (43,253)-(110,295),
  STOP/RESET at (112,253)-(179,295), the knob about (232,193);
- 156, 158 to 166 the digits 0 to 9 (25 x 39), 168 the point (10 x 10),
  170 the direction mark (15 x 9), 190/191 the source lamps dark/lit (14 x 14);
- 183 to 185 the status lamps green, orange, red (22 x 22);
- 186 the Status page (711 x 435): lamp column at x 143 (rows ready 117, fault
  141, stop 165, run 189, forward 213, reverse 237), values at x 372 (rows
  119, 142, 167, 191, 215), current-fault lamp (497,117), fault text (608,142),
  description box from (42,325);
- 188 the Terminal page (711 x 435): relay lamp at (251,320), S1 to S5 at
  x 305 to 425, y 320.
"""
import importlib.util
import os

_here = os.path.dirname(os.path.abspath(__file__))
_spec = importlib.util.spec_from_file_location("toolbar", os.path.join(_here, "make_toolbar_bitmaps.py"))
toolbar = importlib.util.module_from_spec(_spec)
_spec.loader.exec_module(toolbar)
Canvas, png = toolbar.Canvas, toolbar.png

BLACK = (0, 0, 0, 255)
INK = (30, 30, 30, 255)
WHITE = (255, 255, 255, 255)
PANEL = (222, 226, 232, 255)
BODY = (70, 78, 92, 255)
BODY_LIGHT = (96, 106, 122, 255)
KEY = (205, 210, 218, 255)
DISPLAY = (20, 32, 24, 255)
LED = (255, 60, 40, 255)
LED_DARK = (70, 30, 28, 255)
GREEN = (40, 200, 70, 255)
GREEN_DARK = (20, 90, 30, 255)
ORANGE = (250, 150, 30, 255)
RED = (230, 40, 40, 255)
GREY = (150, 150, 150, 255)
FRAME = (90, 100, 120, 255)
TRANSPARENT = (0, 0, 0, 0)

# A 5 x 7 font: one string of five characters per row.
FONT = {
    "A": ["01110", "10001", "10001", "11111", "10001", "10001", "10001"],
    "B": ["11110", "10001", "10001", "11110", "10001", "10001", "11110"],
    "C": ["01111", "10000", "10000", "10000", "10000", "10000", "01111"],
    "D": ["11110", "10001", "10001", "10001", "10001", "10001", "11110"],
    "E": ["11111", "10000", "10000", "11110", "10000", "10000", "11111"],
    "F": ["11111", "10000", "10000", "11110", "10000", "10000", "10000"],
    "G": ["01111", "10000", "10000", "10011", "10001", "10001", "01111"],
    "H": ["10001", "10001", "10001", "11111", "10001", "10001", "10001"],
    "I": ["01110", "00100", "00100", "00100", "00100", "00100", "01110"],
    "J": ["00111", "00010", "00010", "00010", "00010", "10010", "01100"],
    "K": ["10001", "10010", "10100", "11000", "10100", "10010", "10001"],
    "L": ["10000", "10000", "10000", "10000", "10000", "10000", "11111"],
    "M": ["10001", "11011", "10101", "10101", "10001", "10001", "10001"],
    "N": ["10001", "11001", "10101", "10011", "10001", "10001", "10001"],
    "O": ["01110", "10001", "10001", "10001", "10001", "10001", "01110"],
    "P": ["11110", "10001", "10001", "11110", "10000", "10000", "10000"],
    "Q": ["01110", "10001", "10001", "10001", "10101", "10010", "01101"],
    "R": ["11110", "10001", "10001", "11110", "10100", "10010", "10001"],
    "S": ["01111", "10000", "10000", "01110", "00001", "00001", "11110"],
    "T": ["11111", "00100", "00100", "00100", "00100", "00100", "00100"],
    "U": ["10001", "10001", "10001", "10001", "10001", "10001", "01110"],
    "V": ["10001", "10001", "10001", "10001", "10001", "01010", "00100"],
    "W": ["10001", "10001", "10001", "10101", "10101", "10101", "01010"],
    "X": ["10001", "10001", "01010", "00100", "01010", "10001", "10001"],
    "Y": ["10001", "10001", "01010", "00100", "00100", "00100", "00100"],
    "Z": ["11111", "00001", "00010", "00100", "01000", "10000", "11111"],
    "0": ["01110", "10001", "10011", "10101", "11001", "10001", "01110"],
    "1": ["00100", "01100", "00100", "00100", "00100", "00100", "01110"],
    "2": ["01110", "10001", "00001", "00010", "00100", "01000", "11111"],
    "3": ["11110", "00001", "00001", "01110", "00001", "00001", "11110"],
    "4": ["00010", "00110", "01010", "10010", "11111", "00010", "00010"],
    "5": ["11111", "10000", "11110", "00001", "00001", "10001", "01110"],
    "6": ["00110", "01000", "10000", "11110", "10001", "10001", "01110"],
    "7": ["11111", "00001", "00010", "00100", "01000", "01000", "01000"],
    "8": ["01110", "10001", "10001", "01110", "10001", "10001", "01110"],
    "9": ["01110", "10001", "10001", "01111", "00001", "00010", "01100"],
    ".": ["00000", "00000", "00000", "00000", "00000", "01100", "01100"],
    "/": ["00001", "00010", "00010", "00100", "01000", "01000", "10000"],
    "-": ["00000", "00000", "00000", "11111", "00000", "00000", "00000"],
    " ": ["00000"] * 7,
}


def fill(c, x0, y0, x1, y1, colour):
    for y in range(max(0, y0), min(c.h, y1 + 1)):
        row = c.px[y]
        for x in range(max(0, x0), min(c.w, x1 + 1)):
            row[x] = colour


def frame(c, x0, y0, x1, y1, colour, width=1):
    for i in range(width):
        fill(c, x0 + i, y0 + i, x1 - i, y0 + i, colour)
        fill(c, x0 + i, y1 - i, x1 - i, y1 - i, colour)
        fill(c, x0 + i, y0 + i, x0 + i, y1 - i, colour)
        fill(c, x1 - i, y0 + i, x1 - i, y1 - i, colour)


def disc(c, cx, cy, r, colour, ring=None):
    for y in range(int(cy - r - 1), int(cy + r + 2)):
        for x in range(int(cx - r - 1), int(cx + r + 2)):
            d = ((x - cx) ** 2 + (y - cy) ** 2) ** 0.5
            if ring and r - 1.2 <= d <= r:
                c.put(x, y, ring)
            elif d < r - 1.0 or (not ring and d <= r):
                c.put(x, y, colour)


def text(c, x, y, words, colour, scale=1):
    for ch in words.upper():
        glyph = FONT.get(ch, FONT[" "])
        for gy, row in enumerate(glyph):
            for gx, bit in enumerate(row):
                if bit == "1":
                    fill(c, x + gx * scale, y + gy * scale, x + gx * scale + scale - 1, y + gy * scale + scale - 1, colour)
        x += 6 * scale


def text_width(words, scale=1):
    return len(words) * 6 * scale - scale


def centred(c, cx, y, words, colour, scale=1):
    text(c, cx - text_width(words, scale) // 2, y, words, colour, scale)


def key(c, x0, y0, x1, y1, label, sub=None):
    fill(c, x0, y0, x1, y1, KEY)
    frame(c, x0, y0, x1, y1, INK)
    centred(c, (x0 + x1) // 2, (y0 + y1) // 2 - (8 if sub else 3), label, INK)
    if sub:
        centred(c, (x0 + x1) // 2, (y0 + y1) // 2 + 4, sub, GREY)


def face():
    c = Canvas(300, 400)
    fill(c, 0, 0, 299, 399, BODY)
    frame(c, 0, 0, 299, 399, BLACK, 2)
    fill(c, 12, 12, 287, 387, BODY_LIGHT)
    # The display window: five digits at x 65 to 230, y 59 to 98.
    fill(c, 58, 52, 238, 104, DISPLAY)
    frame(c, 58, 52, 238, 104, BLACK, 2)
    for x in (65, 100, 135, 170, 205):
        frame(c, x, 59, x + 24, 97, LED_DARK)
    # Lamps under the display; the direction mark lies over FWD or REV.
    for cx, label in ((85, "HZ/RPM"), (127, "FWD"), (172, "REV"), (215, "FUN")):
        fill(c, cx - 8, 101, cx + 7, 109, LED_DARK)
        centred(c, cx, 114, label, WHITE)
    key(c, 43, 137, 110, 179, "UP", "MODE")
    key(c, 43, 195, 110, 237, "DOWN", "ENT")
    key(c, 43, 253, 110, 295, "RUN")
    key(c, 112, 253, 179, 295, "STOP", "RESET")
    # The knob.
    disc(c, 232, 193, 36, GREY)
    disc(c, 232, 193, 31, KEY, ring=INK)
    disc(c, 232, 193, 29, KEY)
    centred(c, 232, 236, "FREQ. SET", WHITE)
    text(c, 190, 224, "MIN", WHITE)
    text(c, 258, 224, "MAX", WHITE)
    return c


def digit(d):
    c = Canvas(25, 39)
    fill(c, 0, 0, 24, 38, DISPLAY)
    segments = {
        "a": (4, 1, 20, 4), "b": (19, 3, 22, 18), "c": (19, 20, 22, 35), "d": (4, 34, 20, 37),
        "e": (2, 20, 5, 35), "f": (2, 3, 5, 18), "g": (4, 18, 20, 21),
    }
    lit = {"0": "abcdef", "1": "bc", "2": "abged", "3": "abgcd", "4": "fgbc", "5": "afgcd", "6": "afgedc",
           "7": "abc", "8": "abcdefg", "9": "abcdfg"}[d]
    for name, (x0, y0, x1, y1) in segments.items():
        fill(c, x0, y0, x1, y1, LED if name in lit else LED_DARK)
    return c


def point():
    c = Canvas(10, 10)
    fill(c, 0, 0, 9, 9, DISPLAY)
    disc(c, 4.5, 4.5, 3.5, LED)
    return c


def direction():
    c = Canvas(15, 9)
    fill(c, 0, 0, 14, 8, GREEN)
    frame(c, 0, 0, 14, 8, GREEN_DARK)
    return c


def lamp(size, colour):
    c = Canvas(size, size)
    for y in range(size):
        c.px[y] = [TRANSPARENT] * size
    r = size / 2
    disc(c, r - 0.5, r - 0.5, r, colour, ring=None)
    disc(c, r - 0.5, r - 0.5, r, colour, ring=INK)
    hi = tuple(min(255, v + 90) for v in colour[:3]) + (255,)
    disc(c, r * 0.7, r * 0.7, max(1.5, size / 8), hi)
    return c


def panel(c, x0, y0, x1, y1, title):
    fill(c, x0, y0, x1, y1, WHITE)
    frame(c, x0, y0, x1, y1, FRAME, 2)
    fill(c, x0 + 2, y0 + 2, x1 - 2, y0 + 20, FRAME)
    text(c, x0 + 8, y0 + 8, title, WHITE)


def status_page():
    c = Canvas(711, 435)
    fill(c, 0, 0, 710, 434, PANEL)
    panel(c, 20, 80, 260, 270, "STATUS")
    for y, label in ((117, "READY"), (141, "FAULT"), (165, "STOP"), (189, "RUN"), (213, "FORWARD"), (237, "REVERSE")):
        text(c, 50, y + 8, label, INK)
        disc(c, 154, y + 11, 11, WHITE, ring=GREY)
    panel(c, 275, 80, 470, 270, "SIGNALS")
    for y, label, unit in ((119, "SET F", "HZ"), (142, "OUT F", "HZ"), (167, "CURRENT", "A"), (191, "OUT V", "VOLT"),
                           (215, "DC V", "VOLT")):
        text(c, 285, y - 3, label, INK)
        fill(c, 368, y - 9, 430, y + 9, (236, 240, 250, 255))
        text(c, 436, y - 3, unit, INK)
    panel(c, 485, 80, 690, 270, "CURRENT FAULT")
    disc(c, 508, 128, 11, WHITE, ring=GREY)
    text(c, 540, 125, "LAMP", INK)
    text(c, 540, 139, "CODE", INK)
    fill(c, 600, 130, 680, 154, (250, 236, 236, 255))
    panel(c, 20, 290, 690, 400, "FAULT DESCRIPTION")
    return c


def terminal_page():
    c = Canvas(711, 435)
    fill(c, 0, 0, 710, 434, PANEL)
    panel(c, 60, 250, 650, 400, "USER TERMINALS")
    # The terminal strip: RB and RA of relay R1, then S1 to S5.
    for x, label in ((205, "RB"), (228, "RA"), (305, "S1"), (335, "S2"), (365, "S3"), (395, "S4"), (425, "S5")):
        fill(c, x - 2, 290, x + 21, 312, KEY)
        frame(c, x - 2, 290, x + 21, 312, INK)
        centred(c, x + 10, 298, label, INK)
    for x in (251, 305, 335, 365, 395, 425):
        disc(c, x + 11, 331, 11, WHITE, ring=GREY)
    centred(c, 262, 358, "R1", INK)
    centred(c, 365, 358, "INPUTS", INK)
    return c


def pictures():
    yield 155, face(), "keypad face"
    yield 156, digit("0"), "digit 0"
    for n in range(1, 10):
        yield 157 + n, digit(str(n)), "digit %d" % n
    yield 168, point(), "display point"
    yield 170, direction(), "direction mark"
    yield 183, lamp(22, GREEN), "status lamp, green"
    yield 184, lamp(22, ORANGE), "status lamp, orange"
    yield 185, lamp(22, RED), "status lamp, red"
    yield 186, status_page(), "status page"
    yield 188, terminal_page(), "terminal page"
    yield 190, lamp(14, LED_DARK), "source lamp, dark"
    yield 191, lamp(14, GREEN), "source lamp, lit"


def main():
    out = ["// Generated by res/tools/make_monitor_bitmaps.py: the pictures of the keypad and the",
           "// status monitor as PNG."]
    for ident, canvas, what in pictures():
        data = png(canvas)
        out.append("constexpr unsigned char kBitmap%d[] = { // %s" % (ident, what))
        for i in range(0, len(data), 16):
            out.append("    " + ", ".join("0x%02x" % b for b in data[i:i + 16]) + ",")
        out.append("};")
    with open("res/MonitorBitmaps.inc", "w") as f:
        f.write("\n".join(out) + "\n")


if __name__ == "__main__":
    main()
