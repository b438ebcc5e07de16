#!/bin/sh
# Values that would put inf, nan or a flat solid into a kit file, and jobs far
# beyond the kits' limits: each refused at once with the option's limits,
# nothing written, before the memory of the work is taken (peak RSS by
# /usr/bin/time). Then a long STL job stopped by a real SIGINT: status 130 and
# no file or temporary left; and one on a terminal, which shows its progress.
# Usage: kit_bounds.sh PATH/vortalis-report
set -u
tool="$1"
export LC_ALL=C
dir=$(mktemp -d)
export TMPDIR="$dir"
trap 'rm -rf "$dir"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
cd "$dir" || exit 1
[ -x /usr/bin/time ] || { echo "SKIP: no /usr/bin/time"; exit 0; }

# name|status|a part of the message|arguments (every output is out.*)
while IFS='|' read -r name status expect args; do
  # shellcheck disable=SC2086  # the arguments are split as written
  /usr/bin/time -f '%M %e' -o time.txt timeout 60 "$tool" $args >/dev/null 2>err.txt
  code=$?
  [ "$code" -eq "$status" ] || fail "$name: exit status $code: $(cat err.txt)"
  grep -qF -e "$expect" err.txt || fail "$name: the message is: $(cat err.txt)"
  left=$(ls | grep -v -e '^err.txt$' -e '^time.txt$')
  [ -z "$left" ] || fail "$name: left $left"
  read -r rss seconds <<TIME
$(tail -n 1 time.txt)
TIME
  [ "$rss" -lt 100000 ] || fail "$name: peak RSS $rss KiB"
  echo "$name: refused in $seconds s, peak RSS $rss KiB"
done <<'CASES'
flange_1e39|2|flange's outer diameter must be a number greater than 0 and at most 100000|circular --stl out.stl --wall 3 --flange 1e39,6
flange_holes_1e39|2|bolt circle must be a number greater than 0 and at most 100000|circular --stl out.stl --wall 3 --flange 80,6,1e39,4,5
ring_wall_1e309|2|The wall must be a number greater than 0 and at most 1000.|circular --rings out.dxf --board 18 --wall 1e309
board_1e39|2|board thickness must be a number greater than 0 and at most 1000.|circular --rings out.csv --board 1e39
seam_1e39|2|seam allowance must be a number of at least 0 and at most 1000.|circular --sectors out.dxf --step 20 --seam 1e39
segment_1e39|2|segment height must be a number of at least 0 and at most 100000.|circular --stl out.stl --wall 3 --segment-height 1e39
stl_wall_1e-30|1|The wall must be at least 0.1 mm to be printed.|circular --stl out.stl --wall 1e-30
limit_1e-30|1|The mouth limit length must be at least 0.1 mm.|circular --stl out.stl --wall 3 --mouth-limit length=1e-30
limit_1e-30_export|1|The mouth limit length must be at least 0.1 mm.|circular --export dxf out.dxf --mouth-limit length=1e-30
board_nan|2|invalid value 'nan' for --board|circular --rings out.dxf --board nan
board_-0|2|invalid value '-0' for --board|circular --rings out.dxf --board -0
rings_dxf_boards|1|boards; a kit has at most 10,000|circular --freq 1 --throat 0.5 --rings out.dxf --board 0.62
rings_pdf_boards|1|boards; a kit has at most 10,000|circular --freq 1 --throat 0.5 --rings out.pdf --board 6.2
sectors_1e-30|1|sectors; a kit has at most 10,000|circular --sectors out.dxf --step 1e-30
stl_triangles|1|million triangles (1152 MB); at most 20 million are written|circular --freq 1 --throat 0.5 --stl out.stl --wall 3 --segment-height 700 --joint flat
CASES

# A real Ctrl+C a moment into a long STL job: status 130, nothing left.
"$tool" circular --freq 2 --stl out.stl --wall 4 --segment-height 1000 >/dev/null 2>err.txt &
pid=$!
sleep 1
kill -INT "$pid"
wait "$pid"
code=$?
[ "$code" -eq 130 ] || fail "SIGINT: exit status $code: $(cat err.txt)"
left=$(ls | grep -v -e '^err.txt$' -e '^time.txt$')
[ -z "$left" ] || fail "SIGINT: left $left"
echo "SIGINT during an STL set: 130, nothing left"

if command -v script >/dev/null 2>&1; then
  # A bed as large as the pieces: a few files, not thousands of petals.
  script -qc "'$tool' circular --freq 3 --stl out.stl --wall 4 --segment-height 300 --bed 100000,100000" /dev/null \
    >pty.txt 2>&1 || fail "on a terminal: $(cat pty.txt)"
  tr '\r' '\n' <pty.txt | grep -q '\] 100%' || fail "no progress bar on a terminal"
  echo "a long STL job on a terminal shows its progress"
fi
