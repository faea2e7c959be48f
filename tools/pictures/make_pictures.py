#!/usr/bin/env python3
"""Draws the library's bitmaps and icons with ImageMagick and writes them as
uncompressed device-independent bitmaps with the 40-byte header.

Usage: tools/pictures/make_pictures.py [output folder]
(default src/resources/pictures). Needs /usr/bin/convert (Debian package
imagemagick) and the DejaVu fonts (fonts-dejavu-core). The outputs are
committed; run this only to change a picture.

ImageMagick draws each picture as a 24-bit BMP3; this script then writes it
with an exact colour table (8 or 4 bits per pixel) so that the magenta
background (255, 0, 255) that the transparent drawing leaves out survives
unchanged, and packs the icons itself.
"""

import os
import struct
import subprocess
import sys
import tempfile

CONVERT = "/usr/bin/convert"
FONT = "DejaVu-Sans-Bold"
FONT_PLAIN = "DejaVu-Sans"
MAGENTA = (255, 0, 255)


def run(args):
    subprocess.run([CONVERT] + args, check=True)


def read_bmp24(path):
    """Pixels of an uncompressed 24- or 32-bit BMP as rows of (r, g, b), top row first."""
    data = open(path, "rb").read()
    offset = struct.unpack_from("<I", data, 10)[0]
    header, width, height, _, bits, compression = struct.unpack_from("<IiiHHI", data, 14)
    if bits not in (24, 32) or compression not in (0, 3):
        raise SystemExit(f"{path}: expected a 24-bit BMP3, got {bits} bits")
    step = bits // 8
    stride = (width * step + 3) & ~3
    rows = []
    for y in range(abs(height)):
        start = offset + y * stride
        row = [(data[start + x * step + 2], data[start + x * step + 1], data[start + x * step])
               for x in range(width)]
        rows.append(row)
    if height > 0:
        rows.reverse()
    return width, abs(height), rows


