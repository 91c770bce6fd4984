#!/usr/bin/env bash
# Demo: QuarnWin's variable display as text: quarnctl watch pages through the demo symbol file
set -euo pipefail
link="$DEMO_DIR/plc-watch"
"$BUILD/sim/plc/plcsim" --link "$link" --memory "$TOP/samples/monitor/demo.mem" &
sim=$!
for _ in $(seq 50); do [ -e "$link" ] && break; sleep 0.1; done
quarnctl="$BUILD/plc_tool/quarnctl"
echo "\$ quarnctl --port $link watch samples/monitor/demo.ot --cycles 3"
echo "  (Counter, Ramp and Blink change from page to page)"
"$quarnctl" --port "$link" watch "$TOP/samples/monitor/demo.ot" --cycles 3
echo
echo "\$ quarnctl --port $link watch samples/monitor/demo.ot --cycles 3 --keys pgdn,up"
echo "  (Page Down to the output bits, then a line of 8 variables back)"
"$quarnctl" --port "$link" watch "$TOP/samples/monitor/demo.ot" --cycles 3 --keys pgdn,up
kill "$sim"; wait "$sim" 2>/dev/null || true
