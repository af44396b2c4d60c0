#!/usr/bin/env python3
"""Draws the pictures of the TARVOK QLP-RM550 setup wizard (maker: Tarvok Systems).

Writes into resources/pictures/:
  picture.bmp      497x309, 24 bpp: background of every wizard page (art in the left band)
  side.bmp         154x248, 4 bpp (Windows 16-colour palette): tall side picture
  disk.ico         16 and 32 px, 4 bpp and 8 bpp         (IDI_DISK)
  network.ico      48, 32, 16 px, 8 bpp                  (IDI_NETWORK)
  port.ico         32 px, 1 bpp and 4 bpp                (IDI_PORT)
  printer.ico      48, 32, 16 px, 8 bpp                  (IDI_PRINTER)
  setup.ico        32, 16 px, 4 bpp                      (IDI_SETUP)
  deletemodel.ico  32, 16 px, 4 bpp                      (IDI_DELETEMODEL)

Standard library only, deterministic (same bytes every run). Every image is drawn at its own
size with a few flat shapes and then mapped to its palette by nearest colour.

Run from the repository root:  python3 scripts/make-pictures.py
"""
import math
import os
import struct

OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "resources", "pictures")

# ---------------------------------------------------------------- colours and themes
VGA16 = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
         (0, 128, 128), (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0),
         (255, 255, 0), (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255)]
MONO = [(0, 0, 0), (255, 255, 255)]

# Colour roles used by the drawings; one theme for true colour / 256 colours, one for 16 colours.
RICH = dict(out=(34, 46, 56), top=(247, 249, 251), lid=(212, 219, 226), body=(236, 240, 244),
            base=(188, 197, 206), slot=(26, 32, 38), label=(255, 255, 255), liner=(222, 229, 232),
            ink=(28, 34, 42), text=(150, 160, 170), accent=(0, 128, 140), accentd=(0, 78, 88),
            led=(40, 210, 130), metal=(200, 207, 214), metald=(118, 128, 138), hi=(255, 255, 255),
            plastic=(62, 72, 84), disk=(38, 86, 160), diskd=(22, 48, 96), pin=(222, 178, 60),
            red=(220, 38, 38), redd=(128, 16, 16), rim=(118, 128, 138), hole=(118, 128, 138))
VGA = dict(out=(0, 0, 0), top=(255, 255, 255), lid=(192, 192, 192), body=(255, 255, 255),
           base=(128, 128, 128), slot=(0, 0, 0), label=(255, 255, 255), liner=(192, 192, 192),
           ink=(0, 0, 0), text=(128, 128, 128), accent=(0, 128, 128), accentd=(0, 0, 0),
           led=(0, 255, 0), metal=(192, 192, 192), metald=(128, 128, 128), hi=(255, 255, 255),
           plastic=(128, 128, 128), disk=(0, 0, 128), diskd=(0, 0, 0), pin=(255, 255, 0),
           red=(255, 0, 0), redd=(128, 0, 0), rim=(128, 128, 128), hole=(128, 128, 128))
BW = dict(VGA, top=(255, 255, 255), lid=(255, 255, 255), metal=(255, 255, 255), metald=(0, 0, 0),
          pin=(255, 255, 255), accent=(0, 0, 0), rim=(0, 0, 0), hole=(255, 255, 255))

BARS = [2, 1, 1, 1, 3, 1, 1, 2, 1, 1, 2, 2, 1, 3, 1, 1, 1, 2, 2, 1, 1, 1, 3, 2, 1, 1, 2, 1, 1, 3]


def mix(a, b, t):
    return tuple(int(round(a[i] + (b[i] - a[i]) * t)) for i in range(3))


