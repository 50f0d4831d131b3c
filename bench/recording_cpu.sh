#!/usr/bin/env bash
# CPU of the whole program while it records a hit: the simulator sends one
# long transmission, Quorvane (offscreen, "Record Audio" ticked) polls it every
# 100 ms and records the test sound server's sine-wave input; the program's
# user+system time is read from /proc. The same hit with "Record Audio"
# unticked is measured for comparison.
#   bench/recording_cpu.sh [build-folder] [seconds]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build}"
seconds="${2:-20}"
# shellcheck source=/dev/null
source "$root/scripts/test-audio"
folder="$(mktemp -d)"
app=""
sim=""
stop_both() {
  if [ -n "$app" ]; then kill "$app" 2>/dev/null || true; wait "$app" 2>/dev/null || true; fi
  if [ -n "$sim" ]; then kill "$sim" 2>/dev/null || true; wait "$sim" 2>/dev/null || true; fi
  app=""
  sim=""
}
trap 'stop_both; rm -rf "$folder"' EXIT
cat > "$folder/long-hit.txt" <<'SCENARIO'
once
step 1000 idle line1="  Scanning...   " icons1=100000000000000
step 600000 hit line1="County Fire" line2="Dispatch 1" icons1=110000000000000 freq=01544300
SCENARIO
hz=$(getconf CLK_TCK)
ticks() { awk '{print $14 + $15}' "/proc/$app/stat"; }
size() { stat -c %s "$folder/temp2" 2>/dev/null || echo 0; }

# measure <record-audio 0|1> <label>
measure() {
  rm -f "$folder"/temp* "$folder"/*.wav "$folder/com1"
  printf '0\r\n3\r\n100\r\n' > "$folder/com_settings.txt"
  printf '0\r\n%s\r\n0\r\n0\r\n37\r\n37\r\n1\r\n0\r\n0\r\n""\r\n4\r\n' "$1" > "$folder/pgm_settings.txt"
  "$build/sim/quorvane-sim" --scenario "$folder/long-hit.txt" --link "$folder/com1" --baud 57600 >/dev/null &
  sim=$!
  for _ in $(seq 50); do [ -L "$folder/com1" ] && break; sleep 0.1; done
  QT_QPA_PLATFORM=offscreen "$build/quorvane" --app-dir "$folder" >/dev/null 2>&1 &
  app=$!
  sleep 4  # start-up, the idle second, the hit begins
  local before after grown
  before=$(ticks)
  grown=$(size)
  sleep "$seconds"
  after=$(ticks)
  grown=$(( $(size) - grown ))
  awk -v t=$((after - before)) -v hz="$hz" -v s="$seconds" -v label="$2" -v g="$grown" \
    'BEGIN { printf "%s: %.2f%% of one core over %d s (recording grew by %d bytes)\n", label, 100 * t / hz / s, s, g }'
  stop_both
}

measure 1 "recording a hit"
measure 0 "the same hit, not recorded"
