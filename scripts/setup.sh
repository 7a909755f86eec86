#!/usr/bin/env bash
# Installs what building and testing Postlark needs on Debian 12. Idempotent:
# packages already present are skipped, and apt is not touched at all when
# nothing is missing.
set -euo pipefail

need=(
  cmake make git
  g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix binutils-mingw-w64
  googletest
  wine wine64 wine32:i386
  gstreamer1.0-plugins-base gstreamer1.0-plugins-good gstreamer1.0-libav
  gstreamer1.0-plugins-base:i386 gstreamer1.0-plugins-good:i386 gstreamer1.0-libav:i386
  xvfb x11-utils imagemagick ffmpeg
  python3 fakeroot unzip clang lld
)

# Root runs apt and dpkg itself; anyone else through sudo.
sudo_=""; [ "$(id -u)" -ne 0 ] && sudo_=sudo

if ! dpkg --print-foreign-architectures | grep -qx i386; then
  $sudo_ dpkg --add-architecture i386
fi

missing=()
for p in "${need[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  $sudo_ env DEBIAN_FRONTEND=noninteractive apt-get update -qq
  $sudo_ env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
echo "setup: all packages present"
