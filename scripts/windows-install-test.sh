#!/usr/bin/env bash
# The Windows setup program under Wine, as a technician meets it on a fresh PC: a silent
# install for all users (twice, as for an update), the installed programs at work
# (quarnctl.exe downloads the sample project into plcsim on com5; the dialog programs, when
# built, answer --version), the Start-menu entries and the entry in the list of installed
# programs, then a silent uninstall (refused while a program of the suite runs) that leaves
# no file of the suite behind but keeps the user's settings and logs.
# The test has a Wine prefix of its own (wine-prefix-setup in the Windows build), brought back
# to a machine without the suite before each run.
# Usage: scripts/windows-install-test.sh WINDOWS_BUILD LINUX_BUILD
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
win=$(cd "${1:-build-windows}" && pwd)
linux=$(cd "${2:-build}" && pwd)
version=$(sed -n 's/^project(ServiceSuite VERSION \([0-9.]*\).*/\1/p' "$top/CMakeLists.txt")
setup="$win/service-suite-$version-windows-x64-setup.exe"
zip="$win/service-suite-$version-windows-x64.zip"
export WINEPREFIX="$win/wine-prefix-setup"
# shellcheck source=windows-env.sh
source "$top/scripts/windows-env.sh"

fail() {
    echo "FAILED: $*" >&2
    exit 1
}
[ -f "$setup" ] || fail "no setup program $setup: run make windows-package first"
[ -x "$linux/sim/plc/plcsim" ] || fail "no plcsim in $linux: build the Linux suite first"

