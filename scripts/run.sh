#!/usr/bin/env bash
# Installs what is missing, builds, and starts Vortalis.
source "$(dirname "$0")/setup.sh"
vortalis_install_packages
BUILD="${VORTALIS_BUILD_DIR:-$VORTALIS_ROOT/build}"
vortalis_build "$BUILD"
exec "$BUILD/app/vortalis" "$@"
