#!/usr/bin/env bash
# Builds Postlark: the shipped 32-bit program at build/postlark.exe and the
# 64-bit one at build/x86_64/postlark.exe, each with its tests.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc 2>/dev/null || echo 2)
for arch in i686 x86_64; do
  dir=build; [ $arch = x86_64 ] && dir=build/x86_64
  if [ ! -f $dir/CMakeCache.txt ]; then
    cmake -S . -B $dir -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-$arch.cmake -DCMAKE_BUILD_TYPE=Release >/dev/null
  fi
  cmake --build $dir -j "$jobs" -- --no-print-directory
done