# ---------------------------------------------------------------- drawing helpers
# Coordinates are continuous: pixel (x, y) is covered when its centre (x+.5, y+.5) is inside.
class Canvas:
    def __init__(self, w, h, bg=None):
        self.w, self.h = w, h
        self.px = [[bg] * w for _ in range(h)]

    def shape(self, inside, x0, y0, x1, y1, c):
        """Paint c (a colour, or a function of the old colour) where inside(x, y) holds."""
        for y in range(max(0, int(y0) - 1), min(self.h, int(math.ceil(y1)) + 1)):
            for x in range(max(0, int(x0) - 1), min(self.w, int(math.ceil(x1)) + 1)):
                if inside(x + .5, y + .5):
                    self.px[y][x] = c(self.px[y][x]) if callable(c) else c

    def rect(self, x0, y0, x1, y1, c):
        self.shape(lambda x, y: x0 <= x < x1 and y0 <= y < y1, x0, y0, x1, y1, c)

    def rrect(self, x0, y0, x1, y1, r, c):
        def inside(x, y):
            if not (x0 <= x < x1 and y0 <= y < y1):
                return False
            dx = max(x0 + r - x, x - (x1 - r), 0)
            dy = max(y0 + r - y, y - (y1 - r), 0)
            return dx * dx + dy * dy <= r * r
        self.shape(inside, x0, y0, x1, y1, c)

    def box(self, x0, y0, x1, y1, r, fill, out, w=1):
        """Rounded rectangle with a w-pixel outline."""
        self.rrect(x0, y0, x1, y1, r, out)
        self.rrect(x0 + w, y0 + w, x1 - w, y1 - w, max(r - w, 0), fill)

    def ellipse(self, cx, cy, rx, ry, c):
        self.shape(lambda x, y: ((x - cx) / rx) ** 2 + ((y - cy) / ry) ** 2 <= 1,
                   cx - rx, cy - ry, cx + rx, cy + ry, c)

    def circle(self, cx, cy, r, c):
        self.ellipse(cx, cy, r, r, c)

    def line(self, xa, ya, xb, yb, w, c):
        """Thick line with round caps."""
        dx, dy = xb - xa, yb - ya
        n = dx * dx + dy * dy or 1

        def inside(x, y):
            t = min(1, max(0, ((x - xa) * dx + (y - ya) * dy) / n))
            return (x - xa - t * dx) ** 2 + (y - ya - t * dy) ** 2 <= w * w / 4
        self.shape(inside, min(xa, xb) - w, min(ya, yb) - w, max(xa, xb) + w, max(ya, yb) + w, c)

    def polygon(self, pts, c):
        """Scanline fill (even-odd)."""
        for y in range(self.h):
            yc, xs = y + .5, []
            for (xa, ya), (xb, yb) in zip(pts, pts[1:] + pts[:1]):
                if (ya <= yc < yb) or (yb <= yc < ya):
                    xs.append(xa + (yc - ya) * (xb - xa) / (yb - ya))
            xs.sort()
            for xa, xb in zip(xs[::2], xs[1::2]):
                for x in range(max(0, math.ceil(xa - .5)), min(self.w, math.ceil(xb - .5))):
                    self.px[y][x] = c(self.px[y][x]) if callable(c) else c

    def gear(self, cx, cy, ro, ri, teeth, tw, c, grow=0):
        """Gear of `teeth` straight teeth tw wide; grow > 0 gives the outline shape."""
        step = 2 * math.pi / teeth

        def inside(x, y):
            dx, dy = x - cx, y - cy
            d = math.hypot(dx, dy)
            th = round(math.atan2(dy, dx) / step) * step
            across = abs(dy * math.cos(th) - dx * math.sin(th))      # distance from the tooth's axis
            return d <= ri + grow or (d <= ro + grow and across <= tw / 2 + grow)
        self.shape(inside, cx - ro - grow, cy - ro - grow, cx + ro + grow, cy + ro + grow, c)

    def art(self, x0, y0, rows, colours):
        """Pixel art for the smallest sizes: one character a pixel, '.' leaves the pixel alone."""
        for j, row in enumerate(rows):
            for i, ch in enumerate(row):
                if ch in colours:
                    self.px[y0 + j][x0 + i] = colours[ch]

    def barcode(self, x0, y0, x1, y1, c, unit=1):
        x, i = x0, 0
        while True:
            bw = BARS[i % len(BARS)] * unit
            if x + bw > x1:
                break
            if i % 2 == 0:
                self.rect(x, y0, x + bw, y1, c)
            x, i = x + bw, i + 1


