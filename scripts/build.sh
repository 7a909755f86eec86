#!/usr/bin/env bash
# Builds Postlark: the shipped 32-bit program at build/postlark.exe and the
# 64-bit one at build/x86_64/postlark.exe, each with its tests.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc 2>/dev/null || echo 2)
for arch in i686 x86_64; do
  dir=build; [ $arch = x86_64 ] && dir=build/x86_64
  # A configure that failed leaves a cache behind; it must not be taken for
  # a good one by the next run, so it goes.
  if [ ! -f $dir/CMakeCache.txt ] || [ ! -f $dir/Makefile ]; then
    if ! cmake -S . -B $dir -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-$arch.cmake -DCMAKE_BUILD_TYPE=Release >/dev/null; then
      rm -rf $dir/CMakeCache.txt $dir/CMakeFiles $dir/Makefile
      exit 1
    fi
  fi
  cmake --build $dir -j "$jobs" -- --no-print-directory
done
