#!/usr/bin/env bash
# Part of the test run. Builds the release twice, from two copies of this tree
# in two different folders, a few seconds apart, and fails unless postlark.exe
# and the zip come out byte for byte the same; checks what the zip holds; then
# builds postlark.exe with clang, the second compiler, warnings as errors.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
began=$SECONDS
work=$(mktemp -d /tmp/postlark-release.XXXXXX)
trap 'rm -rf "$work"' EXIT
fail() { echo "release check: FAILED: $*"; exit 1; }

SOURCE_DATE_EPOCH=$(git log -1 --format=%ct)
export SOURCE_DATE_EPOCH

# The tree as it is now (committed or not), without build output.
copy_tree() {
  mkdir -p "$1"
  git ls-files -z --cached --others --exclude-standard |
    tar --null --ignore-failed-read -T - -cf - 2>/dev/null | tar -xf - -C "$1"
}
one=$work/one/postlark
two=$work/second-build-folder/src/postlark
copy_tree "$one"
copy_tree "$two"

build_release() {
  if ! "$1/scripts/release.sh" >"$1.log" 2>&1; then
    tail -30 "$1.log"
    fail "the release build in $1 did not finish"
  fi
}
t=$SECONDS
build_release "$one"
sleep 2  # the second build starts at another time
build_release "$two"
echo "release check: two release builds in $((SECONDS - t)) s"

zip=$(cd "$one/dist" && echo postlark-*-win32.zip)
exe=$(unzip -Z1 "$one/dist/$zip" | grep '/postlark\.exe$')
for f in "build/release/postlark.exe" "dist/$zip" dist/SHA256SUMS; do
  cmp -s "$one/$f" "$two/$f" || fail "$f differs between the two builds"
done
echo "release check: postlark.exe, $zip and SHA256SUMS are the same in both builds"
sha256sum "$one/build/release/postlark.exe" "$one/dist/$zip" | sed "s|$one/||"

# No time of linking: the PE header's TimeDateStamp is zero.
pe=$(od -An -tu4 -j60 -N4 "$one/build/release/postlark.exe" | tr -d ' ')
stamp=$(od -An -tu4 -j$((pe + 8)) -N4 "$one/build/release/postlark.exe" | tr -d ' ')
[ "$stamp" = 0 ] || fail "postlark.exe carries a link time stamp ($stamp)"
# No folder of either build in the exe, as 8-bit or 16-bit text.
for s in "$work" /tmp/; do
  if { i686-w64-mingw32-strings -a "$one/build/release/postlark.exe"
       i686-w64-mingw32-strings -a -el "$one/build/release/postlark.exe"; } | grep -qF "$s"; then
    fail "postlark.exe names a build folder ($s)"
  fi
done
# What the zip holds, in this order, every entry at the commit's time.
want="${exe%/*}/ ${exe%/*}/LICENSE.txt ${exe%/*}/README.txt ${exe%/*}/mail.avi $exe"
got=$(unzip -Z1 "$one/dist/$zip" | tr '\n' ' ' | sed 's/ $//')
[ "$got" = "$want" ] || fail "the zip holds \"$got\", not \"$want\""
when=$(TZ=UTC date -d "@$SOURCE_DATE_EPOCH" '+%Y %b %-d %H:%M:%S')
times=$(TZ=UTC zipinfo -v "$one/dist/$zip" | grep -c "(UT extra field modtime): $when UTC")
[ "$times" = 5 ] || fail "not every entry of the zip carries the commit's time ($when UTC)"
for f in README.txt LICENSE.txt; do
  lines=$(unzip -p "$one/dist/$zip" "${exe%/*}/$f" | wc -l)
  crlf=$(unzip -p "$one/dist/$zip" "${exe%/*}/$f" | grep -c $'\r$' || true)
  [ "$lines" -gt 0 ] && [ "$crlf" = "$lines" ] || fail "$f has lines without a Windows line end"
done
# A user's check: unzip, then both lines of SHA256SUMS hold.
(cd "$one/dist" && unzip -q "$zip" && sha256sum --quiet -c SHA256SUMS) || fail "SHA256SUMS does not match"

# The second compiler: the exe only, no tests.
t=$SECONDS
if ! { cmake -S "$root" -B "$work/clang" -DCMAKE_TOOLCHAIN_FILE=cmake/clang-i686.cmake \
         -DCMAKE_BUILD_TYPE=Release -DPOSTLARK_TESTS=OFF &&
       cmake --build "$work/clang" -j "$(nproc 2>/dev/null || echo 2)" --target postlark; } >"$work/clang.log" 2>&1; then
  grep -E 'error|warning' "$work/clang.log" | head -40
  fail "postlark.exe does not build with clang"
fi
echo "release check: postlark.exe builds with clang (-Wall -Wextra -Werror) in $((SECONDS - t)) s"
echo "release check: passed in $((SECONDS - began)) s"
