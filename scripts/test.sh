#!/usr/bin/env bash
# The test command: installs what is missing, builds everything with warnings
# as errors under AddressSanitizer and UndefinedBehaviorSanitizer, and runs
# every test (engine tests and the desktop tests on Qt's offscreen platform).
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh --packaging

# Layout is held by the build: unformatted C++ fails the run before anything
# is compiled (run scripts/format.sh to fix it).
bash scripts/check-format.sh

build=build-test
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQV_SANITIZE=ON
cmake --build "$build" -j "$(nproc)"

export QT_QPA_PLATFORM=offscreen
# Qt and fontconfig keep caches for the life of the process; leak reports
# from them would drown out ours, so leak checking stays off here.
export ASAN_OPTIONS=detect_leaks=0:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
ctest --test-dir "$build" --output-on-failure -j "$(nproc)"

# The Debian packages: a release build packaged, checked by lintian, unpacked
# into a temporary root and run from there.
bash scripts/check-package.sh
