#!/usr/bin/env python3
"""Writes the sample setup anlage.set: a text display of variant 4 (six lines per text
page) with the table switch on. Every value fits its field in the display's commands.
Run from this folder; the result is committed, so this is only needed to change it."""
import random
import struct

SIZE = 1315
rec = bytearray(SIZE)
rnd = random.Random(4711)


def byte(at, value):
    rec[at] = value


def word(at, value, signed=False):
    rec[at:at + 2] = struct.pack("<h" if signed else "<H", value)


# "@TB" fields 1 to 4, byte 1 is the display variant.
for at, value in ((0, 1), (1, 4), (2, 0), (3, 2)):
    byte(at, value)
# "@TD": 24 digits.
for i in range(24):
    byte(4 + i, rnd.randint(0, 1))
# "@TB" fields 5 to 16 (field 6 is sent minus 1, field 8 minus 7).
for at, value in ((28, 1), (29, 2), (30, 0), (31, 8), (32, 1), (33, 0), (34, 15),
                  (35, 3), (36, 1), (37, 30), (38, 45)):
    byte(at, value)
word(39, 1200, signed=True)
# "@TC" 09 to 16.
for i, value in enumerate((10, 20, 5, 120, 255, 0, 64, 7)):
    byte(41 + i, value)
# "@TE": 64 signed words.
for i in range(64):
    word(49 + 2 * i, (i // 8) * 100 + (i % 8) * 10 - (50 if i % 5 == 0 else 0), signed=True)
# The four tables, 5 bytes an entry: flags, value, number, one unused byte.
for start, count in ((177, 49), (422, 49), (667, 27), (822, 31)):
    for n in range(count):
        at = start + 5 * n
        byte(at, rnd.randint(0, 15))
        byte(at + 1, rnd.randint(0, 99))
        word(at + 2, rnd.randint(0, 9999))
# "@TL" fields 1 to 9 and 11 to 28 (bytes 991 to 999 are never read).
word(977, 250, signed=True)
word(979, 9600)
byte(981, 1)
byte(982, 0)
byte(983, 2)
word(984, 30, signed=True)
byte(986, 1)
word(987, 600, signed=True)
word(989, 3, signed=True)
word(1000, 12000)
word(1002, 34000)
for at, value in ((1004, 1), (1005, 2), (1006, 0), (1007, 1)):
    byte(at, value)
for g, (a, b, c) in enumerate(((100, 200, 10), (300, 400, 20), (500, 600, 30), (700, 800, 40))):
    word(1008 + 5 * g, a)
    word(1010 + 5 * g, b)
    byte(1012 + 5 * g, c)
# "@TN": ten digits and a number; not all zero, so the tables are sent.
for i, value in enumerate((1, 0, 1, 1, 0, 0, 1, 0, 0, 1)):
    byte(1029 + i, value)
word(1039, 4711)

with open("anlage.set", "wb") as f:
    f.write(rec)