# ---------------------------------------------------------------- file writers
def nearest(pal):
    cache = {}

    def index(c):
        if c not in cache:
            cache[c] = min(range(len(pal)), key=lambda i: sum((c[k] - pal[i][k]) ** 2 for k in range(3)))
        return cache[c]
    return index


def pack(values, bpp):
    """One row of palette indices (or bits) to bytes, padded to 4 bytes."""
    out, acc, n = bytearray(), 0, 0
    for v in values:
        acc, n = (acc << bpp) | v, n + bpp
        if n == 8:
            out.append(acc)
            acc, n = 0, 0
    if n:
        out.append(acc << (8 - n))
    return bytes(out + b"\0" * (-len(out) % 4))


def adaptive(cv):
    """256-entry palette: black first (transparent pixels), then the colours used."""
    used = sorted({c for row in cv.px for c in row if c is not None} - {(0, 0, 0)})
    assert len(used) < 256, "too many colours for an adaptive palette"
    return [(0, 0, 0)] + used + [(0, 0, 0)] * (255 - len(used))


def dib(cv, bpp, pal, height):
    """BITMAPINFOHEADER + palette + bottom-up pixel rows (transparent pixels as black)."""
    rows = []
    if bpp == 24:
        for row in reversed(cv.px):
            rows.append(bytes(b"".join(bytes((c[2], c[1], c[0])) for c in row)) + b"\0" * (-3 * cv.w % 4))
    else:
        idx = nearest(pal)
        rows = [pack([idx(c or (0, 0, 0)) for c in row], bpp) for row in reversed(cv.px)]
    bits = b"".join(rows)
    head = struct.pack("<IiiHHIIiiII", 40, cv.w, height, 1, bpp, 0, len(bits), 2835, 2835,
                       len(pal) if pal else 0, 0)
    return head + b"".join(bytes((b, g, r, 0)) for r, g, b in (pal or [])), bits


def write_bmp(path, cv, bpp, pal=None):
    head, bits = dib(cv, bpp, pal, cv.h)
    with open(path, "wb") as f:
        f.write(b"BM" + struct.pack("<IHHI", 14 + len(head) + len(bits), 0, 0, 14 + len(head)) + head + bits)


def write_ico(path, images):
    """images: list of (canvas, bpp); 8 bpp gets an adaptive palette, 4 bpp VGA16, 1 bpp MONO."""
    blobs, entries = [], []
    for cv, bpp in images:
        pal = {1: MONO, 4: VGA16, 8: adaptive(cv)}[bpp]
        head, xor = dib(cv, bpp, pal, cv.h * 2)
        mask = b"".join(pack([1 if c is None else 0 for c in row], 1) for row in reversed(cv.px))
        head = head[:20] + struct.pack("<I", len(xor) + len(mask)) + head[24:]
        blobs.append(head + xor + mask)
        entries.append((cv.w % 256, cv.h % 256, 1 << bpp if bpp < 8 else 0, bpp))
    offset = 6 + 16 * len(images)
    data = struct.pack("<HHH", 0, 1, len(images))
    for (w, h, colours, bpp), blob in zip(entries, blobs):
        data += struct.pack("<BBBBHHII", w, h, colours, 0, 1, bpp, len(blob), offset)
        offset += len(blob)
    with open(path, "wb") as f:
        f.write(data + b"".join(blobs))


