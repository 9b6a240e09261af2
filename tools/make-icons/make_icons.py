#!/usr/bin/python3
"""Renders the program's embedded icons and style-sheet images.

A coherent set for a dark panel: light strokes, one green accent, drawn
eight times larger and scaled down for smooth edges. Run once after a change
and commit the PNGs; the build does not run this script.

    /usr/bin/python3 tools/make-icons/make_icons.py [resources-dir]
"""

import math
import os
import sys

from PIL import Image, ImageDraw

SCALE = 8
LIGHT = (226, 226, 226, 255)
DIM = (150, 150, 150, 255)
ACCENT = (29, 179, 42, 255)
DARK = (32, 32, 32, 255)
PANEL = (50, 50, 50, 255)


class Canvas:
    """A supersampled RGBA drawing in the target's own pixel units."""

    def __init__(self, width, height, background=(0, 0, 0, 0)):
        self.width = width
        self.height = height
        self.image = Image.new("RGBA", (width * SCALE, height * SCALE), background)
        self.draw = ImageDraw.Draw(self.image)

    @staticmethod
    def _p(point):
        return (point[0] * SCALE, point[1] * SCALE)

    def line(self, points, color, width):
        pts = [self._p(p) for p in points]
        w = max(1, int(round(width * SCALE)))
        self.draw.line(pts, fill=color, width=w, joint="curve")
        r = width / 2.0
        for p in (points[0], points[-1]):
            self.disc(p, r, color)

    def disc(self, center, radius, color):
        x, y = center
        self.draw.ellipse(
            [self._p((x - radius, y - radius)), self._p((x + radius, y + radius))], fill=color
        )

    def ring(self, center, radius, color, width):
        x, y = center
        self.draw.ellipse(
            [self._p((x - radius, y - radius)), self._p((x + radius, y + radius))],
            outline=color,
            width=max(1, int(round(width * SCALE))),
        )

    def arc(self, center, radius, start, end, color, width):
        """Arc in degrees, 0 = 3 o'clock, clockwise (screen coordinates)."""
        x, y = center
        self.draw.arc(
            [self._p((x - radius, y - radius)), self._p((x + radius, y + radius))],
            start,
            end,
            fill=color,
            width=max(1, int(round(width * SCALE))),
        )
        for angle in (start, end):
            a = math.radians(angle)
            self.disc((x + radius * math.cos(a), y + radius * math.sin(a)), width / 2.0, color)

    def polygon(self, points, color):
        self.draw.polygon([self._p(p) for p in points], fill=color)

    def rect(self, box, color, radius=0.0, outline=None, width=0.0):
        (x0, y0), (x1, y1) = box
        self.draw.rounded_rectangle(
            [self._p((x0, y0)), self._p((x1, y1))],
            radius=radius * SCALE,
            fill=color,
            outline=outline,
            width=int(round(width * SCALE)) if outline else 0,
        )

    def result(self):
        # an integer box reduction: smooth edges without the ringing of
        # sharper filters on small icons
        return self.image.reduce(SCALE)


# --- shared shapes -------------------------------------------------------

def chevron(c, cx, cy, half_width, depth, up, color, width):
    """A ^ (up) or v (down) chevron whose tip is at (cx, cy)."""
    dy = depth if up else -depth
    c.line([(cx - half_width, cy + dy), (cx, cy), (cx + half_width, cy + dy)], color, width)


def arrow(c, x, y0, y1, head, color, width):
    """A vertical arrow from y0 to y1 with its head at y1."""
    c.line([(x, y0), (x, y1)], color, width)
    up = y1 < y0
    chevron(c, x, y1, head, head, up, color, width)


def waves(c, cx, cy, radii, start, end, color, width):
    for r in radii:
        c.arc((cx, cy), r, start, end, color, width)


def gear(c, cx, cy, r_outer, r_inner, teeth, color):
    points = []
    steps = teeth * 4
    for i in range(steps):
        a = 2 * math.pi * i / steps
        r = r_outer if (i % 4) in (0, 1) else r_inner
        points.append((cx + r * math.cos(a), cy + r * math.sin(a)))
    c.polygon(points, color)


