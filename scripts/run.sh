#!/usr/bin/env bash
# Sets up, builds and runs the program. Arguments go to the probe (see --help); without
# any, it reports on the emulated standard machine.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup.sh
cmake --preset native >/dev/null
cmake --build --preset native -j 2 --target quenlith-probe
if [ $# -eq 0 ]; then
  set -- --emulated
fi
exec ./build/native/app/probe/quenlith-probe "$@"
