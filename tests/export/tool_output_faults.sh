#!/bin/sh
# Every file vortalis-report writes (the report's -o, each --export format, the
# --template) under real faults: a full disk (a small tmpfs, or RLIMIT_FSIZE
# where mounting is refused), a device node, a FIFO, a file of another owner,
# a write-protected file, an appended standard output, a name that is not
# UTF-8, the order of fsync and rename, and stop signals at the moment the new
# file is complete but not yet renamed, and in the middle of a large table.
# Usage: tool_output_faults.sh PATH/vortalis-report
set -u
tool="$1"
export LC_ALL=C
dir=$(mktemp -d)
chmod 755 "$dir"
export TMPDIR="$dir/tmp"
mkdir "$TMPDIR"
full="$dir/full"
mkdir "$full"
cleanup() { umount "$full" 2>/dev/null; rm -rf "$dir"; }
trap cleanup EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }
root=$([ "$(id -u)" -eq 0 ] && echo yes || echo no)
has() { command -v "$1" >/dev/null 2>&1; }

# Each front: its name and its arguments, FILE standing for the output (every
# output here is over 8 KiB).
fronts='report circular --increment 1 -o FILE
csv circular --export csv FILE
dxf circular --export dxf FILE
svg circular --export svg FILE
template circular --template FILE'

limit=""
if mount -t tmpfs -o size=8k tmpfs "$full" 2>/dev/null; then :
elif has prlimit; then limit="prlimit --fsize=8192"
else echo "SKIP full disk: neither a tmpfs nor prlimit"
fi

# run ARGS FILE [PREFIX]: the tool with FILE in place, streams in $dir/out and $dir/err.
run() {
  set -- "$(printf '%s' "$1" | sed "s|FILE|$2|")" "${3:-}"
  # shellcheck disable=SC2086
  $2 "$tool" $1 >"$dir/out" 2>"$dir/err"
}
no_temporary() {
  left=$(find "$dir" "$TMPDIR" -name '*vortalis*' | head -1)
  [ -z "$left" ] || fail "$1: temporary file left: $left"
}

echo "$fronts" | while read -r front args; do
  # A plain file, its name not UTF-8: kept byte for byte, and the reference size.
  name=$(printf "$dir/bad\\377$front")
  run "$args" "$name" || fail "$front: plain file: $(cat "$dir/err")"
  [ -s "$name" ] || fail "$front: the non-UTF-8 name was not written as given"
  size=$(wc -c <"$name")

  if [ -n "$limit" ] || mountpoint -q "$full"; then
    echo old >"$full/old"
    if [ -n "$limit" ]; then run "$args" "$full/old" "$limit"; else run "$args" "$full/old"; fi
    [ $? -eq 1 ] || fail "$front: full disk: exit status not 1"
    grep -q -e 'No space left on device' -e 'File too large' "$dir/err" ||
      fail "$front: full disk: message $(cat "$dir/err")"
    [ "$(cat "$full/old")" = old ] || fail "$front: full disk: the old file changed"
    [ "$(ls -A "$full")" = old ] || fail "$front: full disk: left $(ls -A "$full")"
    rm "$full/old"
  fi

  if [ "$root" = yes ]; then
    mknod "$dir/null" c 1 3
    run "$args" "$dir/null" || fail "$front: device: $(cat "$dir/err")"
    [ -c "$dir/null" ] || fail "$front: the device node was replaced"
    rm "$dir/null"

    echo old >"$dir/owned"
    chown nobody:nogroup "$dir/owned"
    chmod 640 "$dir/owned"
    run "$args" "$dir/owned" || fail "$front: owned file: $(cat "$dir/err")"
    [ "$(stat -c '%U:%G %a' "$dir/owned")" = "nobody:nogroup 640" ] ||
      fail "$front: owner or mode lost: $(stat -c '%U:%G %a' "$dir/owned")"
    rm "$dir/owned"

    mkdir "$dir/theirs" && chown nobody "$dir/theirs"
    echo old >"$dir/theirs/r"
    chown nobody "$dir/theirs/r" && chmod 444 "$dir/theirs/r"
    args_r=$(printf '%s' "$args" | sed "s|FILE|$dir/theirs/r|")
    # shellcheck disable=SC2086
    setpriv --reuid=nobody --regid=nogroup --clear-groups "$tool" $args_r >/dev/null 2>"$dir/err"
    [ $? -eq 1 ] || fail "$front: a write-protected file was not refused"
    grep -q 'Permission denied' "$dir/err" || fail "$front: write-protected: $(cat "$dir/err")"
    [ "$(cat "$dir/theirs/r")" = old ] || fail "$front: the write-protected file changed"
    rm -rf "$dir/theirs"
  fi

  mkfifo "$dir/fifo"
  cat "$dir/fifo" >"$dir/got" &
  run "$args" "$dir/fifo" || fail "$front: FIFO: $(cat "$dir/err")"
  wait
  [ -p "$dir/fifo" ] || fail "$front: the FIFO was replaced"
  [ "$(wc -c <"$dir/got")" -eq "$size" ] || fail "$front: FIFO: $(wc -c <"$dir/got") of $size bytes"
  rm "$dir/fifo"

  echo LOG >"$dir/log"
  # shellcheck disable=SC2086
  "$tool" $(printf '%s' "$args" | sed "s|FILE|/dev/stdout|") >>"$dir/log" 2>"$dir/err" ||
    fail "$front: appended standard output: $(cat "$dir/err")"
  [ "$(head -n 1 "$dir/log")" = LOG ] || fail "$front: appended standard output lost its lines"
  [ "$(wc -c <"$dir/log")" -ge "$size" ] || fail "$front: standard output got too little"

  if has strace; then
    # LeakSanitizer cannot run under ptrace; a sanitizer build checks leaks elsewhere.
    traced="${ASAN_OPTIONS:+$ASAN_OPTIONS:}detect_leaks=0"
    # The new file is synced before it takes the name, and the folder after.
    echo old >"$dir/synced"
    args_s=$(printf '%s' "$args" | sed "s|FILE|$dir/synced|")
    # shellcheck disable=SC2086
    ASAN_OPTIONS="$traced" strace -f -qq -e trace=fsync,rename,renameat,renameat2 -o "$dir/trace" "$tool" $args_s \
      >/dev/null 2>&1 || fail "$front: under strace"
    order=$(sed -n 's/.*\(fsync\|rename[a-z0-9]*\)(.*/\1/p' "$dir/trace" | tr '\n' ' ')
    case "$order" in *"fsync rename"*" fsync "*) ;; *) fail "$front: sync order: $order" ;; esac

    # A stop signal while the complete new file waits for its name.
    for signal in INT:130 TERM:143 HUP:129; do
      echo old >"$dir/synced"
      ASAN_OPTIONS="$traced" strace -f -qq -o /dev/null -e trace=fsync -e inject=fsync:delay_enter=2000000:when=1 \
        "$tool" $args_s >/dev/null 2>&1 &
      sleep 1
      pkill -"${signal%:*}" -P $!
      wait $!
      [ $? -eq "${signal#*:}" ] || fail "$front: $signal: exit status"
      [ "$(cat "$dir/synced")" = old ] || fail "$front: $signal: the old file changed"
      no_temporary "$front: $signal"
    done
    rm "$dir/synced"
  else
    echo "SKIP $front: sync order and signals before the rename need strace"
  fi
  no_temporary "$front"
  rm -f "$name" "$dir/got" "$dir/log"
