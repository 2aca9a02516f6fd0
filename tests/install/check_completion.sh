#!/usr/bin/env bash
# Completes quillmark-cli command lines in bash, zsh and fish, in a folder of sample
# files, and compares what each shell offers with what the companion's own table of
# commands says (every command, its options and its first argument) and with the rows
# below. Usage: check_completion.sh QUILLMARK_CLI BASH_FILE ZSH_FILE FISH_FILE
set -uo pipefail
cli=$(realpath "$1")
bash_file=$(realpath "$2")
zsh_file=$(realpath "$3")
fish_file=$(realpath "$4")
here=$(cd "$(dirname "$0")" && pwd)
source /usr/share/bash-completion/bash_completion || exit 1
source "$bash_file" || exit 1

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# The completions ask the companion they complete, here the one built, on the PATH.
mkdir "$work/bin" "$work/zsh" "$work/files"
ln -s "$cli" "$work/bin/quillmark-cli"
export PATH="$work/bin:$PATH"
# The shells keep their own files (fish its history) in the run's folder.
export XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data" XDG_CACHE_HOME="$work/cache"
cp "$zsh_file" "$work/zsh/"
cd "$work/files" || exit 1
mkdir sub
touch a.qmk b.json c.txt d.html

# Candidates, one a line, as one sorted line; folders with their slash, as readline adds.
tidy() {
    local candidate
    while IFS= read -r candidate; do
        candidate=${candidate%$'\r'}
        candidate=${candidate%%$'\t'*}
        [ -z "$candidate" ] && continue
        [[ -d $candidate && $candidate != */ ]] && candidate+=/
        echo "$candidate"
    done | sort -u | xargs
}
complete_bash() {
    local line=$1
    read -ra COMP_WORDS <<<"$line"
    [[ $line == *' ' ]] && COMP_WORDS+=('')
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    COMP_LINE=$line
    COMP_POINT=${#line}
    COMPREPLY=()
    _quillmark_cli quillmark-cli "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}"
    printf '%s\n' "${COMPREPLY[@]}"
}
complete_fish() { fish --no-config -c "source '$fish_file'; complete -C \$argv[1]" "$1"; }

# The line typed so far (the last word is being completed) | the candidates, sorted.
rows=(
    "quillmark-cli s|show"
    "quillmark-cli show s|sub/"
    "quillmark-cli generate --output |a.qmk b.json c.txt d.html sub/"
    "quillmark-cli generate --output x |a.qmk sub/"
    "quillmark-cli pack b.json |a.qmk sub/"
    "quillmark-cli convert --log c.txt |a.qmk b.json c.txt d.html sub/"
    "quillmark-cli extract d.html |a.qmk sub/"
    "quillmark-cli apply --dry-run a.qmk d.html |d.html sub/"
    "quillmark-cli unknown |"
)

# From the table: the commands and the companion's own options, then each command's
# options and what its first argument takes.
table=$(quillmark-cli --completion-table) || exit 1
field() { awk -F'\t' -v kind="$1" -v of="$2" '$1 == kind && (of == "" || $2 == of) { print $'"$3"' }'; }
commands=$(field command '' 2 <<<"$table" | sort | xargs)
[ -n "$commands" ] || { echo "FAIL: the companion lists no command" >&2; exit 1; }
rows+=("quillmark-cli |$commands")
rows+=("quillmark-cli --|$(field option quillmark-cli 3 <<<"$table" | sort | xargs)")
for command in $commands; do
    options=$(field option "$command" 3 <<<"$table" | tr -d = | sort | xargs)
    rows+=("quillmark-cli $command --|$options")
    first=$(field argument "$command" 3 <<<"$table" | head -n 1)
    case ${first%+} in
    '') continue ;;
    any) files="a.qmk b.json c.txt d.html sub/" ;;
    command) files=$commands ;;
    *) files=$(ls -d -- *."${first%+}" sub/ 2>/dev/null | sort | xargs) ;;
    esac
    rows+=("quillmark-cli $command |$files")
done

# zsh completes every line in one shell, which starts slowly.
lines=()
for row in "${rows[@]}"; do
    lines+=("${row%%|*}")
done
mapfile -t zsh_got < <(zsh "$here/complete.zsh" "$work/zsh" "${lines[@]}")

failed=0
for i in "${!rows[@]}"; do
    line=${lines[i]}
    want=${rows[i]#*|}
    for shell in bash zsh fish; do
        if [ $shell = zsh ]; then
            got=$(tr ' ' '\n' <<<"${zsh_got[i]-}" | tidy)
        else
            got=$("complete_$shell" "$line" | tidy)
        fi
        if [ "$got" != "$want" ]; then
            echo "FAIL: $shell completes '$line' to '$got', not '$want'" >&2
            failed=1
        fi
    done
done
[ $failed -eq 0 ] && echo "Completion checked: ${#rows[@]} lines in bash, zsh and fish"
exit $failed
