#!/usr/bin/env bash
# build.sh run   : install dependencies, build, start the program
# build.sh test  : install dependencies, build, run every test
set -euo pipefail
cd "$(dirname "$0")/.."
mode="${1:-run}"
bash scripts/setup.sh
build="${BUILD_DIR:-build}"
jobs="$(nproc)"
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" --parallel "$jobs"
case "$mode" in
  test)
    # A failing test does not stop the script before the sanitised stage
    # (a failing build still does); the exit status counts both stages.
    failed=()
    (cd "$build" && QT_QPA_PLATFORM=offscreen ctest --output-on-failure --parallel "$jobs") \
      || failed+=("$build")
    # The libraries that touch no windows, once more under AddressSanitizer
    # and UndefinedBehaviorSanitizer, with the fuzz seeds they read.
    sanitized="${build}-asan"
    cmake -S . -B "$sanitized" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZINTROP_SANITIZE=ON >/dev/null
    cmake --build "$sanitized" --parallel "$jobs"
    (cd "$sanitized" && QT_QPA_PLATFORM=offscreen ctest --output-on-failure --parallel "$jobs") \
      || failed+=("$sanitized")
    if [ ${#failed[@]} -gt 0 ]; then
      echo "tests failed in: ${failed[*]}" >&2
      exit 1
    fi
    echo "all tests passed in $build and $sanitized"
    ;;
  run)
    if [ -x "$build/bin/zintrop-lite" ]; then
      exec "$build/bin/zintrop-lite"
    fi
    echo "Built everything; the program is not part of this tree yet."
    ;;
  *) echo "usage: $0 [run|test]" >&2; exit 2 ;;
esac
