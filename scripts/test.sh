#!/usr/bin/env bash
# The test command: builds both platforms and runs every suite.
#   1. the simulator build and its tests;
#   2. the simulator tests again under AddressSanitizer and UBSan;
#   3. the i686 Windows cross-build, with checks of every produced executable.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh
jobs=$(nproc)
results=$(mktemp)
trap 'rm -f "$results"' EXIT

echo "== simulator build and tests"
cmake --preset default >/dev/null
cmake --build --preset default -j "$jobs"
ctest --preset default | tee -a "$results"

echo "== simulator tests under AddressSanitizer and UndefinedBehaviorSanitizer"
cmake --preset sanitize >/dev/null
cmake --build --preset sanitize -j "$jobs"
# Any sanitizer report ends its test process with a failure.
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:strict_string_checks=1 \
UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
    ctest --preset sanitize | tee -a "$results"

echo "== i686 Windows build"
cmake --preset windows >/dev/null
cmake --build --preset windows -j "$jobs"
bash scripts/check_pe.sh build/windows

# One closing line over every suite that ran.
passed=0
failed=0
while read -r total fails; do
    passed=$((passed + total - fails))
    failed=$((failed + fails))
done < <(sed -n 's/.* tests passed, \([0-9]*\) tests failed out of \([0-9]*\).*/\2 \1/p' "$results")
echo "== all suites passed"
echo "$passed passed, $failed failed"
