#!/usr/bin/env bash
# Installs what is missing, builds both programs and runs every test under
# Wine, on a virtual display and in a Wine prefix of this run's own.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
scripts/setup.sh
scripts/build.sh

# Which builds this machine can run: 32-bit Windows code needs a kernel that
# runs 32-bit Linux programs (Wine's 32-bit loader).
dirs=()
if [ -x /usr/lib/wine/wine ] && /usr/lib/wine/wine --version >/dev/null 2>&1; then
  dirs+=(build)
else
  echo "test: this kernel cannot run 32-bit programs; the 32-bit build is built but not run"
fi
dirs+=(build/x86_64)

source scripts/wine_env.sh
run_dir=$(mktemp -d /tmp/postlark-test.XXXXXX)
trap 'postlark_wine_down; rm -rf "$run_dir"' EXIT
postlark_wine_up "$run_dir/prefix"

status=0
for dir in "${dirs[@]}"; do
  tests/support/make_clips.sh "$root/$dir/testdata" >/dev/null
  echo "test: running the tests of $dir"
  (cd "$dir" && ctest --output-on-failure --timeout 300) || status=1
done
scripts/release_check.sh || status=1
exit $status
