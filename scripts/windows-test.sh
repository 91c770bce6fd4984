#!/usr/bin/env bash
# The Windows build under Wine: the core's unit tests and the dialog programs' Qt tests, then
# the three command-line tools and the three dialogs end to end against the Linux build's
# simulators, each reaching its simulator through a COM port that the private Wine prefix
# maps to the simulator's pseudo-terminal; the dialogs' settings are read back from the
# registry.
# Usage: scripts/windows-test.sh WINDOWS_BUILD LINUX_BUILD
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
win=$(cd "${1:-build-windows}" && pwd)
linux=$(cd "${2:-build}" && pwd)
export WINEPREFIX="$win/wine-prefix"
# shellcheck source=windows-env.sh
source "$top/scripts/windows-env.sh"

work=$(mktemp -d /tmp/suite-windows.XXXXXX)
sims=()
cleanup() {
    for pid in "${sims[@]}"; do kill "$pid" 2>/dev/null || true; done
    wait 2>/dev/null || true
    rm -f "$WINEPREFIX"/dosdevices/com{5,12,17}
    "$WINE" reg delete 'HKCU\Software\Classes\QuarnWin.Application' /f >/dev/null 2>&1 || true
    # The server ends a few seconds after its last program; nothing is left running.
    timeout 60 "$WINESERVER" -w 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

step_start=$(date +%s)
step() {
    local now
    now=$(date +%s)
    echo "-- $* (after $((now - step_start)) s)"
}
fail() {
    echo "FAILED: $*" >&2
    exit 1
}
# A Linux path as the Windows programs see it: drive Z: is the Linux root.
winpath() { printf 'Z:%s' "${1//\//\\}"; }
# Starts the simulator command $2... with --link $1 (its output in $1.log) and waits until
# its link is there.
start_link_sim() {
    local link=$1
    shift
    "$@" --link "$link" >"$link.log" 2>&1 &
    sims+=($!)
    for _ in $(seq 50); do [ -e "$link" ] && break; sleep 0.1; done
    [ -e "$link" ] || fail "simulator did not come up: $*"
}
# Starts a simulator whose --link is $1 and maps COM port $2 onto it.
start_sim() {
    local link=$1 port=$2
    shift 2
    start_link_sim "$link" "$@"
    ln -sfn "$link" "$WINEPREFIX/dosdevices/$port"
}
stop_sims() {
    for pid in "${sims[@]}"; do kill "$pid" 2>/dev/null || true; done
    wait "${sims[@]}" 2>/dev/null || true
    sims=()
}
# Wine sets parity on the port's Linux side; a pseudo-terminal can't hold it, and Wine then
# refuses the next program's even parity if the earlier parity check is still on. A real COM
# port keeps its parity, so the line is put back between the PLC tool's runs.
fresh_line() { stty -F "$(readlink "$1")" -inpck; }
run() {
    echo "   \$ $*" | sed "s|$work|WORK|g; s|$win/||g"
    # Standard error is shown only when the program fails: Wine's own diagnostics land there.
    local status=0
    timeout 300 "$WINE" "$@" 2>"$work/stderr.txt" || status=$?
    if [ "$status" -ne 0 ]; then
        grep -v '^0x\|^  ' "$work/stderr.txt" >&2 || true
        fail "exit status $status"
    fi
}

windows_prefix_ready
# The dialogs' Qt tests draw offscreen (Wine passes the setting on as WINEQT_*).
export QT_QPA_PLATFORM=offscreen
windows_qt_environment
# One server for the runs below, with its diagnostics kept out of the test output; it ends a
# few seconds after the last program.
"$WINESERVER" -p5 >"$work/wineserver.log" 2>&1 </dev/null

# A Qt Test program under Wine: its output (which Qt Test gives only to a file there) is
# shown when it fails.
run_qt_test() {
    echo "   \$ $*" | sed "s|$work|WORK|g; s|$win/||g"
    local status=0
    rm -f "$work/qt-test.txt"
    timeout 180 "$WINE" "$@" -o "$(winpath "$work/qt-test.txt"),txt" 2>"$work/stderr.txt" || status=$?
    if [ "$status" -ne 0 ]; then
        cat "$work/qt-test.txt"
        grep -v '^0x\|^  ' "$work/stderr.txt" >&2 || true
        fail "exit status $status"
    fi
    grep '^Totals:' "$work/qt-test.txt" | sed 's/^/   /'
}
# A value of the registry as `reg query` shows it: NAME TYPE DATA ("(Default)": the key's own).
registry_value() {
    local which=(/v "$2")
    [ "$2" = '(Default)' ] && which=(/ve)
    # Only its ASCII letters: reg.exe writes the others in another code set.
    "$WINE" reg query "$1" "${which[@]}" 2>/dev/null | tr -cd '\11\12\40-\176' |
        awk -v name="$2" '$1 == name { $1 = $1; print }'
}
expect_registry() {
    local key=$1 name=$2 pattern=$3 line
    line=$(registry_value "$key" "$name")
    echo "   $key: $line"
    [[ "$line" =~ $pattern ]] || fail "$key\\$name is '$line', expected /$pattern/"
}
dialogs_built() { [ -f "$win/plc_tool/qt/QuarnWin.exe" ]; }

step "unit tests of the core and of the dialog programs under Wine"
# Left out under Wine: cases that need what a Windows file system cannot hold (names that
# differ only in case are two files there; symbolic links).
linux_only="TempDir.FindsFilesIgnoringCaseButPrefersTheExactName"
linux_only+=":TextFilePath.FoundIgnoringCaseInAMixedCaseFolder"
linux_only+=":Convert.WritingThroughASymbolicLinkReplacesTheFileItPointsTo"
(cd "$win" && GTEST_FILTER="-$linux_only" ctest -L unit -j 2 --output-on-failure --timeout 300)

step "vantorctl.exe get-protocol and convert against displaysim on com17, in a folder named beyond ASCII"
# Arguments reach the tools through the wide command line: "Jürgen" and "Проект" in one path.
beyond_ascii="Jürgen/Проект"
mkdir -p "$work/vantor/$beyond_ascii"
start_sim "$work/protocol" com17 "$linux/sim/display/displaysim" \
    --protocol "$top/samples/protocol/demo.pro" --statistics "$top/samples/protocol/demo.sta"
run "$win/protocol_tool/vantorctl.exe" --port com17 get-protocol \
    "$(winpath "$work/vantor/$beyond_ascii/may.pro")" --new >"$work/vantor/out.txt"
cmp "$work/vantor/$beyond_ascii/may.pro" "$top/samples/protocol/demo.pro" ||
    fail "protocol not stored byte for byte"
run "$win/protocol_tool/vantorctl.exe" convert "$(winpath "$work/vantor/$beyond_ascii/may.pro")"
cp "$top/samples/protocol/demo.pro" "$work/vantor/linux.pro"
"$linux/protocol_tool/vantorctl" convert "$work/vantor/linux.pro" >/dev/null
cmp "$work/vantor/$beyond_ascii/may.xls" "$work/vantor/linux.xls" ||
    fail "spreadsheet differs from the Linux tool's"
stop_sims

step "skelligctl.exe send of the sample setup against displaysim on com12"
send_args=(send --time 09:05:03 --date 07.03.2024 --dst winter)
start_sim "$work/setup" com12 "$linux/sim/display/displaysim" --record "$work/windows.record"
run "$win/setup_tool/skelligctl.exe" --port com12 send "$(winpath "$top/samples/display/anlage.txt")" \
    "${send_args[@]:1}" >"$work/skellig.txt"
stop_sims
start_sim "$work/setup-linux" com12 "$linux/sim/display/displaysim" --record "$work/linux.record"
"$linux/setup_tool/skelligctl" --port "$work/setup-linux" send "$top/samples/display/anlage.txt" \
    "${send_args[@]:1}" >/dev/null
stop_sims
[ -s "$work/windows.record" ] || fail "the display received nothing"
cmp "$work/windows.record" "$work/linux.record" || fail "the display received other commands than from Linux"

step "quarnctl.exe identify, download and upload of the sample project against plcsim on com5"
start_sim "$work/plc" com5 "$linux/sim/plc/plcsim" --image "$work/plc.img"
run "$win/plc_tool/quarnctl.exe" --port com5 identify
fresh_line "$work/plc"
run "$win/plc_tool/quarnctl.exe" --port com5 --log "$(winpath "$work/log.txt")" --yes \
    download "$(winpath "$top/samples/project/project.pr")"
fresh_line "$work/plc"
run "$win/plc_tool/quarnctl.exe" --port com5 --log "$(winpath "$work/log.txt")" \
    upload "$(winpath "$work/windows/project")"
"$linux/plc_tool/quarnctl" --port "$work/plc" upload "$work/linux/project" >/dev/null
# Into a folder named beyond ASCII: the project takes the folder's name, Проект.pr and .kb.
fresh_line "$work/plc"
run "$win/plc_tool/quarnctl.exe" --port com5 --log "$(winpath "$work/log.txt")" \
    upload "$(winpath "$work/windows/$beyond_ascii")"
"$linux/plc_tool/quarnctl" --port "$work/plc" upload "$work/linux/$beyond_ascii" >/dev/null
diff -r "$work/windows/$beyond_ascii" "$work/linux/$beyond_ascii" >/dev/null ||
    fail "the upload into $beyond_ascii differs from the Linux tool's upload"
[ -f "$work/windows/$beyond_ascii/Проект.pr" ] || fail "no Проект.pr in $beyond_ascii"
stop_sims
# The project file and configuration block come back as they went, the modules' code too
# (download sets some header fields), and every file as the Linux tool uploads it.
cmp "$top/samples/project/project.pr" "$work/windows/project/project.pr" || fail "project.pr"
cmp "$top/samples/project/project.kb" "$work/windows/project/project.kb" || fail "project.kb"
for module in "$top"/samples/project/*.ob; do
    name=$(basename "$module")
    cmp <(tail -c +31 "$module") <(tail -c +31 "$work/windows/project/$name") ||
        fail "the code of $name came back changed"
done
diff -r "$work/windows/project" "$work/linux/project" >/dev/null ||
    fail "the upload differs from the Linux tool's upload"

step "quarnctl.exe over the network: identify and download through ser2net (RFC 2217) in front of plcsim"
start_link_sim "$work/plc-net" "$linux/sim/plc/plcsim" --image "$work/plc-net.img"
net_port=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
cat >"$work/ser2net.yaml" <<YAML
connection: &plc
  accepter: telnet(rfc2217),tcp,127.0.0.1,$net_port
  connector: serialdev,$(readlink -f "$work/plc-net"),9600e81,local
YAML
/usr/sbin/ser2net -n -u -c "$work/ser2net.yaml" -P "$work/ser2net.pid" >"$work/ser2net.log" 2>&1 &
sims+=($!)
listening=$(printf ':%04X 00000000:0000 0A' "$net_port")
for _ in $(seq 100); do grep -q "$listening" /proc/net/tcp && break; sleep 0.1; done
grep -q "$listening" /proc/net/tcp || fail "ser2net did not listen on $net_port"
run "$win/plc_tool/quarnctl.exe" --port "rfc2217://127.0.0.1:$net_port" identify
run "$win/plc_tool/quarnctl.exe" --port "rfc2217://127.0.0.1:$net_port" --log "$(winpath "$work/log.txt")" \
    --yes download "$(winpath "$top/samples/project/project.pr")"
stop_sims
# What the PLC holds is the project, as a local download leaves it.
start_link_sim "$work/plc-net" "$linux/sim/plc/plcsim" --image "$work/plc-net.img"
"$linux/plc_tool/quarnctl" --port "$work/plc-net" verify "$top/samples/project/project.pr" >"$work/verify.txt" ||
    fail "the project downloaded through ser2net does not verify: $(cat "$work/verify.txt")"
stop_sims

if ! dialogs_built; then
    step "all Windows tests passed (the dialog programs were not built: no Qt for Windows)"
    exit 0
fi

step "QuarnWin.exe: --help, and the automation entries of /RegServer and /UnregServer"
help=$(timeout 60 "$WINE" "$win/plc_tool/qt/QuarnWin.exe" --help 2>/dev/null | tr -d '\r') || true
grep -qF 'HKEY_CURRENT_USER\Software\Hadrel\QuarnWin\Einstellungen' <<<"$help" ||
    fail "QuarnWin.exe --help does not name the registry: $help"
run "$win/plc_tool/qt/QuarnWin.exe" /RegServer
class_id='{A85B196A-E3AB-4933-9B50-2592097FC993}'
expect_registry 'HKCU\Software\Classes\QuarnWin.Application\CLSID' '(Default)' \
    'REG_SZ \{A85B196A-E3AB-4933-9B50-2592097FC993\}$'
expect_registry "HKCU\\Software\\Classes\\CLSID\\$class_id\\LocalServer32" '(Default)' \
    'REG_SZ ".*\\QuarnWin.exe" /Automation$'
run "$win/plc_tool/qt/QuarnWin.exe" /UnregServer
if "$WINE" reg query 'HKCU\Software\Classes\QuarnWin.Application' >/dev/null 2>&1; then
    fail "/UnregServer left QuarnWin.Application in the registry"
fi

# The upload folder is named beyond ASCII; Skellig and Vantor use "Jürgen" below.
upload=${SUITE_QUARNWIN_UPLOAD:-$beyond_ascii}
step "QuarnWin's dialog: download, upload into $upload, variables window (plcsim on com5)"
start_sim "$work/plc" com5 "$linux/sim/plc/plcsim" --memory "$top/samples/monitor/demo.mem"
mkdir -p "$work/quarnwin"
SUITE_TEST_PORT=com5 SUITE_TEST_OUT=$(winpath "$work/quarnwin") SUITE_TEST_SAMPLES=$(winpath "$top/samples") \
    SUITE_TEST_UPLOAD="$upload" run_qt_test "$win/plc_tool/qt/tests/quarnwin_com_port_test.exe"
"$linux/plc_tool/quarnctl" --port "$work/plc" upload "$work/linux-dialog/$upload" >/dev/null
stop_sims
diff -r "$work/quarnwin/$upload" "$work/linux-dialog/$upload" >/dev/null ||
    fail "the dialog's upload differs from the Linux tool's upload"
grep -q "All Modules successfully uploaded at" "$work/quarnwin/log.txt" || fail "log.txt beside the test"
settings='HKCU\Software\Hadrel\QuarnWin\Einstellungen'
expect_registry "$settings" Baudrate '^Baudrate REG_DWORD 0x0$'
expect_registry "$settings" PathDn '^PathDn REG_SZ .*project[/\\]project\.pr$'
expect_registry "$settings" PathUp '^PathUp REG_SZ .*\\$'
expect_registry "$settings" PathVar '^PathVar REG_SZ .*demo\.ot$'

step "Skellig's dialog: the sample setup from a folder named beyond ASCII (displaysim on com12)"
mkdir -p "$work/skellig/Jürgen"
cp "$top"/samples/display/anlage.* "$work/skellig/Jürgen/"
start_sim "$work/setup-dialog" com12 "$linux/sim/display/displaysim" --record "$work/dialog.record"
SUITE_TEST_PORT=com12 SUITE_TEST_OUT=$(winpath "$work/skellig") \
    run_qt_test "$win/setup_tool/skellig_com_port_test.exe"
stop_sims
cmp "$work/dialog.record" "$work/linux.record" || fail "the display received other commands than from Linux"
expect_registry 'HKCU\Software\Hadrel\Skellig\Einstellungen' PathVYN '^PathVYN REG_SZ .*rgen\\anlage\.txt$'

step "Vantor's dialog: protocol retrieved into a folder named beyond ASCII and converted (displaysim on com17)"
mkdir -p "$work/vantor-dialog"
start_sim "$work/protocol-dialog" com17 "$linux/sim/display/displaysim" \
    --protocol "$top/samples/protocol/demo.pro" --statistics "$top/samples/protocol/demo.sta"
SUITE_TEST_PORT=com17 SUITE_TEST_OUT=$(winpath "$work/vantor-dialog") \
    run_qt_test "$win/protocol_tool/qt/vantor_com_port_test.exe"
stop_sims
cmp "$work/vantor-dialog/Jürgen/may.pro" "$top/samples/protocol/demo.pro" || fail "protocol not stored byte for byte"
cmp "$work/vantor-dialog/Jürgen/may.xls" "$work/vantor/linux.xls" || fail "spreadsheet differs from the Linux tool's"
settings='HKCU\Software\Hadrel\Vantor\Einstellungen'
# (reg.exe writes names beyond ASCII in another code set: those letters are not compared.)
expect_registry "$settings" Mode '^Mode REG_DWORD 0x1$'
expect_registry "$settings" Cyrillic '^Cyrillic REG_DWORD 0x0$'
expect_registry "$settings" PathVYNProtokoll '^PathVYNProtokoll REG_SZ .*rgen\\may\.pro$'

step "all Windows tests passed"
