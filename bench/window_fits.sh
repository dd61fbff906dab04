#!/usr/bin/env bash
# Whether the panel's window, frame included, fits the free area of the screens people have:
# 1366 x 768 at 100 % and 1920 x 1080 at 150 %, each with a task bar of 48 pixels. Each
# screen is an Xvfb display with twm drawing the title bars; the task bar is the work area the
# desktop announces. A first start (no stored zoom) on the built-in simulated line.
# Usage: bench/window_fits.sh. Needs Xvfb, twm, xprop, xwininfo and build/bin/vcp.
set -euo pipefail
cd "$(dirname "$0")/.."

source bench/processes.sh

taskbar=48
display=71
for screen in "1366 768 1" "1920 1080 1.5"; do
    read -r width height scale <<< "$screen"
    Xvfb ":$display" -screen 0 "${width}x${height}x24" > /dev/null 2>&1 &
    pids+=($!)
    sleep 1
    export DISPLAY=":$display"
    twm > /dev/null 2>&1 &
    pids+=($!)
    sleep 1
    # The desktop's free area: the whole screen but the task bar at the bottom.
    free_height=$((height - taskbar))
    xprop -root -f _NET_SUPPORTED 32a -set _NET_SUPPORTED _NET_WORKAREA
    xprop -root -f _NET_WORKAREA 32c -set _NET_WORKAREA "0, 0, $width, $free_height"
    XDG_CONFIG_HOME="$work/config-$display" QT_SCALE_FACTOR="$scale" \
        build/bin/vcp --port inproc:sim > "$work/vcp-$display.log" 2>&1 &
    vcp=$!
    pids+=("$vcp")
    frame=""
    for _ in $(seq 50); do
        frame=$(xwininfo -root -tree | grep '"Virtual Control Panel": ("vcp"' || true)
        [[ -n "$frame" ]] && break
        sleep 0.2
    done
    sleep 1
    window=$(echo "$frame" | grep -o '0x[0-9a-f]*' | head -1)
    info=$(xwininfo -id "$window" -frame)
    x=$(echo "$info" | awk '/Absolute upper-left X/ { print $4 }')
    y=$(echo "$info" | awk '/Absolute upper-left Y/ { print $4 }')
    w=$(echo "$info" | awk '/Width/ { print $2 }')
    h=$(echo "$info" | awk '/Height/ { print $2 }')
    # The frame twm adds: the title bar above the window's area and a border round it.
    outer=$(xwininfo -id "$(xwininfo -id "$window" -children | awk '/Parent window id/ { print $4 }')")
    ox=$(echo "$outer" | awk '/Absolute upper-left X/ { print $4 }')
    oy=$(echo "$outer" | awk '/Absolute upper-left Y/ { print $4 }')
    ow=$(echo "$outer" | awk '/Width/ { print $2 }')
    oh=$(echo "$outer" | awk '/Height/ { print $2 }')
    border=$(echo "$outer" | awk '/Border width/ { print $3 }')
    ow=$((ow + 2 * border))
    oh=$((oh + 2 * border))
    verdict="fits"
    if (( ox < 0 || oy < 0 || ox + ow > width || oy + oh > free_height )); then
        verdict="DOES NOT FIT"
    fi
    echo "${width} x ${height} at $(awk -v s="$scale" 'BEGIN { print s * 100 }') %, free area ${width} x ${free_height}:" \
        "panel ${w} x ${h} at (${x}, ${y}), with its frame ${ow} x ${oh} at (${ox}, ${oy}): ${verdict}"
    kill "$vcp"
    display=$((display + 1))
done
