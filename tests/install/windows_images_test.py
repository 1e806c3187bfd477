#!/usr/bin/env python3
"""scripts/make-windows-image on drawings whose every pixel is known: each
icon entry and each bitmap, at its own size and at 150 % and 200 %, hold
those pixels where Windows looks for them (rows bottom-up, blue first, alpha
straight), the icon's directory points at its entries, and the .rc names
every resource as the window's backend looks for it.

    windows_images_test.py MAKE_WINDOWS_IMAGE RSVG_CONVERT
"""
import importlib.machinery
import importlib.util
import struct
import subprocess
import sys
import tempfile
from pathlib import Path

script, rsvg_convert = sys.argv[1:]
loader = importlib.machinery.SourceFileLoader("make_windows_image", script)
images = importlib.util.module_from_spec(importlib.util.spec_from_loader(loader.name, loader))
loader.exec_module(images)

# Cells of one unit, (red, green, blue, alpha); None is left undrawn.
QUADRANTS = [[(255, 0, 0, 255), (0, 255, 0, 128)],
             [(0, 0, 255, 255), None]]
STRIP = [[(255, 0, 0, 255), (0, 255, 0, 255), (0, 0, 255, 255), None],
         [(255, 255, 0, 64), None, (255, 255, 255, 255), (0, 0, 0, 128)]]
failed = []


def expect(holds, what):
    if not holds:
        failed.append(what)


def svg(cells):
    width, height = len(cells[0]), len(cells)
    rects = "".join(
        f'<rect x="{x}" y="{y}" width="1" height="1" fill="#{r:02x}{g:02x}{b:02x}" fill-opacity="{a / 255:.4f}"/>'
        for y, row in enumerate(cells) for x, (r, g, b, a) in
        ((x, c) for x, c in enumerate(row) if c))
    return (f'<svg xmlns="http://www.w3.org/2000/svg" width="{width}" height="{height}" '
            f'viewBox="0 0 {width} {height}">{rects}</svg>')


def near(pixel, cell):
    """The pixel is the cell's colour: exact when opaque, within rounding
    when partly transparent, any colour when fully transparent."""
    if cell is None:
        return pixel[3] == 0
    slack = 0 if cell[3] == 255 else 2
    return all(abs(p - c) <= slack for p, c in zip(pixel, cell))


def check_cells(what, cells, pixel_at, left, top, unit):
    """Each cell's middle pixel, the cells drawn `unit` pixels wide from
    (left, top); at 150 % a unit is a pixel and a half."""
    for row, line in enumerate(cells):
        for column, cell in enumerate(line):
            x, y = int(left + (column + 0.5) * unit), int(top + (row + 0.5) * unit)
            pixel = pixel_at(x, y)
            expect(near(pixel, cell), f"{what}: pixel {x},{y} is {pixel}, not {cell}")


def dib_pixel(data, width, height):
    """Reads (red, green, blue, alpha) at x, y (y down) of bottom-up BGRA."""
    def at(x, y):
        i = 4 * ((height - 1 - y) * width + x)
        b, g, r, a = data[i:i + 4]
        return r, g, b, a
    return at


