#!/usr/bin/env bash
# Installs what is missing, builds, then starts Tabilo ("run") or runs every test ("test").
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(
    build-essential cmake ninja-build pkg-config git
    qt6-base-dev qt6-base-dev-tools libqt6svg6 qt6-image-formats-plugins qt6-translations-l10n
    libturbojpeg0-dev libjpeg62-turbo-dev libjpeg-turbo-progs
    libgtest-dev libgmock-dev libbenchmark-dev libfuse3-dev fuse3
    clang libclang-rt-14-dev
    libimage-exiftool-perl imagemagick
    fonts-ipafont xvfb xauth
    libglib2.0-bin gsettings-desktop-schemas
    desktop-file-utils appstream dpkg-dev file
)

install_missing() {
    local missing=()
    for p in "${packages[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return
    local sudo=""
    [ "$(id -u)" -eq 0 ] || sudo=sudo
    $sudo apt-get update
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends "${missing[@]}"
}

build() {
    cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTABILO_BENCH=ON
    cmake --build build
}

case "${1:-run}" in
    run)
        install_missing
        build
        exec build/bin/tabilo
        ;;
    test)
        install_missing
        build
        ctest --test-dir build --output-on-failure
        ;;
    *)
        echo "usage: $0 run|test" >&2
        exit 2
        ;;
esac
