#!/usr/bin/env bash
# Demo: Ctrl-C in the middle of a download: the telegram on the line goes out whole, the download ends with its abort text, the port is put back
set -euo pipefail
link="$DEMO_DIR/plc-interrupt"
quarnctl="$BUILD/plc_tool/quarnctl"
"$BUILD/sim/plc/plcsim" --link "$link" --image "$DEMO_DIR/plc-interrupt.img" &
sim=$!
for _ in $(seq 50); do [ -e "$link" ] && break; sleep 0.1; done

echo "\$ quarnctl --port $link --yes download samples/project/project.pr   (Ctrl-C after 3 s)"
"$quarnctl" --port "$link" --log "$DEMO_DIR/interrupt-log.txt" --yes download \
  "$TOP/samples/project/project.pr" &
tool=$!
sleep 3
kill -INT "$tool"
status=0
wait "$tool" || status=$?
echo "(exit status $status)"
echo
echo "The next run on the same port works:"
echo "\$ quarnctl --port $link identify"
"$quarnctl" --port "$link" identify
kill "$sim"
wait "$sim" 2>/dev/null || true