def usb_trident(c, cx, top, bottom, scale, color, accent, width):
    """The USB symbol: a stem with an arrow head, a round and a square branch."""
    c.line([(cx, bottom - 6 * scale), (cx, top + 6 * scale)], color, width)
    c.polygon([(cx, top), (cx - 6 * scale, top + 9 * scale), (cx + 6 * scale, top + 9 * scale)], color)
    c.disc((cx, bottom - 4 * scale), 6 * scale, color)
    mid = top + (bottom - top) * 0.45
    low = top + (bottom - top) * 0.66
    # left branch ends in a circle
    lx = cx - 16 * scale
    c.line([(cx, low), (lx, low - 8 * scale), (lx, mid - 10 * scale)], color, width)
    c.disc((lx, mid - 13 * scale), 4.5 * scale, accent)
    # right branch ends in a square
    rx = cx + 15 * scale
    c.line([(cx, mid + 8 * scale), (rx, mid), (rx, mid - 14 * scale)], color, width)
    s = 4.5 * scale
    c.rect(((rx - s, mid - 14 * scale - 2 * s), (rx + s, mid - 14 * scale)), accent)


def sine(c, x0, x1, cy, amplitude, periods, color, width, samples=80):
    pts = []
    for i in range(samples + 1):
        t = i / samples
        pts.append((x0 + (x1 - x0) * t, cy - amplitude * math.sin(2 * math.pi * periods * t)))
    c.line(pts, color, width)


def logo(c, w, h, ink, accent):
    """The maker's emblem: a valve disc in a ring above three lines."""
    cx = w / 2
    r = min(w, h * 0.6) * 0.36
    cy = r + h * 0.06
    c.ring((cx, cy), r, accent, max(1.2, r * 0.22))
    # the valve disc, drawn as a bow tie across the ring
    d = r * 0.62
    c.polygon([(cx - d, cy - d * 0.75), (cx, cy), (cx - d, cy + d * 0.75)], ink)
    c.polygon([(cx + d, cy - d * 0.75), (cx, cy), (cx + d, cy + d * 0.75)], ink)
    c.disc((cx, cy), r * 0.16, ink)
    top = cy + r + h * 0.08
    gap = (h - top) / 3.2
    lengths = (0.86, 0.66, 0.46)
    for i, frac in enumerate(lengths):
        y = top + gap * (i + 0.5)
        half = w * frac / 2
        c.line([(cx - half, y), (cx + half, y)], ink if i else accent, max(1.0, gap * 0.42))


# --- icons -----------------------------------------------------------------

def icon_stop(w, h):
    c = Canvas(w, h)
    m = w * 0.16
    c.rect(((m, m), (w - m, h - m)), LIGHT, radius=w * 0.12)
    return c.result()


def icon_play(w, h):
    c = Canvas(w, h)
    c.polygon([(w * 0.24, h * 0.14), (w * 0.86, h * 0.5), (w * 0.24, h * 0.86)], ACCENT)
    return c.result()


def icon_plus(w, h):
    c = Canvas(w, h)
    c.line([(w * 0.2, h / 2), (w * 0.8, h / 2)], LIGHT, w * 0.16)
    c.line([(w / 2, h * 0.2), (w / 2, h * 0.8)], LIGHT, w * 0.16)
    return c.result()


def icon_minus(w, h):
    c = Canvas(w, h)
    c.line([(w * 0.2, h / 2), (w * 0.8, h / 2)], LIGHT, w * 0.16)
    return c.result()


def icon_arrow(up):
    def make(w, h):
        c = Canvas(w, h)
        if up:
            arrow(c, w / 2, h * 0.85, h * 0.17, w * 0.3, LIGHT, w * 0.13)
        else:
            arrow(c, w / 2, h * 0.15, h * 0.83, w * 0.3, LIGHT, w * 0.13)
        return c.result()
    return make


def icon_rename(w, h):
    c = Canvas(w, h)
    # a pencil lying from lower left to upper right, tip in the accent
    a = math.radians(-45)
    ux, uy = math.cos(a), math.sin(a)
    px, py = -uy, ux
    x0, y0 = w * 0.2, h * 0.8
    length, half = w * 0.72, w * 0.12
    tip = length * 0.25
    body = [
        (x0 + ux * tip + px * half, y0 + uy * tip + py * half),
        (x0 + ux * length + px * half, y0 + uy * length + py * half),
        (x0 + ux * length - px * half, y0 + uy * length - py * half),
        (x0 + ux * tip - px * half, y0 + uy * tip - py * half),
    ]
    c.polygon(body, LIGHT)
    c.polygon([(x0, y0), body[0], body[3]], ACCENT)
    c.line([(w * 0.12, h * 0.92), (w * 0.5, h * 0.92)], DIM, w * 0.07)
    return c.result()


