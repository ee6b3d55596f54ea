#!/usr/bin/python3
"""Makes Quillotune's bitmaps and icons in resources/images.

    /usr/bin/python3 tools/make-images.py

Everything is drawn here from geometry, so the pictures can be changed by
editing numbers and remade identically: no randomness, no timestamps, and the
BMP/ICO bytes are written by hand so no encoder adds metadata. Shapes are
signed-distance functions sampled on a supersampled grid; the fraction of
samples inside a shape is its anti-aliased coverage. Only the lettering of the
banner and splash comes from ImageMagick, as raw grey pixels on stdout.
"""

import math
import shutil
import struct
import subprocess
import sys
from pathlib import Path

import numpy as np

ROOT = Path(__file__).resolve().parent.parent
OUT = ROOT / "resources" / "images"
FONTS = Path("/usr/share/fonts/truetype")
TITLE_FONT = FONTS / "dejavu" / "DejaVuSans-Bold.ttf"
TEXT_FONT = FONTS / "dejavu" / "DejaVuSans.ttf"


def rgb(hex_colour):
    """'#rrggbb' -> floats in 0..1."""
    h = hex_colour.lstrip("#")
    return np.array([int(h[i:i + 2], 16) / 255.0 for i in (0, 2, 4)])


# ---------------------------------------------------------------- shapes ---
# A shape is a function (X, Y) -> signed distance in pixels, negative inside.
# Coordinates are in pixels with (0, 0) at the top-left corner of the image,
# so pixel (i, j) covers [i, i+1] x [j, j+1]: edges on whole numbers are crisp.

def circle(cx, cy, r):
    return lambda X, Y: np.hypot(X - cx, Y - cy) - r


def ellipse(cx, cy, rx, ry, degrees=0.0):
    # Not an exact distance, but close enough near the edge for coverage
    # and for the thin outlines drawn with it.
    a = math.radians(degrees)
    c, s = math.cos(a), math.sin(a)

    def sdf(X, Y):
        u = (X - cx) * c + (Y - cy) * s
        v = -(X - cx) * s + (Y - cy) * c
        return (np.hypot(u / rx, v / ry) - 1.0) * min(rx, ry)
    return sdf


def box(x0, y0, x1, y1, radius=0.0):
    cx, cy = (x0 + x1) / 2, (y0 + y1) / 2
    hx, hy = (x1 - x0) / 2 - radius, (y1 - y0) / 2 - radius

    def sdf(X, Y):
        qx = np.abs(X - cx) - hx
        qy = np.abs(Y - cy) - hy
        outside = np.hypot(np.maximum(qx, 0), np.maximum(qy, 0))
        return outside + np.minimum(np.maximum(qx, qy), 0) - radius
    return sdf


def _segment_distance(X, Y, ax, ay, bx, by):
    dx, dy = bx - ax, by - ay
    length2 = dx * dx + dy * dy or 1e-12
    t = np.clip(((X - ax) * dx + (Y - ay) * dy) / length2, 0.0, 1.0)
    return np.hypot(X - (ax + t * dx), Y - (ay + t * dy))


def polygon(points):
    pts = [(float(x), float(y)) for x, y in points]

    def sdf(X, Y):
        dist = np.full(X.shape, np.inf)
        inside = np.zeros(X.shape, dtype=bool)
        for (ax, ay), (bx, by) in zip(pts, pts[1:] + pts[:1]):
            dist = np.minimum(dist, _segment_distance(X, Y, ax, ay, bx, by))
            # Even-odd crossing test along +x.
            if ay != by:
                crosses = (ay > Y) != (by > Y)
                xcross = ax + (Y - ay) * (bx - ax) / (by - ay)
                inside ^= crosses & (X < xcross)
        return np.where(inside, -dist, dist)
    return sdf


def stroke(points, width):
    """A polyline of the given width with round caps and joins."""
    half = width / 2

    def sdf(X, Y):
        dist = np.full(X.shape, np.inf)
        for (ax, ay), (bx, by) in zip(points, points[1:]):
            dist = np.minimum(dist, _segment_distance(X, Y, ax, ay, bx, by))
        return dist - half
    return sdf


def union(*shapes):
    def sdf(X, Y):
        d = shapes[0](X, Y)
        for s in shapes[1:]:
            d = np.minimum(d, s(X, Y))
        return d
    return sdf


