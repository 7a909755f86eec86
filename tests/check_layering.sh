#!/bin/sh
# Dependencies point one way: base <- ui <- the subsystems <- app. Fails,
# naming the lines, when a subsystem includes app/ or a subsystem it may not
# (the check cycle raises the alert effects, so watch may include
# alerts/alert_effect.h; nothing else), when ui/ includes a subsystem or app/,
# or when base/ includes anything of Postlark's above it.
src=${1:-$(dirname "$0")/../src}
[ -d "$src/app" ] && [ -d "$src/base" ] || { echo "no sources at $src"; exit 2; }
status=0
check() {  # folder, forbidden includes (a regex), what is wrong
  hits=$(grep -rnE "#include \"($2)" "$src/$1")
  if [ -n "$hits" ]; then
    echo "$3:"
    echo "$hits"
    status=1
  fi
}
# Every folder but the three named is a subsystem, a new one included.
subsystems=$(cd "$src" && ls -d */ | tr -d / | grep -vxE 'app|base|ui' | tr '\n' ' ')
all=$(echo "$subsystems" | tr ' ' '\n' | grep . | tr '\n' '|' | sed 's/|$//')
for s in $subsystems; do
  others=$(echo "$subsystems" | tr ' ' '\n' | grep -vx "$s" | tr '\n' '|' | sed 's/|$//')
  allowed=''
  [ "$s" = watch ] && allowed='alerts/alert_effect\.h'
  forbidden="app/|($others)/"
  if [ -n "$allowed" ]; then
    hits=$(grep -rnE "#include \"($forbidden)" "$src/$s" | grep -vE "#include \"($allowed)\"")
    if [ -n "$hits" ]; then echo "$s/ includes what it may not:"; echo "$hits"; status=1; fi
  else
    check "$s" "$forbidden" "$s/ includes what it may not"
  fi
done
check ui "(app|$all)/" "ui/ includes a subsystem"
check base "(app|ui|$all)/" "base/ includes code above it"
exit $status
