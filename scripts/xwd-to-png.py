#!/usr/bin/env python3
"""Turns an X window dump (xwd, 24/32 bits per pixel) on stdin into a PNG on stdout.

With --require R,G,B (repeatable) it writes nothing and exits with 1 unless every given colour is
somewhere in the picture, so that a script can wait until something has been drawn.
"""
import argparse
import struct
import sys
import zlib


def read_xwd(data):
    fields = struct.unpack(">25I", data[:100])
    header_size, width, height = fields[0], fields[4], fields[5]
    byte_order, bits_per_pixel, bytes_per_line, ncolors = fields[7], fields[11], fields[12], fields[19]
    if bits_per_pixel not in (24, 32):
        sys.exit("only 24- and 32-bit dumps are read, not %d-bit" % bits_per_pixel)
    step = bits_per_pixel // 8
    start = header_size + ncolors * 12
    # Little-endian pixels are stored blue, green, red; big-endian ones the other way round.
    order = (2, 1, 0) if byte_order == 0 else (step - 3, step - 2, step - 1)
    rows = []
    for y in range(height):
        line = data[start + y * bytes_per_line:start + y * bytes_per_line + width * step]
        row = bytearray(width * 3)
        for channel, offset in enumerate(order):
            row[channel::3] = line[offset::step]
        rows.append(bytes(row))
    return width, height, rows


def png(width, height, rows):
    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))
    raw = b"".join(b"\0" + row for row in rows)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, 8, 2, 0, 0, 0))
            + chunk(b"IDAT", zlib.compress(raw, 9)) + chunk(b"IEND", b""))


def holds(rows, colour):
    pixel = bytes(colour)
    for row in rows:
        at = row.find(pixel)
        while at >= 0:
            if at % 3 == 0:
                return True
            at = row.find(pixel, at + 1)
    return False


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--require", action="append", default=[], metavar="R,G,B")
    args = parser.parse_args()
    width, height, rows = read_xwd(sys.stdin.buffer.read())
    for text in args.require:
        if not holds(rows, [int(part) for part in text.split(",")]):
            return 1
    if not args.require:
        sys.stdout.buffer.write(png(width, height, rows))
    return 0


if __name__ == "__main__":
    sys.exit(main())
