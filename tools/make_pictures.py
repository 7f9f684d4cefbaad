#!/usr/bin/env python3
"""Draw the brands' pictures: the splash screen, the side overlay and the icon.

Writes splash.bmp (452x308), overlay.bmp (140x378) and icon.ico (16x16, 32x32
and 48x48 32-bit images) into brands/kestron/, and the same drawings in other colours
into brands/example/. The output is committed, so this only needs re-running
when the artwork changes. Standard library only; the output is the same on
every run.
"""
import math
import random
import struct
from pathlib import Path

BRANDS_DIR = Path(__file__).resolve().parent.parent / "brands"
# Each brand's colours, as a change of every pixel's (r, g, b): the example
# brand swaps the channels round, so that no picture of it is the default's.
BRAND_COLOURS = {
    "kestron": lambda rgb: rgb,
    "example": lambda rgb: (rgb[1], rgb[2], rgb[0]),
}

# 5x7 glyphs for the splash background; '#' is an inked pixel.
FONT = {
    "0": [" ### ", "#   #", "#  ##", "# # #", "##  #", "#   #", " ### "],
    "1": ["  #  ", " ##  ", "# #  ", "  #  ", "  #  ", "  #  ", "#####"],
}


def mix(a, b, t):
    """Blend colour a towards colour b by t in [0, 1]."""
    t = min(max(t, 0.0), 1.0)
    return tuple(round(x + (y - x) * t) for x, y in zip(a, b))


def canvas(width, height, color):
    return [[color] * width for _ in range(height)]


def fill_rect(img, x0, y0, x1, y1, color):
    for y in range(y0, y1):
        for x in range(x0, x1):
            img[y][x] = color


def write_bmp(path, img):
    """Save rows of (r, g, b) as an uncompressed 24-bit bottom-up BMP."""
    height, width = len(img), len(img[0])
    stride = (width * 3 + 3) & ~3
    pixels = bytearray()
    for row in reversed(img):
        for r, g, b in row:
            pixels += bytes((b, g, r))
        pixels += bytes(stride - width * 3)
    offset = 14 + 40
    header = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0,
                       len(pixels), 2835, 2835, 0, 0)
    path.write_bytes(header + info + pixels)


# ---------------------------------------------------------------- splash

CHIP = (318, 140, 412, 248)


def in_calm_area(x, y):
    """Keep digits off the band, the chip and the run-time caption corner."""
    x0, y0, x1, y1 = CHIP
    return (42 <= y < 118 or (8 <= x < 110 and 262 <= y < 298)
            or (x0 - 16 <= x < x1 + 16 and y0 - 4 <= y < y1 + 4))


