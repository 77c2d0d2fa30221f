# Shared by run.sh, test.sh and package.sh: installs the Debian packages that
# are missing, and configures the Release tree in build/.
# Usage: install_missing PACKAGE...
install_missing() {
  local missing=()
  for pkg in "$@"; do
    dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed" || missing+=("$pkg")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  echo "Installing: ${missing[*]}"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

# The Release tree that ./run.sh starts and ./package.sh packages.
configure_release_build() {
  cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DVORNIX_BUILD_TESTS=OFF -DVORNIX_BUILD_BENCH=OFF >/dev/null
}

BUILD_PACKAGES=(build-essential cmake ninja-build pkg-config qt6-base-dev qt6-base-dev-tools
  libgl-dev libicu-dev libgtest-dev zlib1g-dev libpugixml-dev libssl-dev
  libzxcvbn-dev libsodium-dev liboath-dev nlohmann-json3-dev diceware
  libqt6svg6 qt6-gtk-platformtheme adwaita-icon-theme fonts-dejavu-core)
# cpack's DEB generator: dpkg-shlibdeps computes the dependencies, file finds
# the binaries to give it.
PACKAGE_PACKAGES=(dpkg-dev file gzip)
