#!/usr/bin/env bash
# Gang programming: examples/gang-program.sh on 4 virtual probes against the same job on one,
# in interleaved pairs (medians, so that a busy machine does not favour either side).
#   bench/gang/bench_gang.sh [BUILD_BIN_DIR] [PAIRS] [IMAGE]
# Prints the wall time of each side, their ratio (1.0: four boards in the time of one; 4.0:
# no gain), and the CPU time per board of the consoles and of korvex-sim. All virtual probes
# live in one korvex-sim process, so that process's CPU bounds the ratio here; real probes
# each have their own firmware.
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
bin="${1:-$root/build/bin}"
pairs="${2:-5}"
image="${3:-$root/examples/sample_app.hex}"
export KORVEX_CONSOLE="$bin/Korvex_Console" KORVEX_PROBES="$bin/korvex-probes"
logs="$(mktemp -d)"
trap 'rm -rf "$logs"' EXIT

# One run with N boards: "wall user sys" in seconds (user and sys of every process of the run).
run() {
  local boards=$1 probes=()
  for ((i = 0; i < boards; i++)); do probes+=(--probe "$i:serial=KVG$i"); done
  local TIMEFORMAT='%R %U %S'
  { time "$bin/korvex-sim" --probes "$boards" "${probes[@]}" -- "$root/examples/gang-program.sh" "$image" "$logs" >/dev/null; } 2>&1
}

median() { sort -n | awk '{a[NR] = $1} END {print (NR % 2) ? a[(NR + 1) / 2] : (a[NR / 2] + a[NR / 2 + 1]) / 2}'; }

one=() four=() cpu1=0 cpu4=0
for ((p = 0; p < pairs; p++)); do
  read -r w u s <<<"$(run 1)"; one+=("$w"); cpu1=$(echo "$cpu1 + $u + $s" | bc)
  read -r w u s <<<"$(run 4)"; four+=("$w"); cpu4=$(echo "$cpu4 + $u + $s" | bc)
done
m1=$(printf '%s\n' "${one[@]}" | median)
m4=$(printf '%s\n' "${four[@]}" | median)
echo "job: -connect -e --all -d --fn $(basename "$image") --v -r, $pairs interleaved pairs"
echo "one board:   median $m1 s  (runs: ${one[*]})"
echo "four boards: median $m4 s  (runs: ${four[*]})"
echo "ratio four/one: $(echo "scale=2; $m4 / $m1" | bc)  (1.00 ideal, 4.00 no gain)"
echo "CPU per board: $(echo "scale=3; $cpu1 / $pairs" | bc) s alone, $(echo "scale=3; $cpu4 / $pairs / 4" | bc) s in the gang (consoles and korvex-sim together; $(nproc) cores)"
