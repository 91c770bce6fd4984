#!/usr/bin/env bash
# Checks the Debian package as it installs: unpacks it into a temporary root and runs what a
# technician would run from there: every program's --version and --help, a download of the
# sample project into plcsim with the unpacked quarnctl (its log must land in the per-user
# data folder, not beside the program), the README's first steps and the man pages'
# examples as a user other than root (first-steps.sh), the desktop entries and their icons, every man page
# rendered with warnings on, the bash completions, and lintian when it is there.
#   packaging/package-check.sh BUILD_DIR
set -euo pipefail
build=$(cd "${1:-build}" && pwd)
deb=$(ls -t "$build"/hadrel-service-suite_*.deb 2>/dev/null | head -n 1)
[ -n "$deb" ] || { echo "package-check: no package in $build (make package)" >&2; exit 1; }

work=$(mktemp -d /tmp/package-check.XXXXXX)
sim=""
cleanup() {
  [ -n "$sim" ] && kill "$sim" 2>/dev/null && wait "$sim" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

root="$work/root"
dpkg-deb -x "$deb" "$root"
bin="$root/usr/bin"
doc="$root/usr/share/doc/hadrel-service-suite"
export HOME="$work/home" QT_QPA_PLATFORM=offscreen LC_ALL=C.UTF-8
unset XDG_DATA_HOME XDG_CONFIG_HOME
mkdir -p "$HOME"
echo "package-check: $(basename "$deb")"

dialogs="quarnwin skellig vantor"
consoles="quarnctl skelligctl vantorctl plcsim displaysim"
programs="$dialogs $consoles"

# The installed layout: the eight programs and nothing else in bin/, everything under /usr.
[ "$(ls "$bin" | sort | tr '\n' ' ')" = "$(echo $programs | tr ' ' '\n' | sort | tr '\n' ' ')" ] ||
  fail "bin/ holds: $(ls "$bin" | tr '\n' ' ')"
[ "$(ls "$root")" = "usr" ] || fail "files outside /usr: $(ls "$root" | tr '\n' ' ')"

# --version names the program and the version; --help describes it; both exit 0.
version=$(sed -n 's/^project(ServiceSuite VERSION \([0-9.]*\).*/\1/p' "$(dirname "$0")/../CMakeLists.txt")
for p in $programs; do
  if out=$("$bin/$p" --version 2>&1); then
    case "$out" in "$p $version"*) ;; *) fail "$p --version said: $out" ;; esac
  else
    fail "$p --version: $out"
  fi
  out=$("$bin/$p" --help 2>&1) || fail "$p --help: exit $?"
  [ "$(printf '%s\n' "$out" | wc -l)" -ge 3 ] || fail "$p --help said: $out"
done
# The dialog programs answer both without any display (over ssh, in a console).
for p in $dialogs; do
  for option in --help --version; do
    env -u QT_QPA_PLATFORM -u DISPLAY -u WAYLAND_DISPLAY "$bin/$p" $option >/dev/null 2>&1 ||
      fail "$p $option needs a display"
  done
  # Started there, they say what they need and name their command-line twin; exit 1.
  status=0
  out=$(env -u QT_QPA_PLATFORM -u DISPLAY -u WAYLAND_DISPLAY "$bin/$p" 2>&1) || status=$?
  case "$status:$out" in
    "1:"*"graphical desktop"*ctl*) ;;
    *) fail "$p without a display: exit $status: $out" ;;
  esac
done

# The sample project into the simulated PLC, with the installed tools and samples.
link="$work/plc"
"$bin/plcsim" --link "$link" >"$work/plcsim.out" 2>&1 &
sim=$!
for _ in $(seq 50); do [ -e "$link" ] && break; sleep 0.1; done
if "$bin/quarnctl" --port "$link" --yes download "$doc/samples/project/project.pr" >"$work/download.out" 2>&1; then
  log="$HOME/.local/share/Hadrel/QuarnWin/log.txt"
  grep -q "All Modules successfully downloaded" "$log" 2>/dev/null ||
    fail "the download's log is not in the per-user data folder ($log)"
else
  fail "download of the sample project: $(cat "$work/download.out")"
fi
kill "$sim"; wait "$sim" 2>/dev/null || true
sim=""
[ -z "$(find "$root" -name 'log.txt')" ] || fail "a log was written into the installation"

# The README's first steps and the man pages' simulator examples, word for word, as a user
# other than root, on the package's files as installed (root's, the samples read-only).
chmod 755 "$work"
"$(dirname "$0")/first-steps.sh" "$root" || fail "the first steps as an ordinary user (see above)"

# Desktop entries: valid, and each with its program and its icon in the package.
for p in $dialogs; do
  entry="$root/usr/share/applications/$p.desktop"
  [ -f "$entry" ] || { fail "no desktop entry for $p"; continue; }
  out=$(desktop-file-validate "$entry" 2>&1) || true
  [ -z "$out" ] || fail "desktop-file-validate $p.desktop: $out"
  grep -qx "Exec=$p" "$entry" || fail "$p.desktop does not start $p"
  ls "$root"/usr/share/icons/hicolor/*/apps/"$p".png >/dev/null 2>&1 || fail "no icon for $p"
done

# Bash completion for the three command-line tools, naming their commands.
for p in quarnctl skelligctl vantorctl; do
  completion="$root/usr/share/bash-completion/completions/$p"
  [ -s "$completion" ] || fail "no bash completion for $p"
done

# Man pages: one per program, rendered without a single warning.
for p in $programs; do
  page="$root/usr/share/man/man1/$p.1.gz"
  [ -f "$page" ] || { fail "no man page for $p"; continue; }
  out=$(MANROFFSEQ='' MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 "$page" 2>&1 >/dev/null) || true
  [ -z "$out" ] || fail "man page of $p: $out"
done

# lintian: no error (what it still notes, and why, is in packaging/README.md).
if command -v lintian >/dev/null; then
  lintian --fail-on error "$deb" >"$work/lintian.out" 2>&1 || fail "lintian: $(grep '^E:' "$work/lintian.out")"
  grep -q '^E:' "$work/lintian.out" && fail "lintian: $(grep '^E:' "$work/lintian.out")"
fi

if [ "$failures" -ne 0 ]; then
  echo "package-check: $failures failure(s)" >&2
  exit 1
fi
echo "package-check: all checks passed"
