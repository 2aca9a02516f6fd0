# Bash completion for quillmark-cli.
#
# The commands, their options and the kinds of their file arguments are the companion's
# own: `quillmark-cli --completion-table` prints them (one line per option, command and
# argument, fields between tabs), so a new command completes with no change here. The
# zsh and fish completions read the same table.

# The table, asked once per shell of the companion being completed.
_quillmark_cli_table() {
    [[ -n ${_quillmark_cli_rows-} ]] && return
    local program=${1/#\~/$HOME}
    _quillmark_cli_rows=$("$program" --completion-table 2>/dev/null)
}

_quillmark_cli() {
    local cur prev words cword
    _init_completion || return
    _quillmark_cli_table "${words[0]}"

    # The second field is the command a row belongs to; for a command's own row, its name.
    local kind command value description commands='' own='' options='' kinds=() known=false
    while IFS=$'\t' read -r kind command value description; do
        case $kind in
        command)
            commands+=" $command"
            [[ $command == "${words[1]}" ]] && known=true
            ;;
        option)
            if [[ $command == quillmark-cli ]]; then
                own+=" $value"
            elif [[ $command == "${words[1]}" ]]; then
                options+=" $value"
            fi
            ;;
        argument) [[ $command == "${words[1]}" ]] && kinds+=("$value") ;;
        esac
    done <<<"$_quillmark_cli_rows"

    if ((cword == 1)); then
        [[ $cur == -* ]] && commands=$own
        mapfile -t COMPREPLY < <(compgen -W "$commands" -- "$cur")
        return
    fi
    $known || return

    # The value of an option that takes one ("--output=" in the table) is a file.
    if [[ " $options " == *" $prev= "* ]]; then
        _filedir
        return
    fi
    if [[ $cur == -?* ]]; then
        mapfile -t COMPREPLY < <(compgen -W "${options//=/}" -- "$cur")
        return
    fi

    # Which argument is being typed: the words before it less options and their values.
    local i count=0
    for ((i = 2; i < cword; i++)); do
        if [[ " $options " == *" ${words[i]}= "* ]]; then
            ((i++))
        elif [[ ${words[i]} != -?* ]]; then
            ((count++))
        fi
    done
    ((${#kinds[@]})) || return
    local last=${kinds[${#kinds[@]} - 1]}
    if ((count < ${#kinds[@]})); then
        last=${kinds[count]}
    elif [[ $last != *+ ]]; then
        return
    fi
    case ${last%+} in
    any) _filedir ;;
    command) mapfile -t COMPREPLY < <(compgen -W "$commands" -- "$cur") ;;
    *) _filedir "${last%+}" ;;
    esac
}
complete -F _quillmark_cli quillmark-cli
