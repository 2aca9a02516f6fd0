#!/usr/bin/env bash
# Completes quillmark-cli command lines in a folder of sample files and compares the
# candidates with the table below. Usage: check_completion.sh COMPLETION_FILE
set -uo pipefail
source /usr/share/bash-completion/bash_completion || exit 1
source "$1" || exit 1

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1
mkdir sub
touch a.qmk b.json c.txt

# The line typed so far (the last word is being completed) | the candidates, sorted.
table=(
    "quillmark-cli |--help --version apply convert extract generate pack show table"
    "quillmark-cli s|show"
    "quillmark-cli show |a.qmk sub/"
    "quillmark-cli show --|--help --json"
    "quillmark-cli generate --output |a.qmk b.json c.txt sub/"
    "quillmark-cli generate --output x |a.qmk sub/"
    "quillmark-cli pack |b.json sub/"
    "quillmark-cli pack b.json |a.qmk sub/"
    "quillmark-cli pack b.json a.qmk |"
    "quillmark-cli convert --log c.txt |a.qmk b.json c.txt sub/"
    "quillmark-cli extract |sub/"
    "quillmark-cli apply --dry-run a.qmk |sub/"
    "quillmark-cli unknown |"
)
failed=0
for row in "${table[@]}"; do
    line=${row%%|*}
    want=${row#*|}
    read -ra COMP_WORDS <<<"$line"
    [[ $line == *' ' ]] && COMP_WORDS+=('')
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    COMP_LINE=$line
    COMP_POINT=${#line}
    COMPREPLY=()
    _quillmark_cli quillmark-cli "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}"
    # Folders come back without their slash, which readline adds.
    got=$(for c in "${COMPREPLY[@]}"; do [ -d "$c" ] && echo "$c/" || echo "$c"; done | sort | xargs)
    if [ "$got" != "$want" ]; then
        echo "FAIL: '$line' completes to '$got', not '$want'" >&2
        failed=1
    fi
done
exit $failed
