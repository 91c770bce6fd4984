#!/usr/bin/env bash
# Demo: QuarnWin's command-line tool against the simulated PLC (station search, identify, reset)
set -euo pipefail
link="$DEMO_DIR/plc-control"
"$BUILD/sim/plc/plcsim" --link "$link" --station 3 --firmware 2.1 &
sim=$!
for _ in $(seq 50); do [ -e "$link" ] && break; sleep 0.1; done
quarnctl="$BUILD/plc_tool/quarnctl"
echo "\$ quarnctl ports"
"$quarnctl" ports || true
echo
echo "\$ quarnctl --port $link identify"
"$quarnctl" --port "$link" identify
echo
echo "\$ quarnctl --port $link --trace reset     (bytes on stderr)"
"$quarnctl" --port "$link" --trace reset
kill "$sim"; wait "$sim" 2>/dev/null || true
