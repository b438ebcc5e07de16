#!/bin/sh
# Every file vortalis-report writes (the report's -o, each --export format, the
# --template) under real faults: a full disk (a small tmpfs, or RLIMIT_FSIZE
# where mounting is refused), a device node, a FIFO, a file of another owner,
# a write-protected file, an appended standard output, a name that is not
# UTF-8, the order of fsync and rename, and stop signals at the moment the new
# file is complete but not yet renamed, and in the middle of a large table.
# Then the sets of files one run writes (STL pieces, --export with
# --impedance) under a full disk and signals, and the awkward places: a
# folder without read permission or write permission, ACLs, hard links, a
# closed standard output, pipes that close early.
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
# handlers PID: waits (up to 10 s) until the process catches SIGINT, so that a
# loaded machine's slow start does not meet the background job's ignored SIGINT.
handlers() {
  for _ in $(seq 100); do
    grep -q '^SigCgt:.*[2367abef]$' "/proc/$1/status" 2>/dev/null && return
    sleep 0.1
  done
}
echo "$signals" | while read -r front signal status delay args; do
  echo old >"$dir/big"
  # shellcheck disable=SC2046
  "$tool" $(printf '%s' "$args" | sed "s|FILE|$dir/big|") >/dev/null 2>&1 &
  handlers $!
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

# File sets. An older, longer STL set beside the target: 45 pieces replaced by
# 89 on a disk too small for them, then stopped by signals, then 89 replaced
# by 45 (the older pieces 46-89 removed, being this program's).
stl='circular --freq 10 --wall 4 --joint flat --bed 100000,100000 --stl'
set_folder="$full"
if mountpoint -q "$full"; then mount -o remount,size=256m "$full"; else set_folder="$dir/set"; fi
mkdir -p "$set_folder"
"$tool" $stl "$set_folder/horn.stl" --segment-height 400 >/dev/null 2>"$dir/err" ||
  fail "STL set: $(cat "$dir/err")"
