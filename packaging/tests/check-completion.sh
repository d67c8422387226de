#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-2.0-or-later
# Checks cvarden-cli's bash completion: its syntax, then what it offers for
# typed command lines, run against the built program and its catalogue.
# Arguments: the completion file, the built cvarden-cli, a small catalogue.
completion=$1
program=$2
small_catalogue=$3

bash -n "$completion" || exit 1

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export XDG_CONFIG_HOME=$work/config
: >"$work/q3config.cfg"

source /usr/share/bash-completion/bash_completion
source "$completion"
# Outside a real completion there are no readline options to set.
compopt() { :; }

failures=0

# Completes the words given, the last being the one typed, as bash would at
# the end of the line; prints what is offered, sorted, each once.
offered()
{
    COMP_WORDS=("$@")
    COMP_CWORD=$(($# - 1))
    COMP_LINE="$*"
    COMP_POINT=${#COMP_LINE}
    COMPREPLY=()
    _cvarden_cli "$1" "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}"
    printf '%s\n' "${COMPREPLY[@]}" | sort -u
}

fail()
{
    printf 'FAIL: %s\n  expected: %q\n  offered:  %q\n' "$1" "$2" "$3"
    failures=$((failures + 1))
}

# expect_exactly SENTENCE EXPECTED WORD...: offers exactly the lines EXPECTED.
expect_exactly()
{
    local sentence=$1 expected=$2 answer
    shift 2
    answer=$(offered "$@")
    [[ $answer == "$expected" ]] || fail "$sentence" "$expected" "$answer"
}

# expect_among SENTENCE EXPECTED WORD...: EXPECTED is one of the lines offered.
expect_among()
{
    local sentence=$1 expected=$2 answer
    shift 2
    answer=$(offered "$@")
    grep -qxF -- "$expected" <<<"$answer" || fail "$sentence" "$expected" "$answer"
}

expect_exactly "Commands complete from their first letters" export "$program" ex
expect_exactly "Options complete before the command" --catalogue "$program" --cat
expect_exactly "--catalogue takes a file name" "$work/q3config.cfg" "$program" --catalogue "$work/q3"
expect_among "A display name with blanks completes whole" "Mouse sensitivity" "$program" get Mou
expect_among "A name completes after an opening quote" "Mouse sensitivity" "$program" set '"Mouse se'
expect_among "A name completes after escaped blanks" "Mouse sensitivity" "$program" get 'Mouse\ se'
expect_among "Names hold brackets" "Stereo 3D (1.32)" "$program" get 'Stereo 3'
expect_exactly "Names come from the catalogue the line names" "Full screen" \
    "$program" --catalogue "$small_catalogue" get Full
expect_exactly "A value is not completed as a name" "" "$program" set '"Mouse sensitivity"' Mou
expect_exactly "import takes a file name" "$work/q3config.cfg" "$program" import "$work/q3"
expect_exactly "export offers its dry run" --dry-run "$program" export --d
expect_exactly "export takes a file name after the dry run" "$work/q3config.cfg" \
    "$program" export --dry-run "$work/q3"
expect_exactly "engine offers the engines" "1.32" "$program" engine 1.
expect_exactly "--engine takes an engine's name" "quake3e" "$program" --engine qu
expect_exactly "engine --detect takes a file name" "$work/q3config.cfg" "$program" engine --detect "$work/q3"
expect_exactly "Commands without arguments offer nothing" "" "$program" list ""
expect_exactly "Options and their values are told apart" "$work/q3config.cfg" \
    "$program" --catalogue "$small_catalogue" import "$work/q3"
expect_exactly "-- ends a command's options" "$work/q3config.cfg" "$program" export --dry-run -- "$work/q3"

# Every command and option the program's --help lists is completed where it
# goes: read here from --help apart from the completion's own reading.
help=$("$program" --help)
commands=$(sed -n '/^Commands:/,/^$/p' <<<"$help" | grep '^  [a-z]' | sed -E 's/^  //; s/  .*//')
[ "$(wc -l <<<"$commands")" -ge 9 ] || fail "--help lists too few commands" "9 or more" "$commands"
options=$(sed -n '/^Options:/,/^$/p' <<<"$help" | grep -oE -- '--[a-z][-a-z]*')
for option in $options; do
    expect_among "The option $option is offered before the command" "$option" "$program" -
done
# Offered, the help's own options answer.
for option in --help --help-all --version; do
    grep -qxF -- "$option" <<<"$options" || continue
    "$program" "$option" >/dev/null 2>&1 || fail "$option answers with 0" 0 "$?"
done
# A word for each place of a command's usage line, to reach the next one.
filler()
{
    case $1 in
        FILE) echo "$work/q3config.cfg" ;;
        NAME) echo "Brightness" ;;
        *) echo 1 ;;
    esac
}
while IFS= read -r usage; do
    read -ra parts <<<"$usage"
    command=${parts[0]}
    expect_among "The command $command is offered" "$command" "$program" ""
    before=()
    value_of_option=false
    for part in "${parts[@]:1}"; do
        # The value of an option, as in "[--engine NAME]", is no place of its own.
        if $value_of_option; then
            value_of_option=false
            continue
        fi
        [[ $part == \[--* && $part != *\] ]] && value_of_option=true
        bare=${part#[}
        bare=${bare%]}
        case $bare in
            --*) expect_among "$command offers its option $bare" "$bare" "$program" "$command" -- ;;
            FILE)
                expect_exactly "$command completes a file name for ${#before[@]} words in" "$work/q3config.cfg" \
                    "$program" "$command" "${before[@]}" "$work/q3"
                ;;
            NAME)
                expect_among "$command completes an option's name for ${#before[@]} words in" "Full screen" \
                    "$program" --catalogue "$small_catalogue" "$command" "${before[@]}" Full
                ;;
        esac
        [[ $bare == --* ]] || before+=("$(filler "$bare")")
    done
done <<<"$commands"

[ "$failures" -eq 0 ]
