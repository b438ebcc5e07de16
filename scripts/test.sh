#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test headless; builds the
# core and vortalis-report without Qt and runs their tests; then builds
# the same tree again with AddressSanitizer (LeakSanitizer included) and
# UndefinedBehaviorSanitizer in a second folder and runs the whole suite there.
# Any sanitizer report fails the run.
source "$(dirname "$0")/setup.sh"
vortalis_install_packages
# Folders include each other only as the README's Layout table allows.
python3 "$VORTALIS_ROOT/scripts/check_layers.py" "$VORTALIS_ROOT"
BUILD="${VORTALIS_BUILD_DIR:-$VORTALIS_ROOT/build}"
# -g1 keeps the function names and line numbers a failure's stack needs, at
# half the object size and less compile time than -g. The build without Qt
# uses the same flags, so it takes the core's objects from ccache.
OPTIMISE="-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O2 -g1 -DNDEBUG"
vortalis_build "$BUILD" "$OPTIMISE"
export QT_QPA_PLATFORM=offscreen
ctest --test-dir "$BUILD" --output-on-failure -j "$(nproc)"

# The core, vortalis-report and the core tests built without Qt: the tool
# writes every file that needs no painting and refuses the painted ones.
CORE_BUILD="${VORTALIS_CORE_BUILD_DIR:-$BUILD-core}"
echo "Build without Qt in $CORE_BUILD"
vortalis_build "$CORE_BUILD" -DVORTALIS_BUILD_GUI=OFF -DVORTALIS_BUILD_BENCH=OFF "$OPTIMISE"
ctest --test-dir "$CORE_BUILD" --output-on-failure -j "$(nproc)"

# Exported before the sanitizer build as well: gtest_discover_tests runs each
# test program while building, and a report there must fail the same way.
# fast_unwind_on_malloc=0: Qt has no frame pointers, and without the slow
# unwinder an allocation's stack ends at the first Qt frame, which makes leak
# reports unreadable and the suppressions unmatchable (about a minute more).
export ASAN_OPTIONS="halt_on_error=1:abort_on_error=1:detect_leaks=1:print_stacktrace=1:check_initialization_order=1:strict_init_order=1:detect_stack_use_after_return=1:fast_unwind_on_malloc=0"
export UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1"
# Leaks inside third-party libraries only; the file says why each line is there.
export LSAN_OPTIONS="suppressions=$VORTALIS_ROOT/tests/sanitizers/lsan.supp:print_suppressions=0"
SANITIZE="-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined"
SANITIZER_BUILD="${VORTALIS_SANITIZER_BUILD_DIR:-$BUILD-asan}"
echo "Sanitizer build in $SANITIZER_BUILD"
vortalis_build "$SANITIZER_BUILD" "-DCMAKE_CXX_FLAGS=$SANITIZE" "$OPTIMISE" \
  "-DCMAKE_EXE_LINKER_FLAGS=-fsanitize=address,undefined"
ctest --test-dir "$SANITIZER_BUILD" --output-on-failure -j "$(nproc)"