def subtract(shape, cut):
    return lambda X, Y: np.maximum(shape(X, Y), -cut(X, Y))


def intersect(a, b):
    return lambda X, Y: np.maximum(a(X, Y), b(X, Y))


def grow(shape, amount):
    return lambda X, Y: shape(X, Y) - amount


def bezier(p0, p1, p2, p3, steps=24):
    """Points along a cubic Bezier curve, for polygons and strokes."""
    t = np.linspace(0.0, 1.0, steps + 1)[:, None]
    p0, p1, p2, p3 = (np.array(p, dtype=float) for p in (p0, p1, p2, p3))
    pts = ((1 - t) ** 3 * p0 + 3 * (1 - t) ** 2 * t * p1
           + 3 * (1 - t) * t ** 2 * p2 + t ** 3 * p3)
    return [tuple(p) for p in pts]


# ---------------------------------------------------------------- canvas ---

class Canvas:
    """Premultiplied RGBA in floats, painted with shapes at `ss`x`ss`
    samples per pixel."""

    def __init__(self, width, height, ss):
        self.w, self.h, self.ss = width, height, ss
        self.rgba = np.zeros((height, width, 4))
        xs = (np.arange(width * ss) + 0.5) / ss
        ys = (np.arange(height * ss) + 0.5) / ss
        self.SX, self.SY = np.meshgrid(xs, ys)
        # Pixel centres, for colour fields such as gradients.
        self.X, self.Y = np.meshgrid(np.arange(width) + 0.5,
                                     np.arange(height) + 0.5)

    def coverage(self, shape, inset=0.0):
        inside = shape(self.SX, self.SY) < -inset
        return inside.reshape(self.h, self.ss, self.w, self.ss).mean(axis=(1, 3))

    def paint(self, shape, colour, opacity=1.0, inset=0.0):
        """Paints `colour` (an RGB triple, an HxWx3 field or a function of
        the pixel centres returning one) over everything inside `shape`."""
        self.composite(self.coverage(shape, inset) * opacity, colour)

    def composite(self, alpha, colour):
        if callable(colour):
            colour = colour(self.X, self.Y)
        colour = np.broadcast_to(np.asarray(colour, dtype=float),
                                 (self.h, self.w, 3))
        a = np.asarray(alpha, dtype=float)[..., None]
        self.rgba[..., :3] = self.rgba[..., :3] * (1 - a) + colour * a
        self.rgba[..., 3:] = self.rgba[..., 3:] * (1 - a) + a

    def erase(self, shape, inset=0.0):
        """Makes the inside of `shape` transparent (holes, gaps)."""
        self.rgba *= (1 - self.coverage(shape, inset))[..., None]

    def outlined(self, shape, edge, fill, width=1.0):
        """The icon look: a dark edge of `width` pixels around a fill."""
        self.paint(shape, edge)
        self.paint(shape, fill, inset=width)

    def place(self, layer, x, y):
        """Composites a premultiplied RGBA layer with its top-left at (x, y)."""
        h, w = layer.shape[:2]
        region = self.rgba[y:y + h, x:x + w]
        region *= 1 - layer[..., 3:]
        region += layer


def vertical(top, bottom, y0, y1):
    """A top-to-bottom gradient between two colours over rows y0..y1."""
    top, bottom = rgb(top), rgb(bottom)

    def field(X, Y):
        t = np.clip((Y - y0) / max(y1 - y0, 1e-6), 0, 1)[..., None]
        return top * (1 - t) + bottom * t
    return field


def blur(a, sigma):
    """Separable Gaussian blur, for soft shadows and glows."""
    radius = max(1, int(math.ceil(sigma * 3)))
    k = np.exp(-0.5 * (np.arange(-radius, radius + 1) / sigma) ** 2)
    k /= k.sum()
    for axis in (0, 1):
        padded = np.pad(a, [(radius, radius) if i == axis else (0, 0)
                            for i in range(a.ndim)], mode="constant")
        n = a.shape[axis]
        a = sum(k[i] * np.take(padded, range(i, i + n), axis=axis)
                for i in range(len(k)))
    return a


def shifted(a, dx, dy):
    """`a` moved by whole pixels, filling with zero."""
    out = np.zeros_like(a)
    h, w = a.shape[:2]
    out[max(dy, 0):h + min(dy, 0), max(dx, 0):w + min(dx, 0)] = \
        a[max(-dy, 0):h + min(-dy, 0), max(-dx, 0):w + min(-dx, 0)]
    return out


