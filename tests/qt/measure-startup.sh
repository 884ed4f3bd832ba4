#!/usr/bin/env bash
# Benchmark, not a test: time from process start to the window mapped under Xvfb (median of
# RUNS), and the process's peak resident memory. Usage: measure-startup.sh PROGRAM [RUNS]
set -euo pipefail
program=$(readlink -f "$1")
runs=${2:-7}
display=:93
Xvfb $display -screen 0 1024x768x24 -noreset >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null' EXIT
sleep 1
export DISPLAY=$display
times=() peaks=()
for _ in $(seq "$runs"); do
  start=$(date +%s%N)
  "$program" >/dev/null 2>&1 &
  pid=$!
  until xwininfo -name Quenlith 2>/dev/null | grep -q 'Map State: IsViewable'; do sleep 0.002; done
  times+=($(( ($(date +%s%N) - start) / 1000000 )))
  sleep 0.5
  peaks+=($(awk '/VmHWM/{print $2}' /proc/$pid/status))
  kill $pid; wait $pid 2>/dev/null || true
done
median() { printf '%s\n' "$@" | sort -n | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }
echo "start to window shown: median $(median "${times[@]}") ms of ${times[*]}"
echo "peak resident memory: median $(median "${peaks[@]}") kB"
