#!/usr/bin/env bash
# Installs a built tree into a temporary prefix and builds callers against the
# installed library both ways a user would: the CMake package (tests/consumer)
# and a plain g++ line with pkg-config. Runs the link check program of each.
#   tests/install_check.sh <build dir>
set -euo pipefail
build=$(cd "$1" && pwd)
src=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix=$work/prefix

cmake --install "$build" --prefix "$prefix" >/dev/null
pc=$(find "$prefix" -name vsdk.pc)
libdir=$(dirname "$(dirname "$pc")")
for link in libVSDK.so libVSDK.so.11; do
  [ -L "$libdir/$link" ] || { echo "missing soname link $link" >&2; exit 1; }
done

echo "== CMake package"
cmake -S "$src/tests/consumer" -B "$work/cmake" -G Ninja -DCMAKE_PREFIX_PATH="$prefix" >/dev/null
cmake --build "$work/cmake"
"$work/cmake/installed_link"

echo "== pkg-config"
export PKG_CONFIG_PATH=$(dirname "$pc")
flags=$(pkg-config --cflags --libs vsdk)
rpath=-Wl,-rpath,$(pkg-config --variable=libdir vsdk)
for prog in "$src/examples/vsdk_example.cpp" "$src/tests/consumer/installed_link.cpp"; do
  # shellcheck disable=SC2086
  g++ -std=c++17 -Wall -Wextra -Werror "$prog" $flags "$rpath" -o "$work/$(basename "$prog" .cpp)"
done
"$work/installed_link"
