#!/usr/bin/env bash
# rovi-tool started as a user starts it, in a folder whose set.ini chooses
# the language and connects at once to a port that is not there: the
# open-failure box comes up titled in that language ("Note" in English,
# "提示" in Chinese), and a logout's SIGTERM ends the program whether the
# box was answered or not. Runs on an Xvfb of its own; the port is a path
# in a fresh temporary folder, never a device of the machine.
# Usage: start_language.sh ROVI_TOOL
set -euo pipefail
source "$(dirname "$0")/../../scripts/lib.sh"
tool=$1
scratch=$(mktemp -d)
xvfb= pid=
cleanup() {
    [[ -z "$pid" ]] || kill "$pid" 2>/dev/null || true
    [[ -z "$xvfb" ]] || kill "$xvfb" 2>/dev/null || true
    rm -rf "$scratch"
}
trap cleanup EXIT

start_xvfb "$scratch"
export QT_QPA_PLATFORM=xcb

# For each language= in set.ini: the box's title, and whether the box is
# answered before the logout (SIGTERM) comes. Either way the program ends
# by itself, at once and with status 0: a box still waiting is answered as
# its Escape key would be.
passed=0
fail() {
    echo "language=$language: $1"
    cat "$scratch/tool.log"
    kill -0 "$xvfb" 2>/dev/null || echo "Xvfb (display $DISPLAY) is gone"
    cat "$scratch/xvfb.log"
    exit 1
}
for row in "en Note answered" "zh 提示 waiting"; do
    read -r language title box_state <<<"$row"
    printf '[comset]\r\n\xB4\xAE\xBF\xDA=%s\r\nauto=1\r\nlanguage=%s\r\n' "$scratch/absent/ttyUSB9" "$language" >"$scratch/set.ini"
    (cd "$scratch" && exec "$tool") >"$scratch/tool.log" 2>&1 &
    pid=$!
    # A start under the sanitizers beside other tests on two cores can take
    # seconds: the box is waited for until it comes, for at most a minute.
    box=
    started=$SECONDS
    while ((SECONDS - started < 60)); do
        box=$(xdotool search --name "^$title\$" 2>/dev/null | head -1) && [[ -n "$box" ]] && break
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.05
    done
    [[ -n "$box" ]] || fail "no box titled \"$title\" after $((SECONDS - started)) s"
    up=$((SECONDS - started))
    # Return until no box is left (the first window found may be one Qt
    # replaces before the box is on screen).
    if [[ $box_state == answered ]]; then
        for _ in $(seq 100); do
            box=$(xdotool search --name "^$title\$" 2>/dev/null | head -1) && [[ -n "$box" ]] || break
            press_key "$box" Return
            sleep 0.1
        done
        [[ -z "$box" ]] || fail "the box stays after Return"
    fi
    kill -TERM "$pid"
    for _ in $(seq 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
    if kill -0 "$pid" 2>/dev/null; then
        kill -9 "$pid"
        fail "still running 10 s after SIGTERM, its box $box_state"
    fi
    status=0
    wait "$pid" || status=$?
    pid=
    ((status == 0)) || fail "ended with status $status on SIGTERM, its box $box_state"
    echo "language=$language: the open-failure box is titled \"$title\" (up after $up s); SIGTERM with it $box_state ends the program"
    passed=$((passed + 1))
done
echo "$passed passed, 0 failed"
