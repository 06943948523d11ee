#!/usr/bin/env bash
# The long fuzzing run of the request checks: 30 minutes (or SECONDS) on inputs up to a whole
# request of 64 KB, then a report of what it found: executions, coverage, the corpus it grew
# and every finding. Usage: bench/service/fuzz-long.sh [SECONDS]
set -uo pipefail
repo="$(cd "$(dirname "$0")/../.." && pwd)"
seconds="${1:-1800}"
build="${ZIFFERIX_FUZZ_BUILD:-$repo/build/fuzz-long}"
report="$build/report.txt"
mkdir -p "$build"
started=$(date -u +%Y-%m-%dT%H:%M:%SZ)
status=0
ZIFFERIX_FUZZ_BUILD="$build" ZIFFERIX_FUZZ_MAX_LEN=65536 \
    "$repo/service/fuzz/run.sh" "$seconds" >"$build/run.txt" 2>&1 || status=$?
{
    echo "Fuzzing parseResult and parseClass (service/Validation.h), $seconds s from $started"
    grep -E 'DONE|stat::(number_of_executed_units|average_exec_per_sec|new_units_added|peak_rss_mb)' \
        "$build/last-run.log"
    echo "corpus: $(find "$build/corpus" -type f | wc -l) inputs, from $(find "$repo/service/fuzz/corpus" -type f | wc -l) seeds"
    findings=$(find "$build/findings" -type f | wc -l)
    echo "findings: $findings (exit $status)"
    if [ "$findings" -gt 0 ]; then
        ls -1 "$build/findings"
        grep -E -A12 '^==[0-9]+==ERROR|broken rule|SUMMARY' "$build/last-run.log" | head -60
    fi
} | tee "$report"
echo "Report: $report"
exit "$status"
