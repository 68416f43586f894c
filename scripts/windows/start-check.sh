#!/usr/bin/env bash
# Starts a Windows program under Wine (with the software renderer), waits for its window,
# takes a screenshot of it, closes it as a user would (WM_CLOSE) and checks that it quit with
# code 0 and that the window drew more than a blank fill.
# Usage: start-check.sh EXE "WINDOW TITLE" SCREENSHOT.png [SECONDS]
# Needs WINEPREFIX and DISPLAY (scripts/windows/wine-env.sh).
set -uo pipefail
exe=$1
title=$2
shot=$3
limit=${4:-60}
name=$(basename "$exe")
say() { echo "start-check: $name: $*"; }

log="${shot%.png}.log"
mkdir -p "$(dirname "$shot")"
(cd "$(dirname "$exe")" && exec wine "./$name" --software-render) >"$log" 2>&1 &
pid=$!

window=""
for _ in $(seq $((limit * 2))); do
    window=$(xwininfo -root -tree 2>/dev/null | grep -F "\"$title\": (" | grep -v ' 1x1+' | head -1 || true)
    [ -n "$window" ] && break
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.5
done
if [ -z "$window" ]; then
    say "no window \"$title\" appeared within ${limit} s"
    kill "$pid" 2>/dev/null; wait "$pid" 2>/dev/null
    sed 's/^/    /' "$log" | tail -20
    exit 1
fi
# The first frames: under Wine's software renderer they come some seconds after the window
# is mapped (about 3.5 s on two cores), later on a busy machine. The window is looked at every
# half second until it draws more than a fill, for at most 30 s.
id=$(echo "$window" | awk '{print $1}')
colours=0
waited=0
for _ in $(seq 60); do
    sleep 0.5
    waited=$((waited + 1))
    xwd -silent -id "$id" | convert xwd:- "$shot"
    colours=$(convert "$shot" -format %k info: 2>/dev/null || echo 0)
    [ "${colours:-0}" -ge 16 ] && break
done
first_frame="$((waited / 2)).$((waited % 2 * 5)) s"
if [ "${colours:-0}" -ge 16 ]; then
    # The picture kept is the window once its first frames have settled.
    sleep 1
    xwd -silent -id "$id" | convert xwd:- "$shot"
    colours=$(convert "$shot" -format %k info: 2>/dev/null || echo 0)
fi
wine taskkill /IM "$name" >/dev/null 2>&1
code=""
for _ in $(seq 40); do
    if ! kill -0 "$pid" 2>/dev/null; then
        wait "$pid"; code=$?
        break
    fi
    sleep 0.5
done
if [ -z "$code" ]; then
    say "the window was asked to close but the program did not quit"
    kill "$pid" 2>/dev/null; wait "$pid" 2>/dev/null
    exit 1
fi
if [ "$code" -ne 0 ]; then
    say "quit with code $code"
    sed 's/^/    /' "$log" | tail -20
    exit 1
fi
if [ "${colours:-0}" -lt 16 ]; then
    say "the window drew nothing but a fill in 30 s ($colours colours in $shot)"
    exit 1
fi
say "window \"$title\" shown ($shot, $colours colours, drawn after $first_frame), closed, quit with code 0"
