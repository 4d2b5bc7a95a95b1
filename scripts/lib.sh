# Shared by the scripts: package installation and the build.
# shellcheck shell=bash

ZEFA_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

# Debian packages the build, the tests and the tools need.
ZEFA_PACKAGES=(
    cmake g++ make pkg-config
    qtbase5-dev libqt5serialport5-dev qttools5-dev qttools5-dev-tools
    fonts-dejavu-core
)
# What scripts/package needs to build the .deb and check it.
ZEFA_PACKAGING_PACKAGES=(dpkg-dev desktop-file-utils lintian appstream)
ZEFA_TEST_PACKAGES=(
    xvfb xdotool x11-utils x11-xserver-utils imagemagick fonts-noto-cjk
    "${ZEFA_PACKAGING_PACKAGES[@]}"
)

as_root() {
    if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

# Installs whatever of the given packages is missing.
ensure_packages() {
    local missing=()
    local pkg
    for pkg in "$@"; do
        dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed' ||
            missing+=("$pkg")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    as_root apt-get update -qq
    DEBIAN_FRONTEND=noninteractive as_root apt-get install -y -qq --no-install-recommends \
        "${missing[@]}"
}

# configure BUILD_DIR [cmake options...]
configure() {
    local dir=$1
    shift
    cmake -S "$ZEFA_ROOT" -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
}

# configure_and_build BUILD_DIR [cmake options...]
configure_and_build() {
    configure "$@"
    cmake --build "$1" -j "$(nproc)"
}
