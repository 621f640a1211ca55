#!/usr/bin/env bash
# Installs what is needed, builds, and starts the program connected to a
# simulated drive on a pseudo-terminal (through the hand-over file's
# connect-at-once job), so that there is a live drive to read, write and watch.
# D390_NO_SIMDRIVE=1 starts the program alone; D390_SIMDRIVE_ARGS adds options
# of build/bin/d390-simdrive (see its --help).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
# Only what is started here and what it reads at run time (the resource module
# and the data files come with the program, the workbook templates are written
# beside it); scripts/run-tests.sh builds the tests and benchmarks as well.
bash scripts/build.sh build --target d390 --target d390-simdrive --target d390_param_template_files

if [ "${D390_NO_SIMDRIVE:-}" = 1 ]; then
  exec build/bin/d390 "$@"
fi

# An S-family drive with group 14 on station 1 that takes its run and frequency
# commands from communication. Its first output line is the
# pseudo-terminal's device path.
# shellcheck disable=SC2086
coproc SIMDRIVE { exec build/bin/d390-simdrive --model 0x11004B2 --version 1093 --stations 1 --comm-control ${D390_SIMDRIVE_ARGS:-}; }
simdrive_pid=$SIMDRIVE_PID
trap 'kill "$simdrive_pid" 2>/dev/null || true' EXIT
pty=""
read -r -t 30 pty <&"${SIMDRIVE[0]}" || true
if [ -z "$pty" ]; then
  echo "the simulated drive did not start" >&2
  exit 1
fi
echo "simulated drive on $pty, station 1"

# Hand-over job 2: port, baud rate, data bits/parity/stop bits, station, 50 Hz set.
tmp=${TMPDIR:-/tmp}
printf '2\n%s\n19200\n802\n1\n0\n' "$pty" > "${tmp%/}/curfile.ini"
build/bin/d390 "$@"
