#!/usr/bin/env bash
# Demo: QuarnWin, the dialog program, against the simulated PLC
set -euo pipefail
quarnwin="$BUILD/plc_tool/qt/quarnwin"
if [ ! -x "$quarnwin" ]; then
  echo "quarnwin is not built here (it needs Qt 6); see the quarnctl demonstrations above."
  exit 0
fi
link="$DEMO_DIR/quarnwin-plc"
"$BUILD/sim/plc/plcsim" --link "$link" --station 3 --image "$DEMO_DIR/quarnwin-plc.img" &
sim=$!
trap 'kill "$sim" 2>/dev/null || true; wait "$sim" 2>/dev/null || true' EXIT
for _ in $(seq 50); do [ -e "$link" ] && break; sleep 0.1; done

echo "A simulated PLC answers at station 3 on $link."
echo "QuarnWin finds a USB-serial converter by itself; to use the simulator instead, start it with"
echo
echo "  $quarnwin --port $link"
echo
echo "and try: Reset (station search, then the reset), PC -> Quarn with"
echo "  $TOP/samples/project/project.pr,"
echo "Quarn -> PC into a new folder, Show variables with"
echo "  $TOP/samples/monitor/demo.ot (page with Up, Dn, PgUp, PgDn; close the window to stop),"
echo "and Show Log. 'make screenshots' renders its windows without a display."
echo
if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  echo "A display is available: QuarnWin starts now; close its window to go on."
  "$quarnwin" --port "$link" || true
else
  echo "No display here, so QuarnWin is not started. Its command line:"
  "$quarnwin" --help
fi
