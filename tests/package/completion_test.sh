#!/usr/bin/env bash
# Sources the generated bash completion of vortalis-report and asks it what it
# offers after a few command lines, as bash would on Tab.
# Usage: completion_test.sh COMPLETION_FILE
set -euo pipefail
# shellcheck source=/dev/null
source "$1"
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
cd "$scratch"
touch horn.csv horn.pdf notes.txt

# The words bash would offer when the cursor ends the last argument, sorted.
# Readline splits --unit=mm into "--unit" "=" "mm", so the tests do too.
offers() {
  COMP_WORDS=(vortalis-report "$@")
  COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
  COMPREPLY=()
  _vortalis_report
  printf '%s\n' "${COMPREPLY[@]}" | sort | paste -sd ' '
}

failures=0
check() {
  local expected="$1"
  shift
  local got
  got="$(offers "$@")"
  if [[ "$got" != "$expected" ]]; then
    echo "FAIL: vortalis-report $* <Tab>: expected '$expected', got '$got'" >&2
    failures=$((failures + 1))
  fi
}

check 'circular' ci
check '--help' --he
check '--side1 --side2' rectangular --si
check '--size' circular --si
check 'inch mm' circular --unit ''
check 'inch' circular --unit = i
check '1 10 100' rectangular --increment ''
check '0.01 0.1 1' circular --unit inch --increment ''
check '0.01 0.1 1' circular --unit = inch --increment ''
check '1 2 4 8' rectangular --location ''
check 'a3 a4 letter' circular --template t.pdf --paper ''
check 'csv dxf svg' circular --export ''
check 'horn.csv horn.pdf' circular --export csv h
check 'horn.csv horn.pdf' circular -o h
check 'notes.txt' circular --template n
check '' circular --freq ''
check '--quick' circular --freq 300 --qu
exit $((failures > 0))