# ---------------------------------------------------------------- the big printer (bitmaps)
def big_printer(cv, x, y, strip, t, shade):
    """Label printer 92 px wide with its top-left corner at (x, y); label strip `strip` px long.
    shade(colour) darkens the background for the shadows."""
    cv.ellipse(x + 46, y + 77, 52, 5, shade)                                # shadow on the desk
    cv.polygon([(x + 9, y), (x + 83, y), (x + 91, y + 17), (x + 1, y + 17)], t["out"])   # lid top
    cv.polygon([(x + 10, y + 1), (x + 82, y + 1), (x + 89, y + 16), (x + 3, y + 16)], t["top"])
    cv.rect(x + 11, y + 2, x + 81, y + 3, t["hi"])                          # the highlight
    cv.box(x, y + 15, x + 92, y + 76, 5, t["body"], t["out"])               # front
    cv.rect(x + 1, y + 16, x + 91, y + 43, t["lid"])                        # lid front
    cv.rect(x + 8, y + 26, x + 22, y + 29, t["accent"])                     # maker's mark
    cv.rect(x + 1, y + 43, x + 91, y + 46, t["slot"])                       # label slot
    cv.rrect(x + 1, y + 69, x + 91, y + 75, 4, t["base"])
    cv.rect(x + 1, y + 69, x + 91, y + 71, t["base"])
    cv.rect(x + 1, y + 68, x + 91, y + 69, t["out"])
    cv.rrect(x + 78, y + 28, x + 85, y + 32, 1.5, t["led"])                 # status light
    cv.circle(x + 81, y + 57, 5.5, t["out"])                               # feed button
    cv.circle(x + 81, y + 57, 4.5, t["lid"])
    cv.rect(x + 8, y + 76, x + 20, y + 79, t["out"])                       # feet
    cv.rect(x + 72, y + 76, x + 84, y + 79, t["out"])
    # label strip coming out of the slot, with its shadow
    sx0, sx1, sy0, sy1 = x + 24, x + 66, y + 45, y + 45 + strip
    cv.rect(sx1, sy0 + 1, sx1 + 3, y + 68, lambda c: mix(c, t["out"], .25))
    cv.rect(sx1, y + 80, sx1 + 3, sy1 + 3, shade)
    cv.rect(sx0 - 1, sy0, sx1 + 1, sy1 + 1, t["out"])
    cv.rect(sx0, sy0, sx1, sy1, t["liner"])
    ly = sy0 + 3
    while ly < sy1 - 10:                               # labels; the last may run off the picture
        cv.rrect(sx0 + 2, ly, sx1 - 2, ly + 50, 3, t["label"])
        cv.barcode(sx0 + 7, ly + 6, sx1 - 6, ly + 28, t["ink"])
        cv.rect(sx0 + 7, ly + 33, sx1 - 8, ly + 36, t["text"])
        cv.rect(sx0 + 7, ly + 40, sx0 + 26, ly + 43, t["text"])
        cv.rect(sx1 - 14, ly + 39, sx1 - 7, ly + 44, t["accent"])
        ly += 55


def make_picture():
    light = (245, 245, 245)                 # the dialog face colour, so text statics blend in
    top, bottom = (22, 108, 122), (8, 54, 70)
    cv = Canvas(497, 309, light)
    for y in range(309):
        cv.rect(0, y, 120, y + 1, mix(top, bottom, y / 308))
    cv.rect(120, 0, 122, 309, (196, 222, 226))                              # soft edge of the band
    for r in (58, 50):                                                      # soft glow behind the printer
        cv.circle(60, 112, r, lambda c: mix(c, (255, 255, 255), .04))
    big_printer(cv, 14, 68, 170, RICH, lambda c: mix(c, (0, 0, 0), .3))
    write_bmp(os.path.join(OUT, "picture.bmp"), cv, 24)


def make_side():
    cv = Canvas(154, 248)
    bayer = [[0, 8, 2, 10], [12, 4, 14, 6], [3, 11, 1, 9], [15, 7, 13, 5]]
    for y in range(248):                       # teal fading to dark teal, ordered dither
        for x in range(154):
            cv.px[y][x] = VGA16[6] if bayer[y % 4][x % 4] / 16 >= y / 248 * .6 else VGA16[0]
    big_printer(cv, 31, 30, 250, VGA, lambda c: VGA16[0])
    write_bmp(os.path.join(OUT, "side.bmp"), cv, 4, VGA16)


