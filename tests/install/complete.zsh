#!/usr/bin/env zsh
# Prints what zsh's own completion offers for each LINE (its last word being completed),
# in the current folder, with the completion functions of FOLDER: a line of output per
# LINE, its candidates between blanks. Usage: complete.zsh FOLDER LINE...
zmodload zsh/zpty || exit 1
folder=$1
shift

zpty shell zsh -f -i
# The markers are computed, so that the terminal's echo of these lines holds none.
zpty -w shell "PROMPT= RPROMPT= PS2=; fpath=(${(q)folder} \$fpath)"
zpty -w shell 'autoload -Uz compinit && compinit -u -D'
# Every candidate a completion function adds is printed too.
zpty -w shell 'compadd() {
    if [[ ${@[1,(i)(-|--)]} == *-(O|A|D)\ * ]]; then
        builtin compadd "$@"
        return
    fi
    local -a hits
    builtin compadd -A hits "$@"
    local hit
    for hit in $hits; do print -r -- "<$((1))hit>$hit"; done
    builtin compadd "$@"
}'
zpty -w shell 'print-candidates() { print -r -- "<$((1))begin>"; _main_complete; print -r -- "<$((1))end>"; }'
zpty -w shell 'zle -C print-candidates complete-word print-candidates; bindkey "^I" print-candidates'

for line in "$@"; do
    # Typed, completed, then the line is killed for the next one.
    zpty -w -n shell "$line"$'\t'
    output=
    for ((tries = 0; tries < 400; tries++)); do
        chunk=
        zpty -rt shell chunk && output+=$chunk
        [[ $output == *'<1end>'* ]] && break
        sleep 0.02
    done
    [[ $output == *'<1end>'* ]] || { print -u2 "zsh did not complete '$line'"; exit 1; }
    output=${${output#*<1begin>}%%<1end>*}
    candidates=()
    for row in ${(f)output}; do
        row=${row%$'\r'}
        [[ $row == '<1hit>'* ]] && candidates+=(${row#<1hit>})
    done
    print -r -- $candidates
    zpty -w -n shell $'\C-e\C-u'
done
zpty -d shell
