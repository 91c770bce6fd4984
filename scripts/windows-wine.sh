#!/usr/bin/env bash
# Runs a Windows program under Wine with the build's private prefix (created on first use),
# quietly: `scripts/windows-wine.sh PROGRAM.exe ARGS...`. WINEPREFIX may be set by the caller;
# by default it is wine-prefix beside the program's build folder.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
# shellcheck source=windows-env.sh
source "$here/windows-env.sh"
windows_prefix_ready
windows_qt_environment
exec "$WINE" "$@"
