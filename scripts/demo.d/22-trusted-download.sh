#!/usr/bin/env bash
# Demo: A download to trust: dry run, backup before, verify after, and a verify that finds a corrupted write
set -euo pipefail
link="$DEMO_DIR/plc-trusted"
image="$DEMO_DIR/plc-trusted.img"
log="$DEMO_DIR/trusted-log.txt"
backups="$DEMO_DIR/backups"
quarnctl="$BUILD/plc_tool/quarnctl"
project="$TOP/samples/project/project.pr"
start_plc() {
  "$BUILD/sim/plc/plcsim" --link "$link" --image "$image" "$@" &
  sim=$!
  for _ in $(seq 50); do [ -e "$link" ] && break; sleep 0.1; done
}
stop_plc() { kill "$sim"; wait "$sim" 2>/dev/null || true; }
progress() { grep -v 'Bytes transfered$' || true; }

start_plc
echo "(a PLC holding the sample project)"
"$quarnctl" --port "$link" --log "$log" --yes download "$project" > /dev/null 2>&1

echo
echo "\$ quarnctl --port $link download samples/project/project.pr --dry-run"
"$quarnctl" --port "$link" download "$project" --dry-run

echo
echo "\$ quarnctl --port $link --station 64 --log LOG --yes download samples/project/project.pr --backup $backups --verify"
"$quarnctl" --port "$link" --station 64 --log "$log" --yes download "$project" \
  --backup "$backups" --verify | progress
echo
echo "\$ ls $backups/*"
ls "$backups"/*
stop_plc

echo
echo "(plcsim restarted with --fault corrupt-write=6: the 6th block write is stored with one byte changed)"
start_plc --fault corrupt-write=6
echo "\$ quarnctl --port $link --station 64 --log LOG --yes download samples/project/project.pr --verify"
status=0
"$quarnctl" --port "$link" --station 64 --log "$log" --yes download "$project" --verify \
  > "$DEMO_DIR/trusted-out.txt" 2>&1 || status=$?
progress < "$DEMO_DIR/trusted-out.txt"
echo "(exit status $status)"
echo
echo "\$ quarnctl --port $link --station 64 verify samples/project/project.pr"
status=0
"$quarnctl" --port "$link" --station 64 verify "$project" > "$DEMO_DIR/trusted-out.txt" 2>&1 || status=$?
progress < "$DEMO_DIR/trusted-out.txt"
echo "(exit status $status)"
stop_plc
