#!/usr/bin/env python3
"""Draws Deskplan's icon: a small desktop with icons lined up on a grid.

The 16-pixel drawing below is the source; the 32- and 48-pixel images are
that drawing scaled by 2 and 3 without smoothing, so every size stays sharp.
Every colour is one of the 16 standard Windows colours, so the 16- and
256-colour images show exactly what the true-colour one shows.

Writes, beside this script:
  deskplan.ico    "MAINICON": 48, 32 and 16 pixels, each as 32-bit colour
                  with alpha, 256 colours and 16 colours
  deskplan9x.ico  "MAINICON9X": one 16-pixel image in 16 colours
Needs python3, ImageMagick (convert) and icoutils (icotool).
Run: python3 deskplan/res/make_icons.py
"""
import os
import subprocess
import tempfile

DRAWING = [
    "................",
    "KKKKKKKKKKKKKKKK",
    "KTTTTTTTTTTTTTTK",
    "KTYYYTBBBTRRRTTK",
    "KTYYYTBBBTRRRTTK",
    "KTwwwTwwwTwwwTTK",
    "KTTTTTTTTTTTTTTK",
    "KTWWWTYYYTTTTTTK",
    "KTWWWTYYYTTTTTTK",
    "KTwwwTwwwTTTTTTK",
    "KTTTTTTTTTTTTTTK",
    "KTTTTTTTTTTTTTTK",
    "KKKKKKKKKKKKKKKK",
    "......GGGG......",
    "....GGGGGGGG....",
    "................",
]

COLOURS = {
    "K": (0x00, 0x00, 0x00),  # screen frame
    "T": (0x00, 0x80, 0x80),  # desktop
    "Y": (0xFF, 0xFF, 0x00),  # folder icons
    "B": (0x00, 0x00, 0xFF),  # an application icon
    "R": (0xFF, 0x00, 0x00),  # another one
    "W": (0xC0, 0xC0, 0xC0),  # a document icon
    "w": (0xFF, 0xFF, 0xFF),  # icon captions
    "G": (0x80, 0x80, 0x80),  # stand
}


def write_pam(path, scale):
    size = 16 * scale
    rows = []
    for line in DRAWING:
        row = bytearray()
        for mark in line:
            pixel = bytes(COLOURS[mark]) + b"\xff" if mark in COLOURS else b"\x00\x00\x00\x00"
            row += pixel * scale
        rows.append(bytes(row) * scale)
    header = f"P7\nWIDTH {size}\nHEIGHT {size}\nDEPTH 4\nMAXVAL 255\nTUPLTYPE RGB_ALPHA\nENDHDR\n"
    with open(path, "wb") as out:
        out.write(header.encode("ascii") + b"".join(rows))


def run(*command):
    subprocess.run(command, check=True)


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    with tempfile.TemporaryDirectory() as work:
        images = {}
        for scale in (3, 2, 1):
            size = 16 * scale
            pam = os.path.join(work, f"icon{size}.pam")
            write_pam(pam, scale)
            for depth in (32, 8, 4):
                png = os.path.join(work, f"icon{size}_{depth}.png")
                if depth == 32:
                    run("convert", pam, "-strip", "PNG32:" + png)
                else:
                    # Nine colours with transparency: an exact palette image,
                    # which icotool stores at the depth asked for.
                    run("convert", pam, "-strip", "PNG8:" + png)
                images[(size, depth)] = png
        main_icon = []
        for depth in (32, 8, 4):
            for size in (48, 32, 16):
                main_icon += ["-b", str(depth), images[(size, depth)]]
        run("icotool", "-c", "-o", os.path.join(here, "deskplan.ico"), *main_icon)
        run("icotool", "-c", "-o", os.path.join(here, "deskplan9x.ico"), "-b", "4", images[(16, 4)])


if __name__ == "__main__":
    main()
