# Shared by run.sh and test.sh: installs the Debian packages that are missing.
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

BUILD_PACKAGES=(build-essential cmake ninja-build pkg-config qt6-base-dev qt6-base-dev-tools
  libgl-dev libicu-dev libgtest-dev zlib1g-dev libpugixml-dev libssl-dev
  libqt6svg6 qt6-gtk-platformtheme adwaita-icon-theme fonts-dejavu-core)
