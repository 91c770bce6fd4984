#!/usr/bin/env bash
# Runs the README's "First steps with the simulators" and the man pages' examples that start
# a simulator, word for word, against an unpacked package and as a user other than root, as a
# new user would: the installed paths (/usr/...) lead into the unpacked root and /tmp/ into a
# scratch folder of that user. A simulator started with "&" is given time to make its link
# (a person typing the next line gives it that); a dialog program, which waits for the
# technician, counts as started when it still runs after a few seconds.
#   packaging/first-steps.sh ROOT      (ROOT: the unpacked package; run as root)
# FIRST_STEPS_USER names the user (default nobody); run by another user than root, the steps
# run as that user.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "${1:?usage: first-steps.sh ROOT}" && pwd)
user=${FIRST_STEPS_USER:-nobody}
group=$(id -gn "$user")
dialogs="quarnwin skellig vantor"
programs="$dialogs quarnctl skelligctl vantorctl plcsim displaysim"

work=$(mktemp -d /tmp/first-steps.XXXXXX)
trap '[ -n "${FIRST_STEPS_KEEP:-}" ] || rm -rf "$work"' EXIT
chmod 755 "$work"
mkdir "$work/tmp" "$work/home"
as_user() {
  env -i HOME="$work/home" PATH=/usr/bin:/bin LC_ALL=C.UTF-8 QT_QPA_PLATFORM=offscreen "$@"
}
if [ "$(id -u)" -eq 0 ]; then
  chown "$user:$group" "$work/tmp" "$work/home"
  as_user() {
    setpriv --reuid="$user" --regid="$group" --clear-groups \
      env -i HOME="$work/home" PATH=/usr/bin:/bin LC_ALL=C.UTF-8 QT_QPA_PLATFORM=offscreen "$@"
  }
else
  user=$(id -un)
fi
as_user test -x "$root/usr/bin/quarnctl" ||
  { echo "first-steps: $user can't reach $root/usr/bin/quarnctl" >&2; exit 1; }

# The steps as written, with the package's and the scratch folder's paths put in.
rewrite() {
  local names
  names=$(echo "$programs" | tr ' ' '|')
  sed -E -e "s#(^|[ =])/tmp/#\1$work/tmp/#g" -e "s#(^|[ =])/usr/#\1$root/usr/#g" \
    -e "s#^($names)( |\$)#$root/usr/bin/\1\2#" |
    while IFS= read -r line; do
      for d in $dialogs; do
        case "$line" in "$root/usr/bin/$d "*) line="started $line" ;; esac
      done
      case "$line" in
        "kill %1") line='kill %1 && { wait %1 || true; }' ;;
      esac
      printf '%s\n' "$line"
      # A simulator in the background: wait for its link before the next step.
      if [[ "$line" == *" &" && "$line" =~ --link\ ([^ ]+) ]]; then
        printf 'for _ in $(seq 50); do [ -e %s ] && break; sleep 0.1; done\n' "${BASH_REMATCH[1]}"
      fi
    done
}

readme_steps() {
  awk '/^### First steps with the simulators/ {p = 1; next} /^##/ {p = 0}
       p && /^    / {sub(/^    /, ""); print}' "$here/../README.md"
}

# The example blocks of a man page that start a simulator, with roff's escapes undone.
man_steps() {
  sed -e 's/\\-/-/g' -e 's/\\e$/\\/' "$1" |
    awk '/^\[EXAMPLES\]/ {e = 1; next} /^\[/ {e = 0}
         e && /^\.nf/ {b = 1; block = ""; next}
         e && /^\.fi/ {b = 0; if (block ~ /sim --link/) printf "%s", block; next}
         b {block = block $0 "\n"}'
}

run_steps() {
  local name=$1 script="$work/$1.sh"
  {
    echo 'set -euo pipefail'
    echo 'trap '"'"'kill $(jobs -p) 2>/dev/null || true'"'"' EXIT'
    echo 'started() { local s=0; timeout 5 "$@" >/dev/null 2>&1 || s=$?; [ "$s" -eq 124 ] || { echo "$1 ended with $s" >&2; return 1; }; }'
    rewrite
  } >"$script"
  chmod 644 "$script"
  if (cd "$work/tmp" && as_user bash "$script" >"$work/$name.out" 2>&1); then
    echo "first-steps: $name ok"
  else
    echo "FAIL: $name, as $user:" >&2
    sed 's/^/    /' "$work/$name.out" >&2
    failed=1
  fi
}

failed=0
run_steps readme < <(readme_steps)
for page in "$here"/man/*.h2m; do
  steps=$(man_steps "$page")
  [ -z "$steps" ] || run_steps "man-$(basename "$page" .h2m)" <<<"$steps"
done
exit "$failed"
