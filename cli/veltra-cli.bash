# bash completion for veltra-cli: commands, their options, the NAMEs that set
# takes, and .rom files (with folders to walk into).

# The NAMEs that set takes for FILE: the values it has when PROGRAM can show
# it (its own ladder, nothing it lacks), else every NAME.
_veltra_cli_names()
{
    local file=${1/#\~/$HOME} program=$2 names="gpu-clock boost-clock mem-clock" name k shown kept=""
    for ((k = 1; k <= 64; k++)); do
        printf -v name 'boost-%02d' "$k"
        names+=" $name"
    done
    names+=" power-default power-max power-limit-lo power-limit-hi fan-min fan-max voltage"
    if [[ -f $file ]] && shown=$("$program" show -- "$file" 2>/dev/null); then
        for name in $names; do
            [[ $'\n'$shown == *$'\n'"$name = "* ]] && kept+=" $name"
        done
        names=$kept
    fi
    echo "$names"
}

_veltra_cli_files()
{
    local IFS=$'\n'
    compopt -o filenames 2>/dev/null
    COMPREPLY=($(compgen -d -- "$1") $(compgen -f -X '!*.rom' -- "$1"))
}

_veltra_cli()
{
    local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD - 1]}
    local command="" i positional=0 file="" options
    for ((i = 1; i < COMP_CWORD; i++)); do
        local word=${COMP_WORDS[i]}
        if [[ -z $command ]]; then
            case $word in show | set | diff | check) command=$word ;; esac
            continue
        fi
        case $word in
            -o | --output) ((i++)) ;;  # its argument is no positional one
            -*) ;;
            *) ((positional++ == 0)) && file=$word ;;
        esac
    done

    if [[ -z $command ]]; then
        COMPREPLY=($(compgen -W "show set diff check --help --version" -- "$cur"))
        return
    fi
    case $command in
        show) options="--json --offsets --help" ;;
        set) options="--output --json --help" ;;
        diff | check) options="--json --help" ;;
    esac
    if [[ $command == set && ($prev == -o || $prev == --output) ]]; then
        _veltra_cli_files "$cur"
        return
    fi
    if [[ $cur == -* ]]; then
        COMPREPLY=($(compgen -W "$options" -- "$cur"))
        return
    fi
    # set FILE NAME=VALUE...: after the file come the values.
    if [[ $command == set && $positional -ge 1 ]]; then
        compopt -o nospace 2>/dev/null
        COMPREPLY=($(compgen -W "$(_veltra_cli_names "$file" "${COMP_WORDS[0]}")" -S = -- "$cur"))
        return
    fi
    _veltra_cli_files "$cur"
}

complete -F _veltra_cli veltra-cli