done || exit 1

# Stop signals in the middle of large outputs: a report table (SIGINT stops
# only the table, whose shortened report is written) and a DXF of a million
# points through its scratch file in $TMPDIR.
# The table takes about a second: the signal comes early in it.
signals='report INT 130 0.2 circular --freq 1 --throat 0.5 --increment 1 -o FILE
report TERM 143 0.2 circular --freq 1 --throat 0.5 --increment 1 -o FILE
report HUP 129 0.2 circular --freq 1 --throat 0.5 --increment 1 -o FILE
dxf INT 130 1 circular --export dxf FILE --step 0.00047
dxf TERM 143 1 circular --export dxf FILE --step 0.00047'
echo "$signals" | while read -r front signal status delay args; do
  echo old >"$dir/big"
  # shellcheck disable=SC2046
  "$tool" $(printf '%s' "$args" | sed "s|FILE|$dir/big|") >/dev/null 2>&1 &
  sleep "$delay"
  kill -"$signal" $!
  wait $!
  [ $? -eq "$status" ] || fail "$front $signal: exit status not $status"
  if [ "$front $signal" = "report INT" ]; then
    grep -q 'User abort during calculation' "$dir/big" || fail "report INT: no shortened report"
  else
    [ "$(cat "$dir/big")" = old ] || fail "$front $signal: the old file changed"
  fi
  no_temporary "$front $signal"
done || exit 1
# A long report waits in $TMPDIR: a full one there is named, the old file kept.
if mountpoint -q "$full"; then
  echo old >"$dir/spooled"
  TMPDIR="$full" "$tool" circular --freq 1 --throat 0.5 --increment 1 -o "$dir/spooled" \
    >/dev/null 2>"$dir/err"
  [ $? -eq 1 ] || fail "full TMPDIR: exit status not 1"
  grep -q "temporary file in $full: No space left on device" "$dir/err" ||
    fail "full TMPDIR: message $(cat "$dir/err")"
  [ "$(cat "$dir/spooled")" = old ] || fail "full TMPDIR: the old file changed"
  [ -z "$(ls -A "$full")" ] || fail "full TMPDIR: left $(ls -A "$full")"
fi
echo "tool outputs under faults: all passed"
