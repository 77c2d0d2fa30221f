#!/usr/bin/env bash
# Installs what is missing, builds the Release tree in build/, packages it and
# checks the package, then builds with AddressSanitizer and
# UndefinedBehaviorSanitizer in build-test/ and runs every test.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/common.sh
TEST_PACKAGES=(zip unzip p7zip-full libarchive-tools keepassxc python3 xvfb xauth xdotool x11-utils imagemagick desktop-file-utils clang libclang-rt-14-dev
  lintian appstream man-db bash-completion
  oathtool libdeflate-dev syncthing curl devscripts xclip gdb xdg-utils)
install_missing "${BUILD_PACKAGES[@]}" "${PACKAGE_PACKAGES[@]}" "${TEST_PACKAGES[@]}"

deb=$(./package.sh)
tests/install/package_check.sh "$deb"
# Freed secrets are looked for in a build without sanitizers, whose heap is
# the one users run.
tests/cli/secrets_in_memory.sh build/cli/vornix-cli

cmake -S . -B build-test -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVORNIX_SANITIZE=ON \
  -DVORNIX_BUILD_TESTS=ON -DVORNIX_BUILD_BENCH=ON >/dev/null
cmake --build build-test
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export LSAN_OPTIONS=suppressions=$PWD/tests/lsan.supp
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export QT_QPA_PLATFORM=offscreen
cd build-test
ctest --output-on-failure -j2 "$@"
