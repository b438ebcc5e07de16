#!/bin/sh
# Runs vortalis-report for help2man. The manual page brings its own synopsis,
# so the usage block is left out; example lines are labelled so that they still
# read as examples once man reflows them into the option's paragraph.
tool="$1"
shift
"$tool" "$@" | awk '
  /^Usage:/ { in_usage = 1; next }
  in_usage && /^$/ { in_usage = 0; next }
  in_usage { next }
  /^ +vortalis-report / { sub(/^ +/, "&e.g. ") }
  { print }'
