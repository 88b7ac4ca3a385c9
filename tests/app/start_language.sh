#!/usr/bin/env bash
# rovi-tool started as a user starts it, in a folder whose set.ini chooses
# the language and connects at once to a port that is not there: the
# open-failure box comes up titled in that language ("Note" in English,
# "提示" in Chinese). Runs on an Xvfb of its own; the port is a path in a
# fresh temporary folder, never a device of the machine.
# Usage: start_language.sh ROVI_TOOL
set -euo pipefail
tool=$1
scratch=$(mktemp -d)
xvfb= pid=
cleanup() {
    [[ -z "$pid" ]] || kill "$pid" 2>/dev/null || true
    [[ -z "$xvfb" ]] || kill "$xvfb" 2>/dev/null || true
    rm -rf "$scratch"
}
trap cleanup EXIT

# -noreset: the server stays as it is when the first run's last client
# leaves, so the second run never meets it in the middle of a reset. What
# it says goes to a file that a failure shows.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$scratch/display" >"$scratch/xvfb.log" 2>&1 &
xvfb=$!
for _ in $(seq 100); do [[ -s "$scratch/display" ]] && break; sleep 0.05; done
[[ -s "$scratch/display" ]] || { echo "Xvfb did not start"; exit 1; }
export DISPLAY=:$(head -1 "$scratch/display")
export QT_QPA_PLATFORM=xcb

# The box's title for each language= in set.ini.
passed=0
for row in "en Note" "zh 提示"; do
    read -r language title <<<"$row"
    printf '[comset]\r\n\xB4\xAE\xBF\xDA=%s\r\nauto=1\r\nlanguage=%s\r\n' "$scratch/absent/ttyUSB9" "$language" >"$scratch/set.ini"
    (cd "$scratch" && exec "$tool") >"$scratch/tool.log" 2>&1 &
    pid=$!
    box=
    for _ in $(seq 200); do
        box=$(xdotool search --name "^$title\$" 2>/dev/null | head -1) && [[ -n "$box" ]] && break
        sleep 0.05
    done
    # The box answered, the window closes as on a logout (SIGTERM); a
    # program that does not end is ended.
    [[ -z "$box" ]] || xdotool key --window "$box" Return 2>/dev/null || true
    kill "$pid" 2>/dev/null || true
    for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
    kill -9 "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
    pid=
    if [[ -z "$box" ]]; then
        echo "language=$language: no box titled \"$title\""
        cat "$scratch/tool.log"
        kill -0 "$xvfb" 2>/dev/null || echo "Xvfb (display $DISPLAY) is gone"
        cat "$scratch/xvfb.log"
        exit 1
    fi
    echo "language=$language: the open-failure box is titled \"$title\""
    passed=$((passed + 1))
done
echo "$passed passed, 0 failed"
