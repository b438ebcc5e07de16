#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test headless.
source "$(dirname "$0")/setup.sh"
vortalis_install_packages
BUILD="${VORTALIS_BUILD_DIR:-$VORTALIS_ROOT/build}"
vortalis_build "$BUILD"
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$BUILD" --output-on-failure -j "$(nproc)"