def icon_manual_tab(w, h):
    c = Canvas(w, h)
    cx, cy, r = w / 2, h / 2, h * 0.36
    c.ring((cx, cy), r, LIGHT, h * 0.07)
    for k in range(3):
        a = math.radians(90 + k * 120)
        c.line([(cx, cy), (cx + r * math.cos(a), cy + r * math.sin(a))], LIGHT, h * 0.06)
    c.disc((cx, cy), r * 0.3, ACCENT)
    c.disc((cx + r * math.cos(math.radians(-30)), cy + r * math.sin(math.radians(-30))), h * 0.07, ACCENT)
    return c.result()


def icon_remote_tab(w, h):
    c = Canvas(w, h)
    # a small panel with a screen, radiating to the upper right
    c.rect(((w * 0.12, h * 0.36), (w * 0.56, h * 0.82)), None, radius=h * 0.05, outline=LIGHT, width=h * 0.055)
    c.rect(((w * 0.2, h * 0.45), (w * 0.48, h * 0.62)), ACCENT, radius=h * 0.02)
    c.line([(w * 0.34, h * 0.82), (w * 0.34, h * 0.9)], LIGHT, h * 0.05)
    c.line([(w * 0.22, h * 0.9), (w * 0.46, h * 0.9)], LIGHT, h * 0.05)
    waves(c, w * 0.58, h * 0.34, (h * 0.14, h * 0.26, h * 0.38), -80, -10, LIGHT, h * 0.055)
    c.disc((w * 0.58, h * 0.34), h * 0.045, ACCENT)
    return c.result()


def icon_script_tab(w, h):
    c = Canvas(w, h)
    x0, y0, x1, y1 = w * 0.24, h * 0.1, w * 0.7, h * 0.9
    c.rect(((x0, y0), (x1, y1)), None, radius=h * 0.05, outline=LIGHT, width=h * 0.055)
    for i in range(4):
        y = y0 + (y1 - y0) * (0.22 + i * 0.17)
        c.disc((x0 + w * 0.08, y), h * 0.03, DIM)
        c.line([(x0 + w * 0.14, y), (x1 - w * (0.08 + 0.05 * (i % 2)), y)], LIGHT, h * 0.04)
    c.polygon([(w * 0.64, h * 0.56), (w * 0.9, h * 0.71), (w * 0.64, h * 0.86)], ACCENT)
    return c.result()


def icon_setting_tab(w, h):
    c = Canvas(w, h)
    cx, cy = w / 2, h / 2
    gear(c, cx, cy, h * 0.4, h * 0.31, 8, LIGHT)
    c.disc((cx, cy), h * 0.17, (0, 0, 0, 0))
    # punch the hole: redraw with transparent compositing
    hole = Image.new("L", c.image.size, 255)
    ImageDraw.Draw(hole).ellipse(
        [Canvas._p((cx - h * 0.15, cy - h * 0.15)), Canvas._p((cx + h * 0.15, cy + h * 0.15))], fill=0
    )
    alpha = c.image.getchannel("A")
    c.image.putalpha(Image.composite(alpha, hole, hole))
    c.disc((cx, cy), h * 0.08, ACCENT)
    return c.result()


def icon_open_close(up, count):
    """count 0: arrow to the end stop; 1-3: that many chevrons (speed)."""
    def make(w, h):
        c = Canvas(w, h)
        cx = w / 2
        bar_y = h * 0.14 if up else h * 0.86
        if count == 0:
            c.line([(w * 0.26, bar_y), (w * 0.74, bar_y)], ACCENT, h * 0.09)
            start = h * 0.84 if up else h * 0.16
            end = h * 0.3 if up else h * 0.7
            arrow(c, cx, start, end, w * 0.17, LIGHT, h * 0.085)
        else:
            pitch = h * 0.2
            total = pitch * (count - 1)
            first = h / 2 - total / 2 - h * 0.12 if up else h / 2 - total / 2 + h * 0.12
            for i in range(count):
                y = first + i * pitch
                chevron(c, cx, y, w * 0.24, h * 0.2, up, ACCENT if i == 0 else LIGHT, h * 0.085)
        return c.result()
    return make


