# A small RGB drawing surface for the picture generators: shapes, a 5x7 bitmap font, and output
# as uncompressed 24-bit BMP or as PNG (with an optional alpha plane), all with the stdlib only.
import math
import struct
import zlib

FONT_5X7 = {
    "A": ["01110", "10001", "10001", "11111", "10001", "10001", "10001"],
    "B": ["11110", "10001", "10001", "11110", "10001", "10001", "11110"],
    "C": ["01110", "10001", "10000", "10000", "10000", "10001", "01110"],
    "D": ["11110", "10001", "10001", "10001", "10001", "10001", "11110"],
    "E": ["11111", "10000", "10000", "11110", "10000", "10000", "11111"],
    "F": ["11111", "10000", "10000", "11110", "10000", "10000", "10000"],
    "G": ["01110", "10001", "10000", "10111", "10001", "10001", "01111"],
    "H": ["10001", "10001", "10001", "11111", "10001", "10001", "10001"],
    "I": ["01110", "00100", "00100", "00100", "00100", "00100", "01110"],
    "J": ["00111", "00010", "00010", "00010", "00010", "10010", "01100"],
    "K": ["10001", "10010", "10100", "11000", "10100", "10010", "10001"],
    "L": ["10000", "10000", "10000", "10000", "10000", "10000", "11111"],
    "M": ["10001", "11011", "10101", "10101", "10001", "10001", "10001"],
    "N": ["10001", "10001", "11001", "10101", "10011", "10001", "10001"],
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
    "3": ["11111", "00010", "00100", "00010", "00001", "10001", "01110"],
    "4": ["00010", "00110", "01010", "10010", "11111", "00010", "00010"],
    "5": ["11111", "10000", "11110", "00001", "00001", "10001", "01110"],
    "6": ["00110", "01000", "10000", "11110", "10001", "10001", "01110"],
    "7": ["11111", "00001", "00010", "00100", "01000", "01000", "01000"],
    "8": ["01110", "10001", "10001", "01110", "10001", "10001", "01110"],
    "9": ["01110", "10001", "10001", "01111", "00001", "00010", "01100"],
    "+": ["00000", "00100", "00100", "11111", "00100", "00100", "00000"],
    "-": ["00000", "00000", "00000", "11111", "00000", "00000", "00000"],
    "<": ["00010", "00100", "01000", "10000", "01000", "00100", "00010"],
    ">": ["01000", "00100", "00010", "00001", "00010", "00100", "01000"],
    ".": ["00000", "00000", "00000", "00000", "00000", "01100", "01100"],
    "!": ["00100", "00100", "00100", "00100", "00100", "00000", "00100"],
    "?": ["01110", "10001", "00001", "00010", "00100", "00000", "00100"],
    " ": ["00000"] * 7,
}
GLYPH_ADVANCE = 6  # pixels per character at scale 1 (5 columns and one blank)


