#!/usr/bin/env bash
# Installs what is missing, builds the Release tree in build/, packages it and
# checks the package, builds the fuzz targets in build-fuzz/ and runs each over
# its seed corpus once, then builds with AddressSanitizer and
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

# The fuzz recipe of the README, so that it cannot break unseen.
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DVORNIX_FUZZ=ON >/dev/null
cmake --build build-fuzz
for target in inflate archive; do
  build-fuzz/fuzz/${target}_fuzz -runs=0 tests/fuzz/corpus/$target
done

cmake -S . -B build-test -G Ninja -DCMAKE_BUILD_TYPE=Debug -DVORNIX_SANITIZE=ON \
  -DVORNIX_BUILD_TESTS=ON -DVORNIX_BUILD_BENCH=ON >/dev/null
cmake --build build-test
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export LSAN_OPTIONS=suppressions=$PWD/tests/lsan.supp
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export QT_QPA_PLATFORM=offscreen
cd build-test
ctest --output-on-failure -j2 "$@"
