#!/usr/bin/env bash
# Demo: The Windows build of quarnctl under Wine, on a COM port mapped to the simulated PLC
set -euo pipefail
win="$TOP/build-windows"
exe="$win/plc_tool/quarnctl.exe"
if [ ! -f "$exe" ] || [ ! -f "$win/wine-prefix/.suite-ready" ]; then
    echo "No Windows build here: 'make windows' cross-builds quarnctl.exe, skelligctl.exe and"
    echo "vantorctl.exe, 'make windows-test' runs them under Wine, 'make windows-package'"
    echo "zips them with the samples."
    exit 0
fi
export WINEPREFIX="$win/wine-prefix"
# shellcheck source=../windows-env.sh
source "$TOP/scripts/windows-env.sh"
link="$DEMO_DIR/plc-windows"
"$BUILD/sim/plc/plcsim" --link "$link" --station 3 >/dev/null &
sim=$!
for _ in $(seq 50); do [ -e "$link" ] && break; sleep 0.1; done
ln -sfn "$link" "$WINEPREFIX/dosdevices/com9"
echo "\$ wine quarnctl.exe --version"
"$WINE" "$exe" --version 2>/dev/null
echo
echo "\$ wine quarnctl.exe --port com9 --station 3 identify     (com9 is the simulator's link)"
"$WINE" "$exe" --port com9 --station 3 identify 2>/dev/null
# Wine leaves parity checking on the simulator's side of the link; the next run starts clean.
stty -F "$(readlink "$link")" -inpck
echo
echo "\$ wine quarnctl.exe --port com9 --station 3 --log log.txt upload 'Jürgen\\Проект'"
echo "  (names beyond ASCII reach the PLC tool whole: the project is named after its folder)"
(cd "$DEMO_DIR" && "$WINE" "$exe" --port com9 --station 3 --log log.txt upload 'Jürgen\Проект' 2>/dev/null)
(cd "$DEMO_DIR" && ls Jürgen/Проект)
rm -f "$WINEPREFIX/dosdevices/com9"
kill "$sim"; wait "$sim" 2>/dev/null || true
timeout 60 "$WINESERVER" -w 2>/dev/null || true
