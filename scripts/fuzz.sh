#!/usr/bin/env bash
# Offline fuzzing: runs every fuzz target for longer than CI does and keeps what it learns.
#
#   ./scripts/fuzz.sh [seconds]   each target for [seconds] (default 600), one after another
#   ./scripts/fuzz.sh --merge     adds the kept entries that reach new code to the seed corpus
#
# New corpus entries go to build/fuzz/corpus-new/<target>/, outside the repository's seed
# corpus, and pile up from one run to the next; the seed corpus in fuzz/corpus/<target>/
# changes only on --merge, which runs libFuzzer's -merge=1 (only the entries that add
# coverage are copied, so the seed corpus stays small). Inputs that crash a target are written
# to build/fuzz/artifacts/<target>-crash-*; once the fault is fixed, copy the input into the
# seed corpus by hand, under a name that says what it found.
set -euo pipefail
cd "$(dirname "$0")/.."

. scripts/fuzz-common.sh
fuzz_build
mkdir -p build/fuzz/corpus-new build/fuzz/artifacts

if [ "${1:-}" = "--merge" ]; then
    for corpus in fuzz/corpus/*/; do
        target=$(basename "$corpus")
        [ -d "build/fuzz/corpus-new/$target" ] || continue
        echo "== $target: merging build/fuzz/corpus-new/$target into $corpus"
        "build/fuzz/fuzz/$target" -merge=1 "$corpus" "build/fuzz/corpus-new/$target" 2>&1 \
            | grep -E 'MERGE-OUTER: [0-9]+ new files' || true
    done
    exit 0
fi

seconds=${1:-600}
start=$(date +%s)
failed=()
for corpus in fuzz/corpus/*/; do
    target=$(basename "$corpus")
    fuzz_run "$target" "$seconds" "build/fuzz/corpus-new/$target" "build/fuzz/artifacts/$target-" \
        "build/fuzz/$target.log" || failed+=("$target")
done
echo "== Fuzzing took $(( $(date +%s) - start )) s"
if [ ${#failed[@]} -ne 0 ]; then
    echo "== Failed: ${failed[*]}"
    exit 1
fi
