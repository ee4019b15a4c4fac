#!/usr/bin/env bash
# Installs what is needed, builds, and runs the programmer's main job against the virtual probe:
#   korvex-sim -- Korvex_Console -connect -e --all -d --fn examples/sample_app.hex --v -r
# With arguments, they replace the console's arguments (still against the virtual probe).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
dir="$root/build"
"$root/scripts/setup.sh"
# Build progress goes to standard error, so that standard output is the console's alone.
"$root/scripts/build.sh" "$dir" -DKORVEX_TESTS=OFF -DKORVEX_BENCH=OFF >&2
cd "$root"
if [ $# -eq 0 ]; then
  set -- -connect -e --all -d --fn examples/sample_app.hex --v -r
fi
exec "$dir/bin/korvex-sim" -- "$dir/bin/Korvex_Console" "$@"
