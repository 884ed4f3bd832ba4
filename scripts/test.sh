#!/usr/bin/env bash
# Sets up, builds and runs every test: the native build and the sanitizer build.
set -euo pipefail
cd "$(dirname "$0")/.."
./scripts/setup.sh

for preset in native asan; do
  echo "== $preset =="
  cmake --preset "$preset"
  cmake --build --preset "$preset" -j 2
  ctest --preset "$preset" -j 2
done

echo "== Windows (MinGW-w64, under Wine) =="
cmake --preset windows32
cmake --build --preset windows32 -j 2
cmake --preset windows
cmake --build --preset windows -j 2
tests/wine/run-wine-tests.sh

echo "== QEMU drives =="
cmake --preset guest
cmake --build --preset guest -j 2
tests/qemu/run-qemu-tests.sh build/guest/app/probe/quenlith-probe build/qemu
