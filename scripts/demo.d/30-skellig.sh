#!/usr/bin/env bash
# Demo: Skellig's command-line tool sends the sample setup to the simulated text display, which records every command
set -euo pipefail
link="$DEMO_DIR/display-setup"
record="$DEMO_DIR/display-setup.record"
skelligctl="$BUILD/setup_tool/skelligctl"
displaysim="$BUILD/sim/display/displaysim"
wait_for_link() { for _ in $(seq 50); do [ -e "$link" ] && return 0; sleep 0.1; done; return 1; }

"$displaysim" --link "$link" --record "$record" >/dev/null &
sim=$!
wait_for_link
echo "\$ displaysim --link $link --record display-setup.record &"
echo "\$ skelligctl --port $link send samples/display/anlage.txt --time 09:05:03 --date 07.03.2024 --dst winter"
"$skelligctl" --port "$link" send "$TOP/samples/display/anlage.txt" \
  --time 09:05:03 --date 07.03.2024 --dst winter
kill "$sim"; wait "$sim" 2>/dev/null || true
echo
echo "The display received $(wc -l < "$record") commands (login, 253 setup commands with the tables,"
echo "20 text lines, 3 clock commands, logout). The first 12 and the last 8:"
head -n 12 "$record" | sed 's/^/  /'
echo "  ..."
tail -n 8 "$record" | sed 's/^/  /'
echo
echo "\$ displaysim --link $link --fault wrong-checksum:267 &"
echo "  (command 267 of the session is the first line of text page 2: 1 + 253 + 2 pages of 6 + 1)"
"$displaysim" --link "$link" --fault wrong-checksum:267 >/dev/null &
sim=$!
wait_for_link
echo "\$ skelligctl --port $link send samples/display/anlage.txt --no-clock"
"$skelligctl" --port "$link" send "$TOP/samples/display/anlage.txt" --no-clock 2>&1 \
  || echo "(exit status $?: the transfer ends at the wrong acknowledgement; no clock, no logout)"
kill "$sim"; wait "$sim" 2>/dev/null || true
