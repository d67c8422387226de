# SPDX-License-Identifier: GPL-2.0-or-later
# bash completion for cvarden-cli                          -*- shell-script -*-
#
# Completes the commands and options; file names for import, export and
# --catalogue; and for get and set the options' display names, read at the
# time from the catalogue the line names (or the one beside the program) with
# `cvarden-cli list`, whose second column they are.

# The word as the program will receive it, in REPLY: without its opening
# quote, or else without its backslashes and with ~/ for the home folder.
_cvarden_cli_dequote()
{
    case $1 in
        \"* | \'*)
            REPLY=${1:1}
            REPLY=${REPLY%"${1:0:1}"}
            ;;
        \~/*)
            IFS= read REPLY <<<"${1:2}"
            REPLY=$HOME/$REPLY
            ;;
        *) IFS= read REPLY <<<"$1" ;;
    esac
}

# Display names that start with the word typed. They hold blanks and
# brackets, so they are offered as file names are: readline quotes them.
_cvarden_cli_names()
{
    local typed=$1 name
    shift
    _cvarden_cli_dequote "$typed"
    local prefix=$REPLY
    while IFS= read -r name; do
        [[ $name == "$prefix"* ]] && COMPREPLY+=("$name")
    done < <("$@" list 2>/dev/null | cut -f2)
    compopt -o filenames
}

_cvarden_cli()
{
    local cur prev words cword split
    _init_completion -s || return

    if [[ $prev == --catalogue ]]; then
        _filedir
        return
    fi
    $split && return

    # Options come before the command, which is the first other word.
    local i command_at=0 catalogue=()
    for ((i = 1; i < cword; i++)); do
        case ${words[i]} in
            --catalogue)
                _cvarden_cli_dequote "${words[++i]-}"
                catalogue=(--catalogue "$REPLY")
                ;;
            --catalogue=*)
                _cvarden_cli_dequote "${words[i]#--catalogue=}"
                catalogue=(--catalogue "$REPLY")
                ;;
            -*) ;;
            *)
                command_at=$i
                break
                ;;
        esac
    done

    if ((command_at == 0)); then
        if [[ $cur == -* ]]; then
            COMPREPLY=($(compgen -W '--catalogue --help --help-all --version' -- "$cur"))
        else
            COMPREPLY=($(compgen -W 'check export get import list reset set' -- "$cur"))
        fi
        return
    fi

    # Which of the command's own words is being typed, from 1.
    local position=$((cword - command_at))
    case ${words[command_at]} in
        get | set)
            if ((position == 1)); then
                _cvarden_cli_dequote "$1"
                _cvarden_cli_names "$cur" "$REPLY" "${catalogue[@]}"
            fi
            ;;
        import)
            ((position == 1)) && _filedir
            ;;
        export)
            if ((position == 1)) && [[ $cur == -* ]]; then
                COMPREPLY=($(compgen -W '--dry-run' -- "$cur"))
            elif ((position == 1)) || [[ $position == 2 && ${words[command_at + 1]} == --dry-run ]]; then
                _filedir
            fi
            ;;
    esac
} &&
    complete -F _cvarden_cli cvarden-cli