def icon_connect(w, h, connected):
    c = Canvas(w, h)
    cy = h / 2
    sw = h * 0.07
    gap = 0 if connected else w * 0.08
    # left plug: body and two prongs
    lx = w / 2 - gap
    c.line([(w * 0.05, cy), (lx - w * 0.24, cy)], LIGHT, sw)
    c.rect(((lx - w * 0.25, cy - h * 0.24), (lx - w * 0.1, cy + h * 0.24)), LIGHT, radius=h * 0.06)
    c.line([(lx - w * 0.1, cy - h * 0.11), (lx, cy - h * 0.11)], LIGHT, sw * 0.8)
    c.line([(lx - w * 0.1, cy + h * 0.11), (lx, cy + h * 0.11)], LIGHT, sw * 0.8)
    # right socket
    rx = w / 2 + gap
    c.rect(((rx, cy - h * 0.24), (rx + w * 0.15, cy + h * 0.24)), LIGHT, radius=h * 0.06)
    c.line([(rx + w * 0.15, cy), (w * 0.95, cy)], LIGHT, sw)
    if connected:
        c.disc((w / 2, cy - h * 0.38), h * 0.07, ACCENT)
        c.line([(w * 0.38, cy + h * 0.38), (w * 0.62, cy + h * 0.38)], ACCENT, sw)
    else:
        # the break, in the accent
        for dy, dx in ((-0.36, -0.05), (0.0, 0.0), (0.36, 0.05)):
            x = w / 2 + dx * w
            c.line([(x - w * 0.02, cy + dy * h - h * 0.08), (x + w * 0.02, cy + dy * h + h * 0.08)], ACCENT, sw * 0.8)
    return c.result()


def icon_usb(w, h):
    c = Canvas(w, h)
    s = h / 100.0
    usb_trident(c, w / 2, h * 0.08, h * 0.92, s * 1.8, LIGHT, ACCENT, s * 5)
    return c.result()


def icon_usb_remote(w, h):
    c = Canvas(w, h)
    s = h / 100.0
    usb_trident(c, w * 0.38, h * 0.18, h * 0.94, s * 1.3, LIGHT, ACCENT, s * 4.5)
    waves(c, w * 0.62, h * 0.26, (h * 0.12, h * 0.22, h * 0.32), -80, -10, LIGHT, h * 0.045)
    return c.result()


def icon_analog_remote(w, h):
    c = Canvas(w, h)
    sine(c, w * 0.08, w * 0.92, h * 0.62, h * 0.16, 1.5, LIGHT, h * 0.05)
    c.line([(w * 0.08, h * 0.9), (w * 0.92, h * 0.9)], DIM, h * 0.03)
    waves(c, w * 0.32, h * 0.3, (h * 0.1, h * 0.18, h * 0.26), -80, -10, ACCENT, h * 0.04)
    return c.result()


def icon_analog(w, h):
    c = Canvas(w, h)
    cx, cy, r = w / 2, h * 0.6, w * 0.4
    # meter scale from 200 to 340 degrees (screen clockwise), with ticks
    c.arc((cx, cy), r, 200, 340, LIGHT, w * 0.03)
    for k in range(11):
        a = math.radians(200 + k * 14)
        inner = r * (0.82 if k % 5 == 0 else 0.88)
        c.line(
            [(cx + inner * math.cos(a), cy + inner * math.sin(a)), (cx + r * 0.97 * math.cos(a), cy + r * 0.97 * math.sin(a))],
            LIGHT,
            w * (0.022 if k % 5 == 0 else 0.014),
        )
    needle = math.radians(295)
    c.line([(cx, cy), (cx + r * 0.78 * math.cos(needle), cy + r * 0.78 * math.sin(needle))], ACCENT, w * 0.03)
    c.disc((cx, cy), w * 0.05, ACCENT)
    sine(c, w * 0.18, w * 0.82, h * 0.82, h * 0.06, 2, DIM, w * 0.018, samples=200)
    return c.result()


def icon_on_off(w, h):
    c = Canvas(w, h)
    cx, cy, r = w / 2, h * 0.54, w * 0.33
    for color, width in ((DARK, w * 0.16), (LIGHT, w * 0.1)):
        c.arc((cx, cy), r, -60, 240, color, width)
        for angle in (-60, 240):
            a = math.radians(angle)
            c.disc((cx + r * math.cos(a), cy + r * math.sin(a)), width / 2, color)
        c.line([(cx, cy - r * 1.25), (cx, cy - r * 0.2)], color, width)
    return c.result()


