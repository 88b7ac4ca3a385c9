# Shared by the scripts and the tests' shell scripts: package install, the
# build, and an X server of one's own.
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

# start_xvfb SCRATCH: an Xvfb on a display number it finds free itself
# (never one another server holds), ready before this returns; sets xvfb
# to its pid and exports DISPLAY. It does not reset when its last client
# leaves, so the next program never meets it in the middle of a reset;
# what it says goes to SCRATCH/xvfb.log.
start_xvfb() {
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$1/display" >"$1/xvfb.log" 2>&1 &
    xvfb=$!
    for _ in $(seq 200); do [[ -s "$1/display" ]] && break; sleep 0.05; done
    [[ -s "$1/display" ]] || { echo "Xvfb did not start" >&2; return 1; }
    export DISPLAY=:$(head -1 "$1/display")
}

# press_key WINDOW KEYS (xdotool's words, e.g. Return, alt+F4). xdotool
# presses keys on the server itself; if it fails between press and release
# (the window gone at once), a key stays down and its repeat answers the
# next box, so every key is let go after.
press_key() {
    xdotool key --window "$1" "$2" 2>/dev/null || true
    xdotool keyup ${2//+/ } 2>/dev/null || true
}
