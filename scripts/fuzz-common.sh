# Shared by ci-fuzz.sh and fuzz.sh (sourced, not run): building the fuzz preset and running
# one target.

# ccache for the compiler when it is installed.
cmake_launcher=()
if command -v ccache >/dev/null; then
    cmake_launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi

fuzz_build() {
    cmake --preset fuzz "${cmake_launcher[@]}" >/dev/null
    cmake --build --preset fuzz
}

# fuzz_run <target> <seconds> <folder for new inputs> <crash prefix> <log>
# Runs the target from its seed corpus for the given time, bounded from outside as well (the
# corpus load and the final merge included), an input over 10 s counting as a hang. Prints
# the final figures (cov:, ft:, executions); on failure the end of the log. Returns the
# fuzzer's exit status (124 or 137: the outer bound ended it).
fuzz_run() {
    local target=$1 seconds=$2 out=$3 artifacts=$4 log=$5 status=0
    mkdir -p "$out"
    echo "== $target: ${seconds} s"
    timeout --kill-after=10 $((seconds + 90)) "build/fuzz/fuzz/$target" \
        -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
        -artifact_prefix="$artifacts" \
        "$out" "fuzz/corpus/$target" >"$log" 2>&1 || status=$?
    grep -E '^#[0-9]+.*DONE|^stat::' "$log" || true
    if [ "$status" -ne 0 ]; then
        echo "== $target FAILED (exit $status); the end of $log:"
        tail -n 40 "$log"
    fi
    return "$status"
}
