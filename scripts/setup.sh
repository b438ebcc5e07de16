# Sourced by run.sh, test.sh and bench.sh: installs the Debian packages that
# are missing (quietly, and only when something is missing), then configures
# and builds in a build folder.
set -euo pipefail

VORTALIS_ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
VORTALIS_PACKAGES=(g++ cmake ninja-build qt6-base-dev libgtest-dev libgmock-dev ccache admesh
  xvfb xauth libbenchmark-dev help2man dpkg-dev desktop-file-utils appstream
  qt6-svg-dev libdxflib-dev nlohmann-json3-dev python3-ezdxf poppler-utils lintian strace acl attr
  shared-mime-info xdg-utils libfile-mimeinfo-perl)

vortalis_install_packages() {
  local missing=() pkg
  for pkg in "${VORTALIS_PACKAGES[@]}" "$@"; do
    dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed' ||
      missing+=("$pkg")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  local sudo=()
  [ "$(id -u)" -eq 0 ] || sudo=(sudo)
  "${sudo[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends \
    "${missing[@]}" >/dev/null
}

# vortalis_build BUILD_DIR [cmake options...]
vortalis_build() {
  local dir="$1"
  shift
  local launcher=()
  command -v ccache >/dev/null && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
  # Paths below the root and the build folder's name stay out of the cache
  # key, so two build folders with the same flags share their objects.
  export CCACHE_BASEDIR="$VORTALIS_ROOT" CCACHE_NOHASHDIR=1
  cmake -S "$VORTALIS_ROOT" -B "$dir" -G Ninja "${launcher[@]}" "$@" >/dev/null
  cmake --build "$dir" -j "$(nproc)"
}
