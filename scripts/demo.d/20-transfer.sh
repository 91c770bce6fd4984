#!/usr/bin/env bash
# Demo: QuarnWin's project transfer against the simulated PLC (download, directory, upload, log)
set -euo pipefail
link="$DEMO_DIR/plc-transfer"
image="$DEMO_DIR/plc-transfer.img"
log="$DEMO_DIR/transfer-log.txt"
quarnctl="$BUILD/plc_tool/quarnctl"
start_plc() {
  "$BUILD/sim/plc/plcsim" --link "$link" --image "$image" "$@" &
  sim=$!
  for _ in $(seq 50); do [ -e "$link" ] && break; sleep 0.1; done
}
stop_plc() { kill "$sim"; wait "$sim" 2>/dev/null || true; }

start_plc
echo "\$ quarnctl --port $link --log LOG --yes download samples/project/project.pr"
"$quarnctl" --port "$link" --log "$log" --yes download "$TOP/samples/project/project.pr"
stop_plc

echo
echo "(plcsim restarted on the same memory image)"
start_plc
echo "\$ quarnctl --port $link directory"
"$quarnctl" --port "$link" directory
echo
echo "\$ quarnctl --port $link --log LOG upload $DEMO_DIR/uploaded/project"
"$quarnctl" --port "$link" --log "$log" upload "$DEMO_DIR/uploaded/project"
stop_plc
echo
echo "\$ ls -l $DEMO_DIR/uploaded/project"
ls -l "$DEMO_DIR/uploaded/project"
echo
echo "\$ cat LOG"
tr -d '\r' < "$log"

echo
echo "A project whose configuration file is missing is refused before the PLC is touched:"
mkdir -p "$DEMO_DIR/broken"
cp "$TOP/samples/project/"*.ob "$TOP/samples/project/project.pr" "$DEMO_DIR/broken/"
start_plc
echo "\$ quarnctl --port $link --yes download $DEMO_DIR/broken/project.pr"
"$quarnctl" --port "$link" --yes download "$DEMO_DIR/broken/project.pr" || echo "(exit status $?)"
stop_plc
