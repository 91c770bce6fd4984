#!/usr/bin/env bash
# Packs the Windows command-line tools with the README and the samples into one zip.
# Usage: scripts/windows-package.sh WINDOWS_BUILD
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
win=$(cd "${1:-build-windows}" && pwd)
version=$(sed -n 's/^project(ServiceSuite VERSION \([0-9.]*\).*/\1/p' "$top/CMakeLists.txt")
name="service-suite-$version-windows-x64"
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
mkdir -p "$stage/$name"
for exe in plc_tool/quarnctl.exe setup_tool/skelligctl.exe protocol_tool/vantorctl.exe; do
    [ -f "$win/$exe" ] || { echo "missing $win/$exe: run make windows first" >&2; exit 1; }
    cp "$win/$exe" "$stage/$name/"
done
cp "$top/README.md" "$stage/$name/"
# The samples without the scripts that generated them.
(cd "$top" && find samples -type f ! -name '*.py' -print0 | xargs -0 cp --parents -t "$stage/$name")
rm -f "$win/$name.zip"
(cd "$stage" && zip -qr "$win/$name.zip" "$name")
echo "$win/$name.zip"
