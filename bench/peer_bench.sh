#!/usr/bin/env bash
# The side-by-side benchmark against CuteCom (see bench/peer_bench.py).
#   bench/peer_bench.sh [--seconds S] [--flat-seconds S] [--only tool|cutecom] [--streams 0,1,2,3]
set -euo pipefail
source "$(dirname "$0")/../scripts/lib.sh"
ensure_packages
ensure_packages "$ROOT/bench/peer-packages.txt"
build build/release Release
exec python3 "$ROOT/bench/peer_bench.py" --tool "$ROOT/build/release/app/rovi-tool" "$@"
