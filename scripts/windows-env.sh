# Sourced by the Windows scripts: finds Wine and makes sure the private prefix exists.
# WINEPREFIX must be set by the caller (the build folder's wine-prefix).
: "${WINEPREFIX:?names the private Wine prefix of the Windows build}"
export WINEPREFIX
export WINEDEBUG="${WINEDEBUG:--all}"
# No Mono or Gecko installers: the tools need neither, and they would ask on first use.
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
# Wine takes the code set of Linux file names and of its console output from the locale:
# UTF-8, so names such as "Jürgen" cross unchanged.
case "${LC_ALL:-${LC_CTYPE:-${LANG:-}}}" in
    *UTF-8* | *utf8*) ;;
    *) export LC_ALL=C.UTF-8 ;;
esac
WINE="$(command -v wine64 || command -v wine || true)"
[ -n "$WINE" ] || { [ -x /usr/lib/wine/wine64 ] && WINE=/usr/lib/wine/wine64; }
[ -n "$WINE" ] || { echo "wine64 is not installed (scripts/install-deps.sh installs it)" >&2; exit 1; }
WINESERVER="$(command -v wineserver || true)"
[ -n "$WINESERVER" ] || WINESERVER="$(dirname "$WINE")/wineserver"
export WINE WINESERVER

# Creates the prefix once. Creation is serialised with a lock (tests may start in parallel),
# bounded in time, and only a prefix that came up completely is kept: a failed or interrupted
# one is removed, so the next run starts afresh.
windows_prefix_ready() {
    [ -f "$WINEPREFIX/.suite-ready" ] && return 0
    mkdir -p "$(dirname "$WINEPREFIX")"
    (
        flock -w 600 9 || { echo "timed out waiting for $WINEPREFIX to be created" >&2; exit 1; }
        [ -f "$WINEPREFIX/.suite-ready" ] && exit 0
        rm -rf "$WINEPREFIX"
        echo "Creating the Wine prefix $WINEPREFIX (first use, takes a minute)" >&2
        if ! timeout 300 "$WINE" wineboot --init >/dev/null 2>&1 ||
            ! timeout 120 "$WINESERVER" -w; then
            echo "could not create the Wine prefix $WINEPREFIX" >&2
            "$WINESERVER" -k 2>/dev/null || true
            rm -rf "$WINEPREFIX"
            exit 1
        fi
        touch "$WINEPREFIX/.suite-ready"
    ) 9>"$WINEPREFIX.lock"
}

# Wine hands a program the variables WINEQT_* as QT_* and drops QT_* itself: the Qt settings
# of the caller (QT_QPA_PLATFORM=offscreen in a test's environment) are passed on that way.
# The offscreen platform draws with the font files of a folder (Wine's fonts are not its).
windows_qt_environment() {
    local name
    for name in $(compgen -e | grep '^QT_'); do
        export "WINE$name=${!name}"
    done
    if [ -z "${WINEQT_QPA_FONTDIR:-}" ]; then
        export WINEQT_QPA_FONTDIR=Z:/usr/share/fonts/truetype/dejavu
    fi
}
