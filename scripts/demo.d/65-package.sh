#!/usr/bin/env bash
# Demo: The Debian package: what it installs, and where an installed QuarnWin keeps its log
set -euo pipefail
deb=$(ls "$BUILD"/hadrel-service-suite_*.deb 2>/dev/null | head -n 1 || true)
if [ -z "$deb" ]; then
    echo "No package built yet: 'make package' builds it into $BUILD, then"
    echo "'sudo apt install ./$(basename "$BUILD")/hadrel-service-suite_4.0_amd64.deb' installs it."
    exit 0
fi
echo "\$ dpkg-deb --field $(basename "$deb") Package Version Depends"
dpkg-deb --field "$deb" Package Version Depends
echo
echo "\$ dpkg-deb --contents $(basename "$deb")   (programs, menu entries, man pages)"
dpkg-deb --contents "$deb" | awk '{print $6}' | grep -E '/bin/|applications/|man1/' | sort
