#!/usr/bin/env bash
# Installs what is missing, builds Postlark and runs it under Wine.
# With a display ($DISPLAY), Postlark runs there until you exit it, in a Wine
# prefix kept at ~/.postlark-wine. Without one, it runs on a virtual display:
# a stand-in Outlook shows a new-mail envelope a few seconds in, and
# screenshots of what the user would see are saved to build/screenshots/.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
scripts/setup.sh
scripts/build.sh >/dev/null
source scripts/wine_env.sh
dir=$(postlark_runnable_build "$root")
[ "$dir" = "$root/build" ] || echo "run: this kernel cannot run 32-bit programs; running the 64-bit build"
exe=$dir/postlark.exe

if [ -n "${DISPLAY:-}" ] && [ -z "${POSTLARK_HEADLESS:-}" ]; then
  export POSTLARK_USE_DISPLAY=1
  postlark_wine_up "${POSTLARK_WINEPREFIX:-$HOME/.postlark-wine}" keep
  echo "run: Postlark is in your notification area; exit it from its window or tray menu"
  exec "$POSTLARK_WINE" "$exe" </dev/null >/dev/null 2>&1
fi

shots=$root/build/screenshots
mkdir -p "$shots"
run_dir=$(mktemp -d /tmp/postlark-run.XXXXXX)
trap 'postlark_wine_down; rm -rf "$run_dir"' EXIT
# A Wine desktop with a taskbar, so the screenshots show the notification area
# where a user would look for it.
POSTLARK_WINE_DESKTOP=1280x1024 postlark_wine_up "$run_dir/prefix"
w=$POSTLARK_WINE
# Postlark's own clip, mail.avi beside the exe, as a new user has it.
{
  "$w" reg add 'HKCU\Software\Postlark\Options' /v Anim /d 1 /f
  "$w" reg add 'HKCU\Software\Postlark\Options' /v Loop /d 3 /f
} </dev/null >/dev/null 2>&1

snap() { import -window root -display "$DISPLAY" "$shots/$1.png" && echo "run: saved $shots/$1.png"; }

"$w" "$exe" </dev/null >/dev/null 2>&1 &
disown  # it ends with the Wine server below; no job report for that
sleep 4
snap 1-started
echo "run: a stand-in Outlook shows its new-mail envelope"
"$w" "$dir/tests/stand_in_outlook.exe" --envelope --log "Z:${run_dir//\//\\}\\outlook.log" </dev/null >/dev/null 2>&1 &
disown
for _ in $(seq 40); do [ -s "$run_dir/outlook.log" ] && break; sleep 0.1; done
if [ -s "$run_dir/outlook.log" ]; then echo "run: Postlark took the envelope and told Outlook (message 1031)"; fi
sleep 1
snap 2-new-mail
sleep 8
snap 3-after-the-clip
echo "run: done; Postlark is stopped with the virtual display"