# ------------------------------------------------------------------ text ---

def text_mask(text, font, size, kerning=0.0):
    """Renders `text` with ImageMagick and returns (mask, baseline): a float
    coverage array cropped to the ink horizontally, and the row of the
    baseline in it. Raw grey output carries no metadata, so it is repeatable."""
    if shutil.which("convert") is None:
        sys.exit("make-images: ImageMagick's convert is needed for the lettering")
    width, height = int(size * len(text) + 4 * size), int(size * 2)
    baseline = int(size * 1.4)
    raw = subprocess.run(
        ["convert", "-size", f"{width}x{height}", "xc:black",
         "-density", "72", "-font", str(font), "-pointsize", str(size),
         "-kerning", str(kerning), "-fill", "white",
         "-annotate", f"+{size}+{baseline}", text,
         "-depth", "8", "gray:-"],
        check=True, capture_output=True).stdout
    mask = np.frombuffer(raw, dtype=np.uint8).reshape(height, width) / 255.0
    columns = np.nonzero(mask.max(axis=0))[0]
    rows = np.nonzero(mask.max(axis=1))[0]
    top = rows[0]
    return mask[top:rows[-1] + 1, columns[0]:columns[-1] + 1], baseline - top


def put_text(canvas, text, font, size, x, baseline, colour, shadow=0.0,
             kerning=0.0, align="left"):
    """Draws `text` with its ink starting (or ending, for align='right') at
    column x and its baseline on row `baseline`. A soft dark shadow lifts
    light lettering off the gradient."""
    mask, base = text_mask(text, font, size, kerning)
    h, w = mask.shape
    if align == "right":
        x -= w
    alpha = np.zeros((canvas.h, canvas.w))
    y = baseline - base
    alpha[y:y + h, x:x + w] = mask
    if shadow:
        canvas.composite(blur(shifted(alpha, 1, 1), 0.9) * shadow, rgb("#061228"))
    canvas.composite(alpha, colour)
    return x + w


# ----------------------------------------------------------------- files ---

def to_bytes(rgba):
    """Premultiplied floats -> straight 8-bit RGBA."""
    a = rgba[..., 3:]
    colour = np.where(a > 0, rgba[..., :3] / np.maximum(a, 1e-12), 0)
    out = np.concatenate([colour, a], axis=-1)
    return np.clip(np.round(out * 255), 0, 255).astype(np.uint8)


def bmp_bytes(rgba):
    """A 24-bit BI_RGB bottom-up BMP of an opaque image."""
    px = to_bytes(rgba)
    h, w = px.shape[:2]
    stride = (w * 3 + 3) & ~3
    rows = np.zeros((h, stride), dtype=np.uint8)
    rows[:, :w * 3] = px[::-1, :, 2::-1].reshape(h, w * 3)
    pixels = rows.tobytes()
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(pixels),
                       2835, 2835, 0, 0)
    head = struct.pack("<2sIHHI", b"BM", 14 + len(info) + len(pixels), 0, 0,
                       14 + len(info))
    return head + info + pixels


