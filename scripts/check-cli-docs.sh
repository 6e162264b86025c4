#!/usr/bin/env bash
# Fails when an option of quorvane-cli's --help is missing from its manual page
# or is not offered by its bash completion, so the three cannot drift apart.
# Usage: check-cli-docs.sh PATH/TO/quorvane-cli PATH/TO/packaging
set -euo pipefail
cli=$1
packaging=$2
manual=$packaging/quorvane-cli.1
completion=$packaging/quorvane-cli.bash-completion

# The long options a help text lists (CLI11 lines such as "  -j,--jobs INT ...").
long_options() {
  "$cli" "$@" --help | grep -oE '^ +(-[A-Za-z],)?--[a-z][a-z0-9-]*' | grep -oE -- '--[a-z][a-z0-9-]*'
}

# What the completion offers after "quorvane-cli WORDS... <cur>", one per line.
complete_after() {
  bash -c '
    _init_completion() {
      words=("${COMP_WORDS[@]}"); cword=$COMP_CWORD
      cur=${words[cword]}; prev=${words[cword-1]}
    }
    _filedir() { :; }
    complete() { :; }
    source "$0"
    COMP_WORDS=("$@"); COMP_CWORD=$(($# - 1))
    _quorvane_cli
    printf "%s\n" "${COMPREPLY[@]}"
  ' "$completion" quorvane-cli "$@"
}

failures=0
fail() { echo "check-cli-docs: $*" >&2; failures=$((failures + 1)); }

commands=$("$cli" --help | sed -n '/^Subcommands:/,/^$/p' | awk 'NR > 1 && NF { print $1 }')
[ -n "$commands" ] || fail "no commands found in quorvane-cli --help"
offered_commands=$(complete_after "")
for command in $commands; do
  grep -q -- "^\.B $command\$" "$manual" || fail "command $command is not described in $manual"
  grep -qx -- "$command" <<<"$offered_commands" || fail "completion does not offer the command $command"
done

for command in "" $commands; do
  offered=$(complete_after $command --)
  for option in $(long_options $command); do
    escaped=${option//-/\\-}
    grep -qF -- "$escaped" "$manual" || fail "${command:-quorvane-cli}: $option is not in $manual"
    grep -qx -- "$option" <<<"$offered" || fail "${command:-quorvane-cli}: completion does not offer $option"
  done
done

if ((failures)); then exit 1; fi
echo "check-cli-docs: the manual page and the completion cover every command and option"