def check_icon(name, cells, icon):
    count = struct.unpack("<HHH", icon[:6])
    expect(count == (0, 1, len(images.ICON_SIZES)), f"{name}.ico: header {count}")
    end = 6 + 16 * len(images.ICON_SIZES)
    for i, size in enumerate(images.ICON_SIZES):
        what = f"{name}.ico {size} px"
        w, h, colours, _, planes, bits, length, offset = struct.unpack("<BBBBHHII", icon[6 + 16 * i:22 + 16 * i])
        expect((w, h, colours, planes, bits) == (size % 256, size % 256, 0, 1, 32), f"{what}: entry {w} {h} {planes} {bits}")
        expect(offset == end, f"{what}: at {offset}, the previous entry ends at {end}")
        end = offset + length
        image = icon[offset:end]
        drawn_width = len(cells[0]) * (size // max(len(cells), len(cells[0])))
        unit = drawn_width // len(cells[0])
        left, top = (size - drawn_width) // 2, (size - unit * len(cells)) // 2
        if size >= images.PNG_FROM:
            if image[:8] != images.PNG_SIGNATURE:
                failed.append(f"{what}: not a PNG")
                continue
            width, height, rows = images.decode_png(image)
            expect((width, height) == (size, size), f"{what}: PNG of {width}x{height}")
            check_cells(what, cells, lambda x, y: tuple(rows[y][4 * x:4 * x + 4]), left, top, unit)
            continue
        header = struct.unpack("<IiiHHI", image[:20])
        expect(header == (40, size, 2 * size, 1, 32, 0), f"{what}: BITMAPINFOHEADER {header}")
        mask_stride = (size + 31) // 32 * 4
        expect(length == 40 + 4 * size * size + mask_stride * size, f"{what}: {length} bytes")
        colour = image[40:40 + 4 * size * size]
        check_cells(what, cells, dib_pixel(colour, size, size), left, top, unit)
        mask = image[40 + 4 * size * size:]
        for y in (0, top + unit // 2, size - 1):
            for x in (0, left + unit // 2, size - 1):
                transparent = dib_pixel(colour, size, size)(x, y)[3] == 0
                bit = mask[(size - 1 - y) * mask_stride + x // 8] >> (7 - x % 8) & 1
                expect(bit == transparent, f"{what}: mask bit {bit} at {x},{y}")
    expect(end == len(icon), f"{name}.ico: {len(icon)} bytes, its entries end at {end}")


def check_bitmap(name, cells, bitmap, dpi=96):
    # The drawings are whole cells at 150 % too: 2 and 4 cells wide, 2 high.
    width, height = len(cells[0]) * dpi // 96, len(cells) * dpi // 96
    what = f"{name}.bmp at {dpi} dpi"
    magic, size, _, _, offset = struct.unpack("<2sIHHI", bitmap[:14])
    expect((magic, size, offset) == (b"BM", len(bitmap), 54), f"{what}: file header {magic} {size} {offset}")
    header = struct.unpack("<IiiHHII", bitmap[14:38])
    if header != (40, width, height, 1, 32, 0, 4 * width * height):
        failed.append(f"{what}: BITMAPINFOHEADER {header}")
        return
    check_cells(what, cells, dib_pixel(bitmap[54:], width, height), 0, 0, dpi / 96)


with tempfile.TemporaryDirectory() as folder:
    folder = Path(folder)
    drawings = {"7": ("quadrants", QUADRANTS), "65535": ("strip", STRIP)}
    arguments = []
    for id, (name, cells) in drawings.items():
        (folder / f"{name}.svg").write_text(svg(cells))
        arguments += [id, str(folder / f"{name}.svg")]
    rc = folder / "out" / "images.rc"
    subprocess.run([sys.executable, script, rsvg_convert, str(rc)] + arguments, check=True)
    statements = [line for line in rc.read_text().splitlines() if not line.startswith("//")]
    for id, (name, cells) in drawings.items():
        for kind, suffix, check in (("ICON", "ico", check_icon), ("BITMAP", "bmp", check_bitmap)):
            file = rc.parent / f"{id}.{suffix}"
            expect(f'{id} {kind} "{file.resolve().as_posix()}"' in statements, f"images.rc lacks {id} {kind}: {statements}")
            check(name, cells, file.read_bytes())
        # The names the backend loads a scale's drawing by.
        for dpi in (144, 192):
            file = rc.parent / f"{id}-{dpi}dpi.bmp"
            expect(f'IMAGE{id}_{dpi} BITMAP "{file.resolve().as_posix()}"' in statements,
                   f"images.rc lacks IMAGE{id}_{dpi}: {statements}")
            check_bitmap(name, cells, file.read_bytes(), dpi)

    # A resource id is a number Windows can hold in 16 bits.
    for bad in ("0", "65536", "logo"):
        result = subprocess.run([sys.executable, script, rsvg_convert, str(rc), bad, arguments[1]],
                                stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        expect(result.returncode != 0, f"resource id {bad} is taken")

for what in failed:
    print("FAILED:", what)
sys.exit(1 if failed else 0)
