#!/usr/bin/env bash
# Sets up, builds and runs the program: the window over this machine's drives, under the
# current display.
#   ./scripts/run.sh                 the window
#   ./scripts/run.sh --demo          the window over the emulated standard machine
#   ./scripts/run.sh --probe [ARGS]  the command-line probe (see --probe --help)
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup.sh
cmake --preset native >/dev/null
case "${1:-}" in
  --probe)
    shift
    cmake --build --preset native -j 2 --target quenlith-probe
    exec ./build/native/app/probe/quenlith-probe "$@" ;;
  --demo)
    cmake --build --preset native -j 2 --target quenlith-demo
    program=./build/native/app/qt/quenlith-demo ;;
  *)
    cmake --build --preset native -j 2 --target quenlith
    program=./build/native/app/qt/quenlith ;;
esac
if [ -z "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
  echo "No display: run this from a desktop session, or try ./scripts/run.sh --probe --emulated" >&2
  exit 1
fi
exec "$program"
