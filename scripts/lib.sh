# Shared by scripts/run and scripts/test: package install and the build.
# shellcheck shell=bash

ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
JOBS=$(nproc 2>/dev/null || echo 2)

# Installs the packages of a list (default scripts/packages.txt) that are
# not installed yet. apt-get update runs only when something is missing.
ensure_packages() {
    local list=${1:-$ROOT/scripts/packages.txt}
    local missing=() pkg status
    while read -r pkg; do
        [[ -z "$pkg" || "$pkg" == \#* ]] && continue
        status=$(dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null || true)
        [[ "$status" == "install ok installed" ]] || missing+=("$pkg")
    done < "$list"
    ((${#missing[@]} == 0)) && return 0
    echo "Installing: ${missing[*]}"
    local sudo=()
    ((EUID == 0)) || sudo=(sudo)
    "${sudo[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

# build DIR TYPE [extra cmake args...]: configures once, then builds incrementally.
build() {
    local dir=$1 type=$2
    shift 2
    if [[ ! -f "$ROOT/$dir/CMakeCache.txt" ]]; then
        cmake -S "$ROOT" -B "$ROOT/$dir" -DCMAKE_BUILD_TYPE="$type" "$@"
    fi
    cmake --build "$ROOT/$dir" -j "$JOBS"
}

# The fuzz targets: a clang build of their own in build/fuzz.
build_fuzz() {
    if [[ ! -f "$ROOT/build/fuzz/CMakeCache.txt" ]]; then
        cmake -S "$ROOT/tests/fuzz" -B "$ROOT/build/fuzz" -DCMAKE_CXX_COMPILER=clang++
    fi
    cmake --build "$ROOT/build/fuzz" -j "$JOBS"
}
