#!/usr/bin/env bash
# CPU of the whole program while it polls an idle scanner every 100 ms:
# starts the simulator and Quorvane (offscreen), lets them settle, then reads
# the program's user+system time from /proc over 30 s.
#   bench/idle_cpu.sh [build-folder] [seconds]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build}"
seconds="${2:-30}"
folder="$(mktemp -d)"
trap 'kill $app $sim 2>/dev/null || true; rm -rf "$folder"' EXIT
cat > "$folder/quiet.txt" <<'SCENARIO'
once
step 1000 idle line1="  Scanning...   " icons1=100000000000000
SCENARIO
"$build/sim/quorvane-sim" --scenario "$folder/quiet.txt" --link "$folder/com1" --baud 57600 >/dev/null &
sim=$!
for _ in $(seq 50); do [ -L "$folder/com1" ] && break; sleep 0.1; done
printf '0\r\n3\r\n100\r\n' > "$folder/com_settings.txt"
QT_QPA_PLATFORM=offscreen "$build/quorvane" --app-dir "$folder" >/dev/null 2>&1 &
app=$!
sleep 3
ticks() { awk '{print $14 + $15}' "/proc/$app/stat"; }
hz=$(getconf CLK_TCK)
before=$(ticks)
sleep "$seconds"
after=$(ticks)
awk -v t=$((after - before)) -v hz="$hz" -v s="$seconds" \
  'BEGIN { printf "idle polling: %.2f%% of one core over %d s\n", 100 * t / hz / s, s }'
