#!/bin/sh
# Dependencies point one way: base <- ui <- the subsystems <- app. Fails,
# naming the lines, when a subsystem includes app/, when ui/ includes a
# subsystem or app/, or when base/ includes anything of Postlark's above it.
src=${1:-$(dirname "$0")/../src}
status=0
check() {  # folder, forbidden include prefixes (a regex), what is wrong
  hits=$(grep -rnE "#include \"($2)/" "$src/$1")
  if [ -n "$hits" ]; then
    echo "$3:"
    echo "$hits"
    status=1
  fi
}
for subsystem in watch alerts presence settings; do
  check "$subsystem" app "$subsystem/ includes app/"
done
check ui 'app|watch|alerts|presence|settings' "ui/ includes a subsystem"
check base 'app|ui|watch|alerts|presence|settings' "base/ includes code above it"
exit $status
