#!/usr/bin/env bash
# Configures and builds the project.
#   scripts/build.sh [BUILD_DIR] [extra CMake arguments...]
# BUILD_DIR defaults to build/.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
dir="${1:-$root/build}"
shift || true
generator=()
command -v ninja >/dev/null 2>&1 && generator=(-G Ninja)
cmake -S "$root" -B "$dir" "${generator[@]}" "$@"
cmake --build "$dir" --parallel "$(nproc)"
