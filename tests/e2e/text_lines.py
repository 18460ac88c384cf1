#!/usr/bin/env python3
"""text_lines.py IMAGE.pgm: how many lines of dark text a captured strip holds.

Reads a binary greyscale PNM (P5, as `convert x.png pgm:-` writes it) and
counts the runs of pixel rows that hold dark pixels, separated by rows that
hold none: a list's header and each of its rows make one run each.
"""
import sys


def read_pgm(path):
    with open(path, "rb") as f:
        data = f.read()
    fields, pos = [], 0
    while len(fields) < 4:
        while data[pos:pos + 1].isspace():
            pos += 1
        if data[pos:pos + 1] == b"#":
            pos = data.index(b"\n", pos) + 1
            continue
        start = pos
        while not data[pos:pos + 1].isspace():
            pos += 1
        fields.append(data[start:pos])
    if fields[0] != b"P5" or int(fields[3]) > 255:
        sys.exit("text_lines: not an 8-bit P5 picture")
    width, height = int(fields[1]), int(fields[2])
    pixels = data[pos + 1:pos + 1 + width * height]
    return width, height, pixels


def main():
    width, height, pixels = read_pgm(sys.argv[1])
    runs, inside = 0, False
    for y in range(height):
        row = pixels[y * width:(y + 1) * width]
        dark = sum(1 for p in row if p < 110) >= 2
        if dark and not inside:
            runs += 1
        inside = dark
    print(runs)


if __name__ == "__main__":
    main()
