#!/usr/bin/env bash
# Packs the Windows programs with the README and the samples twice: into one zip, and into a
# setup program (packaging/windows/service-suite.nsi) that installs them for all users.
# The command-line tools must have been built; the dialog programs QuarnWin, Skellig and
# Vantor are taken along when the build has them.
# Usage: scripts/windows-package.sh WINDOWS_BUILD
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
win=$(cd "${1:-build-windows}" && pwd)
version=$(sed -n 's/^project(ServiceSuite VERSION \([0-9.]*\).*/\1/p' "$top/CMakeLists.txt")
name="service-suite-$version-windows-x64"
command -v makensis >/dev/null ||
    { echo "makensis is not installed (scripts/install-deps.sh installs the package nsis)" >&2; exit 1; }
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
mkdir -p "$stage/$name"
for exe in plc_tool/quarnctl.exe setup_tool/skelligctl.exe protocol_tool/vantorctl.exe; do
    [ -f "$win/$exe" ] || { echo "missing $win/$exe: run make windows first" >&2; exit 1; }
    cp "$win/$exe" "$stage/$name/"
done
# The dialog programs, wherever the build puts them and however it spells them; the private
# Wine prefix (where the install test puts an installed copy) is no part of the build.
dialogs=()
for program in QuarnWin Skellig Vantor; do
    found=$(find "$win" -path "$win/wine-prefix" -prune -o -type f -iname "$program.exe" -print |
        sort | head -n 1)
    [ -n "$found" ] || continue
    cp "$found" "$stage/$name/$program.exe"
    dialogs+=("$program")
done
cp "$top/README.md" "$stage/$name/"
# The samples without the scripts that generated them.
(cd "$top" && find samples -type f ! -name '*.py' -print0 | xargs -0 cp --parents -t "$stage/$name")

rm -f "$win/$name.zip"
(cd "$stage" && zip -qr "$win/$name.zip" "$name")
echo "$win/$name.zip"

# The setup program's file list: what it installs is exactly what it removes again.
nsis_text() { printf '%s' "${1//\$/\$\$}"; }
list="$stage/files.nsh"
{
    for program in "${dialogs[@]}"; do echo "!define HAVE_$program"; done
    # "QuarnWin, Skellig, Vantor, quarnctl, skelligctl and vantorctl" for the welcome page.
    words=""
    for program in "${dialogs[@]}" quarnctl skelligctl; do words+="$program, "; done
    echo "!define PROGRAMS \"${words%, } and vantorctl\""
    echo '!macro InstallFiles'
    (cd "$stage/$name" && find . -type d | sort) | while read -r dir; do
        rel=${dir#.}
        echo "  SetOutPath \"\$INSTDIR$(nsis_text "${rel//\//\\}")\""
        (cd "$stage/$name$rel" && find . -maxdepth 1 -type f | sort) | while read -r file; do
            echo "  File \"$(nsis_text "$stage/$name$rel/${file#./}")\""
        done
    done
    echo '!macroend'
    echo '!macro UninstallFiles'
    (cd "$stage/$name" && find . -type f | sort) | while read -r file; do
        rel=${file#.}
        echo "  Delete \"\$INSTDIR$(nsis_text "${rel//\//\\}")\""
    done
    echo '!macroend'
    echo '!macro UninstallFolders'
    (cd "$stage/$name" && find . -mindepth 1 -type d | sort -r) | while read -r dir; do
        rel=${dir#.}
        echo "  RMDir \"\$INSTDIR$(nsis_text "${rel//\//\\}")\""
    done
    echo '!macroend'
} >"$list"

setup="$win/$name-setup.exe"
rm -f "$setup"
makensis -V2 -WX -INPUTCHARSET UTF8 -DVERSION="$version" -DFILES="$list" -DOUTFILE="$setup" \
    "$top/packaging/windows/service-suite.nsi" >"$stage/makensis.log" 2>&1 ||
    { cat "$stage/makensis.log" >&2; echo "makensis failed" >&2; exit 1; }
echo "$setup"
