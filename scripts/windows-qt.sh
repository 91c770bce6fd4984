#!/usr/bin/env bash
# Builds a small static Qt 6 for 64-bit Windows (MinGW-w64) from Debian's own qt6-base
# source, once per machine, and prints the folder it is installed in.
#
# The source comes through a private apt source list (the machine's apt configuration is not
# touched); Debian's qt6-base-dev-tools of the same version are the host tools. The result is
# kept outside the tree under a stamp of the version and the options, so every clone and work
# tree of the machine shares it; a second run only prints the folder.
#
#   scripts/windows-qt.sh            build when missing, print the install folder
#   scripts/windows-qt.sh --print    print the install folder, build nothing (exit 1: none)
#   scripts/windows-qt.sh --background
#                                    start the build when missing at the lowest priority and
#                                    return at once (make test overlaps it with the tests that
#                                    mostly wait on the line); a later plain run waits for it
set -euo pipefail

QT_VERSION=6.4.2
cache_root=${SUITE_QT_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/hadrel-service-suite}
jobs=${JOBS:-$(nproc)}

# Everything that decides what is built goes into the stamp.
qt_options=(
  -G Ninja
  -DCMAKE_BUILD_TYPE=Release
  -DBUILD_SHARED_LIBS=OFF
  -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DBUILD_WITH_PCH=OFF
  -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake
  -DQT_QMAKE_TARGET_MKSPEC=win32-g++ -DQT_QMAKE_DEVICE_OPTIONS=CROSS_COMPILE=x86_64-w64-mingw32-
  # No wintab.h in MinGW and no wintab in the +dfsg source.
  -DFEATURE_tabletevent=OFF
  -DINPUT_opengl=no -DFEATURE_opengl=OFF -DFEATURE_vulkan=OFF
  -DFEATURE_direct2d=OFF -DFEATURE_direct2d1_1=OFF
  -DFEATURE_dbus=OFF -DFEATURE_sql=OFF -DFEATURE_network=OFF -DFEATURE_printsupport=OFF
  -DFEATURE_concurrent=OFF -DFEATURE_xml=OFF -DFEATURE_zstd=OFF -DFEATURE_icu=OFF
  -DFEATURE_jpeg=OFF -DFEATURE_pkg_config=OFF
  -DFEATURE_gui=ON -DFEATURE_widgets=ON -DFEATURE_testlib=ON
  -DFEATURE_system_zlib=OFF -DFEATURE_system_pcre2=OFF -DFEATURE_system_png=OFF
  -DFEATURE_freetype=ON -DFEATURE_system_freetype=OFF
  -DFEATURE_harfbuzz=ON -DFEATURE_system_harfbuzz=OFF -DFEATURE_system_doubleconversion=OFF
)
toolchain_text='set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
'
# Qt 6.4.2 asks for the DirectWrite font database, which Gui builds only with Direct2D.
patch_directwrite() {
  local file=$1/src/plugins/platforms/windows/qwindowsintegration.cpp
  local count
  count=$(grep -c '^#if QT_CONFIG(directwrite3)$' "$file" || true)
  if [ "$count" != 2 ]; then
    echo "windows-qt: expected two directwrite3 lines in $file, found $count" >&2
    exit 1
  fi
  sed -i 's/^#if QT_CONFIG(directwrite3)$/#if QT_CONFIG(directwrite3) \&\& QT_CONFIG(direct2d)/' "$file"
}

stamp=$(printf '%s\n' "$QT_VERSION" "${qt_options[@]}" "$toolchain_text" "$(declare -f patch_directwrite)" \
  | sha256sum | cut -c1-12)
prefix=$cache_root/qt-$QT_VERSION-mingw64-static-$stamp

if [ -f "$prefix/.complete" ]; then
  echo "$prefix"
  exit 0
fi
if [ "${1:-}" = "--print" ]; then
  exit 1
fi
mkdir -p "$cache_root"
if [ "${1:-}" = "--background" ]; then
  log=$cache_root/qt-$QT_VERSION-$stamp.log
  echo "windows-qt: building Qt $QT_VERSION for Windows in the background (log: $log)" >&2
  nohup nice -n 19 "$0" > "$log" 2>&1 < /dev/null &
  exit 0
fi
# One build at a time per machine; a second caller waits for the first and uses its result.
exec 9> "$cache_root/qt-$QT_VERSION-$stamp.lock"
flock 9
if [ -f "$prefix/.complete" ]; then
  echo "$prefix"
  exit 0
fi

host_version=$(dpkg-query -W -f='${Version}' qt6-base-dev-tools 2>/dev/null || true)
case "$host_version" in
  "$QT_VERSION"*) ;;
  *) echo "windows-qt: the host tools must be qt6-base-dev-tools $QT_VERSION (found '${host_version:-none}')" >&2
     exit 1 ;;
esac

work=$cache_root/qt-$QT_VERSION-work-$stamp
rm -rf "$work"
mkdir -p "$work/apt/lists/partial" "$work/apt/sources" "$work/source"
start=$(date +%s)

# A private source list: the machine's own apt configuration stays as it is.
cat > "$work/apt/sources/debian-src.sources" <<SRC
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SRC
apt_private=(-o Dir::Etc::SourceList=/dev/null -o "Dir::Etc::SourceParts=$work/apt/sources"
             -o "Dir::State::Lists=$work/apt/lists" -o Dir::Cache::pkgcache= -o Dir::Cache::srcpkgcache=)
echo "windows-qt: fetching Debian's qt6-base source" >&2
apt-get "${apt_private[@]}" -qq update 2> >(grep -v 'unsandboxed' >&2)
(cd "$work/source" && apt-get "${apt_private[@]}" -qq source qt6-base >/dev/null)
src=$(find "$work/source" -mindepth 1 -maxdepth 1 -type d -name "qt6-base-$QT_VERSION*" | head -n1)
if [ -z "$src" ]; then
  echo "windows-qt: Debian's qt6-base source is not version $QT_VERSION" >&2
  exit 1
fi
patch_directwrite "$src"

printf '%s' "$toolchain_text" > "$work/toolchain.cmake"
echo "windows-qt: configuring and building Qt $QT_VERSION for Windows ($jobs jobs; about 25 min on 2 cores)" >&2
cmake -S "$src" -B "$work/build" "${qt_options[@]}" \
  -DCMAKE_TOOLCHAIN_FILE="$work/toolchain.cmake" -DCMAKE_INSTALL_PREFIX="$prefix" > "$work/configure.log" 2>&1 \
  || { tail -40 "$work/configure.log" >&2; exit 1; }
cmake --build "$work/build" -j "$jobs" > "$work/build.log" 2>&1 || { tail -40 "$work/build.log" >&2; exit 1; }
rm -rf "$prefix"
cmake --install "$work/build" > "$work/install.log" 2>&1 || { tail -20 "$work/install.log" >&2; exit 1; }
echo "$QT_VERSION $(date -u +%FT%TZ) $(( $(date +%s) - start )) s" > "$prefix/.complete"
rm -rf "$work"
echo "windows-qt: built in $(( $(date +%s) - start )) s" >&2
echo "$prefix"
