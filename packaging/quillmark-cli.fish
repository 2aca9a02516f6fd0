# Fish completion for quillmark-cli, from the companion's own table of commands, options
# and arguments (`quillmark-cli --completion-table`, which the bash completion describes).

function __quillmark_cli_complete
    set -l words (commandline -opc)
    set -l current (commandline -ct)
    # The table, asked once per shell of the companion being completed.
    if not set -q __quillmark_cli_rows
        set -g __quillmark_cli_rows ($words[1] --completion-table 2>/dev/null)
    end

    set -l commands
    set -l own
    set -l options
    set -l kinds
    set -l known 0
    for row in $__quillmark_cli_rows
        set -l field (string split \t -- $row)
        switch $field[1]
            case command
                set -a commands "$field[2]"\t"$field[3]"
                test "$field[2]" = "$words[2]"; and set known 1
            case option
                if test "$field[2]" = quillmark-cli
                    set -a own "$field[3]"\t"$field[4]"
                else if test "$field[2]" = "$words[2]"
                    set -a options "$field[3]"\t"$field[4]"
                end
            case argument
                test "$field[2]" = "$words[2]"; and set -a kinds $field[3]
        end
    end

    if test (count $words) -eq 1
        if string match -q -- '-*' $current
            printf '%s\n' $own
        else
            printf '%s\n' $commands
        end
        return
    end
    test $known -eq 1; or return

    # The names of the options, "--NAME=" for one that takes a value (a file).
    set -l names (string replace -r '\t.*' '' -- $options)
    if contains -- "$words[-1]=" $names
        __fish_complete_path $current
        return
    end
    if string match -q -- '-?*' $current
        string replace -- '=' '' $options
        return
    end

    # Which argument is being typed: the words before it less options and their values.
    set -l count 0
    set -l skip 0
    for word in $words[3..-1]
        if test $skip -eq 1
            set skip 0
        else if contains -- "$word=" $names
            set skip 1
        else if not string match -q -- '-?*' $word
            set count (math $count + 1)
        end
    end
    test (count $kinds) -gt 0; or return
    set -l kind $kinds[-1]
    if test $count -lt (count $kinds)
        set kind $kinds[(math $count + 1)]
    else if not string match -q -- '*+' $kind
        return
    end
    switch (string trim -r -c + -- $kind)
        case any
            __fish_complete_path $current
        case command
            printf '%s\n' $commands
        case '*'
            # Files of that extension, and folders to find them in.
            set -l suffix (string escape --style=regex -- (string trim -r -c + -- $kind))
            __fish_complete_path $current | string match -r -- "^.*(?:\.$suffix|/)(?:\t.*)?\$"
    end
end

complete -c quillmark-cli -f -a '(__quillmark_cli_complete)'
