#!/usr/bin/env bash
# Makes the Windows icon files (cmake/windows/*.ico) of the three dialog programs from the
# pictures the programs draw themselves (the Linux build's program_icons, as installed for
# the desktop menu): one PNG-compressed picture per size in each .ico. Run after changing a
# program's icon; the .ico files are kept in the tree, since the cross build can't draw them.
# Usage: scripts/windows-icons.sh LINUX_BUILD
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-build}" && pwd)
icons="$build/packaging/icons/hicolor"
cmake --build "$build" --target program_icons >/dev/null
rm -rf "$build/packaging/icons"
QT_QPA_PLATFORM=offscreen "$build/packaging/program_icons" "$build/packaging/icons"
for program in quarnwin skellig vantor; do
    python3 - "$top/cmake/windows/$program.ico" "$icons"/*/apps/"$program.png" <<'PY'
import struct, sys
out, pngs = sys.argv[1], sys.argv[2:]
images = []
for path in pngs:
    data = open(path, "rb").read()
    width, height = struct.unpack(">II", data[16:24])
    if width <= 256:
        images.append((width, height, data))
images.sort()
header = struct.pack("<HHH", 0, 1, len(images))
offset = 6 + 16 * len(images)
entries, blobs = b"", b""
for width, height, data in images:
    entries += struct.pack("<BBBBHHII", width % 256, height % 256, 0, 0, 1, 32, len(data), offset)
    offset += len(data)
    blobs += data
open(out, "wb").write(header + entries + blobs)
print(out, [w for w, _, _ in images])
PY
done
