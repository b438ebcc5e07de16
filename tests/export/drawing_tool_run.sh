#!/bin/sh
# vortalis-report's drawings from the real program, as a script runs it: no
# display, no Qt platform chosen, no desktop session. Every file is written,
# nothing but the horn's own warnings is said on standard error, and a plain
# report still works.
# Usage: drawing_tool_run.sh PATH/vortalis-report
set -u
tool="$1"
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

env -u QT_QPA_PLATFORM -u DISPLAY -u WAYLAND_DISPLAY -u XDG_RUNTIME_DIR \
  "$tool" rectangular --flat-mouth 400 --freq 100 --location 2 --step 18 \
  --export svg "$dir/horn.svg" --template "$dir/horn.pdf" >"$dir/out" 2>"$dir/err" ||
  fail "exit status $? ($(cat "$dir/err"))"
# This flat-sided horn pinches sides 2A - 2B: that warning, and nothing from Qt.
grep -q '^vortalis-report: Sides 2A - 2B narrow' "$dir/err" || fail "no flat-side warning"
grep -v '^vortalis-report: Sides 2A - 2B narrow' "$dir/err" | grep -q . &&
  fail "standard error: $(cat "$dir/err")"
pages=$(pdfinfo "$dir/horn.pdf" | sed -n 's/^Pages: *//p')
[ "$(cat "$dir/out")" = "$dir/horn.pdf: $pages pages at full size" ] ||
  fail "standard output: $(cat "$dir/out") (pdfinfo: $pages pages)"
grep -q '<svg width="[0-9.]*mm"' "$dir/horn.svg" || fail "no SVG size in millimetres"

for format in csv dxf; do
  env -u QT_QPA_PLATFORM -u DISPLAY "$tool" circular --unit inch --throat 0.5 \
    --export $format "$dir/horn.$format" 2>"$dir/err" || fail "$format: exit status $?"
  [ -s "$dir/horn.$format" ] || fail "$format: empty file"
  [ -s "$dir/err" ] && fail "$format: standard error: $(cat "$dir/err")"
done

"$tool" circular --increment 100 | grep -q '^Tractrix horn calculation\.' || fail "plain report"
echo "drawings written"
