#!/bin/sh
# Every kind of file vortalis-report writes, compared with the checksums of
# the files it wrote before: a change of any byte of a report, drawing,
# template or kit file shows up here. A PDF carries its creation time, so a
# PDF is compared by its text and its pages rendered at 30 dpi, and a report
# with its "Created ... at HH:MM" stamp set to one time.
# Usage: output_checksums.sh PATH/vortalis-report TABLE [--record|--qt-free]
#   --record writes the table afresh from the tool's files.
#   --qt-free for a tool built without Qt: every file that needs no painting
#   is the same, the SVG drawings and PDF templates are refused with a
#   sentence saying why, and --help says so too.
set -u
tool="$1"
table="$2"
mode="${3:-}"
record=""
[ "$mode" = "--record" ] && record=1
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT

unstamp() { sed 's/^Created [0-9-]* at [0-9:]* with/Created DATE with/' "$1"; }

# The checksum of everything a case wrote: its standard output and each file.
case_sum() {
  (
    cd "$dir/run" || exit 1
    unstamp stdout | md5sum
    for file in $(ls | grep -v '^stdout$' | LC_ALL=C sort); do
      case "$file" in
        *.pdf)
          pdftotext "$file" - | md5sum
          mkdir pages && pdftoppm -r 30 "$file" pages/p && cat pages/* | md5sum
          rm -rf pages ;;
        *.txt) unstamp "$file" | md5sum ;;
        *) md5sum <"$file" ;;
      esac | sed "s|-\$|$file|"
    done
  ) | md5sum | cut -c1-32
}

status=0
new="$dir/table"
: >"$new"
while IFS='|' read -r name sum args; do
  case "$name" in '#'*|'') continue ;; esac
  rm -rf "$dir/run" && mkdir "$dir/run"
  if [ "$mode" = "--qt-free" ] && echo " $args " | grep -Eq '\.(svg|pdf) |--template '; then
    (cd "$dir/run" && "$tool" $args >stdout 2>stderr)
    code=$?
    if [ $code -ne 1 ] || ! grep -q 'painted with Qt' "$dir/run/stderr" || [ -n "$(ls "$dir/run" | grep -Ev '^std(out|err)$')" ]; then
      echo "FAIL $name: not refused as painted (exit status $code)" >&2
      status=1
    fi
    continue
  fi
  # shellcheck disable=SC2086  # the arguments are split as written in the table
  (cd "$dir/run" && "$tool" $args >stdout) || { echo "FAIL $name: exit status $?" >&2; status=1; continue; }
  got=$(case_sum)
  echo "$name|$got|$args" >>"$new"
  if [ -z "$record" ] && [ "$got" != "$sum" ]; then
    echo "FAIL $name: files differ from the stored ones ($args)" >&2
    status=1
  fi
done <"$table"

if [ "$mode" = "--qt-free" ] && ! "$tool" --help | tr '\n' ' ' | grep -q 'SVG drawings and PDF templates are painted with Qt'; then
  echo "FAIL --help does not say which files are refused" >&2
  status=1
fi

if [ -n "$record" ] && [ $status -eq 0 ]; then
  { grep '^#' "$table"; cat "$new"; } >"$table.new" && mv "$table.new" "$table"
  echo "recorded $(wc -l <"$new") cases"
elif [ $status -eq 0 ]; then
  echo "$(wc -l <"$new") cases unchanged"
fi
exit $status