# ---------------------------------------------------------------- icons
def icon_printer(cv, s, t):
    if s == 16:
        cv.box(2, 1, 14, 6, 1, t["top"], t["out"])
        cv.box(0, 4, 16, 9, 1, t["lid"], t["out"])
        cv.box(0, 8, 16, 13, 1, t["body"], t["out"])
        cv.rect(12, 6, 14, 7, t["led"])
        cv.box(4, 8, 12, 16, 0, t["label"], t["out"])
        cv.rect(6, 10, 7, 14, t["ink"])
        cv.rect(8, 10, 10, 14, t["ink"])
        return
    k = s / 32
    P = lambda v: round(v * k)
    r = P(2.5)
    cv.box(P(4), P(4), s - P(4), P(12), r, t["top"], t["out"])           # lid, seen from above
    cv.rect(P(4) + r, P(4) + 1, s - P(4) - r, P(4) + 2, t["hi"])
    cv.box(0, P(9), s, P(18), r, t["lid"], t["out"])                      # lid front
    cv.rect(r, P(9) + 1, s - r, P(9) + 2, t["hi"])
    cv.rect(P(4), P(13), P(9), P(14), t["accent"])
    cv.rect(s - P(7), P(13), s - P(4), P(14.5), t["led"])
    cv.box(0, P(17), s, P(26), r, t["body"], t["out"])                    # base
    cv.rect(P(2), P(26), P(6), P(27), t["out"])
    cv.rect(s - P(6), P(26), s - P(2), P(27), t["out"])
    cv.box(P(9), P(17), s - P(9), s, 0, t["label"], t["out"])             # label
    cv.barcode(P(11), P(20), s - P(11), P(28), t["ink"], 1)


def icon_disk(cv, s, t):
    k = s / 32
    P = lambda v: round(v * k)
    cv.polygon([(0, 0), (s - P(4), 0), (s, P(4)), (s, s), (0, s)], t["out"])
    cv.polygon([(1, 1), (s - P(4) - .5, 1), (s - 1, P(4) + .5), (s - 1, s - 1), (1, s - 1)], t["disk"])
    cv.box(P(8), 0, P(24), P(11), 0, t["metal"], t["out"])
    cv.rect(P(18), P(2), P(21), P(9), t["diskd"] if s > 16 else t["out"])
    cv.box(P(4), P(15), s - P(4), s, P(1), t["label"], t["out"])
    if s > 16:
        cv.rect(P(5), P(16), s - P(5), P(19), t["accent"])
        for ly in (22, 26):
            cv.rect(P(7), P(ly), s - P(7), P(ly) + 1, t["text"])
    else:
        cv.rect(3, 9, 13, 10, t["accent"])
        cv.rect(5, 12, 11, 13, t["text"])


def icon_plug(cv, s, t):
    if s == 16:
        cv.box(4, 0, 12, 6, 0, t["metal"], t["out"])
        cv.rect(6, 2, 7, 4, t["out"])
        cv.rect(9, 2, 10, 4, t["out"])
        cv.box(3, 5, 13, 12, 1, t["plastic"], t["out"])
        cv.rect(4, 6, 12, 7, t["metald"])
        cv.rect(7, 8, 9, 10, t["accent"] if t is RICH else t["hi"])
        cv.rect(5, 12, 11, 13, t["out"])
        cv.rect(6, 13, 10, 14, t["out"])
        cv.rect(7, 14, 9, 16, t["out"])
        return
    k = s / 32
    P = lambda v: round(v * k)
    cv.box(P(9), 0, s - P(9), P(12), 0, t["metal"], t["out"])            # metal head
    cv.rect(P(12), P(4), P(15), P(7), t["out"])
    cv.rect(s - P(15), P(4), s - P(12), P(7), t["out"])
    cv.box(P(6), P(11), s - P(6), P(27), P(2), t["plastic"], t["out"])    # grip
    cv.rect(P(8), P(12), s - P(8), P(12) + 1, t["metald"])
    cv.polygon([(P(10), P(26)), (s - P(10), P(26)), (s - P(13), P(29)), (P(13), P(29))], t["out"])
    cv.rect(P(14), P(28), s - P(14), s, t["out"])                         # cable
    w, W = 1.2 * k, t["hi"]                                               # USB trident
    cv.line(16 * k, 24 * k, 16 * k, 15 * k, w, W)
    cv.polygon([(16 * k, 13 * k), (18.6 * k, 16.5 * k), (13.4 * k, 16.5 * k)], W)
    cv.line(16 * k, 22 * k, 12 * k, 19.5 * k, w, W)
    cv.line(12 * k, 19.5 * k, 12 * k, 18 * k, w, W)
    cv.circle(12 * k, 17.5 * k, 1.6 * k, W)
    cv.line(16 * k, 20.5 * k, 20 * k, 18.5 * k, w, W)
    cv.rect(18.5 * k, 16 * k, 21.5 * k, 19 * k, W)
    cv.circle(16 * k, 23.5 * k, 1.7 * k, W)


