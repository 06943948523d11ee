#!/usr/bin/env bash
# Long storms: the desktop monkey under ASan and UBSan for the whole time, beside it the page's
# storm in Chromium, Firefox ESR, WebKitGTK and on the sanitized page, each for a quarter of it,
# one after another; then a short report of rounds, what was reached, faults and memory.
#     bash bench/storm.sh --minutes 30          ZIFFERIX_SEED=123 bash bench/storm.sh --minutes 4
set -euo pipefail
cd "$(dirname "$0")/.."
minutes=10
while [ $# -gt 0 ]; do
    case "$1" in
    --minutes) minutes=$2; shift 2 ;;
    *) echo "usage: bench/storm.sh [--minutes N]" >&2; exit 2 ;;
    esac
done
export LC_ALL=C.UTF-8
source tools/deps.sh
install_missing bench
install_browser_test_modules
cmake --preset sanitize >/dev/null
cmake --build --preset sanitize --target monkey_tests
emcmake cmake --preset web >/dev/null
cmake --build --preset web
emcmake cmake --preset web-sanitize >/dev/null
cmake --build --preset web-sanitize

out=build/storm
rm -rf "$out" && mkdir -p "$out"
seconds=$((minutes * 60))
started=$(date +%s)
echo "Storming for $minutes minutes; the logs go to $out"

# The desktop's monkey takes one core at low priority for the whole time.
ZIFFERIX_STORM_SECONDS=$seconds ZIFFERIX_STORM_REPORT=$out/desktop.json \
    LSAN_OPTIONS=suppressions=$PWD/tests/lsan.supp:print_suppressions=0 \
    nice build/sanitize/tests/monkey_tests --gtest_filter='LongMonkeyRun.*' >"$out/desktop.log" 2>&1 &
desktop=$!
trap 'kill "$desktop" 2>/dev/null || true' EXIT

failed=()
for storm in chromium firefox webkit sanitized; do
    engine=${storm/sanitized/chromium}
    site=build/web/site
    [ "$storm" = sanitized ] && site=build/web-sanitize/site
    echo "The page in $storm for $((seconds / 4)) s"
    (cd tests/web && ZIFFERIX_ENGINE=$engine ZIFFERIX_SITE="$PWD/../../$site" ZIFFERIX_STORM_SECONDS=$((seconds / 4)) \
        ZIFFERIX_STORM_REPORT="$PWD/../../$out/$storm.json" nice node --test storm.test.mjs) >"$out/$storm.log" 2>&1 ||
        failed+=("$storm")
done
wait "$desktop" || failed+=(desktop)
trap - EXIT

python3 - "$out" "$minutes" "$(( $(date +%s) - started ))" "${failed[@]}" <<'EOF' | tee "$out/report.md"
import json, os, sys
out, minutes, took, failed = sys.argv[1], sys.argv[2], int(sys.argv[3]), set(sys.argv[4:])
print(f"Storms of {minutes} minutes, {took // 60} min {took % 60} s in all.\n")
print("| storm | rounds | actions | reached (of 24) | faults | memory at the start → the end |")
print("|---|---|---|---|---|---|")
for name in ["desktop", "chromium", "firefox", "webkit", "sanitized"]:
    path = os.path.join(out, f"{name}.json")
    r = json.load(open(path)) if os.path.exists(path) else None
    fault = f"see {out}/{name}.log" if name in failed else "none"
    if r is None:
        print(f"| {name} | | | | {fault} | |")
    elif name == "desktop":
        print(f"| desktop monkey (ASan, UBSan) | {r['rounds']} | {r['events']} | {r['reached']} | {fault} | {r['heapFirst']} → {r['heapLast']} bytes |")
    else:
        what = "page, Chromium, ASan and UBSan" if name == "sanitized" else f"page, {r['engine']}"
        print(f"| {what} | {r['rounds']} | {r['actions']} | {len(r['reached'])} | {fault} | {r['heapBefore']} → {r['heapAfter']} bytes |")
EOF
[ ${#failed[@]} -eq 0 ]
