#!/usr/bin/env bash
# Demo: The command-line tools' shared shape (commands, --version, a usage error, completion)
set -euo pipefail
quarnctl="$BUILD/plc_tool/quarnctl"
echo "\$ quarnctl --help"
"$quarnctl" --help
echo
echo "\$ skelligctl --version; vantorctl --version"
"$BUILD/setup_tool/skelligctl" --version
"$BUILD/protocol_tool/vantorctl" --version
echo
echo "\$ quarnctl watch symbols.ot --cycles 0"
"$quarnctl" watch symbols.ot --cycles 0 || echo "(exit status $?: wrong usage)"
echo
echo "\$ source $BUILD/completion/quarnctl; complete the word after 'quarnctl d'"
source "$BUILD/completion/quarnctl"
COMP_WORDS=(quarnctl d)
COMP_CWORD=1
_quarnctl_complete
echo "${COMPREPLY[*]}"
