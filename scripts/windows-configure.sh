#!/usr/bin/env bash
# Configures the Windows build folder (MinGW-w64 cross build). The dialog programs come with
# the static Qt for Windows that scripts/windows-qt.sh builds once per machine (it is built
# here when the machine has none yet, about half an hour on 2 cores); with SUITE_WINDOWS_QT=off
# only the command-line tools and the core's tests are configured.
#   scripts/windows-configure.sh BUILD_FOLDER
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-build-windows}
mkdir -p "$build"

if [ "${SUITE_WINDOWS_QT:-}" = off ]; then
    qt=off
    toolchain=(-DCMAKE_TOOLCHAIN_FILE="$top/cmake/toolchain-mingw64.cmake" -DSUITE_WITH_QT=OFF)
else
    qt=$("$top/scripts/windows-qt.sh")
    # Qt's toolchain file finds its packages and host tools, then loads the suite's own.
    toolchain=(-DCMAKE_TOOLCHAIN_FILE="$qt/lib/cmake/Qt6/qt.toolchain.cmake"
               -DQT_CHAINLOAD_TOOLCHAIN_FILE="$top/cmake/toolchain-mingw64.cmake")
fi

# A folder configured with another Qt (or none) starts afresh: a toolchain can't be changed
# in a configured folder.
stamp="$build/.suite-windows-qt"
if [ -f "$build/CMakeCache.txt" ] && [ "$(cat "$stamp" 2>/dev/null)" = "$qt" ]; then
    exit 0
fi
rm -rf "$build/CMakeCache.txt" "$build/CMakeFiles"
cmake -S "$top" -B "$build" "${toolchain[@]}" -DCMAKE_BUILD_TYPE=Release
echo "$qt" > "$stamp"
