#!/usr/bin/env bash
# CI: builds the fuzz targets (the "fuzz" preset: clang, libFuzzer, ASan, UBSan) and runs each
# for 30 s from its seed corpus in fuzz/corpus/<target>/. Fails on any crash, sanitizer report,
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
failed=()
for corpus in fuzz/corpus/*/; do
    target=$(basename "$corpus")
    fuzz_run "$target" "$seconds" "$scratch/$target" "$scratch/$target/crash-" "$scratch/$target.log" \
        || failed+=("$target")
done

echo "== Fuzzing took $(( $(date +%s) - start )) s"
if [ ${#failed[@]} -ne 0 ]; then
    echo "== Failed: ${failed[*]}"
    exit 1
fi
