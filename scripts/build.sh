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
export CCACHE_SLOPPINESS=pch_defines,time_macros,include_file_mtime,include_file_ctime
export CCACHE_BASEDIR="$PWD"
cmake -S . -B "$folder" -G Ninja "$@" >/dev/null
if [ ${#targets[@]} -gt 0 ]; then
  cmake --build "$folder" --target "${targets[@]}"
else
  cmake --build "$folder"
fi
