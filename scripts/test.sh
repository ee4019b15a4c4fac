#!/usr/bin/env bash
# Installs what is needed, builds with AddressSanitizer and UndefinedBehaviorSanitizer,
# and runs every test; the concurrency tests also run under ThreadSanitizer.
# Exits non-zero on any failure.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/setup.sh" --test

# ThreadSanitizer needs a build of its own; only the tests labelled tsan are built and run there.
tsan="$root/build-tsan"
cmake -S "$root" -B "$tsan" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DKORVEX_TSAN=ON -DKORVEX_BENCH=OFF >/dev/null
cmake --build "$tsan" --target library_concurrency_test --parallel "$(nproc)"
(cd "$tsan" && ctest -L tsan --output-on-failure --timeout 300)

asan="$root/build-asan"
"$root/scripts/build.sh" "$asan" -DCMAKE_BUILD_TYPE=Debug -DKORVEX_SANITIZE=ON -DKORVEX_BENCH=OFF
# The whole suite last, so that its summary closes the output.
(
  # The umockdev preload is not the first library in the list; ASan must not insist on it.
  export ASAN_OPTIONS="verify_asan_link_order=0:detect_leaks=1:abort_on_error=1"
  export LSAN_OPTIONS="suppressions=$root/tests/lsan.supp:print_suppressions=0"
  export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
  cd "$asan"
  ctest --output-on-failure --timeout 300 --parallel "$(nproc)" "$@"
)

