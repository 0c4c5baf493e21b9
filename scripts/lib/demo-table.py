#!/usr/bin/env python3
"""demo-table.py LAYOUT.reg BEFORE SCRAMBLED RESTORED: prints the demo's table
of icon positions (saved in the registry, scrambled, restored) in UTF-8 and
exits 1 when an icon is not back at its saved place.

The three icon files hold the test shell's "item I X Y CAPTION" lines, the
caption escaped as \\xHH bytes of Windows-1252. The layout is a "reg export"
of the layout key: one hex:... value (x, y as signed 32-bit little-endian)
per icon, named by its caption."""
import re
import struct
import sys


def caption_text(escaped):
    raw = re.sub(rb"\\x([0-9A-Fa-f]{2})", lambda m: bytes([int(m.group(1), 16)]), escaped.encode("ascii"))
    return raw.decode("cp1252", errors="replace")


def read_items(path):
    items = []
    with open(path, encoding="ascii") as lines:
        for line in lines:
            words = line.rstrip("\r\n").split(" ", 4)
            if len(words) == 5 and words[0] == "item":
                items.append((caption_text(words[4]), int(words[2]), int(words[3])))
    return items


def read_layout(path):
    with open(path, "rb") as stream:
        data = stream.read()
    text = data.decode("utf-16") if data[:2] == b"\xff\xfe" else data.decode("cp1252")
    text = re.sub(r"\\\r?\n\s*", "", text)
    layout = {}
    for line in text.splitlines():
        match = re.match(r'^"((?:[^"\\]|\\.)*)"=hex:([0-9a-fA-F,]*)$', line)
        if not match:
            continue
        name = re.sub(r"\\(.)", r"\1", match.group(1))
        value = bytes(int(byte, 16) for byte in match.group(2).split(",") if byte)
        if len(value) == 8:
            layout[name] = struct.unpack("<ii", value)
    return layout


def main():
    sys.stdout.reconfigure(encoding="utf-8")
    layout = read_layout(sys.argv[1])
    before, scrambled, restored = (read_items(path) for path in sys.argv[2:5])
    width = max([len("caption")] + [len(caption) for caption, _, _ in before])
    header = f"  {'#':>2}  {'caption':<{width}}  {'saved':>11}  {'scrambled':>11}  {'restored':>11}"
    print(header)
    print("  " + "-" * (len(header) - 2))
    misplaced = 0
    for index, (caption, x, y) in enumerate(before):
        saved = layout.get(caption)
        moved = scrambled[index] if index < len(scrambled) else None
        back = restored[index] if index < len(restored) else None
        in_place = saved == (x, y) and back is not None and back[0] == caption and (back[1], back[2]) == saved
        misplaced += 0 if in_place else 1
        cell = lambda position: f"{position[0]:>5},{position[1]:>5}" if position else f"{'-':>11}"
        print(f"  {index:>2}  {caption:<{width}}  {cell(saved)}  {cell(moved[1:] if moved else None)}  "
              f"{cell(back[1:] if back else None)}  {'ok' if in_place else 'NOT BACK'}")
    print(f"  {len(before) - misplaced} of {len(before)} icons back in place; {len(layout)} values in the layout")
    return 0 if misplaced == 0 and before else 1


if __name__ == "__main__":
    sys.exit(main())
