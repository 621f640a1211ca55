#!/usr/bin/env bash
# Installs what is needed, builds, and runs every test: first a plain build,
# then the same tests built with the address and undefined-behaviour sanitizers.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh --checks
jobs=$(nproc)

bash scripts/build.sh build
xvfb-run -a -s "-screen 0 1280x1024x24" ctest --test-dir build --output-on-failure -j"$jobs"

bash scripts/build.sh build-asan -DCMAKE_BUILD_TYPE=Debug -DD390_SANITIZE=ON
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
# Window test programs turn leak checking off themselves (GTK's font caches);
# it stays on for every window-free test.
xvfb-run -a -s "-screen 0 1280x1024x24" ctest --test-dir build-asan --output-on-failure -j"$jobs"

# The worker threads (the auto-refresh reader, the transfers and the link
# watchdog's pass) once more under ThreadSanitizer. GTK reports races of its
# own under it, so only the window-free code and the test programs of those
# threads are built.
export CCACHE_SLOPPINESS=pch_defines,time_macros,include_file_mtime,include_file_ctime
export CCACHE_BASEDIR="$PWD"
export CCACHE_NOHASHDIR=1
cmake -S . -B build-tsan -G Ninja -DCMAKE_BUILD_TYPE=Debug -DD390_TSAN=ON >/dev/null
cmake --build build-tsan --target d390_session_tests
TSAN_OPTIONS=halt_on_error=1 build-tsan/tests/d390_session_tests
