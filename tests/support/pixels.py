#!/usr/bin/env python3
"""Reads the clock's view out of an X screen dump (xwd) and checks it.

Standard library only. The reference scenes come in as raw RGB bytes
(convert scene.png rgb:-), 160 x 120.

  pixels.py same  SHOT X Y SCENE.rgb             view equals the scene
  pixels.py stars SHOT X Y SCENE.rgb             star count in the sky; the rest equals the scene
                                                 (both exit 2 when only the sky differs, as
                                                 where a visitor crosses it, 1 otherwise)
  pixels.py cloud SHOT X Y SCENE.rgb             count of cloud greys that are not the scene's
  pixels.py painted SHOT X Y [W H]               the window at X Y (W x H) shows its pink corners
  pixels.py mixed SHOT X Y W H                   how many rows of the box hold more than one colour
"""

import struct
import sys

WIDTH, HEIGHT = 160, 120
STAR = (255, 255, 224)
# The band stars may fall in: columns 3-156, rows 3-56.
STAR_COLUMNS = range(3, 157)
STAR_ROWS = range(3, 57)
SKY_ROWS = 80
PINK = (255, 176, 216)
CLIENT_WIDTH, CLIENT_HEIGHT = 169, 172


def read_xwd(path):
    """Returns (width, height, pixel(x, y) -> (r, g, b)) for a ZPixmap dump."""
    with open(path, "rb") as f:
        data = f.read()
    (header_size, _version, pixmap_format, _depth, width, height, _xoffset,
     byte_order, _unit, _bit_order, _pad, bits_per_pixel, bytes_per_line,
     _visual_class, red_mask, green_mask, blue_mask, _bits_per_rgb,
     _map_entries, ncolors, _ww, _wh, _wx, _wy, _wbw) = struct.unpack(">25I", data[:100])
    if pixmap_format != 2 or bits_per_pixel not in (24, 32):
        sys.exit(f"pixels.py: unsupported dump (format {pixmap_format}, {bits_per_pixel} bpp)")
    start = header_size + ncolors * 12
    step = bits_per_pixel // 8
    endian = "little" if byte_order == 0 else "big"

    def shift(mask):
        return (mask & -mask).bit_length() - 1

    shifts = [(m, shift(m)) for m in (red_mask, green_mask, blue_mask)]

    def pixel(x, y):
        at = start + y * bytes_per_line + x * step
        value = int.from_bytes(data[at:at + step], endian)
        return tuple((value & m) >> s for m, s in shifts)

    return width, height, pixel


def view(shot, left, top):
    width, height, pixel = read_xwd(shot)
    if left < 0 or top < 0 or left + WIDTH > width or top + HEIGHT > height:
        sys.exit(f"pixels.py: view at ({left}, {top}) is not on the {width}x{height} screen")
    return [[pixel(left + x, top + y) for x in range(WIDTH)] for y in range(HEIGHT)]


def read_scene(path):
    with open(path, "rb") as f:
        raw = f.read()
    if len(raw) != WIDTH * HEIGHT * 3:
        sys.exit(f"pixels.py: {path} is not a 160x120 RGB picture")
    return [[tuple(raw[(y * WIDTH + x) * 3:(y * WIDTH + x) * 3 + 3]) for x in range(WIDTH)]
            for y in range(HEIGHT)]


def differences(shown, scene):
    return [(x, y, shown[y][x], scene[y][x]) for y in range(HEIGHT) for x in range(WIDTH)
            if shown[y][x] != scene[y][x]]


def painted(shot, left, top, client_width=CLIENT_WIDTH, client_height=CLIENT_HEIGHT):
    width, height, pixel = read_xwd(shot)
    if left < 0 or top < 0 or left + client_width > width or top + client_height > height:
        return 1
    corners = [pixel(left, top), pixel(left + client_width - 1, top + client_height - 1)]
    return 0 if all(c == PINK for c in corners) else 1


def mixed_rows(shot, left, top, w, h):
    _width, _height, pixel = read_xwd(shot)
    print(sum(1 for y in range(top, top + h)
              if len({pixel(x, y) for x in range(left, left + w)}) > 1))
    return 0


def main(argv):
    if len(argv) in (5, 7) and argv[1] == "painted":
        return painted(argv[2], *(int(a) for a in argv[3:]))
    if len(argv) == 7 and argv[1] == "mixed":
        return mixed_rows(argv[2], *(int(a) for a in argv[3:7]))
    if len(argv) != 6:
        sys.exit(__doc__)
    command, shot, left, top, scene_path = argv[1], argv[2], int(argv[3]), int(argv[4]), argv[5]
    shown = view(shot, left, top)
    scene = read_scene(scene_path)
    diff = differences(shown, scene)
    # Visitors fly in the sky only: a ground that differs is no visitor.
    failed = 2 if all(y < SKY_ROWS for _, y, _, _ in diff) else 1

    if command == "same":
        if diff:
            x, y, got, want = diff[0]
            print(f"{len(diff)} pixels differ from the scene; first at ({x}, {y}): "
                  f"{got} instead of {want}")
            return failed
        return 0

    if command == "stars":
        stars = 0
        for x, y, got, want in diff:
            if got != STAR:
                print(f"pixel ({x}, {y}) is {got}, neither the scene's {want} nor a star")
                return failed
            if x not in STAR_COLUMNS or y not in STAR_ROWS:
                print(f"star at ({x}, {y}) lies outside its band")
                return failed
            stars += 1
        print(stars)
        return 0

    if command == "cloud":
        print(sum(1 for x, y, got, _ in diff
                  if y < SKY_ROWS and got[0] == got[1] == got[2] and 226 <= got[0] <= 237))
        return 0

    sys.exit(__doc__)


if __name__ == "__main__":
    sys.exit(main(sys.argv))