def icon_open_folder(w, h):
    c = Canvas(w, h)
    sw = w * 0.06
    back = [(w * 0.1, h * 0.22), (w * 0.38, h * 0.22), (w * 0.46, h * 0.3), (w * 0.84, h * 0.3), (w * 0.84, h * 0.44)]
    c.line(back, LIGHT, sw)
    c.line([(w * 0.1, h * 0.22), (w * 0.1, h * 0.8)], LIGHT, sw)
    # the open front flap in the accent
    c.polygon([(w * 0.1, h * 0.82), (w * 0.26, h * 0.44), (w * 0.94, h * 0.44), (w * 0.78, h * 0.82)], ACCENT)
    return c.result()


def icon_logo(w, h):
    c = Canvas(w, h)
    logo(c, w, h, DARK, ACCENT)
    return c.result()


def bmp_logo(w, h):
    c = Canvas(w, h, PANEL)
    logo(c, w, h, LIGHT, ACCENT)
    return c.result().convert("RGB")


# --- style-sheet images -----------------------------------------------------

def image_checkbox(w, h):
    c = Canvas(w, h)
    c.line([(w * 0.15, h * 0.52), (w * 0.4, h * 0.78), (w * 0.86, h * 0.2)], ACCENT, w * 0.2)
    return c.result()


def image_down_arrow(w, h):
    c = Canvas(w, h)
    c.polygon([(0, h * 0.1), (w, h * 0.1), (w / 2, h * 0.95)], LIGHT)
    return c.result()


def image_handle(w, h):
    c = Canvas(w, h)
    for x in (w * 0.27, w * 0.73):
        for y in (h * 0.27, h * 0.73):
            c.disc((x, y), w * 0.14, DIM)
    return c.result()


ICONS = [
    # (path below resources/, width, height, painter)
    ("icon/Analog-Remote.png", 60, 71, icon_analog_remote),
    ("icon/ManualTab.png", 75, 67, icon_manual_tab),
    ("icon/Minus.png", 16, 16, icon_minus),
    ("icon/Pfeil-oben.png", 16, 16, icon_arrow(True)),
    ("icon/Pfeil-unten.png", 16, 16, icon_arrow(False)),
    ("icon/Play.png", 16, 16, icon_play),
    ("icon/Plus.png", 16, 16, icon_plus),
    ("icon/Remote.png", 75, 67, icon_remote_tab),
    ("icon/Rename.png", 16, 16, icon_rename),
    ("icon/ScriptTab.png", 75, 67, icon_script_tab),
    ("icon/SettingTab.png", 75, 67, icon_setting_tab),
    ("icon/Stop.png", 16, 16, icon_stop),
    ("icon/USB-Remote.png", 65, 68, icon_usb_remote),
    ("icon/USB.png", 200, 200, icon_usb),
    ("icon/analog.png", 512, 512, icon_analog),
    ("icon/close-fast.png", 75, 67, icon_open_close(False, 1)),
    ("icon/close-faster.png", 75, 67, icon_open_close(False, 2)),
    ("icon/close-fastest.png", 75, 67, icon_open_close(False, 3)),
    ("icon/close.png", 75, 67, icon_open_close(False, 0)),
    ("icon/connect.png", 120, 70, lambda w, h: icon_connect(w, h, True)),
    ("icon/disconnect.png", 120, 76, lambda w, h: icon_connect(w, h, False)),
    ("icon/varnix-Logo-3zeilig.png", 52, 60, icon_logo),
    ("icon/varnix.bmp", 32, 32, bmp_logo),
    ("icon/on-off.png", 67, 75, icon_on_off),
    ("icon/open-fast.png", 75, 67, icon_open_close(True, 1)),
    ("icon/open-faster.png", 75, 67, icon_open_close(True, 2)),
    ("icon/open-fastest.png", 75, 67, icon_open_close(True, 3)),
    ("icon/open-folder.png", 64, 64, icon_open_folder),
    ("icon/open.png", 75, 67, icon_open_close(True, 0)),
    ("images/checkbox.png", 9, 9, image_checkbox),
    ("images/down_arrow.png", 7, 5, image_down_arrow),
    ("images/handle.png", 6, 6, image_handle),
]


def main():
    out = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "..", "..", "resources")
    for rel, w, h, paint in ICONS:
        path = os.path.join(out, rel)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        img = paint(w, h)
        assert img.size == (w, h), rel
        if rel.endswith(".bmp"):
            img.save(path, "BMP")
        else:
            img.save(path, "PNG", optimize=True)
        print(f"{rel} {w}x{h}")


if __name__ == "__main__":
    main()
