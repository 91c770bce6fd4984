#!/bin/sh
# Writes a program's man page, compressed, from its --help and --version texts and the
# hand-written part beside this script.
#   make-man-page.sh HELP2MAN PROGRAM INCLUDE VERSION OUTPUT.1
# A program that does not answer --version yet gets the suite's version, so a man page is
# still made.
set -eu
help2man=$1 program=$2 include=$3 version=$4 out=$5
export QT_QPA_PLATFORM=offscreen LC_ALL=C.UTF-8
mkdir -p "$(dirname "$out")"
set -- --no-info --no-discard-stderr --output="$out"
[ -f "$include" ] && set -- "$@" --include="$include"
if ! "$program" --version >/dev/null 2>&1; then
  set -- "$@" --version-string="$version"
fi
"$help2man" "$@" "$program"
gzip -9nf "$out"
