#!/usr/bin/env bash
# Builds what a Windows user downloads: dist/postlark-<version>-win32.zip
# (a postlark-<version> folder with postlark.exe, README.txt, LICENSE.txt)
# and dist/SHA256SUMS beside it. The release has a build folder of its own,
# build/release, with no tests, so it never mixes with the test build.
# The same commit gives the same bytes: the zip's entries carry the commit's
# time (SOURCE_DATE_EPOCH, from git unless set).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
build=build/release
jobs=$(nproc 2>/dev/null || echo 2)

if [ -z "${SOURCE_DATE_EPOCH:-}" ]; then
  SOURCE_DATE_EPOCH=$(git log -1 --format=%ct 2>/dev/null) || {
    echo "release: no commit to take the time from; set SOURCE_DATE_EPOCH" >&2
    exit 1
  }
  if [ -n "$(git status --porcelain --untracked-files=no)" ]; then
    echo "release: warning: changes not committed; this zip is not the commit's" >&2
  fi
fi
export SOURCE_DATE_EPOCH TZ=UTC
# The zip records the mode of the folder CPack makes, and that follows the umask.
umask 022

if [ ! -f $build/CMakeCache.txt ]; then
  cmake -S . -B $build -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -DCMAKE_BUILD_TYPE=Release \
    -DPOSTLARK_TESTS=OFF >/dev/null
fi
cmake --build $build -j "$jobs" -- --no-print-directory >/dev/null

# Zip entries record their owner: pack as uid 0 whoever builds, so that the
# bytes do not depend on who made them.
as_root=(); [ "$(id -u)" -eq 0 ] || as_root=(fakeroot)
rm -f $build/postlark-*-win32.zip
(cd $build && "${as_root[@]}" cpack >/dev/null)
zip=$(cd $build && echo postlark-*-win32.zip)
[ -f "$build/$zip" ] || { echo "release: cpack made no zip" >&2; exit 1; }

mkdir -p dist
rm -f dist/postlark-*-win32.zip dist/SHA256SUMS
cp $build/"$zip" dist/
exe=$(unzip -Z1 dist/"$zip" | grep '/postlark\.exe$')
{
  (cd dist && sha256sum "$zip")
  echo "$(unzip -p dist/"$zip" "$exe" | sha256sum | cut -d' ' -f1)  $exe"
} >dist/SHA256SUMS
echo "release: dist/$zip"
cat dist/SHA256SUMS
