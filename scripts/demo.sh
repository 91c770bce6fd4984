#!/usr/bin/env bash
# Runs every demonstration under scripts/demo.d in name order against the simulators.
# Usage: scripts/demo.sh BUILD_DIR
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
top=$(cd "$(dirname "$0")/.." && pwd)
export BUILD="$build" TOP="$top"
export DEMO_DIR=$(mktemp -d /tmp/suite-demo.XXXXXX)
trap 'kill $(jobs -p) 2>/dev/null || true; wait 2>/dev/null || true; rm -rf "$DEMO_DIR"' EXIT
for step in "$top"/scripts/demo.d/*.sh; do
  echo
  echo "================================================================"
  echo "== $(sed -n 's/^# Demo: //p' "$step" | head -n 1)"
  echo "================================================================"
  bash "$step"
done
