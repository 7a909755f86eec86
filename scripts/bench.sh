#!/usr/bin/env bash
# Builds both programs and runs the benchmarks under Wine, each Wine prefix
# and virtual display this run's own, then prints figures, ratios and the
# goals they are held to. The soak run (one postlark.exe for a minute) uses a
# second prefix of its own so that it can run beside the latency run, which
# restarts Postlark for every sample: Postlark allows one copy per session.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
began=$SECONDS
run_dir=$(mktemp -d /tmp/postlark-bench.XXXXXX)
soak_seconds=${POSTLARK_SOAK_SECONDS:-60}
latency_samples=${POSTLARK_LATENCY_SAMPLES:-60}
startup_runs=${POSTLARK_STARTUP_RUNS:-12}

echo "bench: building"
if ! scripts/build.sh >"$run_dir/build.log" 2>&1; then
  tail -40 "$run_dir/build.log"
  exit 1
fi

# 32-bit Windows code runs only where the kernel runs 32-bit Linux programs.
dirs=() arches=()
if [ -x /usr/lib/wine/wine ] && /usr/lib/wine/wine --version >/dev/null 2>&1; then
  dirs+=(build) arches+=(i686)
else
  echo "bench: this kernel cannot run 32-bit programs; only the x86_64 build is run"
fi
dirs+=(build/x86_64) arches+=(x86_64)

goal() {  # name value op limit unit met
  printf 'goal  %-44s %10.3f %-2s %8g %-5s %s\n' "$1" "$2" "$3" "$4" "$5" "$6"
}

# --- Size and imports of the shipped (32-bit) program: no Wine needed.
{
  echo "== Size and imports of the shipped program"
  exe=build/postlark.exe
  bytes=$(stat -c %s "$exe")
  kib=$(awk -v b="$bytes" 'BEGIN { printf "%.1f", b / 1024 }')
  printf '  %-30s %8d bytes = %7s KiB\n' "$exe" "$bytes" "$kib"
  printf '  %-30s %8d bytes (not shipped)\n' build/x86_64/postlark.exe "$(stat -c %s build/x86_64/postlark.exe)"
  met=MISSED; [ "$bytes" -lt $((200 * 1024)) ] && met=met
  goal "shipped postlark.exe size" "$kib" "<" 200 KiB $met
  # DLLs every Windows has; anything else would have to ship beside the exe.
  system_re='^(advapi32|comctl32|comdlg32|gdi32|kernel32|msvcrt|ntdll|ole32|oleaut32|shell32|shlwapi|user32|winmm|version|uxtheme|imm32|ws2_32|crypt32|winspool\.drv|api-ms-win-.*)(\.dll)?$'
  others=0
  while read -r dll; do
    kind="system"
    if ! grep -qiE "$system_re" <<<"$dll"; then kind="NOT a system DLL"; others=$((others + 1)); fi
    printf '  imports %-22s %s\n' "$dll" "$kind"
  done < <(i686-w64-mingw32-objdump -p "$exe" | awk '/DLL Name:/ { print $3 }')
  met=MISSED; [ "$others" -eq 0 ] && met=met
  goal "imported DLLs that are not system DLLs" "$others" "<=" 0 DLLs $met
} | tee "$run_dir/size.txt"

source scripts/wine_env.sh

# The second prefix boots now, beside the first, then waits for its turn.
(
  RANDOM=$BASHPID  # a display number of its own
  postlark_wine_up "$run_dir/prefix2"
  echo "$POSTLARK_XVFB_PID" >"$run_dir/xvfb2.pid"
  for i in "${!dirs[@]}"; do
    while [ ! -e "$run_dir/go.$i" ] && [ ! -e "$run_dir/abort" ]; do sleep 0.2; done
    [ -e "$run_dir/abort" ] && break
    POSTLARK_EXE=$root/${dirs[$i]}/postlark.exe POSTLARK_STAND_IN=$root/${dirs[$i]}/tests/stand_in_outlook.exe \
    POSTLARK_TEST_DATA=$run_dir/testdata2 \
      timeout -k 5 $((soak_seconds + 60)) "$POSTLARK_WINE" "${dirs[$i]}/bench/envelope_bench.exe" \
      soak "$soak_seconds" </dev/null >"$run_dir/soak.$i.txt" 2>"$run_dir/soak.$i.err" ||
      echo "bench: the soak run exited with status $?" >>"$run_dir/soak.$i.txt"
    touch "$run_dir/done.$i"
  done
  postlark_wine_down
) >"$run_dir/prefix2.log" 2>&1 &
soak_pid=$!

main_up=0
cleanup() {
  touch "$run_dir/abort"
  [ $main_up = 1 ] && postlark_wine_down
  if kill -0 "$soak_pid" 2>/dev/null; then
    kill "$soak_pid" 2>/dev/null || true
    WINEPREFIX="$run_dir/prefix2" wineserver -k </dev/null >/dev/null 2>&1 || true
    [ -f "$run_dir/xvfb2.pid" ] && kill "$(cat "$run_dir/xvfb2.pid")" 2>/dev/null || true
    wait "$soak_pid" 2>/dev/null || true
  fi
  rm -rf "$run_dir"
}
trap cleanup EXIT

echo "bench: starting Wine (two prefixes)"
main_up=1
postlark_wine_up "$run_dir/prefix"

# run NAME TIMEOUT EXE ARGS...: output to a file (never a pipe), then shown.
run() {
  local name=$1 limit=$2
  shift 2
  local status=0
  timeout -k 5 "$limit" "$POSTLARK_WINE" "$@" </dev/null >"$run_dir/$name.txt" 2>"$run_dir/$name.err" ||
    status=$?
  cat "$run_dir/$name.txt"
  if [ $status -ne 0 ]; then
    echo "bench: $name exited with status $status; last errors:"
    tail -5 "$run_dir/$name.err"
  fi
  echo
}

for i in "${!dirs[@]}"; do
  dir=${dirs[$i]} arch=${arches[$i]}
  export POSTLARK_EXE=$root/$dir/postlark.exe
  export POSTLARK_STAND_IN_NOTIFICATIONS=$root/$dir/tests/stand_in_notifications.dll
  export POSTLARK_STAND_IN=$root/$dir/tests/stand_in_outlook.exe
  export POSTLARK_TEST_DATA=$run_dir/testdata  # the stand-in Outlook's files
  echo
  echo "######## $arch ($dir) ########"
  echo
  run "tick.$i" 120 "$dir/bench/tick_bench.exe"
  run "startup.$i" 90 "$dir/bench/startup_bench.exe" "$startup_runs"
  touch "$run_dir/go.$i"  # the soak runs beside the latency samples
  run "latency.$i" 300 "$dir/bench/envelope_bench.exe" latency "$latency_samples"
  waited=0
  while [ ! -e "$run_dir/done.$i" ] && [ $waited -lt $((soak_seconds + 120)) ]; do
    sleep 1
    waited=$((waited + 1))
  done
  if [ -e "$run_dir/done.$i" ]; then
    cat "$run_dir/soak.$i.txt"
  else
    echo "bench: the soak run did not finish"
    tail -20 "$run_dir/prefix2.log"
  fi
done

echo
echo "== Goals"
grep -h '^goal' "$run_dir/size.txt" | sed 's/^goal /[i686]   /'
for i in "${!dirs[@]}"; do
  for f in tick startup latency; do
    [ -f "$run_dir/$f.$i.txt" ] && grep -h '^goal' "$run_dir/$f.$i.txt" | sed "s/^goal /[${arches[$i]}] /"
  done
done
echo "bench: done in $((SECONDS - began)) s"
