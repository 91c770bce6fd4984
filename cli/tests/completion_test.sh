#!/usr/bin/env bash
# Usage: completion_test.sh TOOL COMPLETION_FILE
# The completion offers every command that TOOL --help lists, and every option of each
# command that 'TOOL COMMAND --help' lists.
set -u
tool=$1
source "$2"
name=$(basename "$tool")
function_name=$(complete -p "$name" | sed -n 's/.*-F \([^ ]*\).*/\1/p')
offered() {  # offered WORD...: what the completion offers for the last word
    COMP_WORDS=("$name" "$@")
    COMP_CWORD=$#
    COMPREPLY=()
    "$function_name"
    printf '%s\n' "${COMPREPLY[@]}"
}
# The commands are the indented words of the help's command section.
commands=$("$tool" --help | sed -n '/^Commands:/,/^$/s/^  \([a-z][a-z0-9-]*\).*/\1/p')
[ -n "$commands" ] || { echo "no commands in $name --help"; exit 1; }
status=0
for c in $commands; do
    if ! offered "" | grep -qx -- "$c"; then
        echo "completion does not offer the command $c"
        status=1
    fi
    for o in $("$tool" "$c" --help | grep -o -- ' --[a-z][a-z0-9-]*' | sort -u); do
        if ! offered "$c" "-" | grep -qx -- "$o"; then
            echo "completion does not offer $o after $c"
            status=1
        fi
    done
done
exit $status