sums() { cat "$set_folder"/* | md5sum; }
before=$(sums)
count=$(ls "$set_folder" | wc -l)
if mountpoint -q "$full"; then
  mount -o remount,size=$(( $(du -sk "$full" | cut -f1) + 1024 ))k "$full"
  "$tool" $stl "$full/horn.stl" --segment-height 200 >/dev/null 2>"$dir/err"
  [ $? -eq 1 ] || fail "STL set on a full disk: exit status"
  grep -q 'No space left on device' "$dir/err" || fail "STL set, full disk: $(cat "$dir/err")"
  [ "$(sums)" = "$before" ] || fail "STL set, full disk: pieces replaced"
  [ "$(ls "$full" | wc -l)" -eq "$count" ] ||
    fail "STL set, full disk: left $(ls "$full" | head -3 | tr '\n' ' ')"
  mount -o remount,size=256m "$full"
fi
for signal in TERM:143 QUIT:131 USR1:138 ALRM:142; do
  env --default-signal "$tool" $stl "$set_folder/horn.stl" --segment-height 200 >/dev/null 2>&1 &
  # The signal lands while the set's temporaries are being written, however
  # fast or loaded the machine is.
  for _ in $(seq 400); do
    ls -A "$set_folder" | grep -q '^\.vortalis\.' && break
    sleep 0.025
  done
  kill -"${signal%:*}" $!
  { wait $!; } 2>/dev/null
  [ $? -eq "${signal#*:}" ] || fail "STL set, $signal: exit status"
  [ "$(sums)" = "$before" ] || fail "STL set, $signal: pieces replaced"
  [ "$(ls -A "$set_folder" | wc -l)" -eq "$count" ] || fail "STL set, $signal: left files"
done
"$tool" $stl "$set_folder/horn.stl" --segment-height 200 >/dev/null 2>"$dir/err" ||
  fail "longer STL set: $(cat "$dir/err")"
"$tool" $stl "$set_folder/horn.stl" --segment-height 400 >/dev/null 2>"$dir/err" ||
  fail "shorter STL set: $(cat "$dir/err")"
[ "$(ls "$set_folder" | wc -l)" -eq "$count" ] || fail "stale pieces of the longer set stayed"
grep -q 'Removed .* pieces of an older, longer set' "$dir/err" || fail "stale pieces: no note"
echo "not a piece" >"$set_folder/horn-$(( count + 1 )).stl"
"$tool" $stl "$set_folder/horn.stl" --segment-height 400 >/dev/null 2>"$dir/err"
[ $? -eq 1 ] || fail "a foreign file in the way of the pieces was not refused"
grep -q "horn-$(( count + 1 )).stl" "$dir/err" || fail "file in the way: $(cat "$dir/err")"
rm -rf "${set_folder:?}"/*

# --export with --impedance: both or neither, here with a full disk on one of them.
if mountpoint -q "$full"; then
  echo old >"$dir/a.csv"; echo old >"$full/z.csv"
  mount -o remount,size=8k "$full"
  "$tool" circular --export csv "$dir/a.csv" --impedance "$full/z.csv" --points-per-octave 400 \
    >/dev/null 2>"$dir/err"
  [ $? -eq 1 ] || fail "export with impedance on a full disk: exit status"
  [ "$(cat "$dir/a.csv")" = old ] || fail "--export file replaced though --impedance failed"
  rm -f "$dir/a.csv" "$full/z.csv"
fi

# Kit names that are not UTF-8 are used as given.
printf 'IMPORTANT\n' >"$(printf "$dir/caf\\357\\277\\275.csv")"
"$tool" circular --rings "$(printf "$dir/caf\\351.csv")" --board 18 >/dev/null 2>&1 ||
  fail "rings with a non-UTF-8 name"
[ -s "$(printf "$dir/caf\\351.csv")" ] || fail "the non-UTF-8 kit name was not written"
[ "$(cat "$(printf "$dir/caf\\357\\277\\275.csv")")" = IMPORTANT ] || fail "another file overwritten"

# A dangling link and its target are one file.
ln -s target.csv "$dir/link.csv"
"$tool" circular --export csv "$dir/link.csv" --impedance "$dir/target.csv" >/dev/null 2>&1
[ $? -eq 2 ] || fail "a dangling link and its target were not refused as one file"
rm -f "$dir/link.csv" "$dir/caf"*

# A FIFO without a reader is refused at once; a reader that leaves early is a message.
mkfifo "$dir/fifo"
timeout 10 "$tool" circular --export csv "$dir/fifo" >/dev/null 2>"$dir/err"
[ $? -eq 1 ] || fail "FIFO without a reader: exit status (124: it hung)"
grep -q 'no program is reading' "$dir/err" || fail "FIFO without a reader: $(cat "$dir/err")"
head -c 10 "$dir/fifo" >/dev/null &
sleep 0.3
"$tool" circular --export dxf "$dir/fifo" --step 0.001 >/dev/null 2>"$dir/err"
[ $? -eq 1 ] || fail "FIFO closed early: exit status"
grep -q 'closed it early' "$dir/err" || fail "FIFO closed early: $(cat "$dir/err")"
rm "$dir/fifo"
"$tool" circular --export dxf /dev/stdout --step 0.0005 2>"$dir/err" | head -c 10 >/dev/null
grep -q 'closed it early' "$dir/err" || fail "pipe closed early: $(cat "$dir/err")"
no_temporary "pipe closed early"

# A closed standard output is said in words; a folder is no STL name.
"$tool" $stl "$dir/closed.stl" >&- 2>"$dir/err"
[ $? -eq 1 ] && grep -q 'standard output: it is closed' "$dir/err" ||
  fail "closed standard output: $(cat "$dir/err")"
mkdir "$dir/pieces"
for name in "$dir/pieces/" "$dir/pieces"; do
  "$tool" $stl "$name" --segment-height 200 >/dev/null 2>"$dir/err"
  [ $? -eq 1 ] && [ -z "$(ls -A "$dir/pieces")" ] && [ ! -e "$dir/pieces-1.stl" ] ||
    fail "--stl with a folder $name: $(ls -A "$dir/pieces" | head -3 | tr '\n' ' ')"
done
# The painting never looks for a display.
env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb "$tool" circular --export svg "$dir/q.svg" \
  >/dev/null 2>"$dir/err" || fail "SVG with QT_QPA_PLATFORM=xcb: $(cat "$dir/err")"

if [ "$root" = yes ]; then
  as_nobody() { setpriv --reuid=nobody --regid=nogroup --clear-groups "$@"; }
  # Write and search but no read: written, the folder's sync a warning only.
  mkdir "$dir/d" && chown nobody "$dir/d" && chmod 0300 "$dir/d"
  as_nobody "$tool" circular --quick -o "$dir/d/r.txt" >/dev/null 2>"$dir/err" ||
    fail "0300 folder: $(cat "$dir/err")"
  grep -q "folder $dir/d could not be synced" "$dir/err" || fail "0300 folder: $(cat "$dir/err")"
  # A writable file in a folder that is not: written in place, and said so.
  mkdir "$dir/ro" && echo old >"$dir/ro/r.txt" && chown nobody "$dir/ro/r.txt"
  as_nobody "$tool" circular --quick -o "$dir/ro/r.txt" >/dev/null 2>"$dir/err" ||
    fail "read-only folder: $(cat "$dir/err")"
  grep -q '^Horn length' "$dir/ro/r.txt" && grep -q 'not replaced atomically' "$dir/err" ||
    fail "read-only folder: $(cat "$dir/err")"
fi
# A hard-linked file is written in place; ACLs and attributes are kept on replace.
echo old >"$dir/h1" && ln "$dir/h1" "$dir/h2"
"$tool" circular --quick -o "$dir/h1" >/dev/null 2>"$dir/err"
grep -q '^Horn length' "$dir/h2" && grep -q 'hard links' "$dir/err" ||
  fail "hard link: $(cat "$dir/err")"
if has setfacl && setfacl -m u:nobody:rw "$dir/h2" 2>/dev/null; then
  rm "$dir/h1"
  setfattr -n user.origin -v kept "$dir/h2" 2>/dev/null
  getfacl -cp "$dir/h2" >"$dir/acl"
  "$tool" circular --quick -o "$dir/h2" >/dev/null 2>"$dir/err" || fail "ACL: $(cat "$dir/err")"
  getfacl -cp "$dir/h2" | diff "$dir/acl" - >/dev/null || fail "ACL lost: $(getfacl -cp "$dir/h2")"
  if has getfattr; then
    [ "$(getfattr --only-values -n user.origin "$dir/h2" 2>/dev/null)" = kept ] ||
      fail "extended attribute lost"
  fi
else
  echo "SKIP ACLs: no setfacl or no ACL support"
fi
no_temporary "file sets and places"
echo "tool outputs under faults: all passed"
