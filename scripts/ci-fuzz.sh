#!/usr/bin/env bash
# CI: builds the fuzz targets (the "fuzz" preset: clang, libFuzzer, ASan, UBSan) and runs each
# for 30 s from its seed corpus in fuzz/corpus/<target>/. Fails on any crash, sanitizer report,
# violated property, slow input (over 10 s) or hang. New corpus entries of the run go to a
# scratch folder and are dropped; the seed corpus is never changed (see scripts/fuzz.sh).
# Prints each target's final figures (cov:, ft:, executions) and the wall time.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${FUZZ_SECONDS:-30}
start=$(date +%s)
launcher=()
if command -v ccache >/dev/null; then
    launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi

echo "== Build (fuzz preset)"
cmake --preset fuzz "${launcher[@]}" >/dev/null
cmake --build --preset fuzz

scratch=build/fuzz/ci-run
rm -rf "$scratch"
mkdir -p "$scratch"
failed=()
for corpus in fuzz/corpus/*/; do
    target=$(basename "$corpus")
    binary=build/fuzz/fuzz/$target
    mkdir -p "$scratch/$target"
    echo "== $target: ${seconds} s"
    status=0
    # The outer bound: the run itself, the corpus load and the final merge, with room to spare.
    timeout --kill-after=10 $((seconds + 90)) "$binary" \
        -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
        -artifact_prefix="$scratch/$target/crash-" \
        "$scratch/$target" "$corpus" >"$scratch/$target.log" 2>&1 || status=$?
    grep -E '^#[0-9]+.*DONE|^stat::' "$scratch/$target.log" || true
    if [ "$status" -ne 0 ]; then
        echo "== $target FAILED (exit $status); the end of its log:"
        tail -n 40 "$scratch/$target.log"
        ls "$scratch/$target"/crash-* 2>/dev/null || true
        failed+=("$target")
    fi
done

echo "== Fuzzing took $(( $(date +%s) - start )) s"
if [ ${#failed[@]} -ne 0 ]; then
    echo "== Failed: ${failed[*]}"
    exit 1
fi
