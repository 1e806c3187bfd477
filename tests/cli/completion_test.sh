#!/usr/bin/env bash
# The bash completion of veltra-cli, driven as bash drives it:
#   completion_test.sh VELTRA_CLI COMPLETION_SCRIPT MAKE_SAMPLES
set -u
cli=$1
source "$2"
make_samples=$3
# The completion runs veltra-cli by the name the user typed.
PATH=$(dirname "$cli"):$PATH

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1
"$make_samples" samples >/dev/null || exit 1
mkdir folder
touch card.rom notes.txt

passed=0
failed=0

# The completions offered for the words typed so far, the last one being
# completed, one per line in order.
completions()
{
    COMP_WORDS=(veltra-cli "$@")
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    COMPREPLY=()
    _veltra_cli
    printf '%s\n' "${COMPREPLY[@]}" | sort
}

expect()
{
    local what=$1 expected=$2
    shift 2
    local got
    got=$(completions "$@")
    if [[ $got == "$expected" ]]; then
        ((passed++))
    else
        ((failed++))
        printf 'FAILED: %s\n  words: %s\n  expected: %s\n  got: %s\n' "$what" "$*" "${expected//$'\n'/ }" "${got//$'\n'/ }"
    fi
}

expect "commands and options" $'--help\n--version\ncheck\ndiff\nset\nshow' ""
expect "a command's start" "show" "sh"
expect "show's options" $'--help\n--json\n--offsets' "show" "--"
expect "set's options" $'--help\n--json\n--output' "set" "card.rom" "--"
expect "files and folders for show" $'card.rom\nfolder\nsamples' "show" ""
expect "a second file for diff" $'card.rom\nfolder\nsamples' "diff" "card.rom" ""
expect "the file set works on" $'card.rom\nfolder\nsamples' "set" ""
expect "the output file" $'card.rom\nfolder\nsamples' "set" "-o" ""
expect "a NAME after the file" "gpu-clock=" "set" "card.rom" "gpu"
expect "NAMEs after -o and its file" $'fan-max=\nfan-min=' "set" "-o" "out.rom" "card.rom" "fan"
expect "boost entries of a file that does not load: all of them" $'boost-60=\nboost-61=\nboost-62=\nboost-63=\nboost-64=' \
  "set" "card.rom" "boost-6"
expect "boost entries as far as the file's ladder runs" $'boost-40=\nboost-41=\nboost-42=\nboost-43=\nboost-44=\nboost-45=' \
  "set" "samples/gtx680.rom" "boost-4"
expect "rom files in a folder" $'samples/gtx660ti.rom\nsamples/gtx670.rom\nsamples/gtx680.rom\nsamples/gtx770.rom' "check" "samples/"

# Every value that show prints for the file, and no other, is offered after set's file.
shown=$("$cli" show samples/gtx680.rom | sed '1,/^layout = /d' | sed -n 's/^\([a-z0-9-]*\) = .*/\1=/p' | sort)
expect "exactly the values show prints" "$shown" "set" "samples/gtx680.rom" ""
expect "the values of the file after -o" "$shown" "set" "-o" "out.rom" "samples/gtx680.rom" ""

echo "completion: $passed passed, $failed failed"
[[ $failed -eq 0 ]]
