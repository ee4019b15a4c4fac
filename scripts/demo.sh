#!/usr/bin/env bash
# Installs what is needed, builds, and runs the programmer's main job.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
dir="$root/build"
"$root/scripts/setup.sh"
"$root/scripts/build.sh" "$dir" -DKORVEX_TESTS=OFF -DKORVEX_BENCH=OFF >/dev/null
exec "$dir/bin/Korvex_Console" "$@"
