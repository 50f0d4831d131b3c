#!/usr/bin/env bash
# CPU of the whole program, read from /proc, while Quorvane (offscreen) polls
# the simulator every 100 ms:
#   bench/program_cpu.sh idle [build] [seconds]       an idle scanner (default 30 s)
#   bench/program_cpu.sh tcp [build] [seconds]        the same scanner shared on the network
#       (the simulator on a TCP port in ser2net's raw mode, named by the file com1)
#   bench/program_cpu.sh recording [build] [seconds]  one long hit recorded from the
#       test sound server's sine-wave input, then the same hit not recorded (20 s each)
#   bench/program_cpu.sh listening [build] [seconds]  "Record Audio" ticked and no hit:
#       the sound input held in memory for the next hit (default 30 s)
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
mode="${1:-idle}"
build="${2:-$root/build}"
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
cat > "$folder/quiet.txt" <<'SCENARIO'
once
step 1000 idle line1="  Scanning...   " icons1=100000000000000
SCENARIO
cat > "$folder/long-hit.txt" <<'SCENARIO'
once
step 1000 idle line1="  Scanning...   " icons1=100000000000000
step 600000 hit line1="County Fire" line2="Dispatch 1" icons1=110000000000000 freq=01544300
SCENARIO
hz=$(getconf CLK_TCK)
ticks() { awk '{print $14 + $15}' "/proc/$app/stat"; }
size() { stat -c %s "$folder/temp2" 2>/dev/null || echo 0; }

# measure <scenario> <record-audio 0|1> <seconds> <label>
measure() {
  rm -f "$folder"/temp* "$folder"/*.wav "$folder/com1"
  printf '0\r\n3\r\n100\r\n' > "$folder/com_settings.txt"
  printf '0\r\n%s\r\n0\r\n0\r\n37\r\n37\r\n1\r\n0\r\n0\r\n""\r\n4\r\n' "$2" > "$folder/pgm_settings.txt"
  if [ "${network:-0}" = 1 ]; then
    "$build/sim/quorvane-sim" --scenario "$folder/$1" --tcp 0 --baud 57600 >"$folder/sim.out" &
    sim=$!
    for _ in $(seq 50); do grep -q '^TCP ' "$folder/sim.out" 2>/dev/null && break; sleep 0.1; done
    printf 'tcp://%s\n' "$(sed -n 's/^TCP //p' "$folder/sim.out")" > "$folder/com1"
  else
    "$build/sim/quorvane-sim" --scenario "$folder/$1" --link "$folder/com1" --baud 57600 >/dev/null &
    sim=$!
    for _ in $(seq 50); do [ -L "$folder/com1" ] && break; sleep 0.1; done
  fi
  QT_QPA_PLATFORM=offscreen "$build/quorvane" --app-dir "$folder" >/dev/null 2>&1 &
  app=$!
  sleep 4  # start-up, the idle second, the hit begins
  local before after grown
  before=$(ticks)
  grown=$(size)
  sleep "$3"
  after=$(ticks)
  grown=$(( $(size) - grown ))
  awk -v t=$((after - before)) -v hz="$hz" -v s="$3" -v label="$4" -v g="$grown" \
    'BEGIN { printf "%s: %.2f%% of one core over %d s (recording grew by %d bytes)\n", label, 100 * t / hz / s, s, g }'
  stop_both
}

case "$mode" in
  idle) measure quiet.txt 0 "${3:-30}" "idle polling" ;;
  tcp) network=1 measure quiet.txt 0 "${3:-30}" "idle polling over TCP" ;;
  recording)
    # shellcheck source=/dev/null
    source "$root/scripts/test-audio"
    measure long-hit.txt 1 "${3:-20}" "recording a hit"
    measure long-hit.txt 0 "${3:-20}" "the same hit, not recorded" ;;
  listening)
    # shellcheck source=/dev/null
    source "$root/scripts/test-audio"
    measure quiet.txt 1 "${3:-30}" "Record Audio ticked, no hit" ;;
  *) echo "usage: bench/program_cpu.sh idle|tcp|recording|listening [build] [seconds]" >&2; exit 2 ;;
esac