def write_dib(path, width, height, rows, bits, colours):
    """Writes a palette BMP of `bits` bits with exactly `colours` table entries."""
    palette = []
    index = {}
    for row in rows:
        for p in row:
            if p not in index:
                index[p] = len(palette)
                palette.append(p)
    if len(palette) > colours:
        raise SystemExit(f"{path}: {len(palette)} colours, at most {colours} allowed")
    palette += [(0, 0, 0)] * (colours - len(palette))
    stride = ((width * bits + 31) // 32) * 4
    pixels = bytearray()
    for row in reversed(rows):  # bottom-up
        line = bytearray(stride)
        for x, p in enumerate(row):
            i = index[p]
            if bits == 8:
                line[x] = i
            else:
                line[x // 2] |= i << (4 if x % 2 == 0 else 0)
        pixels += line
    table = b"".join(struct.pack("<BBBB", b, g, r, 0) for (r, g, b) in palette)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, 0, len(pixels), 2835, 2835,
                       colours, 0)
    offset = 14 + len(info) + len(table)
    head = struct.pack("<2sIHHI", b"BM", offset + len(pixels), 0, 0, offset)
    with open(path, "wb") as f:
        f.write(head + info + table + pixels)


def icon_entry(width, height, rows, transparent):
    """A 4-bit icon image: 40-byte header, 16-entry table, colour and mask rows."""
    # Entry 0 is black: transparent pixels carry it, so that the screen shows
    # through unchanged where the mask lets it.
    palette = [(0, 0, 0)]
    index = {(0, 0, 0): 0}
    for row in rows:
        for p in row:
            if p != transparent and p not in index:
                index[p] = len(palette)
                palette.append(p)
    if len(palette) > 16:
        raise SystemExit(f"icon with {len(palette)} colours")
    palette += [(0, 0, 0)] * (16 - len(palette))
    xor = bytearray()
    mask = bytearray()
    mask_stride = ((width + 31) // 32) * 4
    for row in reversed(rows):
        line = bytearray(((width * 4 + 31) // 32) * 4)
        bits = bytearray(mask_stride)
        for x, p in enumerate(row):
            if p == transparent:
                bits[x // 8] |= 0x80 >> (x % 8)
                continue
            line[x // 2] |= index[p] << (4 if x % 2 == 0 else 0)
        xor += line
        mask += bits
    table = b"".join(struct.pack("<BBBB", b, g, r, 0) for (r, g, b) in palette)
    info = struct.pack("<IiiHHIIiiII", 40, width, height * 2, 1, 4, 0, len(xor) + len(mask), 0,
                       0, 16, 0)
    return info + table + xor + mask


def write_icon(path, images):
    """images: list of (width, height, rows); magenta is transparent."""
    entries = [icon_entry(w, h, rows, MAGENTA) for (w, h, rows) in images]
    out = struct.pack("<HHH", 0, 1, len(entries))
    offset = 6 + 16 * len(entries)
    for (w, h, _), data in zip(images, entries):
        out += struct.pack("<BBBBHHII", w % 256, h % 256, 16, 0, 1, 4, len(data), offset)
        offset += len(data)
    with open(path, "wb") as f:
        f.write(out + b"".join(entries))


# ---------------------------------------------------------------- drawings


def country_road(out):
    """A photograph of a country road: sky, hills, fields, trees, a road in perspective."""
    trees = []
    for x, y, r in [(22, 88, 16), (48, 80, 10), (66, 75, 6), (168, 90, 18), (140, 80, 10),
                    (124, 75, 6), (110, 72, 4), (80, 72, 4)]:
        trees += ["-fill", "#5b3a1e", "-draw", f"rectangle {x-1},{y} {x+1},{y+r}",
                  "-fill", "#2f6b2a", "-draw", f"circle {x},{y-r//3} {x+r},{y-r//3}",
                  "-fill", "#3f8a35", "-draw", f"circle {x-r//4},{y-r//2} {x+r//3},{y-r//2}"]
    run(["-size", "190x155", "gradient:#4a86c8-#dcefff",
         "-fill", "#fff6c0", "-draw", "circle 150,24 160,24",
         "-fill", "#ffffffd0", "-draw", "ellipse 45,22 22,7 0,360",
         "-draw", "ellipse 62,27 18,6 0,360", "-draw", "ellipse 110,14 14,4 0,360",
         "-fill", "#7a9e6a", "-draw", "polygon 0,70 30,58 70,64 100,55 140,62 190,56 190,75 0,75",
         "-fill", "#5e8f3e", "-draw", "polygon 0,72 190,72 190,155 0,155",
         "-fill", "#8fb84a", "-draw", "polygon 0,80 93,72 0,105",
         "-fill", "#c9b458", "-draw", "polygon 190,82 97,72 190,110",
         "-fill", "#6fa33f", "-draw", "polygon 0,125 93,72 0,155",
         "-fill", "#a7c45a", "-draw", "polygon 190,132 97,72 190,155",
         "-fill", "#6b6b6b", "-draw", "polygon 30,155 92,72 98,72 165,155",
         "-fill", "#808080", "-draw", "polygon 40,155 93,72 97,72 150,155",
         "-fill", "#f4f0d8", "-draw", "polygon 94,76 96,76 96.5,84 93.5,84",
         "-draw", "polygon 93,92 97,92 98,106 92,106",
         "-draw", "polygon 91,118 99,118 101,140 89,140",
         *trees,
         "-seed", "9500", "-attenuate", "0.35", "+noise", "Gaussian", "-blur", "0x0.4",
         "-dither", "FloydSteinberg", "-colors", "240", "-type", "TrueColor", "BMP3:" + out])


def grey_of(src, out):
    run([src, "-colorspace", "Gray", "-type", "TrueColor", "BMP3:" + out])


def logo(out):
    """The maker's logo: ZED in dark blue with a red bar, on magenta."""
    run(["-size", "140x32", "xc:#ff00ff", "+antialias",
         "-fill", "#c8102e", "-draw", "polygon 4,26 40,6 46,6 10,26",
         "-fill", "#0b2d6b", "-font", FONT, "-pointsize", "26",
         "-annotate", "+48+27", "ZED",
         "-fill", "#c8102e", "-draw", "rectangle 104,22 134,25",
         "-type", "TrueColor", "BMP3:" + out])


def quality_base(out):
    """A sheet with text, fine lines and a colour wheel, drawn at full detail."""
    lines = []
    for i in range(8):
        y = 70 + i * 5
        lines += ["-draw", f"line 14,{y} {14 + 60 - (i % 3) * 10},{y}"]
    run(["-size", "180x117", "xc:#e8e8e8",
         "-fill", "white", "-stroke", "#b0b0b0", "-draw", "rectangle 6,4 173,112",
         "-stroke", "none", "-fill", "#203060", "-font", FONT, "-pointsize", "30",
         "-annotate", "+14+40", "Aa",
         "-font", FONT_PLAIN, "-pointsize", "9", "-annotate", "+16+56", "Zed 9500",
         "-stroke", "#404040", *lines, "-stroke", "none",
         "-fill", "#e03030", "-draw", "path 'M 130,58 L 130,22 A 36,36 0 0,1 161,40 Z'",
         "-fill", "#f0c020", "-draw", "path 'M 130,58 L 161,40 A 36,36 0 0,1 161,76 Z'",
         "-fill", "#30a040", "-draw", "path 'M 130,58 L 161,76 A 36,36 0 0,1 130,94 Z'",
         "-fill", "#20a0d0", "-draw", "path 'M 130,58 L 130,94 A 36,36 0 0,1 99,76 Z'",
         "-fill", "#3050c0", "-draw", "path 'M 130,58 L 99,76 A 36,36 0 0,1 99,40 Z'",
         "-fill", "#a040b0", "-draw", "path 'M 130,58 L 99,40 A 36,36 0 0,1 130,22 Z'",
         "-fill", "white", "-draw", "circle 130,58 130,48",
         "-type", "TrueColor", "BMP3:" + out])


def quality(base, out, factor):
    """The same sheet printed at a lower resolution: pixels `factor` times coarser."""
    args = [base]
    if factor > 1:
        args += ["-filter", "Box", "-resize", f"{100 // factor}%", "-filter", "Point",
                 "-resize", "180x117!"]
    run(args + ["-dither", "None", "-colors", "250", "-type", "TrueColor", "BMP3:" + out])


def about(out):
    """The About picture: the printer with a printed colour page."""
    run(["-size", "156x80", "gradient:#ffffff-#c9d6ea",
         "-fill", "#d8d8d8", "-stroke", "#707070", "-draw", "roundrectangle 20,30 120,70 6,6",
         "-fill", "#b8b8b8", "-draw", "rectangle 30,20 110,32",
         "-fill", "#ffffff", "-draw", "polygon 40,6 100,6 102,26 38,26",
         "-stroke", "none", "-fill", "#e03030", "-draw", "rectangle 46,10 58,20",
         "-fill", "#30a040", "-draw", "rectangle 62,10 74,20",
         "-fill", "#3050c0", "-draw", "rectangle 78,10 90,20",
         "-fill", "#303030", "-draw", "rectangle 30,50 110,54",
         "-fill", "#40c040", "-draw", "circle 108,40 110,40",
         "-fill", "#0b2d6b", "-font", FONT, "-pointsize", "13", "-annotate", "+124+70", "ZED",
         "-dither", "None", "-colors", "200", "-type", "TrueColor", "BMP3:" + out])


def page(x, y, w, h, fill="white", stroke="#404040"):
    return ["-fill", fill, "-stroke", stroke, "-draw", f"rectangle {x},{y} {x+w},{y+h}",
            "-stroke", "none"]


def pie(cx, cy, r, grey=False):
    c = ["#e03030", "#30a040", "#3050c0"] if not grey else ["#505050", "#909090", "#c0c0c0"]
    return ["-fill", c[0], "-draw", f"path 'M {cx},{cy} L {cx},{cy-r} A {r},{r} 0 0,1 {cx+r},{cy} Z'",
            "-fill", c[1], "-draw", f"path 'M {cx},{cy} L {cx+r},{cy} A {r},{r} 0 0,1 {cx-r},{cy} Z'",
            "-fill", c[2], "-draw", f"path 'M {cx},{cy} L {cx-r},{cy} A {r},{r} 0 0,1 {cx},{cy-r} Z'"]


def photo_page(x, y, grey=False):
    sky, hill, sun = ("#5090e0", "#40a040", "#f0d020") if not grey else ("#909090", "#606060",
                                                                        "#d0d0d0")
    return page(x, y, 20, 24) + [
        "-fill", sky, "-draw", f"rectangle {x+2},{y+2} {x+18},{y+14}",
        "-fill", hill, "-draw", f"polygon {x+2},{y+14} {x+9},{y+8} {x+18},{y+14}",
        "-fill", sun, "-draw", f"circle {x+14},{y+5} {x+16},{y+5}"]


def document_page(x, y, grey=False):
    return page(x, y, 22, 28) + pie(x + 11, y + 10, 6, grey) + [
        "-fill", "#606060", "-draw", f"rectangle {x+3},{y+19} {x+19},{y+20}",
        "-draw", f"rectangle {x+3},{y+23} {x+15},{y+24}"]


def magnifier(cx, cy):
    return ["-stroke", "#303030", "-strokewidth", "3",
            "-draw", f"line {cx+7},{cy+7} {cx+13},{cy+13}", "-strokewidth", "2",
            "-fill", "none", "-draw", f"circle {cx},{cy} {cx+9},{cy}",
            "-stroke", "none", "-strokewidth", "1"]


def colour_mode(out, kind):
    """48 x 44 colour-mode pictures on magenta."""
    grey = kind == "grey"
    draw = document_page(22, 2, grey) + photo_page(4, 16, grey)
    if kind == "office":
        draw += magnifier(32, 14)
    elif kind == "photo":
        draw = page(10, 4, 26, 34)
        colours = ["#e03030", "#f0c020", "#30a040", "#20a0d0", "#3050c0", "#a040b0",
                   "#ff8080", "#80c080", "#8080ff"]
        for i, c in enumerate(colours):
            x, y = 13 + (i % 3) * 7, 7 + (i // 3) * 7
            draw += ["-fill", c, "-draw", f"rectangle {x},{y} {x+5},{y+5}"]
        draw += magnifier(32, 26)
    elif kind == "none":
        draw += ["-stroke", "#d00000", "-strokewidth", "3", "-draw", "line 6,6 42,40",
                 "-draw", "line 42,6 6,40", "-stroke", "none", "-strokewidth", "1"]
    run(["-size", "48x44", "xc:#ff00ff", "+antialias", *draw,
         "-type", "TrueColor", "BMP3:" + out])


def arrow(out, width, height, direction):
    """A blue arrow on magenta, pointing right or down."""
    if direction == "right":
        mid = height // 2
        shaft = max(3, height // 6)
        head = min(width // 2, height // 2 + 4)
        poly = (f"polygon 2,{mid-shaft} {width-head},{mid-shaft} {width-head},3 {width-2},{mid} "
                f"{width-head},{height-4} {width-head},{mid+shaft} 2,{mid+shaft}")
    else:
        mid = width // 2
        shaft = max(3, width // 6)
        head = height // 2 + 4
        poly = (f"polygon {mid-shaft},2 {mid+shaft},2 {mid+shaft},{height-head} {width-4},"
                f"{height-head} {mid},{height-2} 3,{height-head} {mid-shaft},{height-head}")
    run(["-size", f"{width}x{height}", "xc:#ff00ff", "+antialias",
         "-fill", "#1f4fbf", "-stroke", "#0a2a80", "-draw", poly,
         "-type", "TrueColor", "BMP3:" + out])


def print_icon(out, mirror, negative):
    """32 x 32 preview of mirrored and/or negative output: a page with an R."""
    paper, ink = ("black", "white") if negative else ("white", "black")
    args = ["-size", "32x32", "xc:#ff00ff", "+antialias",
            "-fill", paper, "-stroke", "#808080", "-draw", "rectangle 6,2 25,29",
            "-stroke", "none", "-fill", ink, "-font", FONT, "-pointsize", "20",
            "-annotate", "+9+23", "R",
            "-fill", "#c00000" if not negative else "#40ffff",
            "-draw", "rectangle 9,25 22,26"]
    if mirror:
        args += ["-flop"]
    run(args + ["-type", "TrueColor", "BMP3:" + out])


def main():
    dest = sys.argv[1] if len(sys.argv) > 1 else os.path.join(
        os.path.dirname(__file__), "..", "..", "src", "resources", "pictures")
    os.makedirs(dest, exist_ok=True)
    with tempfile.TemporaryDirectory() as tmp:
        t = lambda name: os.path.join(tmp, name + ".bmp")

        def save(name, src, bits, colours):
            w, h, rows = read_bmp24(src)
            write_dib(os.path.join(dest, name + ".bmp"), w, h, rows, bits, colours)

        country_road(t("road"))
        save("office_photo", t("road"), 8, 256)
        grey_of(t("road"), t("road_grey"))
        save("office_photo_gray", t("road_grey"), 8, 256)
        logo(t("logo"))
        save("link_logo", t("logo"), 4, 16)
        quality_base(t("quality_base"))
        for n, factor in enumerate((1, 2, 4)):
            quality(t("quality_base"), t(f"quality{n}"), factor)
            save(f"quality_{n}", t(f"quality{n}"), 8, 256)
        about(t("about"))
        save("about", t("about"), 8, 256)
        for name, kind in (("color_auto", "auto"), ("color_office", "office"),
                           ("color_photo", "photo"), ("color_no_matching", "none"),
                           ("color_grayscale", "grey")):
            colour_mode(t(name), kind)
            save(name, t(name), 8, 256)
        arrow(t("arrow_right"), 34, 34, "right")
        save("arrow_right", t("arrow_right"), 4, 16)
        arrow(t("arrow_down"), 34, 34, "down")
        save("arrow_down", t("arrow_down"), 4, 16)
        arrow(t("arrow_long"), 212, 32, "right")
        save("arrow_long", t("arrow_long"), 4, 16)
        for name, mirror, negative in (("print_normal", False, False),
                                       ("print_mirror", True, False),
                                       ("print_negative", False, True),
                                       ("print_mirror_negative", True, True)):
            print_icon(t(name), mirror, negative)
            write_icon(os.path.join(dest, name + ".ico"), [read_bmp24(t(name))])


if __name__ == "__main__":
    main()
