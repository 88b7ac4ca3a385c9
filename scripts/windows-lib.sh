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
WIN_CACHE=${ROVI_WINDOWS_CACHE:-${XDG_CACHE_HOME:-${HOME:-/tmp}/.cache}/rovi-windows}
QT_WIN_KEY=$( { echo "$QT_WIN_VERSION ${QT_WIN_FLAGS[*]}"; cat "$TOOLCHAIN"; } | sha1sum | cut -c1-10)
QT_WIN=$WIN_CACHE/qt-$QT_WIN_VERSION-$QT_WIN_KEY
WIN_BUILD=$ROOT/build/windows
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
    echo "Building Qt $QT_WIN_VERSION for Windows into $QT_WIN (once per machine; about 20 minutes on two cores)"
    local build=$WIN_CACHE/build-$QT_WIN_KEY
    # Qt keeps the toolchain file's path for the programs built with it, so
    # the cache holds its own copy and does not depend on this checkout.
    mkdir -p "$QT_WIN"
    cp "$TOOLCHAIN" "$QT_WIN/mingw-w64-x86_64.cmake"
    if [[ ! -f "$build/qtbase/build.ninja" ]]; then
        cmake -S "$base" -B "$build/qtbase" -G Ninja \
            -DCMAKE_TOOLCHAIN_FILE="$QT_WIN/mingw-w64-x86_64.cmake" -DCMAKE_INSTALL_PREFIX="$QT_WIN" \
            -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
            "${QT_WIN_FLAGS[@]}"
    fi
    cmake --build "$build/qtbase" -j "$JOBS"
    cmake --install "$build/qtbase"
    touch "$QT_WIN/.complete"
    rm -rf "$build"
    echo "Qt for Windows ready in $((SECONDS - started)) s"
}

# Configures build/windows once with Qt's qt-cmake, then builds the given
# targets (all when none are given).
build_windows() {
    ensure_windows_qt
    if [[ ! -f "$WIN_BUILD/build.ninja" ]]; then
        "$QT_WIN/bin/qt-cmake" -S "$ROOT" -B "$WIN_BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release
    fi
    local targets=()
    (($# > 0)) && targets=(--target "$@")
    cmake --build "$WIN_BUILD" -j "$JOBS" "${targets[@]}"
}

# The DLLs a Windows program or library loads that are not the system's,
# found in Qt's bin folder or the mingw-w64 runtime, recursively.
windows_dlls() {
    local -A seen=()
    local queue=("$@") file dll found dir
    local dirs=("$QT_WIN/bin" "$(dirname "$(x86_64-w64-mingw32-g++-posix -print-file-name=libstdc++-6.dll)")"
        /usr/x86_64-w64-mingw32/lib)
    while ((${#queue[@]} > 0)); do
        file=${queue[0]}
        queue=("${queue[@]:1}")
        while read -r dll; do
            [[ -n "${seen[${dll,,}]+x}" ]] && continue
            seen[${dll,,}]=1
            found=
            for dir in "${dirs[@]}"; do
                [[ -f "$dir/$dll" ]] && found=$dir/$dll && break
            done
            [[ -z "$found" ]] && continue # a system DLL
            echo "$found"
            queue+=("$found")
        done < <(x86_64-w64-mingw32-objdump -p "$file" | sed -n 's/^\s*DLL Name: //p')
    done
}

# stage_windows DIR EXE...: a folder that runs on Windows with nothing
# installed: the programs, the DLLs they load, Qt's platform and style
# plugins, Qt's Chinese translation and a qt.conf that points Qt at them.
stage_windows() {
    local dir=$1
    shift
    rm -rf "$dir"
    mkdir -p "$dir/plugins/platforms" "$dir/plugins/styles" "$dir/translations"
    cp "$@" "$dir/"
    cp "$QT_WIN/plugins/platforms/qwindows.dll" "$dir/plugins/platforms/"
    cp "$QT_WIN/plugins/styles/"*.dll "$dir/plugins/styles/"
    cp /usr/share/qt6/translations/qtbase_zh_CN.qm "$dir/translations/"
    cp "$ROOT/packaging/windows/qt.conf" "$dir/"
    local dll
    while read -r dll; do
        cp "$dll" "$dir/"
    done < <(windows_dlls "$@" "$dir"/plugins/*/*.dll | sort -u)
}

# A Wine prefix of the project's own, made once (no Mono or Gecko prompts),
# and its server started apart from this shell's output (the server keeps
# what it inherits and reports into it when it is stopped).
ensure_wine_prefix() {
    if [[ ! -f "$WINEPREFIX/system.reg" ]]; then
        mkdir -p "$WINEPREFIX"
        wineboot --init >/dev/null 2>&1 || true
        wineserver --wait || true
    fi
    wineserver --persistent=30 </dev/null >/dev/null 2>&1 &
}

# The Windows path Wine gives a Linux path (its Z: drive).
wine_path() {
    local path
    path=$(realpath "$1")
    echo "Z:${path//\//\\}"
}
