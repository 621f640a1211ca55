#!/usr/bin/env bash
# Configures and builds one build folder:
#   scripts/build.sh FOLDER [--target NAME]... [cmake options...]
# Without --target everything is built (the program, the simulated drive, the
# tests and the benchmarks); with it only the named targets and what they need.
set -euo pipefail
cd "$(dirname "$0")/.."
folder=$1; shift
targets=()
while [ $# -gt 0 ] && [ "$1" = "--target" ]; do
  targets+=("$2"); shift 2
done
# The compiler cache is shared by every clone on the machine: paths below the
# clone are hashed relative to it, and so is the build folder, which a build
# with debug information would otherwise hash whole (a fresh clone elsewhere
# would then compile everything again).
export CCACHE_SLOPPINESS=pch_defines,time_macros,include_file_mtime,include_file_ctime
export CCACHE_BASEDIR="$PWD"
export CCACHE_NOHASHDIR=1
cmake -S . -B "$folder" -G Ninja "$@" >/dev/null
if [ ${#targets[@]} -gt 0 ]; then
  cmake --build "$folder" --target "${targets[@]}"
else
  cmake --build "$folder"
fi
