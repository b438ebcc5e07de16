#!/bin/sh
# The built vortalis-report as a script would call it: exit statuses and streams.
tool="$1"
out="$(mktemp -d)"
trap 'rm -rf "$out"' EXIT
fail() { echo "FAILED: $*"; exit 1; }

"$tool" circular --increment 100 >"$out/report" 2>"$out/err" || fail "default circular report"
[ -s "$out/err" ] && fail "default report wrote to standard error"
[ "$(wc -l <"$out/report")" -eq 20 ] || fail "default report at increment 100 has 20 lines"
[ "$(tr -d -c '\r' <"$out/report" | wc -c)" -eq 20 ] || fail "every line ends with CR LF"

"$tool" circular --freq abc >"$out/report" 2>"$out/err"
[ $? -eq 1 ] || fail "refused input exits with 1"
[ "$(cat "$out/err")" = "Error in Frequency value!" ] || fail "refused input message"
[ -s "$out/report" ] && fail "refused input wrote a report"

"$tool" circular --bogus >/dev/null 2>"$out/err"
[ $? -eq 2 ] || fail "usage error exits with 2"
grep -q '^Usage: vortalis-report' "$out/err" || fail "usage error shows the usage"

"$tool" --help >"$out/help" || fail "--help exits with 0"
grep -q -- '--flat-mouth' "$out/help" || fail "--help explains --flat-mouth"

"$tool" rectangular --quick --output "$out/quick.txt" || fail "--quick --output"
grep -q '^Side 2A - 2B: 3351.04 mm$' "$out/quick.txt" || fail "quick test written to the file"
echo "cli exit statuses: all passed"
