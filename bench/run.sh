#!/usr/bin/env bash
# Builds quavern-bench in Release, runs the engine benchmarks, times the
# peer transposer (npm chord-transposer) on the same songs in the same run,
# prints the throughput ratios, and measures the peak memory of
# `quavern-cli info --easiest` on the 1 MB songbook.
#
#   bash bench/run.sh [extra quavern-bench arguments]
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build-bench"
bash "$root/scripts/install-deps.sh"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUAVERN_BUILD_GUI=OFF \
    -DQUAVERN_BUILD_TESTS=OFF -DQUAVERN_BUILD_BENCH=ON >/dev/null
cmake --build "$build" --target quavern-bench quavern-cli
songs="$build/bench-songs"

json="$build/bench.json"
"$build/out/quavern-bench" --benchmark_repetitions=5 --benchmark_report_aggregates_only=true \
    --benchmark_out="$json" --benchmark_out_format=json "$@"

if command -v node >/dev/null && command -v npm >/dev/null; then
    (cd "$root/bench/js" && npm install --no-audit --no-fund --silent >/dev/null)
    peer=$(node "$root/bench/js/peer-transpose.js" "$songs")
    python3 - "$json" "$peer" <<'PY'
import json, sys
# Keyed by everything after "Transpose/": "5KB" (options off) and
# "5KB/options" (every song option on) are two runs of their own.
ours = {}
for b in json.load(open(sys.argv[1]))["benchmarks"]:
    if b.get("aggregate_name") == "median" and b["run_name"].startswith("Transpose/"):
        ours[b["run_name"].split("/", 1)[1]] = b["real_time"] * {"ns": 1, "us": 1e3, "ms": 1e6}[b["time_unit"]]
peer = json.loads(sys.argv[2])
print("\nTransposition by +2, median per call:")
print(f"{'song':>6} {'options':>8} {'quavern':>12} {'chord-transposer':>18} {'ratio':>7}")
for name in ("5KB", "100KB", "1MB"):
    p = peer[name]["ns"]
    for options, key in (("off", name), ("on", name + "/options")):
        q = ours[key]
        print(f"{name:>6} {options:>8} {q / 1e3:>10.1f}us {p / 1e3:>16.1f}us {p / q:>6.0f}x")
PY
else
    echo "node and npm are not installed: the peer comparison is skipped"
fi

if [ -x /usr/bin/time ]; then
    echo
    echo "Peak memory of quavern-cli info --easiest on the 1 MB songbook:"
    XDG_CONFIG_HOME=$(mktemp -d) /usr/bin/time -v "$build/out/quavern-cli" info --easiest "$songs/song-1MB.txt" \
        2>&1 >/dev/null | grep -E 'Maximum resident set size' || true
fi
