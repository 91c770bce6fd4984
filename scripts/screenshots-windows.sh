#!/usr/bin/env bash
# Renders the Windows builds' dialogs as they look under Wine: the screenshot tools of the
# three dialog programs, with Qt's windows platform plugin on an Xvfb display and Wine's
# fonts, QuarnWin's against the simulated PLC on a mapped COM port (started with the demo
# memory, so the variables show values). Writes WINDOWS_BUILD/screenshots/*.png; QuarnWin's
# tool fails when a caption does not fit its control.
# Usage: scripts/screenshots-windows.sh WINDOWS_BUILD LINUX_BUILD
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
win=$(cd "${1:-build-windows}" && pwd)
linux=$(cd "${2:-build}" && pwd)
export WINEPREFIX="$win/wine-prefix"
# shellcheck source=windows-env.sh
source "$top/scripts/windows-env.sh"

tool="$win/plc_tool/qt/quarnwin_screenshots.exe"
for program in "$tool" "$linux/sim/plc/plcsim"; do
    if [ ! -f "$program" ]; then
        echo "screenshots-windows: $program is not built (make windows, make build)" >&2
        exit 1
    fi
done
winpath() { printf 'Z:%s' "${1//\//\\}"; }

work=$(mktemp -d /tmp/suite-shots-windows.XXXXXX)
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    wait 2>/dev/null || true
    rm -f "$WINEPREFIX/dosdevices/com5"
    timeout 60 "$WINESERVER" -w 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

# A display of our own: the first free number from 90 on.
display=90
while [ -e "/tmp/.X11-unix/X$display" ] || [ -e "/tmp/.X$display-lock" ]; do display=$((display + 1)); done
Xvfb ":$display" -screen 0 1280x1024x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
pids+=($!)
for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$display" ] && break; sleep 0.1; done
export DISPLAY=":$display"

windows_prefix_ready
export WINEQT_QPA_PLATFORM=windows
"$linux/sim/plc/plcsim" --link "$work/plc" --memory "$top/samples/monitor/demo.mem" >"$work/plcsim.log" 2>&1 &
pids+=($!)
for _ in $(seq 50); do [ -e "$work/plc" ] && break; sleep 0.1; done
ln -sfn "$work/plc" "$WINEPREFIX/dosdevices/com5"

out="$win/screenshots"
mkdir -p "$out"
status=0
"$WINE" "$tool" --port com5 --out "$(winpath "$out")" --symbols "$(winpath "$top/samples/monitor/demo.ot")" \
    --folder "$(winpath "$top/samples")" 2>"$work/wine.log" || status=$?
for program in setup_tool/skellig_screenshots.exe protocol_tool/qt/vantor_screenshots.exe; do
    if [ -f "$win/$program" ]; then
        "$WINE" "$win/$program" "$(winpath "$out")" 2>>"$work/wine.log" || status=$?
    fi
done
if [ "$status" -ne 0 ]; then
    grep -v '^0x\|^  ' "$work/wine.log" >&2 || true
    echo "screenshots-windows: a screenshot tool failed (exit status $status)" >&2
    exit 1
fi
echo "screenshots in $out"
