#!/usr/bin/env bash
# Builds the Debian package (build-package/vortalis_VERSION_ARCH.deb).
source "$(dirname "$0")/setup.sh"
vortalis_install_packages dpkg-dev
BUILD="${VORTALIS_PACKAGE_BUILD_DIR:-$VORTALIS_ROOT/build-package}"
vortalis_build "$BUILD" -DCMAKE_BUILD_TYPE=Release -DVORTALIS_BUILD_TESTS=OFF
(cd "$BUILD" && cpack -G DEB)
ls "$BUILD"/*.deb