def draw_digits(img, color):
    rng = random.Random(1979)
    height, width = len(img), len(img[0])
    for top in range(6, height - 8, 12):
        for left in range(4 + (top // 12) % 2 * 4, width - 6, 8):
            glyph = FONT[rng.choice("01")]
            corners = ((left, top), (left + 5, top), (left, top + 7), (left + 5, top + 7))
            if any(in_calm_area(x, y) for x, y in corners):
                continue
            for dy, line in enumerate(glyph):
                for dx, ch in enumerate(line):
                    if ch == "#":
                        img[top + dy][left + dx] = color


def draw_band(img, y0, y1):
    """Cream-to-orange band across the full width, softened at its edges."""
    cream, orange = (255, 244, 214), (243, 146, 36)
    width = len(img[0])
    for y in range(y0, y1):
        edge = min(y - y0 + 1, y1 - y, 6) / 6
        for x in range(width):
            band = mix(cream, orange, x / (width - 1))
            img[y][x] = mix(img[y][x], band, edge)


def draw_chip(img, x0, y0, x1, y1):
    body, rim, silver, shine = (38, 38, 44), (78, 78, 88), (192, 194, 202), (236, 238, 244)
    pins = 7
    pitch = (y1 - y0 - 16) // pins
    for i in range(pins):
        py = y0 + 12 + i * pitch
        for px0, px1 in ((x0 - 12, x0), (x1, x1 + 12)):
            fill_rect(img, px0, py, px1, py + pitch // 2 + 1, silver)
            fill_rect(img, px0, py, px1, py + 1, shine)
    fill_rect(img, x0, y0, x1, y1, rim)
    for y in range(y0 + 2, y1 - 2):
        fill_rect(img, x0 + 2, y, x1 - 2, y + 1, mix(body, (20, 20, 24), (y - y0) / (y1 - y0)))
    for i, length in enumerate((52, 36)):  # faint engraved marking
        fill_rect(img, x0 + 20, y0 + 48 + i * 12, x0 + 20 + length, y0 + 52 + i * 12, (62, 62, 70))
    # Notch at the top edge and a pin-1 dot.
    cx, r = (x0 + x1) // 2, 9
    for y in range(y0, y0 + r):
        for x in range(cx - r, cx + r + 1):
            if (x - cx) ** 2 + (y - y0) ** 2 <= r * r:
                img[y][x] = rim if (x - cx) ** 2 + (y - y0) ** 2 > (r - 2) ** 2 else (20, 20, 24)
    for y in range(y0 + 10, y0 + 17):
        for x in range(x0 + 10, x0 + 17):
            if (x - x0 - 13) ** 2 + (y - y0 - 13) ** 2 <= 10:
                img[y][x] = (110, 110, 122)


def make_splash(width=452, height=308):
    img = [[mix((214, 232, 250), (188, 214, 242), y / height)] * width
           for y in range(height)]
    draw_digits(img, (150, 184, 224))
    draw_band(img, 50, 110)
    draw_chip(img, *CHIP)
    return img


# ---------------------------------------------------------------- overlay

def make_overlay(width=140, height=378, horizon=90):
    img = canvas(width, height, (0, 0, 0))
    cx, cy = width / 2, 250
    for y in range(height):
        for x in range(width):
            if y < horizon:
                color = mix((156, 198, 236), (250, 252, 255), y / horizon)
                color = mix(color, (255, 255, 255), 0.1 * math.sin(x / 9 + y / 15) ** 2)
            else:
                depth = (y - horizon) / (height - horizon)
                color = mix((44, 100, 170), (6, 24, 72), depth)
                wave = math.sin(y * 0.55 + math.sin(x * 0.08) * 2.0)
                color = mix(color, (120, 170, 225), 0.08 * (wave + 1))
                color = mix(color, ripple_color(x - cx, y - cy), ripple(x - cx, y - cy))
            img[y][x] = color
    return img


def ripple(dx, dy):
    """Strength of the ring-shaped ripple at an offset from its centre."""
    dist = math.hypot(dx, dy / 0.38)
    strength = 0.0
    for radius in (12, 27, 43, 60):
        strength = max(strength, 1 - abs(dist - radius) / 3.5)
    return strength * 0.75 * max(0.0, 1 - dist / 75)


def ripple_color(dx, dy):
    return (170, 210, 245) if dy < 0 else (110, 160, 215)


# ---------------------------------------------------------------- icon

# The window caption's and the taskbar's (16), Alt+Tab's (32) and the
# launcher's own file's (48) sizes at the usual 96 dots per inch.
ICON_SIZES = (16, 32, 48)

def star_points(cx, cy, outer, inner, tips=5):
    pts = []
    for i in range(tips * 2):
        angle = -math.pi / 2 + i * math.pi / tips
        r = outer if i % 2 == 0 else inner
        pts.append((cx + r * math.cos(angle), cy + r * math.sin(angle)))
    return pts


def inside(pts, x, y):
    """Even-odd point-in-polygon test."""
    hit = False
    for (x0, y0), (x1, y1) in zip(pts, pts[1:] + pts[:1]):
        if (y0 > y) != (y1 > y) and x < x0 + (y - y0) * (x1 - x0) / (y1 - y0):
            hit = not hit
    return hit


def emblem(x, y, star):
    """Colour (r, g, b, a) of the emblem at a point in 48x48 icon space."""
    r = math.hypot(x - 24, y - 24)
    if r > 23:
        return (0, 0, 0, 0)
    if r > 18.5:
        return mix((255, 170, 40), (214, 96, 10), (y - 4) / 40) + (255,)
    if inside(star, x, y):
        return mix((255, 244, 120), (250, 200, 20), y / 48) + (255,)
    return mix((60, 130, 230), (14, 50, 140), r / 18.5) + (255,)


def make_icon(size=48, samples=4):
    """Supersampled emblem as rows of straight (unpremultiplied) RGBA, drawn
    at `size` pixels from its 48x48 design."""
    star = star_points(24, 25, 16, 6.5)
    scale = 48 / size
    img = []
    for py in range(size):
        row = []
        for px in range(size):
            acc = [0.0, 0.0, 0.0, 0.0]
            for sy in range(samples):
                for sx in range(samples):
                    r, g, b, a = emblem((px + (sx + 0.5) / samples) * scale,
                                        (py + (sy + 0.5) / samples) * scale, star)
                    acc = [acc[0] + r * a, acc[1] + g * a, acc[2] + b * a, acc[3] + a]
            alpha = acc[3]
            rgb = tuple(round(c / alpha) for c in acc[:3]) if alpha else (0, 0, 0)
            row.append(rgb + (round(alpha / samples ** 2),))
        img.append(row)
    return img


def ico_image(img):
    """One 32-bit BGRA image with its AND mask, as an icon file stores it."""
    size = len(img)
    xor = bytearray()
    mask = bytearray()
    mask_stride = ((size + 31) // 32) * 4
    for row in reversed(img):
        bits = 0
        for r, g, b, a in row:
            xor += bytes((b, g, r, a))
            bits = (bits << 1) | (a == 0)
        mask += bits.to_bytes((size + 7) // 8, "big").ljust(mask_stride, b"\0")
    info = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0,
                       len(xor) + len(mask), 0, 0, 0, 0)
    return info + xor + mask


def write_ico(path, imgs):
    """Save 32-bit images, each stored as a bitmap, as one .ico file."""
    entries, datas = b"", b""
    offset = 6 + 16 * len(imgs)
    for img in imgs:
        data = ico_image(img)
        entries += struct.pack("<BBBBHHII", len(img), len(img), 0, 0, 1, 32, len(data),
                               offset + len(datas))
        datas += data
    path.write_bytes(struct.pack("<HHH", 0, 1, len(imgs)) + entries + datas)


def recolour(img, colours):
    """The image with colours applied to the (r, g, b) of every pixel."""
    return [[colours(p[:3]) + tuple(p[3:]) for p in row] for row in img]


def main():
    splash, overlay = make_splash(), make_overlay()
    icons = [make_icon(size) for size in ICON_SIZES]
    for brand, colours in BRAND_COLOURS.items():
        out = BRANDS_DIR / brand
        out.mkdir(parents=True, exist_ok=True)
        write_bmp(out / "splash.bmp", recolour(splash, colours))
        write_bmp(out / "overlay.bmp", recolour(overlay, colours))
        write_ico(out / "icon.ico", [recolour(icon, colours) for icon in icons])
        for name in ("splash.bmp", "overlay.bmp", "icon.ico"):
            print(out / name, (out / name).stat().st_size, "bytes")


if __name__ == "__main__":
    main()
