#!/usr/bin/env bash
# Demo: the PLC reached through a serial device server (ser2net on loopback, RFC 2217)
set -euo pipefail
if [ ! -x /usr/sbin/ser2net ]; then
  echo "(ser2net is not installed: make deps installs it)"
  exit 0
fi
link="$DEMO_DIR/plc-behind-server"
config="$DEMO_DIR/ser2net.yaml"
quarnctl="$BUILD/plc_tool/quarnctl"
port=$(python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')

"$BUILD/sim/plc/plcsim" --link "$link" --image "$DEMO_DIR/plc-behind-server.img" &
sim=$!
for _ in $(seq 50); do [ -e "$link" ] && break; sleep 0.1; done
cat > "$config" <<YAML
connection: &plc
  accepter: telnet(rfc2217),tcp,127.0.0.1,$port
  connector: serialdev,$link,9600e81,local
  options:
    chardelay: false
YAML
echo "\$ cat ser2net.yaml"
cat "$config"
/usr/sbin/ser2net -n -u -c "$config" -P "$DEMO_DIR/ser2net.pid" &
server=$!
for _ in $(seq 50); do
  grep -q ":$(printf '%04X' "$port") 00000000:0000 0A" /proc/net/tcp && break
  sleep 0.1
done
stop_all() {
  kill "$server" "$sim" 2>/dev/null || true
  wait "$server" "$sim" 2>/dev/null || true
}
trap stop_all EXIT

echo
echo "\$ quarnctl --port rfc2217://127.0.0.1:$port --yes download samples/project/project.pr"
"$quarnctl" --port "rfc2217://127.0.0.1:$port" --log "$DEMO_DIR/server-log.txt" --yes \
  download "$TOP/samples/project/project.pr"
echo
echo "\$ quarnctl --port rfc2217://127.0.0.1:$port --trace identify   (the negotiation first)"
trace=$("$quarnctl" --port "rfc2217://127.0.0.1:$port" --station 64 --trace identify 2>&1 || true)
head -n 12 <<<"$trace"
echo "..."
tail -n 3 <<<"$trace"
echo
echo "A malformed address is a usage error:"
echo "\$ quarnctl --port rfc2217://127.0.0.1 identify"
"$quarnctl" --port "rfc2217://127.0.0.1" identify || echo "(exit status $?)"
shots="$BUILD/plc_tool/qt/quarnwin_screenshots"
if [ -x "$shots" ]; then
  echo
  echo "QuarnWin's dialog through the same server (drawn offscreen); it names the port in use:"
  QT_QPA_PLATFORM=offscreen "$shots" --port "rfc2217://127.0.0.1:$port" \
    --out "$DEMO_DIR/server-screenshots" --symbols "$TOP/samples/monitor/demo.ot" \
    --folder "$TOP/samples" 2>/dev/null | grep main_dialog || true
fi
