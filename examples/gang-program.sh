#!/usr/bin/env bash
# Programs every ready probe at once, one board per probe: the same job on each, one log per
# board (LOGDIR/SERIAL.log, standard output and error of its console). Prints one line per
# board and exits with the number of boards that failed.
#   examples/gang-program.sh IMAGE [LOGDIR]
# KORVEX_CONSOLE and KORVEX_PROBES name the programs when they are not on PATH.
set -uo pipefail
image="${1:?usage: gang-program.sh IMAGE [LOGDIR]}"
logdir="${2:-gang-logs}"
console="${KORVEX_CONSOLE:-Korvex_Console}"
lister="${KORVEX_PROBES:-korvex-probes}"
mkdir -p "$logdir"

mapfile -t serials < <("$lister" | awk -F'\t' '$6 == "ready" { print $1 }')
if [ ${#serials[@]} -eq 0 ]; then
  echo "no ready probe" >&2
  exit 1
fi

declare -A jobs
for serial in "${serials[@]}"; do
  KORVEX_PROBE="$serial" "$console" -connect -e --all -d --fn "$image" --v -r >"$logdir/$serial.log" 2>&1 &
  jobs[$serial]=$!
done

failed=0
for serial in "${serials[@]}"; do
  wait "${jobs[$serial]}"
  status=$?
  if [ $status -eq 0 ]; then
    echo "$serial: programmed and verified"
  else
    echo "$serial: failed with exit code $status (see $logdir/$serial.log)"
    failed=$((failed + 1))
  fi
done
exit $failed
