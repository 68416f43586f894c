#!/usr/bin/env bash
# CI: builds the fuzz targets (the "fuzz" preset: clang, libFuzzer, ASan, UBSan) and runs each
# for 30 s from its seed corpus in fuzz/corpus/<target>/, FUZZ_JOBS of them at a time (by
# default one per core: each fuzzer uses one). Fails on any crash, sanitizer report,
# violated property, slow input (over 10 s) or hang. New corpus entries of the run go to a
# scratch folder and are dropped; the seed corpus is never changed (see scripts/fuzz.sh).
# Prints each target's final figures (cov:, ft:, executions) and the wall time.
set -euo pipefail
cd "$(dirname "$0")/.."

. scripts/fuzz-common.sh

seconds=${FUZZ_SECONDS:-30}
start=$(date +%s)

echo "== Build (fuzz preset)"
fuzz_build

scratch=build/fuzz/ci-run
rm -rf "$scratch"
mkdir -p "$scratch"
jobs=${FUZZ_JOBS:-$(nproc)}
failed=()
batch=()
# Waits for the targets under way, then prints what each said, in order.
finish_batch() {
    local target
    wait
    for target in "${batch[@]}"; do
        cat "$scratch/$target.summary"
        [ -e "$scratch/$target.failed" ] && failed+=("$target")
    done
    batch=()
}
for corpus in fuzz/corpus/*/; do
    target=$(basename "$corpus")
    ( fuzz_run "$target" "$seconds" "$scratch/$target" "$scratch/$target/crash-" "$scratch/$target.log" \
          || touch "$scratch/$target.failed" ) >"$scratch/$target.summary" 2>&1 &
    batch+=("$target")
    [ ${#batch[@]} -ge "$jobs" ] && finish_batch
done
finish_batch

echo "== Fuzzing took $(( $(date +%s) - start )) s"
if [ ${#failed[@]} -ne 0 ]; then
    echo "== Failed: ${failed[*]}"
    exit 1
fi
