#!/usr/bin/env bash
# Installs the Debian packages the suite needs to build, test and demonstrate, when missing.
set -euo pipefail
packages=(
  build-essential cmake pkg-config
  libcli11-dev clang-format clang-tidy
  googletest libgtest-dev libgmock-dev
  qt6-base-dev qt6-base-dev-tools libgl-dev
  xvfb xauth
  dbus-daemon
  mingw-w64 g++-mingw-w64-x86-64-posix wine64 zip nsis
  # Builds the static Qt for Windows once per machine (scripts/windows-qt.sh).
  ninja-build
  clang-14 libclang-rt-14-dev
  python3
  # A real serial device server in front of the simulators, for the network port's tests.
  ser2net
  # Scalable stand-ins for Courier and the desktop fonts: the Qt tests prove that the
  # variables window and the dialog layout do not depend on which fonts a machine has.
  fonts-urw-base35
  help2man man-db desktop-file-utils dpkg-dev file lintian
)
missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi
echo "Installing: ${missing[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then
  sudo="sudo"
fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
