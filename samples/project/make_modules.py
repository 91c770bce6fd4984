#!/usr/bin/env python3
# The hand-made modules of the sample project, before a download fills in what it sets
# (date, loader mark, directory code, start page). The files beside this script are what
# `quarnctl upload` wrote after these were downloaded into plcsim:
#   make_modules.py /tmp/raw/project
#   plcsim --link /tmp/plc &
#   quarnctl --port /tmp/plc --yes download /tmp/raw/project/project.pr
#   quarnctl --port /tmp/plc --yes upload samples/project
# Modules: TANKDATA (data block 10), PUMPCTRL (function 2, 1600 bytes), STARTUP (kind 3),
# ALARMS (kind 9). The configuration block names the project "TANK PLANT 7" and carries the
# flags word 0x0124 (bit 5: the PLC takes the flags word 0x0104 over).
import os, random, struct, sys
out = sys.argv[1] if len(sys.argv) > 1 else "project"
os.makedirs(out, exist_ok=True)
random.seed(7)
def header(name, kind, own, fw, length, extra=b''):
    h = bytearray(32)
    h[0:len(name)] = name.encode()
    h[14:20] = bytes([0x01, 0x00, 0x10, 0x00, 0x00, 0x00])
    h[20] = fw[0]; h[21] = fw[1]
    h[24] = 0x01
    struct.pack_into('<H', h, 25, own)
    h[27] = kind
    struct.pack_into('<H', h, 30, length)
    return bytes(h)
def code(n, seed):
    r = random.Random(seed)
    return bytes(r.randrange(256) for _ in range(n))
mods = [("TANKDATA", 4, 10, (1, 4), 96, 1), ("PUMPCTRL", 30, 2, (2, 0), 1600, 2),
        ("STARTUP", 3, 1, (1, 4), 240, 3), ("ALARMS", 9, 5, (1, 6), 410, 4)]
for name, kind, own, fw, n, seed in mods:
    with open(f"{out}/{name}.ob", "wb") as f:
        f.write(header(name, kind, own, fw, n) + code(n, seed))
kb = bytearray(512)
kb[19] = 3
kb[32:32+12] = b"TANK PLANT 7"
struct.pack_into('<H', kb, 206, 0x0124)
for i in range(60, 200): kb[i] = (i * 5) & 0xFF
for i in range(220, 480): kb[i] = (i * 3 + 1) & 0xFF
open(f"{out}/project.kb", "wb").write(kb)
lines = ["  0|10 | A |    |   |project.kb   "]
for i, (name, kind, own, fw, n, seed) in enumerate(mods):
    lines.append("%3d|%-3d| A |    |   |%-13s" % (i + 1, kind, name + ".ob"))
open(f"{out}/project.pr", "wb").write(("\r\n".join(lines) + "\r\n").encode())
