#!/usr/bin/env bash
# Builds the fuzzer of the request checks with clang (libFuzzer, ASan, UBSan) in a folder of its
# own and runs it for SECONDS (default 60) from the seeds in corpus/. Usage: run.sh [SECONDS]
#   ZIFFERIX_FUZZ_BUILD  the folder (default build/fuzz of the repository)
#   ZIFFERIX_FUZZ_MAX_LEN  the longest input tried (default 8192; a request may be 64 KB)
# What the run learned stays in the folder's corpus/; a finding is written to its findings/ and
# makes the script fail.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
repo="$(cd "$here/../.." && pwd)"
seconds="${1:-60}"
build="${ZIFFERIX_FUZZ_BUILD:-$repo/build/fuzz}"
mkdir -p "$build/corpus" "$build/findings"

# Validation.cpp and what it is made of; nothing of HTTP or the database.
sources=("$repo/service/Validation.cpp" "$repo/service/StrictJson.cpp" "$repo/service/Utf8.cpp"
    "$here/ValidationFuzz.cpp")
binary="$build/validation_fuzz"
if [ ! -x "$binary" ] || [ -n "$(find "${sources[@]}" "$repo/service"/*.h -newer "$binary")" ]; then
    echo "Building $binary"
    # shellcheck disable=SC2046 # pkg-config's flags are words
    clang++ -std=c++20 -g -O1 -fPIC -Wall -Wextra -Wpedantic -Wshadow -Werror \
        -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer \
        -DQT_NO_CAST_FROM_ASCII -DQT_NO_KEYWORDS \
        $(pkg-config --cflags Qt6Core) -I"$repo/service" -I"$repo/shell" \
        "${sources[@]}" $(pkg-config --libs Qt6Core) -o "$binary"
fi

echo "Fuzzing the request checks for $seconds s"
cd "$build"
status=0
"$binary" -max_total_time="$seconds" -max_len="${ZIFFERIX_FUZZ_MAX_LEN:-8192}" -timeout=10 \
    -dict="$here/json.dict" -artifact_prefix="$build/findings/" -print_final_stats=1 \
    -close_fd_mask=1 corpus "$here/corpus" >"$build/last-run.log" 2>&1 || status=$?
grep -E '^(#[0-9]+[[:space:]]+(INITED|DONE)|stat::|==[0-9]+==|SUMMARY|broken rule|Test unit written)' \
    "$build/last-run.log" || true
if [ "$status" -ne 0 ]; then
    echo "The fuzzer found something (exit $status); see $build/last-run.log and $build/findings/" >&2
    exit "$status"
fi
echo "No finding in $seconds s; the corpus has $(find corpus -type f | wc -l) inputs."
