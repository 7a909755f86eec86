#!/usr/bin/env bash
# Makes the small clips the clip player tests open, in the folder given as $1.
# Clips that already exist are kept, so repeated test runs cost nothing.
set -euo pipefail

out=${1:?usage: make_clips.sh OUTPUT_FOLDER}
mkdir -p "$out"
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)

# The clip Postlark ships: copied afresh whenever it changed.
if ! cmp -s "$repo/src/app/mail.avi" "$out/mail.avi"; then
  cp -f "$repo/src/app/mail.avi" "$out/.tmp.$$.mail.avi"
  mv -f "$out/.tmp.$$.mail.avi" "$out/mail.avi"
fi
command -v ffmpeg >/dev/null || { echo "make_clips: ffmpeg is missing" >&2; exit 1; }

# make NAME SIZE SECONDS ffmpeg-output-options...
make() {
  local name=$1 size=$2 secs=$3
  shift 3
  [ -s "$out/$name" ] && return 0
  # Write aside and rename, so an interrupted run leaves no half clip behind.
  local tmp="$out/.tmp.$$.$name"
  ffmpeg -nostdin -hide_banner -loglevel error -y \
    -f lavfi -i "testsrc=size=$size:rate=10" -t "$secs" "$@" "$tmp"
  mv -f "$tmp" "$out/$name"
}

make msvideo1.avi 160x120 2 -c:v msvideo1
make mjpeg.avi 200x100 2 -c:v mjpeg -pix_fmt yuvj420p -q:v 5
make h264.m4v 160x120 2 -c:v libx264 -pix_fmt yuv420p -profile:v baseline -f mp4
make h264.mov 200x100 2 -c:v libx264 -pix_fmt yuv420p -profile:v baseline
# Short clip for the tests that play several times.
make short.avi 160x120 0.5 -c:v msvideo1

# A clip with sound and no picture: the player must refuse it.
if [ ! -s "$out/sound_only.avi" ]; then
  tmp="$out/.tmp.$$.sound_only.avi"
  ffmpeg -nostdin -hide_banner -loglevel error -y \
    -f lavfi -i "sine=frequency=440:duration=1" -c:a pcm_s16le -f avi "$tmp"
  mv -f "$tmp" "$out/sound_only.avi"
fi
