#!/bin/sh
# demo_report.sh: the report of the demo data as people file it — lortan --batch with the
# module writes the ODT report (every part ticked) from fresh demo data, LibreOffice turns
# it into docs/report/demo_report.pdf and pdftoppm renders each page to
# docs/report/demo_report-N.png (N from 1, unpadded).
#
#   tools/demo_report.sh [BUILD_DIR]        (default: build/ in the repository)
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build}
out=$root/docs/report
cmake -S "$root" -B "$build" -G Ninja >/dev/null
cmake --build "$build" --target lortan vetrix vetrix-demo-data -j2
work=$(mktemp -d "${TMPDIR:-/tmp}/vetrix-report-XXXXXX")
trap 'rm -rf "$work"' EXIT
"$build/tools/vetrix-demo-data" --out "$work" >/dev/null
env -u XDG_RUNTIME_DIR "$build/host/lortan" --batch --db "$work/lortan.db" --profile "$work/profile.db" \
  --select all --report "$work/demo_report.odt" --report-parts list,mixtures,mixture-info,results,graph >/dev/null
soffice -env:UserInstallation="file://$work/lo-profile" --headless --convert-to pdf --outdir "$work" \
  "$work/demo_report.odt" >/dev/null 2>&1
mkdir -p "$out"
rm -f "$out"/demo_report*.png
cp "$work/demo_report.pdf" "$out/demo_report.pdf"
pdftoppm -r 80 -png "$work/demo_report.pdf" "$out/demo_report"
# pdftoppm pads the page numbers to the widest one; the README lists demo_report-N.png.
for page in "$out"/demo_report-0*.png; do
  [ -e "$page" ] || continue
  mv "$page" "$(printf '%s\n' "$page" | sed 's/-0*\([1-9][0-9]*\)\.png$/-\1.png/')"
done
ls -l "$out"
