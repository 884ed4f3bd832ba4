#!/usr/bin/env bash
# Runs the Windows builds' tests (x86_64, and i686 when built) under Wine on a fresh prefix and a private Xvfb display, then
# shows the real executables and keeps screenshots of their windows as artifacts.
set -euo pipefail
cd "$(dirname "$0")/../.."
build=build/windows
artifacts=$build/artifacts
mkdir -p "$artifacts"

export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" WINEPREFIX=$PWD/$build/wineprefix
rm -rf "$WINEPREFIX"

n=95
while [ -e /tmp/.X$n-lock ] || [ -e /tmp/.X11-unix/X$n ]; do n=$((n + 1)); done
display=:$n
Xvfb $display -screen 0 1024x768x24 -noreset >/dev/null 2>&1 &
xvfb=$!
trap 'wineserver -k 2>/dev/null || true; kill $xvfb 2>/dev/null || true' EXIT
export DISPLAY=$display
sleep 1
start=$(date +%s%N)
wineboot -i >/dev/null 2>&1
echo "wine prefix created in $(( ($(date +%s%N) - start) / 1000000 )) ms"

ctest --preset windows
# The 32-bit build, in the same (WoW64) prefix.
[ ! -d build/windows32 ] || ctest --preset windows32

# The windows as a person sees them: the demo over the emulated machine, and the real program
# over Wine's drives. Under X the region is real: outside the ellipse the black root shows.
shoot() {
  local exe=$1 name=$2
  wine "$build/app/win32/$exe" >/dev/null 2>&1 &
  local pid=$! tries=0
  until xwininfo -name Quenlith 2>/dev/null | grep -q 'IsViewable'; do
    sleep 0.2; tries=$((tries + 1))
    [ $tries -lt 150 ] || { echo "FAIL $exe: no window"; return 1; }
  done
  sleep 2
  import -window root "$artifacts/$name.png"
  local info x y
  info=$(xwininfo -name Quenlith)
  x=$(awk '/Absolute upper-left X/{print $4}' <<<"$info")
  y=$(awk '/Absolute upper-left Y/{print $4}' <<<"$info")
  local corner centre
  corner=$(convert "$artifacts/$name.png" -format "%[pixel:p{$((x + 4)),$((y + 4))}]" info:)
  centre=$(convert "$artifacts/$name.png" -format "%[pixel:p{$((x + 60)),$((y + 200))}]" info:)
  wineserver -k 2>/dev/null || true
  wait $pid 2>/dev/null || true
  echo "$exe: window at $x,$y; corner $corner, picture $centre"
  [ "$corner" = "black" ] || [ "$corner" = "srgb(0,0,0)" ] || { echo "FAIL $exe: the corner is not cut away"; return 1; }
  [ "$centre" != "black" ] && [ "$centre" != "srgb(0,0,0)" ] || { echo "FAIL $exe: no picture"; return 1; }
}
shoot QuenlithDemo.exe wine-window-demo
shoot Quenlith.exe wine-window
echo "screenshots in $artifacts"
