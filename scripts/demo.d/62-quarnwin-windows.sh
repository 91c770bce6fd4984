#!/usr/bin/env bash
# Demo: QuarnWin.exe, the Windows build of the dialog program, under Wine
set -euo pipefail
win="$TOP/build-windows"
exe="$win/plc_tool/qt/QuarnWin.exe"
if [ ! -f "$exe" ] || [ ! -f "$win/wine-prefix/.suite-ready" ]; then
    echo "No Windows build of the dialog programs here: 'make windows' cross-builds QuarnWin.exe,"
    echo "Skellig.exe and Vantor.exe (with the static Qt for Windows, built once per machine),"
    echo "'make windows-test' runs them under Wine, 'make screenshots-windows' draws them."
    exit 0
fi
export WINEPREFIX="$win/wine-prefix"
# shellcheck source=../windows-env.sh
source "$TOP/scripts/windows-env.sh"
echo "\$ wine QuarnWin.exe --version"
"$WINE" "$exe" --version 2>/dev/null
echo
echo "\$ wine QuarnWin.exe --help"
"$WINE" "$exe" --help 2>/dev/null
if [ -z "${DISPLAY:-}" ]; then
    echo
    echo "No display here, so QuarnWin.exe is not started; 'make screenshots-windows' shows its"
    echo "windows as Wine draws them (build-windows/screenshots)."
    exit 0
fi
link="$DEMO_DIR/quarnwin-windows-plc"
"$BUILD/sim/plc/plcsim" --link "$link" --station 3 >/dev/null &
sim=$!
for _ in $(seq 50); do [ -e "$link" ] && break; sleep 0.1; done
ln -sfn "$link" "$WINEPREFIX/dosdevices/com9"
echo
echo "A display is available: QuarnWin.exe starts on com9 (the simulated PLC at station 3);"
echo "close its window to go on."
"$WINE" "$exe" --port com9 2>/dev/null || true
rm -f "$WINEPREFIX/dosdevices/com9"
kill "$sim"; wait "$sim" 2>/dev/null || true
timeout 60 "$WINESERVER" -w 2>/dev/null || true