work=$(mktemp -d /tmp/suite-setup.XXXXXX)
sim=""
cleanup() {
    [ -z "$sim" ] || { kill "$sim" 2>/dev/null || true; wait "$sim" 2>/dev/null || true; }
    rm -f "$WINEPREFIX/dosdevices/com5"
    timeout 60 "$WINESERVER" -w 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

started=$(date +%s)
step() { echo "-- $* (after $(($(date +%s) - started)) s)"; }
run() {
    echo "   \$ $*" | sed "s|$work|WORK|g; s|$win/||g"
    local status=0
    timeout 300 "$WINE" "$@" >"$work/stdout.txt" 2>"$work/stderr.txt" || status=$?
    if [ "$status" -ne 0 ]; then
        cat "$work/stdout.txt"
        grep -v '^0x\|^  ' "$work/stderr.txt" >&2 || true
        fail "exit status $status"
    fi
}
# Waits until every program in the prefix has ended (an uninstaller goes on in a copy of
# itself after the one started has returned).
settle() { timeout 120 "$WINESERVER" -w || fail "programs in the Wine prefix did not end"; }
# The files in a zip, without the zip's top folder.
zip_files() {
    python3 -c 'import sys, zipfile
for n in zipfile.ZipFile(sys.argv[1]).namelist():
    if not n.endswith("/"): print(n.split("/", 1)[1])' "$1"
}
reg_has() { "$WINE" reg query "$@" >/dev/null 2>&1; }

# Where the suite and the user's data are, as Linux paths inside the prefix.
drive_c="$WINEPREFIX/drive_c"
install_dir="$drive_c/Program Files/Hadrel/Service Suite"
install_win='C:\Program Files\Hadrel\Service Suite'
start_menu="$drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Hadrel Service Suite"
user_data="$drive_c/users/$(id -un)/AppData/Local/Hadrel"
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\HadrelServiceSuite'
settings_key='HKCU\Software\Hadrel\QuarnWin\Einstellungen'

echo "setup program: $(basename "$setup"), $(stat -c %s "$setup") bytes"
windows_prefix_ready
"$WINESERVER" -p5 >"$work/wineserver.log" 2>&1 </dev/null

step "a machine without the suite, with the user's settings"
rm -rf "$drive_c/Program Files/Hadrel" "$start_menu" "$user_data"
"$WINE" reg delete "$uninstall_key" /f >/dev/null 2>&1 || true
"$WINE" reg delete 'HKCU\Software\Hadrel' /f >/dev/null 2>&1 || true
run reg add "$settings_key" /v Baudrate /t REG_SZ /d 19200 /f

# Exactly the files of the zip, and the uninstaller.
expect_installed_files() {
    diff <(cd "$install_dir" && find . -type f | sed 's|^\./||' | sort) \
        <({ zip_files "$zip"; echo Uninstall.exe; } | sort) ||
        fail "the install folder holds other files than the zip"
}
step "silent install"
run "$setup" /S
settle
expect_installed_files
step "silent install again, over the installed suite (an update)"
run "$setup" /S
settle
expect_installed_files
dialogs=()
for program in QuarnWin Skellig Vantor; do
    [ -f "$install_dir/$program.exe" ] && dialogs+=("$program")
done
echo "   installed: ${dialogs[*]:+${dialogs[*]} }quarnctl skelligctl vantorctl and the samples"

step "Start-menu entries and the entry in the list of installed programs"
for link in "${dialogs[@]}" "Service Suite Command Prompt"; do
    [ -f "$start_menu/$link.lnk" ] || fail "no Start-menu entry $link"
done
"$WINE" reg query "$uninstall_key" >"$work/key.txt" 2>&1 || fail "no uninstall entry $uninstall_key"
tr -d '\r' <"$work/key.txt" >"$work/key-unix.txt"
expect_value() {
    grep -qxF "    $1    $2" "$work/key-unix.txt" || { cat "$work/key-unix.txt"; fail "uninstall entry: $1 is not $2"; }
}
expect_value DisplayName "REG_SZ    Hadrel Service Suite"
expect_value DisplayVersion "REG_SZ    $version"
expect_value Publisher "REG_SZ    Hadrel"
expect_value InstallLocation "REG_SZ    $install_win"
expect_value UninstallString "REG_SZ    \"$install_win\\Uninstall.exe\""
expect_value QuietUninstallString "REG_SZ    \"$install_win\\Uninstall.exe\" /S"
grep -q '^    EstimatedSize    REG_DWORD    0x[0-9a-f]*[1-9a-f]' "$work/key-unix.txt" ||
    fail "uninstall entry: no EstimatedSize"

step "the installed quarnctl.exe downloads the sample project into plcsim on com5"
"$linux/sim/plc/plcsim" --link "$work/plc" --image "$work/plc.img" >"$work/plcsim.log" 2>&1 &
sim=$!
for _ in $(seq 50); do [ -e "$work/plc" ] && break; sleep 0.1; done
[ -e "$work/plc" ] || fail "plcsim did not come up"
ln -sfn "$work/plc" "$WINEPREFIX/dosdevices/com5"
run "$install_win\\quarnctl.exe" --port com5 --yes download "$install_win\\samples\\project\\project.pr"
# Wine leaves parity checking on the pseudo-terminal, which would refuse the next open.
stty -F "$(readlink "$work/plc")" -inpck
run "$install_win\\quarnctl.exe" --port com5 upload "Z:${work//\//\\}\\project"
for file in project.pr project.kb; do
    cmp "$top/samples/project/$file" "$work/project/$file" || fail "$file came back changed"
done
# The program may not keep its log in Program Files: it is the user's, in the user's folder.
[ ! -e "$install_dir/log.txt" ] || fail "quarnctl.exe wrote its log into the install folder"
grep -q "Start download" "$user_data/QuarnWin/log.txt" ||
    fail "no download in the user's log $user_data/QuarnWin/log.txt"

for program in "${dialogs[@]}"; do
    step "the installed $program.exe starts"
    run "$install_win\\$program.exe" --version
    tr -d '\r' <"$work/stdout.txt" | grep -q "$version" || echo "   (no version text on standard output)"
done
# QuarnWin registers itself for its user as an automation server at every start.
automation_key='HKCU\Software\Classes\QuarnWin.Application'
if [ -f "$install_dir/QuarnWin.exe" ]; then
    step "the installed QuarnWin.exe registers itself as an automation server"
    run "$install_win\\QuarnWin.exe" /RegServer
    reg_has "$automation_key" || fail "no $automation_key"
fi

step "uninstalling while quarnctl.exe runs removes what it can and says the suite is still there"
stty -F "$(readlink "$work/plc")" -inpck
"$WINE" "$install_win\\quarnctl.exe" --port com5 watch "$install_win\\samples\\monitor\\demo.ot" \
    </dev/null >"$work/watch.txt" 2>&1 &
watcher=$!
for _ in $(seq 60); do grep -q "Show variables" "$work/watch.txt" && break; sleep 0.5; done
grep -q "Show variables" "$work/watch.txt" || { cat "$work/watch.txt"; fail "quarnctl.exe watch did not start"; }
# Run in place (_?=), so that its exit status is the uninstall's. The folder goes unquoted,
# as the uninstaller wants it: Wine joins the words with spaces.
read -ra in_place <<<"_?=$install_win"
status=0
"$WINE" "$install_win\\Uninstall.exe" /S "${in_place[@]}" >/dev/null 2>&1 || status=$?
[ "$status" -eq 2 ] || fail "the uninstall with quarnctl.exe running ended with $status, not 2"
if [ ! -f "$install_dir/quarnctl.exe" ] || ! reg_has "$uninstall_key"; then
    fail "the uninstall entry went although quarnctl.exe is still installed"
fi
kill "$watcher"
wait "$watcher" 2>/dev/null || true

step "silent uninstall"
run "$install_win\\Uninstall.exe" /S
settle
[ ! -e "$drive_c/Program Files/Hadrel" ] || { find "$drive_c/Program Files/Hadrel"; fail "files were left behind"; }
[ ! -e "$start_menu" ] || fail "the Start-menu folder was left behind"
! reg_has "$uninstall_key" || fail "the uninstall entry was left behind"
! reg_has "$automation_key" || fail "QuarnWin's automation registration was left behind"
reg_has "$settings_key" /v Baudrate || fail "the user's settings were removed"
[ -f "$user_data/QuarnWin/log.txt" ] || fail "the user's log was removed"

step "setup program tested: $(stat -c %s "$setup") bytes, $(($(date +%s) - started)) s"
