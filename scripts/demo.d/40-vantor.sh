#!/usr/bin/env bash
# Demo: Vantor's command-line tool against the simulated text display (protocol with Cyrillic translation, spreadsheet text, statistics)
set -euo pipefail
link="$DEMO_DIR/display-protocol"
work="$DEMO_DIR/vantor"
mkdir -p "$work"
"$BUILD/sim/display/displaysim" --link "$link" \
  --protocol "$TOP/samples/protocol/demo.pro" --statistics "$TOP/samples/protocol/demo.sta" &
sim=$!
for _ in $(seq 50); do [ -e "$link" ] && break; sleep 0.1; done
vantorctl="$BUILD/protocol_tool/vantorctl"

echo "\$ vantorctl --port $link get-protocol may.pro --new --cyrillic"
echo "  (every line received is a status line; the display's answer ends after 3 s of silence)"
"$vantorctl" --port "$link" get-protocol "$work/may.pro" --new --cyrillic | tail -n 4
echo
echo "\$ cmp may.pro samples/protocol/demo.pro   (stored byte for byte)"
cmp "$work/may.pro" "$TOP/samples/protocol/demo.pro" && echo "identical"
echo
echo "\$ head -n 2 may.rtf; sed -n 14,15p may.rtf   (the display's Cyrillic codes as Windows-1251 letters, shown in UTF-8)"
head -n 2 "$work/may.rtf"
sed -n 14,15p "$work/may.rtf" | iconv -f CP1251 -t UTF-8 2>/dev/null || sed -n 14,15p "$work/may.rtf" | cat -v
echo
echo "\$ vantorctl convert may.pro"
"$vantorctl" convert "$work/may.pro"
echo
echo "\$ head -n 6 may.xls   (tabs shown as |)"
head -n 6 "$work/may.xls" | tr '\t' '|' | tr -d '\r' | cat -v
echo
echo "\$ vantorctl --port $link get-statistics may.sta"
"$vantorctl" --port "$link" get-statistics "$work/may.sta"
echo
echo "\$ vantorctl --port $link clear-protocol --yes; vantorctl get-protocol after.pro --up-to 5"
# vantorctl puts the port's previous settings back as soon as the clear command has left it;
# the simulator judges the line when it reads the bytes, so the port rests at the display's
# values here.
stty -F "$link" 9600 cs8 cstopb -parenb
"$vantorctl" --port "$link" clear-protocol --yes
"$vantorctl" --port "$link" get-protocol "$work/after.pro" --up-to 5 || echo "(exit status $?: the display's protocol is empty now)"
kill "$sim"; wait "$sim" 2>/dev/null || true