def icon_port(cv, s, t):
    cv.box(0, 6, 32, 26, 3, t["metal"], t["out"])                        # mounting plate
    cv.rect(1, 7, 31, 8, t["hi"])
    for sx in (4, 28):                                                    # screws
        cv.circle(sx, 16, 2.3, t["out"])
        cv.circle(sx, 16, 1.1, t["hole"])
    cv.polygon([(6, 9), (26, 9), (23.5, 23), (8.5, 23)], t["out"])         # the D shell
    cv.polygon([(7, 10), (25, 10), (22.7, 22), (9.3, 22)], t["rim"])
    cv.polygon([(8, 11), (24, 11), (21.9, 21), (10.1, 21)], t["slot"])
    for i in range(5):
        cv.rect(9 + 3 * i, 13, 11 + 3 * i, 15, t["pin"])
    for i in range(4):
        cv.rect(10.5 + 3 * i, 17.5, 12.5 + 3 * i, 19.5, t["pin"])


GEAR16 = ["..KK.KK..", ".KAAKAAK.", "KAAAAAAAK", "KAAKKKAAK", ".KAKWKAK.",
          "KAAKKKAAK", "KAAAAAAAK", ".KAAKAAK.", "..KK.KK.."]
CROSS16 = ["DDD..DDD", "DRRDDRRD", "DDRRRRDD", ".DDRRDD.", ".DDRRDD.", "DDRRRRDD", "DRRDDRRD", "DDD..DDD"]


def icon_with_badge(cv, s, t, badge):
    """The printer with a gear (setup) or a red cross (delete) in the bottom-right corner."""
    icon_printer(cv, s, t)
    if s == 16:
        rows = GEAR16 if badge == "gear" else CROSS16
        cv.art(16 - len(rows), 16 - len(rows), rows,
               dict(K=t["out"], A=t["accent"], W=t["hi"], D=t["redd"], R=t["red"]))
    elif badge == "gear":
        c = s - 8.5
        cv.gear(c, c, 8, 6, 8, 3, t["out"], grow=1)
        cv.gear(c, c, 8, 6, 8, 3, t["accent"])
        cv.circle(c, c, 3.5, t["out"])
        cv.circle(c, c, 2.5, t["hi"])
    else:
        for w, col in ((5, t["redd"]), (3, t["red"])):
            cv.line(s - 11, s - 11, s - 2, s - 2, w, col)
            cv.line(s - 11, s - 2, s - 2, s - 11, w, col)


def icon(s, draw, t, *extra):
    cv = Canvas(s, s)
    draw(cv, s, t, *extra)
    return cv


def main():
    os.makedirs(OUT, exist_ok=True)
    make_picture()
    make_side()
    ico = lambda name, imgs: write_ico(os.path.join(OUT, name), imgs)
    ico("disk.ico", [(icon(32, icon_disk, VGA), 4), (icon(16, icon_disk, VGA), 4),
                     (icon(32, icon_disk, RICH), 8), (icon(16, icon_disk, RICH), 8)])
    ico("network.ico", [(icon(s, icon_plug, RICH), 8) for s in (48, 32, 16)])
    ico("port.ico", [(icon(32, icon_port, BW), 1), (icon(32, icon_port, VGA), 4)])
    ico("printer.ico", [(icon(s, icon_printer, RICH), 8) for s in (48, 32, 16)])
    ico("setup.ico", [(icon(s, icon_with_badge, VGA, "gear"), 4) for s in (32, 16)])
    ico("deletemodel.ico", [(icon(s, icon_with_badge, VGA, "x"), 4) for s in (32, 16)])


if __name__ == "__main__":
    main()