def ico_bytes(images):
    """An ICO with one 32-bit BGRA + AND-mask entry per image. BMP entries
    rather than PNG ones, so every loader can read them. The mask marks
    fully transparent pixels only, so loaders that ignore alpha still show
    the whole picture and never XOR stray colour onto the screen."""
    entries, blobs = [], []
    offset = 6 + 16 * len(images)
    for rgba in images:
        px = to_bytes(rgba)
        h, w = px.shape[:2]
        px[px[..., 3] == 0] = 0
        xor = px[::-1, :, [2, 1, 0, 3]].tobytes()
        mask_stride = ((w + 31) // 32) * 4
        bits = np.packbits(px[::-1, :, 3] == 0, axis=1)
        mask = np.zeros((h, mask_stride), dtype=np.uint8)
        mask[:, :bits.shape[1]] = bits
        info = struct.pack("<IiiHHIIiiII", 40, w, 2 * h, 1, 32, 0,
                           len(xor) + mask.size, 0, 0, 0, 0)
        blob = info + xor + mask.tobytes()
        entries.append(struct.pack("<BBBBHHII", w % 256, h % 256, 0, 0, 1, 32,
                                   len(blob), offset))
        blobs.append(blob)
        offset += len(blob)
    return struct.pack("<HHH", 0, 1, len(images)) + b"".join(entries + blobs)


# -------------------------------------------------------------- palette ---
# One palette for the whole set: each colour has an edge, a light top and a
# deeper bottom, lit from above like the rest of the dialog.

BLUE = ("#1c4a8c", "#8cc4ff", "#2c72d2")
GREEN = ("#2a6a12", "#a6ea6e", "#3f9f1b")
ORANGE = ("#a24a08", "#ffbe6a", "#ec750e")
RED = ("#8c1a10", "#ff8a78", "#d62b1a")


def lit(canvas, shape, colours, y0, y1, highlight=True):
    """An outlined, top-lit shape in one of the palette colours."""
    edge, top, bottom = colours
    canvas.outlined(shape, rgb(edge), vertical(top, bottom, y0, y1))
    if highlight:
        # A faint glint along the upper inside edge gives the shape volume.
        glint = intersect(shape, box(-99, -99, 99, (y0 + y1) / 2))
        canvas.paint(subtract(grow(glint, -1), grow(glint, -2)), rgb("#ffffff"),
                     opacity=0.35)


# ---------------------------------------------------------- disc + note ---

def disc(canvas, cx, cy, r):
    """A silver audio disc with a rainbow sheen, clear hub and a hole."""
    dx, dy = canvas.X - cx, canvas.Y - cy
    angle = np.arctan2(dy, dx)
    radius = np.hypot(dx, dy) / r
    # The sheen repeats twice round the disc, like light on real pits.
    hue = (angle / math.pi + 0.25 + 0.35 * radius) % 1.0
    rainbow = np.stack([0.5 + 0.5 * np.cos(2 * math.pi * (hue - k / 3))
                        for k in range(3)], axis=-1)
    shine = 0.5 + 0.5 * np.cos(2 * (angle + math.pi / 4))
    silver = rgb("#b9c0cc") + 0.22 * shine[..., None]
    body = np.clip(silver * 0.7 + rainbow * 0.3 * (0.4 + 0.6 * shine[..., None]), 0, 1)

    edge = max(1.0, r / 22)
    canvas.paint(circle(cx, cy, r), rgb("#5a6270"))
    canvas.paint(circle(cx, cy, r), body, inset=edge)
    if r >= 12:
        # A subtle rim where the data area ends.
        canvas.paint(subtract(circle(cx, cy, r - edge - 0.6 * edge),
                              circle(cx, cy, r - 2 * edge)),
                     rgb("#ffffff"), opacity=0.35)
    hub = 0.36 * r
    canvas.paint(circle(cx, cy, hub), rgb("#8d95a3"))
    canvas.paint(circle(cx, cy, hub), vertical("#eef2f7", "#c3cad6", cy - hub, cy + hub),
                 inset=edge)
    if r >= 12:
        canvas.paint(subtract(circle(cx, cy, 0.24 * r), circle(cx, cy, 0.24 * r - edge)),
                     rgb("#a4acb8"))
    canvas.erase(circle(cx, cy, max(0.13 * r, 1.0)))


def note_shape(u, x, y, stem_length=9.0):
    """An eighth note whose head sits at (x, y), drawn in units of `u`
    pixels (u = 1 for the 16-pixel design). Returns the note and the area
    to clear behind it, which fills the hollow under the flag so no sliver
    of what lies behind shows between flag and stem."""
    head = ellipse(x, y, 2.5 * u, 1.75 * u, -25)
    stem_right = x + 2.25 * u
    stem_left = stem_right - max(1.0, 1.1 * u)
    top = y - stem_length * u
    stem = box(stem_left, top, stem_right, y - 0.3 * u)
    # The flag leaves the top of the stem, swells to the right and tapers
    # back down towards the stem, like a handwritten quaver.
    outer = bezier((stem_left, top), (stem_right + 0.6 * u, top + 2.0 * u),
                   (stem_right + 3.6 * u, top + 2.8 * u), (stem_right + 2.4 * u, top + 7.4 * u))
    inner = bezier((stem_right + 2.4 * u, top + 7.4 * u), (stem_right + 2.7 * u, top + 5.0 * u),
                   (stem_right + 1.0 * u, top + 4.4 * u), (stem_left, top + 4.2 * u))
    flag = polygon(outer + inner[1:])
    hollow = polygon(outer + [(stem_left, outer[-1][1])])
    return union(head, stem, flag), union(head, stem, hollow)


def program_layer(n):
    """The program's picture at n x n pixels: a disc and a blue note."""
    c = Canvas(n, n, ss=max(4, 128 // n))
    u = n / 16
    r = round(7.0 * u)
    disc(c, r, r, r)
    # A gap round the note lets it stand clear of the disc. The stem rises
    # above the rim, so the gap cuts the rim cleanly instead of leaving
    # crumbs of it beside the flag.
    note, clearance = note_shape(u, 10.2 * u, 13.2 * u, stem_length=10.4)
    c.erase(grow(clearance, max(1.0, 0.9 * u)))
    edge, top, bottom = BLUE
    c.paint(note, rgb(edge))
    c.paint(note, vertical(top, bottom, 3 * u, 15 * u), inset=max(0.0, 0.6 * u - 0.4))
    return c.rgba


# ----------------------------------------------------------- the icons ---

def icon(draw):
    c = Canvas(16, 16, ss=16)
    draw(c)
    return c.rgba


def draw_add(c):
    note, _ = note_shape(1.0, 4.0, 12.2)
    c.paint(note, rgb(BLUE[0]))
    c.paint(note, vertical(BLUE[1], BLUE[2], 3, 14), inset=0.45)
    plus = union(box(11, 7, 14, 16), box(8, 10, 16, 13))
    c.erase(grow(plus, 1))
    c.outlined(plus, rgb(GREEN[0]), vertical(GREEN[1], GREEN[2], 7, 16))


def draw_delete(c):
    # Dashes of two pixels with one-pixel gaps, symmetric on every side.
    grey = rgb("#7b8494")
    for a in range(1, 15, 3):
        for b in (0, 15):
            c.paint(box(a, b, a + 2, b + 1), grey)
            c.paint(box(b, a, b + 1, a + 2), grey)
    cross = union(stroke([(4.5, 4.5), (11.5, 11.5)], 3.2),
                  stroke([(4.5, 11.5), (11.5, 4.5)], 3.2))
    c.outlined(cross, rgb(ORANGE[0]), vertical(ORANGE[1], ORANGE[2], 3, 13))


def arrow_up():
    return polygon([(8, 1), (15, 8), (11, 8), (11, 15), (5, 15), (5, 8), (1, 8)])


def draw_move_up(c):
    lit(c, arrow_up(), BLUE, 1, 15)


def draw_move_down(c):
    # The same arrow turned over, lit from above like every other icon.
    flipped = lambda X, Y: arrow_up()(X, 16 - Y)
    lit(c, flipped, BLUE, 1, 15)


def draw_play(c):
    lit(c, polygon([(4, 1.5), (14, 8), (4, 14.5)]), BLUE, 2, 14)


def draw_stop(c):
    lit(c, box(2, 2, 14, 14, 1.5), BLUE, 2, 14)


def flame():
    outer = bezier((12.0, 15.5), (8.2, 15.5), (7.6, 11.8), (9.4, 9.4)) + \
        bezier((9.4, 9.4), (10.4, 8.2), (10.6, 7.0), (10.4, 5.4))[1:] + \
        bezier((10.4, 5.4), (13.2, 7.2), (16.4, 10.6), (14.6, 13.8))[1:] + \
        bezier((14.6, 13.8), (14.0, 15.0), (13.0, 15.5), (12.0, 15.5))[1:]
    return polygon(outer)


def draw_burn(c):
    disc(c, 6.5, 6.5, 6.5)
    f = flame()
    c.erase(grow(f, 1))
    c.paint(f, rgb("#a8280c"))
    c.paint(f, vertical("#ffd23c", "#f2560f", 6, 15), inset=0.9)
    core = polygon(bezier((12.0, 14.6), (10.2, 14.4), (10.4, 12.0), (11.8, 10.4)) +
                   bezier((11.8, 10.4), (12.6, 11.8), (14.2, 13.6), (12.0, 14.6))[1:])
    c.paint(core, rgb("#fff4b0"))


def draw_erase(c):
    disc(c, 6.5, 6.5, 6.5)
    # A pink rubber with a blue sleeve, lying across the lower right of the
    # disc rubber end first; the outline between them marks the sleeve.
    cx, cy, half_length, half_width = 10.2, 10.8, 5.0, 2.3
    along = lambda X, Y: ((X - cx) - (Y - cy)) / math.sqrt(2)
    across = lambda X, Y: ((X - cx) + (Y - cy)) / math.sqrt(2)
    body = lambda X, Y: np.maximum(np.abs(along(X, Y)) - half_length,
                                   np.abs(across(X, Y)) - half_width)
    c.erase(grow(body, 1))
    rubber = intersect(body, lambda X, Y: along(X, Y) - 0.3)
    sleeve = intersect(body, lambda X, Y: 0.3 - along(X, Y))
    c.paint(body, rgb("#6a2232"))
    c.paint(rubber, vertical("#ffc6d2", "#e0607c", 8, 16), inset=0.9)
    c.paint(sleeve, vertical("#a8d0ff", "#2f6fcc", 6, 15), inset=0.9)


def draw_exit(c):
    # The door frame and an open door leaf, then a red arrow leaving it.
    c.paint(box(1, 1, 10, 16), rgb("#5d4330"))
    c.paint(box(2, 2, 9, 16), rgb("#2b211a"))
    leaf = polygon([(2, 2), (7, 3.5), (7, 16), (2, 16)])
    c.paint(leaf, rgb("#6b4423"))
    c.paint(leaf, vertical("#d09a5e", "#9a6230", 2, 16), inset=1)
    c.paint(box(5, 9, 6, 10), rgb("#ffe48a"))
    shaft = box(7, 7, 12, 11)
    head = polygon([(11, 4), (16, 9), (11, 14)])
    arrow = union(shaft, head)
    c.erase(grow(arrow, 1))
    lit(c, arrow, RED, 4, 14, highlight=False)


# -------------------------------------------------- banner and splash ---

def background(c):
    """Night blue to a clear sky blue, lit from the top, with a soft glow
    behind the disc; the edges get a light top line and a dark bottom line
    so the strip sits cleanly above the dialog."""
    x = c.X / c.w
    y = c.Y / c.h
    left, mid, right = rgb("#0d2147"), rgb("#17458c"), rgb("#2a78c0")
    t = x[..., None]
    base = np.where(t < 0.55, left + (mid - left) * (t / 0.55),
                    mid + (right - mid) * ((t - 0.55) / 0.45))
    base = base * (1.08 - 0.22 * y[..., None])
    glow = np.exp(-(((c.X - 40) / 70) ** 2 + ((c.Y - c.h / 2) / 40) ** 2))
    base = base + rgb("#3f8fe0") * 0.35 * glow[..., None]
    c.composite(np.ones((c.h, c.w)), np.clip(base, 0, 1))
    c.composite(np.where(c.Y < 1, 0.25, 0.0), rgb("#ffffff"))
    c.composite(np.where(c.Y > c.h - 1, 0.6, 0.0), rgb("#050d1e"))


def waveform(c, x0, x1, cy, height):
    """Rounded level bars that fade in from the left: sound, stylised."""
    step = 4
    for i, x in enumerate(range(x0, x1, step)):
        t = (x - x0) / (x1 - x0)
        level = (0.55 + 0.45 * math.sin(i * 0.7) * math.sin(i * 0.23 + 1.0)) \
            * (0.35 + 0.65 * math.sin(math.pi * min(1.0, t * 1.1)))
        half = max(1.0, level * height / 2)
        bar = box(x, cy - half, x + 2, cy + half, 1.0)
        c.paint(bar, rgb("#cfe6ff"), opacity=0.42 * min(1.0, t * 3))


def identity(c, title_x, title_base, tag_base):
    """The parts banner and splash share: disc, name and tagline."""
    layer = program_layer(64)
    x, y = 9, (c.h - 64) // 2 + 1
    # A soft light halo keeps the blue note readable on the dark blue.
    halo = np.zeros((c.h, c.w))
    halo[y:y + 64, x:x + 64] = layer[..., 3]
    c.composite(blur(halo, 2.5) * 0.45, rgb("#9cc8ff"))
    c.place(layer, x, y)
    put_text(c, "Quillotune", TITLE_FONT, 31, title_x, title_base,
                   vertical("#ffffff", "#cfe3ff", title_base - 24, title_base),
                   shadow=0.75, kerning=0.3)
    put_text(c, "Audio CD Writer", TEXT_FONT, 13, title_x + 2, tag_base,
             rgb("#a9d3ff"), shadow=0.5, kerning=0.6)


def banner():
    c = Canvas(590, 73, ss=4)
    background(c)
    waveform(c, 300, 580, 36.5, 40)
    identity(c, 84, 41, 60)
    return c.rgba


def splash():
    c = Canvas(415, 74, ss=4)
    background(c)
    waveform(c, 285, 405, 30.5, 30)
    identity(c, 84, 41, 60)
    put_text(c, "Version 1.0", TEXT_FONT, 11, 404, 64, rgb("#d7eaff"),
             shadow=0.5, align="right")
    # The splash stands alone on the desktop, so it gets a frame of its own.
    frame = subtract(box(0, 0, 415, 74), box(1, 1, 414, 73))
    c.paint(frame, rgb("#081630"))
    return c.rgba


# ----------------------------------------------------------------- check ---
# The headers are read back before anything is written, so a slip in the
# writers stops the script instead of reaching the resource compiler.

def require(condition, message):
    if not condition:
        sys.exit(f"make-images: {message}")


def check_bmp(data, width, height):
    """Reads the headers back: what the resource compiler and LoadImage
    need is a 24-bit BI_RGB bottom-up bitmap of exactly this size."""
    magic, size, _, _, offset = struct.unpack_from("<2sIHHI", data, 0)
    hsize, w, h, planes, bpp, compression = struct.unpack_from("<IiiHHI", data, 14)
    require((magic, size, offset) == (b"BM", len(data), 54), "bad BMP file header")
    require((hsize, w, h, planes, bpp, compression) == (40, width, height, 1, 24, 0),
        f"bad BMP info header: {w}x{h}, {bpp} bpp, compression {compression}")
    require(len(data) == 54 + ((width * 3 + 3) & ~3) * height, "bad BMP pixel size")


def check_ico(data, sizes):
    reserved, kind, count = struct.unpack_from("<HHH", data, 0)
    require((reserved, kind, count) == (0, 1, len(sizes)), "bad ICO header")
    for i, n in enumerate(sizes):
        w, h, colours, _, planes, bpp, length, offset = \
            struct.unpack_from("<BBBBHHII", data, 6 + 16 * i)
        require((w, h, colours, planes, bpp) == (n, n, 0, 1, 32), f"bad ICO entry {i}")
        hsize, bw, bh, bplanes, bbpp, compression = struct.unpack_from("<IiiHHI", data, offset)
        require((hsize, bw, bh, bplanes, bbpp, compression) == (40, n, 2 * n, 1, 32, 0),
            f"bad ICO image {i}")
        require(length == 40 + n * n * 4 + ((n + 31) // 32) * 4 * n, f"bad ICO size {i}")
        require(offset + length <= len(data), f"ICO image {i} runs past the end")


# ------------------------------------------------------------------ main ---

def main():
    OUT.mkdir(parents=True, exist_ok=True)
    files = {
        "banner.bmp": bmp_bytes(banner()),
        "splash.bmp": bmp_bytes(splash()),
        "program.ico": ico_bytes([program_layer(n) for n in (16, 32, 48)]),
        "add.ico": ico_bytes([icon(draw_add)]),
        "delete.ico": ico_bytes([icon(draw_delete)]),
        "move-up.ico": ico_bytes([icon(draw_move_up)]),
        "move-down.ico": ico_bytes([icon(draw_move_down)]),
        "play.ico": ico_bytes([icon(draw_play)]),
        "stop.ico": ico_bytes([icon(draw_stop)]),
        "burn.ico": ico_bytes([icon(draw_burn)]),
        "erase.ico": ico_bytes([icon(draw_erase)]),
        "exit.ico": ico_bytes([icon(draw_exit)]),
    }
    check_bmp(files["banner.bmp"], 590, 73)
    check_bmp(files["splash.bmp"], 415, 74)
    for name, data in files.items():
        if name.endswith(".ico"):
            check_ico(data, (16, 32, 48) if name == "program.ico" else (16,))
    for name, data in files.items():
        (OUT / name).write_bytes(data)
        print(f"{name}: {len(data)} bytes")


if __name__ == "__main__":
    main()
