#!/usr/bin/env bash
# The command-line program under Wine, from the folder it ships in: --help and --version exit
# 0 with their texts, and "list" without an instrument (Wine has no MIDI ports) exits with the
# 'no instrument' code 3 and says so in its sentence, in text and in JSON.
# Usage: cli-check.sh TAVLO_EXE VERSION
# Needs WINEPREFIX (scripts/windows/wine-env.sh); no display.
set -uo pipefail
exe=$1
version=$2
say() { echo "cli-check: $*"; }
failed=0
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

# run NAME EXPECTED_CODE ARGS...: the program's stdout and stderr in $out/NAME.{out,err}
run() {
    local name=$1 expected=$2
    shift 2
    (cd "$(dirname "$exe")" && exec timeout 120 wine "./$(basename "$exe")" "$@") \
        >"$out/$name.out" 2>"$out/$name.err"
    local code=$?
    # Wine's console writes CR LF.
    sed -i 's/\r$//' "$out/$name.out" "$out/$name.err"
    if [ "$code" -ne "$expected" ]; then
        say "tavlo.exe $*: exit code $code, not $expected"
        sed 's/^/    /' "$out/$name.out" "$out/$name.err" | tail -20
        failed=1
        return 1
    fi
}
expect() { # NAME STREAM TEXT: the stream holds the text
    grep -qF -- "$3" "$out/$1.$2" && return 0
    say "tavlo.exe $1: no \"$3\" on std$2"
    sed 's/^/    /' "$out/$1.out" "$out/$1.err" | tail -20
    failed=1
}

run help 0 --help && { expect help out "Usage: tavlo"; expect help out "3    no instrument"; }
run version 0 --version && expect version out "tavlo $version"
run list 3 list && expect list err "No instrument found. Connect it over USB and switch it on."
run json 3 list --json && expect json out '"exit_code":3'
[ "$failed" -eq 0 ] || exit 1
say "$(basename "$exe"): --help, --version and list without an instrument answered as documented"
