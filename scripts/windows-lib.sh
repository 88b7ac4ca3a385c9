# Shared by scripts/windows and scripts/test-windows: the mingw-w64 cross
# build, Qt for Windows built once per machine from Debian's own source, and
# Wine to run what was built.
# shellcheck shell=bash

source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

TOOLCHAIN=$ROOT/cmake/mingw-w64-x86_64.cmake
QT_WIN_VERSION=6.4.2
# What Qt for Windows is built with. Changing any of it (or the toolchain
# file) changes the cache key, so a stale build is never reused.
QT_WIN_FLAGS=(
    -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=ON
    -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF
    -DFEATURE_sql=OFF -DFEATURE_network=OFF -DFEATURE_dbus=OFF
    -DFEATURE_opengl=OFF -DFEATURE_dynamicgl=OFF -DFEATURE_printsupport=OFF
    -DFEATURE_concurrent=OFF -DFEATURE_xml=OFF -DFEATURE_tabletevent=OFF
    -DFEATURE_testlib=ON
)
WIN_CACHE=${ROVI_WINDOWS_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/rovi-windows}
QT_WIN_KEY=$( { echo "$QT_WIN_VERSION ${QT_WIN_FLAGS[*]}"; cat "$TOOLCHAIN"; } | sha1sum | cut -c1-10)
QT_WIN=$WIN_CACHE/qt-$QT_WIN_VERSION-$QT_WIN_KEY
WINEPREFIX=${WINEPREFIX:-$WIN_CACHE/wineprefix}
export WINEPREFIX WINEDEBUG=${WINEDEBUG:--all} WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}

ensure_windows_packages() {
    ensure_packages
    ensure_packages "$ROOT/scripts/windows-packages.txt"
}

# Debian's source packages for bookworm main, for `apt-get source`.
ensure_deb_src() {
    local list=/etc/apt/sources.list.d/rovi-deb-src.sources
    grep -rqs '^Types:.*deb-src' /etc/apt/sources.list.d/ && apt-cache showsrc qt6-base >/dev/null 2>&1 && return 0
    local sudo=()
    ((EUID == 0)) || sudo=(sudo)
    printf '%s\n' 'Types: deb-src' 'URIs: http://deb.debian.org/debian' 'Suites: bookworm' \
        'Components: main' 'Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg' |
        "${sudo[@]}" tee "$list" >/dev/null
    "${sudo[@]}" apt-get update -qq
}

# fetch_source PACKAGE: unpacks Debian's source of PACKAGE (version
# $QT_WIN_VERSION) under $WIN_CACHE/src and prints its folder.
fetch_source() {
    local pkg=$1 dir
    mkdir -p "$WIN_CACHE/src/$pkg"
    dir=$(find "$WIN_CACHE/src/$pkg" -mindepth 1 -maxdepth 1 -type d -name "$pkg-$QT_WIN_VERSION*" | head -1)
    if [[ -z "$dir" ]]; then
        ensure_deb_src
        (cd "$WIN_CACHE/src/$pkg" && apt-get source -qq "$pkg" >&2)
        dir=$(find "$WIN_CACHE/src/$pkg" -mindepth 1 -maxdepth 1 -type d -name "$pkg-$QT_WIN_VERSION*" | head -1)
    fi
    [[ -n "$dir" ]] || { echo "no $pkg $QT_WIN_VERSION source from Debian" >&2; return 1; }
    echo "$dir"
}

# Builds qtbase for Windows into $QT_WIN, once: a finished build leaves a
# stamp, and later calls return at once. (The port list on Windows comes from
# the registry, so Qt's serial port module is not needed there.)
ensure_windows_qt() {
    [[ -f "$QT_WIN/.complete" ]] && return 0
    ensure_windows_packages
    local base started=$SECONDS
    base=$(fetch_source qt6-base)
    echo "Building Qt $QT_WIN_VERSION for Windows into $QT_WIN (once per machine; about 30-40 minutes on two cores)"
    local build=$WIN_CACHE/build-$QT_WIN_KEY
    if [[ ! -f "$build/qtbase/build.ninja" ]]; then
        cmake -S "$base" -B "$build/qtbase" -G Ninja \
            -DCMAKE_TOOLCHAIN_FILE="$TOOLCHAIN" -DCMAKE_INSTALL_PREFIX="$QT_WIN" \
            -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
            "${QT_WIN_FLAGS[@]}"
    fi
    cmake --build "$build/qtbase" -j "$JOBS"
    cmake --install "$build/qtbase"
    touch "$QT_WIN/.complete"
    rm -rf "$build"
    echo "Qt for Windows ready in $((SECONDS - started)) s"
}
