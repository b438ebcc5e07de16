#!/usr/bin/env bash
# Builds the Debian package from an already built tree, unpacks it into a
# scratch root and uses the installed files from there.
# Usage: package_test.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build="$1"
source_dir="$2"
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT

fail() { echo "FAIL: $*" >&2; exit 1; }

desktop-file-validate "$source_dir/packaging/com.kestrowan.Vortalis.desktop"
appstreamcli validate --no-net "$source_dir/packaging/com.kestrowan.Vortalis.metainfo.xml"

(cd "$build" && cpack -G DEB -B "$scratch/out" >/dev/null)
deb="$(ls "$scratch"/out/*.deb)"
depends="$(dpkg-deb -f "$deb" Depends)"
echo "Depends: $depends"
grep -q 'libqt6widgets6' <<<"$depends" || fail "no Qt Widgets dependency computed"
grep -q 'libc6' <<<"$depends" || fail "no libc dependency computed"

# Debian's policy checker: no error and no warning.
lintian --fail-on error,warning "$deb" ||
  fail "lintian reports errors or warnings"

root="$scratch/root"
dpkg-deb -x "$deb" "$root"
for f in usr/bin/vortalis usr/bin/vortalis-report \
         usr/share/applications/com.kestrowan.Vortalis.desktop \
         usr/share/metainfo/com.kestrowan.Vortalis.metainfo.xml \
         usr/share/icons/hicolor/scalable/apps/com.kestrowan.Vortalis.svg \
         usr/share/icons/hicolor/256x256/apps/com.kestrowan.Vortalis.png \
         usr/share/mime/packages/com.kestrowan.Vortalis.xml \
         usr/share/icons/hicolor/scalable/mimetypes/application-x-vortalis-design.svg \
         usr/share/man/man1/vortalis-report.1.gz \
         usr/share/man/man1/vortalis.1.gz \
         usr/share/bash-completion/completions/vortalis-report \
         usr/share/doc/vortalis/copyright \
         usr/share/doc/vortalis/changelog.gz; do
  [ -e "$root/$f" ] || fail "$f missing from the package"
done
desktop-file-validate "$root/usr/share/applications/com.kestrowan.Vortalis.desktop"
grep -qx 'MimeType=application/x-vortalis-design;' \
  "$root/usr/share/applications/com.kestrowan.Vortalis.desktop" || fail "desktop entry takes no designs"

# A file manager sees a saved design as the package's type (the shared MIME
# database built from the package's files alone, as dpkg's trigger builds it).
cp -r "$root/usr/share/mime" "$scratch/mime"
update-mime-database "$scratch/mime"
"$root/usr/bin/vortalis-report" circular --freq 120 --save-design "$scratch/horn.vortalis"
got="$(env -u XDG_CURRENT_DESKTOP -u DESKTOP_SESSION XDG_DATA_HOME="$scratch" XDG_DATA_DIRS=/usr/share \
  xdg-mime query filetype "$scratch/horn.vortalis")"
[ "$got" = "application/x-vortalis-design" ] || fail "xdg-mime sees a design as '$got'"

tool="$root/usr/bin/vortalis-report"
"$tool" --help | grep -q -- '--increment' || fail "installed --help does not explain --increment"
zgrep -q 'increment' "$root/usr/share/man/man1/vortalis-report.1.gz" ||
  fail "manual page does not explain --increment"

# --help and --version answer without a display, in the package's version.
version="$(dpkg-deb -f "$deb" Version)"
for program in vortalis vortalis-report; do
  for option in --version -V; do
    got="$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$root/usr/bin/$program" "$option")"
    [ "$got" = "$program $version" ] || fail "$program $option printed '$got'"
  done
done
env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$root/usr/bin/vortalis" --help |
  grep -q -- '--version' || fail "vortalis --help does not explain --version"
bash "$source_dir/tests/package/completion_test.sh" \
  "$root/usr/share/bash-completion/completions/vortalis-report"
"$tool" circular --increment 100 --output "$scratch/report.txt"
grep -q $'^Horn length: \t\t466.518 mm\r$' "$scratch/report.txt" || fail "installed tool wrote a wrong report"
echo "package OK: $(basename "$deb")"
