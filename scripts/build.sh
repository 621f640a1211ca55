#!/usr/bin/env bash
# Configures and builds one build folder: scripts/build.sh FOLDER [cmake options...]
set -euo pipefail
cd "$(dirname "$0")/.."
folder=$1; shift
export CCACHE_SLOPPINESS=pch_defines,time_macros,include_file_mtime,include_file_ctime
export CCACHE_BASEDIR="$PWD"
cmake -S . -B "$folder" -G Ninja "$@" >/dev/null
cmake --build "$folder"