class Canvas:
    """Pixels as (r, g, b) tuples, row 0 at the top."""

    def __init__(self, width, height, colour=(0, 0, 0)):
        self.width = width
        self.height = height
        self.pixels = [[colour] * width for _ in range(height)]

    def set(self, x, y, colour):
        if 0 <= x < self.width and 0 <= y < self.height:
            self.pixels[y][x] = colour

    def get(self, x, y):
        return self.pixels[y][x]

    def blend(self, x, y, colour, weight):
        """Mixes colour into a pixel; weight 0 keeps the pixel, 1 replaces it."""
        if 0 <= x < self.width and 0 <= y < self.height and weight > 0:
            w = min(1.0, weight)
            old = self.pixels[y][x]
            self.pixels[y][x] = tuple(int(round(o + (c - o) * w)) for o, c in zip(old, colour))

    def fill_rect(self, x0, y0, x1, y1, colour):
        """Fills the pixels with x0 <= x < x1 and y0 <= y < y1."""
        for y in range(max(0, y0), min(self.height, y1)):
            row = self.pixels[y]
            for x in range(max(0, x0), min(self.width, x1)):
                row[x] = colour

    def rounded_rect(self, x0, y0, x1, y1, radius, fill, border=None):
        """A filled rectangle with rounded corners and an optional one-pixel border."""
        for y in range(y0, y1):
            for x in range(x0, x1):
                dx = max(x0 + radius - x - 0.5, 0, x - (x1 - radius) + 0.5)
                dy = max(y0 + radius - y - 0.5, 0, y - (y1 - radius) + 0.5)
                d = math.hypot(dx, dy)
                if d > radius:
                    continue
                edge = (border is not None and
                        (d > radius - 1.2 or x in (x0, x1 - 1) or y in (y0, y1 - 1)))
                self.set(x, y, border if edge else fill)

    def disc(self, cx, cy, radius, colour):
        for y in range(int(cy - radius) - 1, int(cy + radius) + 2):
            for x in range(int(cx - radius) - 1, int(cx + radius) + 2):
                d = math.hypot(x + 0.5 - cx, y + 0.5 - cy)
                self.blend(x, y, colour, radius + 0.5 - d)

    def ring(self, cx, cy, radius, thickness, colour):
        for y in range(int(cy - radius - thickness) - 1, int(cy + radius + thickness) + 2):
            for x in range(int(cx - radius - thickness) - 1, int(cx + radius + thickness) + 2):
                d = abs(math.hypot(x + 0.5 - cx, y + 0.5 - cy) - radius)
                self.blend(x, y, colour, thickness / 2 + 0.5 - d)

    def line(self, x0, y0, x1, y1, thickness, colour):
        """An anti-aliased line segment between pixel centres."""
        length = math.hypot(x1 - x0, y1 - y0)
        for y in range(int(min(y0, y1) - thickness) - 1, int(max(y0, y1) + thickness) + 2):
            for x in range(int(min(x0, x1) - thickness) - 1, int(max(x0, x1) + thickness) + 2):
                px, py = x - x0, y - y0
                if length == 0:
                    d = math.hypot(px, py)
                else:
                    t = max(0.0, min(1.0, (px * (x1 - x0) + py * (y1 - y0)) / length ** 2))
                    d = math.hypot(px - t * (x1 - x0), py - t * (y1 - y0))
                self.blend(x, y, colour, thickness / 2 + 0.5 - d)

    def polygon(self, points, colour):
        """Fills a convex or concave polygon by the even-odd rule at pixel centres."""
        ys = [p[1] for p in points]
        for y in range(int(min(ys)), int(max(ys)) + 1):
            cy = y + 0.5
            crossings = []
            for (ax, ay), (bx, by) in zip(points, points[1:] + points[:1]):
                if (ay <= cy < by) or (by <= cy < ay):
                    crossings.append(ax + (cy - ay) * (bx - ax) / (by - ay))
            crossings.sort()
            for left, right in zip(crossings[::2], crossings[1::2]):
                for x in range(int(math.ceil(left - 0.5)), int(math.floor(right - 0.5)) + 1):
                    self.set(x, y, colour)

    def text(self, x, y, text, colour, scale=1):
        for index, char in enumerate(text.upper()):
            glyph = FONT_5X7.get(char, FONT_5X7["?"])
            for row, bits in enumerate(glyph):
                for col, bit in enumerate(bits):
                    if bit == "1":
                        self.fill_rect(x + (index * GLYPH_ADVANCE + col) * scale,
                                       y + row * scale,
                                       x + (index * GLYPH_ADVANCE + col + 1) * scale,
                                       y + (row + 1) * scale, colour)

    def text_centred(self, cx, y, text, colour, scale=1):
        width = (len(text) * GLYPH_ADVANCE - 1) * scale
        self.text(int(round(cx - width / 2)), y, text, colour, scale)

    def bmp_bytes(self):
        """Uncompressed 24-bit BMP, rows bottom-up and padded to four bytes."""
        row_size = (self.width * 3 + 3) & ~3
        image_size = row_size * self.height
        header = struct.pack("<2sIHHI", b"BM", 54 + image_size, 0, 0, 54)
        info = struct.pack("<IiiHHIIiiII", 40, self.width, self.height, 1, 24, 0, image_size,
                           2835, 2835, 0, 0)
        rows = []
        padding = b"\0" * (row_size - self.width * 3)
        for y in range(self.height - 1, -1, -1):
            rows.append(b"".join(struct.pack("BBB", b, g, r) for r, g, b in self.pixels[y]))
            rows.append(padding)
        return header + info + b"".join(rows)

    def png_bytes(self, alpha=None):
        """PNG, 8 bits per channel; alpha is an optional list of rows of 0..255 values."""
        colour_type = 6 if alpha else 2
        raw = []
        for y in range(self.height):
            raw.append(b"\0")
            if alpha:
                raw.append(b"".join(bytes((r, g, b, a))
                                    for (r, g, b), a in zip(self.pixels[y], alpha[y])))
            else:
                raw.append(b"".join(bytes(p) for p in self.pixels[y]))

        def chunk(kind, data):
            body = kind + data
            return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body))

        ihdr = struct.pack(">IIBBBBB", self.width, self.height, 8, colour_type, 0, 0, 0)
        return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", ihdr) +
                chunk(b"IDAT", zlib.compress(b"".join(raw), 9)) + chunk(b"IEND", b""))
