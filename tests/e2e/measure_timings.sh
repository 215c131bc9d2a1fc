#!/usr/bin/env bash
# Measures, from outside on a real X server, what the operator waits for:
#   start-up   program start to the main window shown
#   evaluate   Evaluate click to the results window shown, for 3 and 100 readings
# and prints the median, lowest and highest of each. Not a test: it passes
# no judgement, and it runs for about a minute.
#
#   measure_timings.sh [-n runs] <veldesk> [<another veldesk> ...]
#
# runs: clicks per data set, default 11; three times as many start-ups.
# With several programs (a build before and after a change) the start-ups
# take turns, so that a busy machine weighs on each alike.
#
# The times come from xmapwait (beside this script): it watches the X server
# for the window's map and starts the program, or sends the click, itself. The
# front end finds the engine beside its own program file. Works with any
# build of the front end: the data set is named by typing into the main
# window's file-name box.
set -euo pipefail

RUNS=11
if [ "${1:-}" = -n ]; then RUNS=$2; shift 2; fi
PROGRAMS=()
for p in "$@"; do PROGRAMS+=("$(readlink -f "$p")"); done
HERE=$(dirname "$(readlink -f "$0")")

for tool in Xvfb xdotool cc; do
    command -v "$tool" >/dev/null || { echo "measure_timings: $tool is not installed"; exit 77; }
done

scratch=$(mktemp -d)
xvfb_pid=""
app_pid=""
cleanup() {
    [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null || true
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
    rm -rf "$scratch"
}
trap cleanup EXIT

cc -O2 -o "$scratch/xmapwait" "$HERE/xmapwait.c" -lX11 -l:libXtst.so.6

source "$HERE/xserver.sh"
start_xserver "$scratch" 1024x768x24
export QT_QPA_PLATFORM=xcb QT_QPA_PLATFORMTHEME= LANG=C.UTF-8 LC_ALL=C.UTF-8

MAIN="VELDESK 1.0"
FILE_NAME_BOX=(236 33); EVALUATE=(360 420); RESULTS_OK=(416 376)

summary() { # label, then one figure per line on stdin
    sort -n | awk -v label="$1" '{ v[NR] = $1 }
        END { m = (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2
              printf "%-34s median %7.1f ms   min %7.1f   max %7.1f   (%d runs)\n", label, m, v[1], v[NR], NR }'
}
window_id() { # exact name -> id, waiting up to 10 s
    for _ in $(seq 1000); do
        xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | tail -n1 && return 0
        sleep 0.01
    done
    return 1
}
at() { # window name, x, y: move the pointer there
    local X Y
    eval "$(xdotool getwindowgeometry --shell "$(window_id "$1")")"
    xdotool mousemove --sync $((X + $2)) $((Y + $3))
}
wait_gone() { for _ in $(seq 500); do xdotool search --onlyvisible --name "^$1\$" >/dev/null 2>&1 || return 0; sleep 0.01; done; return 1; }
stop_app() {
    kill "$app_pid" 2>/dev/null || true
    for _ in $(seq 100); do kill -0 "$app_pid" 2>/dev/null || break; sleep 0.02; done
    app_pid=""
}
start_app() { # program: start it in a fresh directory; prints the milliseconds to its main window
    work=$(mktemp -d "$scratch/work.XXXX")
    cd "$work"
    "$scratch/xmapwait" "$MAIN" 20000 -- "$1" 2>"$scratch/pid"
    app_pid=$(sed -n 's/^pid //p' "$scratch/pid")
}

for i in $(seq $((3 * RUNS))); do
    for n in "${!PROGRAMS[@]}"; do
        start_app "${PROGRAMS[$n]}" >"$scratch/ms"
        echo "$n $(cat "$scratch/ms")"
        sleep 0.3
        stop_app
    done
done >"$scratch/startups"
for n in "${!PROGRAMS[@]}"; do
    echo "${PROGRAMS[$n]}"
    awk -v n="$n" '$1 == n { print $2 }' "$scratch/startups" | summary "start-up to main window"
done

measure_evaluate() { # program: one start, then the clicks for each data-set size
    local readings i
    for readings in 3 100; do
        start_app "$1" >/dev/null
        {
            printf 'Timing run\r\n0.05000 , 0.30000\r\n'
            for i in $(seq "$readings"); do printf '0.20000 %d.00000 %d.00000\r\n' $((300 + i % 50)) $((1200 + i)); done
        } >"$work/set.pd"
        at "$MAIN" "${FILE_NAME_BOX[@]}"
        xdotool click 1 key ctrl+a
        xdotool type --delay 10 "$work/set.pd"
        sleep 0.3
        for i in $(seq "$RUNS"); do
            at "$MAIN" "${EVALUATE[@]}"
            "$scratch/xmapwait" Results 20000 -- click || echo "no results window" >&2
            sleep 0.2
            at Results "${RESULTS_OK[@]}"
            xdotool click 1
            wait_gone Results
            # A pause of random length, so that clicks fall at every phase
            # of the main window's 500 ms timer.
            sleep "0.$((200 + RANDOM % 500))"
        done | summary "Evaluate click to results, $readings"
        stop_app
    done
}
for p in "${PROGRAMS[@]}"; do
    echo "$p"
    measure_evaluate "$p"
done
