#!/usr/bin/env bash
# Sets up, builds both configurations and runs every test: native unit tests, the
# Windows tests under Wine in a fresh prefix, and bounded fuzzing runs.
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/env.sh"

"$repo_root/scripts/setup.sh" || exit 1
mkdir -p "$build_root"
rm -f "$native_build/ctest.log" "$windows_build/ctest.log" "$fuzz_build/ctest.log"

passed=0
failed=0
failed_names=()

# Runs one CTest suite and adds its counts to the totals.
run_suite() { # name build-dir [ctest options...]
    local name="$1" dir="$2" log="$2/ctest.log"
    shift 2
    echo "== $name"
    (cd "$dir" && ctest --output-on-failure --timeout 600 "$@") >"$log" 2>&1
    grep -E '^ *[0-9]+/[0-9]+ Test' "$log" || true
    local summary
    summary=$(grep -E 'tests passed, [0-9]+ tests? failed out of' "$log" | tail -1)
    local total=$(sed -E 's/.*out of ([0-9]+).*/\1/' <<<"$summary")
    local bad=$(sed -E 's/.* ([0-9]+) tests? failed.*/\1/' <<<"$summary")
    if [ -z "$summary" ]; then
        total=1 bad=1
        cat "$log"
    elif [ "$bad" -gt 0 ]; then
        sed -n '/Output from these tests/,$p;/\*\*\*Failed\|FAILED/p' "$log" | tail -150
    fi
    passed=$((passed + total - bad))
    failed=$((failed + bad))
    [ "$bad" -gt 0 ] && failed_names+=("$name")
}

build_failed() { # name
    echo "== $1: build failed"
    failed=$((failed + 1))
    failed_names+=("$1 (build)")
}

# The copy benchmark's figures, then cp -r of the same source tree as the floor.
copy_bench_figures() {
    local output source part floor start seconds engine
    output="$("$wine_loader" "$windows_build/bench/copy_bench.exe" --keep-source 2>/dev/null | tr -d '\r')" || true
    printf '%s\n' "$output" | grep -v '^unix source: ' || true
    source="$(printf '%s\n' "$output" | sed -n 's/^unix source: //p')"
    [ -n "$source" ] && [ -d "$source" ] || return 0
    for part in big small; do
        floor="$(mktemp -d)"
        start="$(date +%s.%N)"
        cp -r "$source/$part" "$floor/"
        seconds="$(awk -v a="$start" -v b="$(date +%s.%N)" 'BEGIN { printf "%.3f", b - a }')"
        rm -rf "$floor"
        engine="$(printf '%s\n' "$output" | grep "$([ $part = big ] && echo '^one file' || echo ' files of ')" |
            sed -n 's/.*: engine \([0-9.]*\) s.*/\1/p')"
        awk -v p="$part" -v c="$seconds" -v e="$engine" \
            'BEGIN { printf "cp -r of the %s part: %.3f s; engine / cp -r %.2f\n", p, c, (c > 0 && e != "") ? e / c : 0 }'
    done
    rm -rf "$(dirname "$source")"
}

echo "== building native"
if configure_and_build "$native_build"; then run_suite native "$native_build"; else build_failed native; fi

echo "== building windows"
if build_windows; then
    ensure_display
    fresh_wine_prefix "$windows_build/wineprefix"
    export LUMERA_SCREENSHOTS="$windows_build/screenshots"
    rm -rf "$LUMERA_SCREENSHOTS" && mkdir -p "$LUMERA_SCREENSHOTS"
    # Every test program runs once: a test that passes only when run again is a fault.
    run_suite windows "$windows_build"
    grep -E 'err:heap|malloc\(\)|free\(\)|malloc_consolidate|invalid chunk|double free' "$windows_build/ctest.log" |
        sort | uniq -c | sed 's/^/  heap abort seen: /' || true
    echo "== benchmark: building the tray menu over many bitmaps (figures only, not a test)"
    "$wine_loader" "$windows_build/bench/menu_bench.exe" 2>/dev/null | grep -E 'files|BuildTrayMenu|submenu filled|together|ratio' || true
    echo "== benchmark: start-up and idle memory of the tray program beside a minimal tray program"
    "$wine_loader" "$windows_build/bench/start_bench.exe" 2>/dev/null || true
    echo "== benchmark: copying one big file and many small files: Ferrox's engine, a plain CopyFileW loop, cp -r"
    copy_bench_figures
    echo "== benchmark: installing 1,000 files of 64 KiB in 10 folders: the install engine beside a plain CopyFileW loop"
    "$wine_loader" "$windows_build/bench/setup_bench.exe" 2>/dev/null || true
    "$wineserver" -k >/dev/null 2>&1 || true
    convert_screenshots "$LUMERA_SCREENSHOTS"
    echo "screenshots: $LUMERA_SCREENSHOTS"
else
    build_failed windows
fi

echo "== building fuzzers"
if CC=clang CXX=clang++ configure_and_build "$fuzz_build" -DLUMERA_FUZZ=ON; then
    run_suite fuzz "$fuzz_build" -j 3
else
    build_failed fuzz
fi

# What failed and where, last, beside the summary: a report that shows only the end of
# the output still says why.
failure_digest() {
    local log
    for log in "$native_build/ctest.log" "$windows_build/ctest.log" "$fuzz_build/ctest.log"; do
        [ -f "$log" ] || continue
        # Each failed assertion with a few lines after it; of a test that timed out, the
        # end of its output (the case it was in, and the hang report when one was made).
        awk '
            function flush_timeout(  i) {
                for (i = (kept > 25 ? kept - 24 : 1); i <= kept; i++) print tail[i]
                kept = 0; timed_out = 0
            }
            /^ *[0-9]+\/[0-9]+ Test/ && timed_out { flush_timeout() }
            /\*\*\*Timeout/ { print; timed_out = 1; next }
            timed_out { tail[++kept] = $0; next }
            /: Failure$|\[ HANGING  \]|\*\*\*Failed|^Exception/ { n = 6 }
            n > 0 { print; n-- }
            END { if (timed_out) flush_timeout() }' "$log"
    done | head -120
}

if [ "$failed" -gt 0 ]; then
    echo
    echo "== what failed"
    failure_digest
fi
echo
echo "Summary: $passed passed, $failed failed${failed_names[*]:+ (${failed_names[*]})}"
[ "$failed" -eq 0 ]
