#!/usr/bin/env bash
# Renders QuarnWin's main dialog, folder dialog and variables window against the simulated
# PLC (started with the demo memory, so the variables show values), and Skellig's and
# Vantor's dialogs, into BUILD_DIR/screenshots/*.png (offscreen, no display needed).
# Usage: scripts/screenshots.sh BUILD_DIR
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
top=$(cd "$(dirname "$0")/.." && pwd)
tool="$build/plc_tool/qt/quarnwin_screenshots"
plcsim="$build/sim/plc/plcsim"
for program in "$tool" "$plcsim"; do
  if [ ! -x "$program" ]; then
    echo "screenshots: $program is not built (Qt 6 and the PLC simulator are needed)" >&2
    exit 1
  fi
done
work=$(mktemp -d /tmp/quarnwin-shots.XXXXXX)
link="$work/plc"
"$plcsim" --link "$link" --memory "$top/samples/monitor/demo.mem" &
sim=$!
trap 'kill "$sim" 2>/dev/null || true; wait "$sim" 2>/dev/null || true; rm -rf "$work"' EXIT
for _ in $(seq 50); do [ -e "$link" ] && break; sleep 0.1; done
mkdir -p "$build/screenshots"
QT_QPA_PLATFORM=offscreen "$tool" --port "$link" --out "$build/screenshots" \
  --symbols "$top/samples/monitor/demo.ot" --folder "$top/samples"

# Skellig's and Vantor's dialogs, when built.
skellig_tool="$build/setup_tool/skellig_screenshots"
if [ -x "$skellig_tool" ]; then
  QT_QPA_PLATFORM=offscreen "$skellig_tool" "$build/screenshots"
fi

vantor_tool="$build/protocol_tool/qt/vantor_screenshots"
if [ -x "$vantor_tool" ]; then
  QT_QPA_PLATFORM=offscreen "$vantor_tool" "$build/screenshots"
  echo "wrote $build/screenshots/vantor-main.png, vantor-protocol.png, vantor-about.png"
fi
