#!/usr/bin/env bash
# Installs the build tree into a temporary prefix, moves the prefix elsewhere (the pkg-config and
# CMake files must not depend on where it was installed), then builds and runs a small C program
# against it through pkg-config and through find_package, under the virtual probe.
#   install_test.sh BUILD_DIR SOURCE_DIR SANITIZE(ON|OFF)
set -euo pipefail
build="$1"; source="$2"; sanitize="${3:-OFF}"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT

cmake --install "$build" --prefix "$work/staged" >/dev/null
mv "$work/staged" "$work/moved"
prefix="$work/moved"

flags=()
[ "$sanitize" = ON ] && flags=(-fsanitize=address,undefined)
pcdir="$(dirname "$(find "$prefix" -name KORVEXLIB.pc | head -n 1)")"
[ -n "$pcdir" ] || { echo "no KORVEXLIB.pc installed"; exit 1; }

# pkg-config
export PKG_CONFIG_PATH="$pcdir"
cc "${flags[@]}" -o "$work/by-pkg-config" "$source/tests/packaging/consumer/consumer.c" \
   $(pkg-config --cflags --libs KORVEXLIB) -Wl,-rpath,"$(pkg-config --variable=libdir KORVEXLIB)"

# find_package
cmake -S "$source/tests/packaging/consumer" -B "$work/cmake-build" -DCMAKE_PREFIX_PATH="$prefix" \
      -DCMAKE_C_FLAGS="${flags[*]}" -DCMAKE_EXE_LINKER_FLAGS="${flags[*]}" \
      -DCMAKE_BUILD_RPATH="$(pkg-config --variable=libdir KORVEXLIB)" >/dev/null
cmake --build "$work/cmake-build" >/dev/null

# Both list the virtual probe's serials, through the installed korvex-sim.
for program in "$work/by-pkg-config" "$work/cmake-build/consumer"; do
  out="$("$prefix/bin/korvex-sim" --probes 2 --probe 0:serial=KVA --probe 1:serial=KVB -- "$program")"
  [ "$out" = $'KVA\nKVB' ] || { echo "$program listed: $out"; exit 1; }
done

# What the package carries besides the binaries.
for f in lib/udev/rules.d/70-korvex-probe.rules share/bash-completion/completions/Korvex_Console \
         share/man/man1/Korvex_Console.1 share/man/man1/korvex-sim.1 share/man/man1/korvex-probes.1 bin/korvex-probes bin/Korvex_Console bin/korvex-sim include/KORVEXLIB.h; do
  [ -e "$prefix/$f" ] || { echo "missing from the installation: $f"; exit 1; }
done
# The .deb installs the same under /usr, the udev rule where udev reads it.
(cd "$build" && cpack -G DEB -B "$work/deb" >/dev/null)
listing="$(dpkg-deb -c "$work"/deb/korvex_*.deb | awk '{print $6}')"
for f in ./usr/lib/udev/rules.d/70-korvex-probe.rules ./usr/bin/Korvex_Console ./usr/bin/korvex-sim \
         ./usr/share/man/man1/Korvex_Console.1 ./usr/share/man/man1/korvex-sim.1 \
         ./usr/lib/cmake/KORVEXLIB/KORVEXLIBConfig.cmake; do
  grep -qx -- "$f" <<<"$listing" || { echo "missing from the package: $f"; exit 1; }
done
echo "install test passed"
