#!/bin/sh
# Every STL piece of a few horns sliced by a real slicer on the bed and the
# height they were cut for: each must fit and need no repair. Skipped (77)
# when prusa-slicer is not installed; it is too heavy for the CI set-up.
tool="$1"
command -v prusa-slicer >/dev/null 2>&1 || { echo "prusa-slicer is not installed"; exit 77; }
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
status=0
fail() { echo "FAIL: $*"; status=1; }
while IFS='|' read -r name bed height args; do
  mkdir "$dir/$name"
  # shellcheck disable=SC2086
  "$tool" $args --stl "$dir/$name/horn.stl" --bed "$bed" --segment-height "$height" \
    >"$dir/said" 2>&1 || { fail "$name: $(cat "$dir/said")"; continue; }
  width=${bed%,*}
  depth=${bed#*,}
  for piece in "$dir/$name"/*.stl; do
    prusa-slicer --export-gcode --bed-shape "0x0,${width}x0,${width}x${depth},0x${depth}" \
      --center "$((width / 2)),$((depth / 2))" --max-print-height "$height" \
      -o "$dir/piece.gcode" "$piece" >"$dir/log" 2>&1 ||
      { fail "$name $(basename "$piece"): $(tail -3 "$dir/log")"; continue; }
    ! grep -qi -e repair -e 'fit on the bed' -e 'outside' "$dir/log" ||
      fail "$name $(basename "$piece"): $(grep -i -e repair -e fit -e outside "$dir/log")"
    echo "$name $(basename "$piece"): sliced"
  done
done <<ROWS
hz300_wall3|220,220|200|circular --freq 300 --wall 3
hz2000_wall2|220,220|20|circular --freq 2000 --throat 5 --wall 2
hz300_small_bed|150,180|120|circular --freq 300 --wall 3 --mouth-limit radius=120
ROWS
exit $status
