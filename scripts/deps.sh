#!/usr/bin/env bash
# Installs the Debian 12 packages the build, the program and the tests need.
# Sourced by scripts/run and scripts/test; as root it installs what is missing,
# otherwise it prints the apt-get line and stops.
cz_packages=(
    build-essential cmake ninja-build pkg-config ccache clang-format
    qt6-base-dev qt6-base-dev-tools qt6-svg-dev libqt6sql6-sqlite libqt6sql6-psql libqt6sql6-odbc
    qt6-translations-l10n qt6-qpa-plugins fonts-noto-cjk
    libsqlite3-dev sqlite3 libxlsxwriter-dev libfreexl-dev libzint-dev
    tdsodbc unixodbc-dev
    libgtest-dev libgmock-dev libbenchmark-dev
    postgresql postgresql-client
    fonts-wqy-microhei fonts-arphic-uming
    xvfb xauth poppler-utils python3-ephem
)

cz_install_deps() {
    local missing=()
    local p
    for p in "${cz_packages[@]}"; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    if [ "$(id -u)" -ne 0 ]; then
        echo "Missing packages. Run as root:"
        echo "  apt-get install -y ${missing[*]}"
        exit 1
    fi
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

cz_build() {
    local dir=$1
    shift
    cmake -S "$cz_root" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
    cmake --build "$dir" -j "$(nproc)"
}

cz_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
