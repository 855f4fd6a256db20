#!/bin/sh
# screenshots.sh: builds the demo-data generator and vetrix-screenshots, writes fresh demo
# data into a temporary folder and renders every page and dialog into docs/screenshots/.
#
#   tools/screenshots.sh [BUILD_DIR]        (default: build/ in the repository)
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
cmake -S "$root" -B "$build" -G Ninja >/dev/null
cmake --build "$build" --target vetrix-demo-data vetrix-screenshots -j2
data=$(mktemp -d "${TMPDIR:-/tmp}/vetrix-shots-data-XXXXXX")
trap 'rm -rf "$data"' EXIT
"$build/tools/vetrix-demo-data" --out "$data" >/dev/null
"$build/tools/screenshots/vetrix-screenshots" --db "$data/lortan.db" --out "$root/docs/screenshots"
ls -l "$root"/docs/screenshots/*.png
