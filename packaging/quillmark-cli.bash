# Bash completion for quillmark-cli.

# One row per command: its name, its options (a trailing "=" marks one that takes a file
# name), and the kind of each file argument in order: a file extension (qmk for projects,
# json for pack's source, html for pages) or "any"; a trailing "+" lets the last kind repeat.
_quillmark_cli_commands=(
    "generate|--meta-only --output=|qmk"
    "show|--json|qmk"
    "pack||json qmk"
    "convert|--html-page --log|any any"
    "extract|--json|html qmk"
    "apply|--dry-run --keep-charset|qmk html+"
    "table|--json --write --dry-run|html+"
)

_quillmark_cli() {
    local cur prev words cword
    _init_completion || return

    local row name options='' kinds='' names=''
    for row in "${_quillmark_cli_commands[@]}"; do
        name=${row%%|*}
        names+=" $name"
        if [[ $name == "${words[1]}" ]]; then
            IFS='|' read -r name options kinds <<<"$row"
        fi
    done
    if ((cword == 1)); then
        mapfile -t COMPREPLY < <(compgen -W "$names --help --version" -- "$cur")
        return
    fi
    [[ -n $kinds ]] || return

    if [[ " $options " == *" $prev= "* ]]; then
        _filedir
        return
    fi
    if [[ $cur == -?* ]]; then
        mapfile -t COMPREPLY < <(compgen -W "${options//=/} --help" -- "$cur")
        return
    fi

    # Which file argument is being typed: the words before it less options and their values.
    local i count=0
    for ((i = 2; i < cword; i++)); do
        if [[ " $options " == *" ${words[i]}= "* ]]; then
            ((i++))
        elif [[ ${words[i]} != -?* ]]; then
            ((count++))
        fi
    done
    local -a kind=($kinds)
    local last=${kind[${#kind[@]} - 1]}
    if ((count < ${#kind[@]})); then
        last=${kind[count]}
    elif [[ $last != *+ ]]; then
        return
    fi
    last=${last%+}
    if [[ $last == any ]]; then
        _filedir
    else
        _filedir "$last"
    fi
}
complete -F _quillmark_cli quillmark-cli
