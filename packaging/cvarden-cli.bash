# SPDX-License-Identifier: GPL-2.0-or-later
# bash completion for cvarden-cli                          -*- shell-script -*-
#
# Completes what the program's own --help lists, read afresh at each Tab so
# that it follows every command and option the program has: the commands,
# the options before them and each command's options (from its usage line,
# "export [--dry-run] [--if-game-stopped] FILE"); file names where a FILE
# goes; and where a NAME goes the options' display names, read from the
# catalogue the line names (or the program's own) with `cvarden-cli list`,
# whose second column they are.

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

# Reads the program's --help into _cvarden_cli_commands (each command's
# usage line, "list [--changed]") and _cvarden_cli_options (the options
# before the command, each with its value's name: "--catalogue FILE",
# "--version").
_cvarden_cli_read_help()
{
    local line section= spec word
    _cvarden_cli_commands=()
    _cvarden_cli_options=()
    while IFS= read -r line; do
        case $line in
            Commands:) section=commands ;;
            Options:) section=options ;;
            Arguments:) section= ;;
            "  "[a-z]*)
                spec=${line:2}
                [[ $section == commands ]] && _cvarden_cli_commands+=("${spec%%  *}")
                ;;
            "  -"*)
                [[ $section == options ]] || continue
                spec=${line:2}
                spec=${spec%%  *}
                local names=() value= spec_words
                read -ra spec_words <<<"${spec//,/ }"
                for word in "${spec_words[@]}"; do
                    case $word in
                        --*) names+=("$word") ;;
                        \<*\>)
                            value=${word#<}
                            value=${value%>}
                            ;;
                    esac
                done
                for word in "${names[@]}"; do
                    _cvarden_cli_options+=("$word${value:+ $value}")
                done
                ;;
        esac
    done < <("$@" --help 2>/dev/null)
}

# Completes the value named `what` (FILE, NAME, ...) of the word typed.
_cvarden_cli_complete_value()
{
    case $1 in
        FILE) _filedir ;;
        NAME) _cvarden_cli_names "$cur" "${program[@]}" "${catalogue[@]}" ;;
        ENGINE) COMPREPLY=($(compgen -W 'ioquake3 1.32 quake3e auto' -- "$cur")) ;;
    esac
}

_cvarden_cli()
{
    local cur prev words cword split
    _init_completion -s || return

    _cvarden_cli_dequote "$1"
    local program=("$REPLY")
    local _cvarden_cli_commands _cvarden_cli_options
    _cvarden_cli_read_help "${program[@]}"

    local i j command_at=0 catalogue=() option spec value word
    if $split; then
        for spec in "${_cvarden_cli_options[@]}"; do
            [[ $spec == "$prev "* ]] && _cvarden_cli_complete_value "${spec#* }"
        done
        return
    fi

    # Options come before the command, which is the first other word; an
    # option's value is its own word or follows "=".
    for ((i = 1; i < cword; i++)); do
        option=${words[i]%%=*}
        value=
        for spec in "${_cvarden_cli_options[@]}"; do
            [[ $spec == "$option "* ]] && value=${spec#* }
        done
        if [[ -n $value && ${words[i]} != *=* ]]; then
            ((i + 1 == cword)) && { _cvarden_cli_complete_value "$value"; return; }
            ((i++))
            [[ $option == --catalogue ]] && _cvarden_cli_dequote "${words[i]}" && catalogue=(--catalogue "$REPLY")
        elif [[ $option == --catalogue ]]; then
            _cvarden_cli_dequote "${words[i]#--catalogue=}"
            catalogue=(--catalogue "$REPLY")
        elif [[ ${words[i]} != -* ]]; then
            command_at=$i
            break
        fi
    done
    if ((command_at == 0)); then
        local offered=()
        if [[ $cur == -* ]]; then
            for spec in "${_cvarden_cli_options[@]}"; do offered+=("${spec%% *}"); done
        else
            for spec in "${_cvarden_cli_commands[@]}"; do offered+=("${spec%% *}"); done
        fi
        COMPREPLY=($(compgen -W "${offered[*]}" -- "$cur"))
        return
    fi

    # The command's usage line gives its options ("[--engine NAME]" takes a
    # value) and, in order, what its other words are.
    local usage=
    for spec in "${_cvarden_cli_commands[@]}"; do
        [[ ${spec%% *} == "${words[command_at]}" ]] && usage=${spec#"${words[command_at]}"}
    done
    local flags=() flag_values=() places=() in_brackets=false usage_words
    read -ra usage_words <<<"$usage"
    for word in "${usage_words[@]}"; do
        local bare=${word#[}
        bare=${bare%]}
        if [[ $bare == --* ]]; then
            flags+=("$bare")
            flag_values+=("")
        elif $in_brackets && [[ $word != \[* && ${#flags[@]} -gt 0 && -z ${flag_values[-1]} ]]; then
            flag_values[-1]=$bare
        else
            places+=("$bare")
        fi
        [[ $word == \[* ]] && in_brackets=true
        [[ $word == *] ]] && in_brackets=false
    done

    # Which of the other words is typed, past the options and a "--".
    local given=0 flags_ended=false
    for ((i = command_at + 1; i < cword; i++)); do
        if ! $flags_ended && [[ ${words[i]} == -- ]]; then
            flags_ended=true
        elif ! $flags_ended && [[ ${words[i]} == -* ]]; then
            for ((j = 0; j < ${#flags[@]}; j++)); do
                if [[ ${flags[j]} == "${words[i]}" && -n ${flag_values[j]} ]]; then
                    ((i + 1 == cword)) && { _cvarden_cli_complete_value "${flag_values[j]}"; return; }
                    ((i++))
                fi
            done
        else
            ((given++))
        fi
    done
    if ! $flags_ended && ((given == 0)) && [[ $cur == -* ]]; then
        COMPREPLY=($(compgen -W "${flags[*]}" -- "$cur"))
        return
    fi
    ((given < ${#places[@]})) && _cvarden_cli_complete_value "${places[given]}"
} &&
    complete -F _cvarden_cli cvarden-cli
