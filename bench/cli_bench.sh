#!/usr/bin/env bash
# cli_bench.sh [BUILD]: velmo-cli against ImageMagick on the same machine in
# one run, process start to exit: a 64-layer 256 x 256 .vlx to an animated
# GIF and to a sprite-sheet PNG, beside ImageMagick's nearest equivalents
# (convert of the frames into a GIF, montage into a sheet). Run by hand; it
# prints the median wall and processor time of each and the ratios (goal:
# ImageMagick / velmo-cli >= 5).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build/native}
cli=$build/bin/velmo-cli
# ImageMagick's own programs, not a wrapper that may stand before them in PATH.
im_convert=${IM_CONVERT:-/usr/bin/convert}
im_montage=${IM_MONTAGE:-/usr/bin/montage}
runs=${BENCH_RUNS:-7}
layers=64
side=256
columns=8

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The picture: 64 frames of one 256-colour plasma, each shifted, so that
# every frame shares one palette and none is a copy of another.
"$im_convert" -size ${side}x${side} -seed 7 plasma:fractal -colors 256 "PNG8:$work/base.png"
mkdir "$work/made"
for i in $(seq 0 $((layers - 1))); do
    printf -v name '%s/made/%03d.png' "$work" "$i"
    "$im_convert" "$work/base.png" -roll +$((i * 4))+$((i * 3)) "PNG8:$name"
done
"$im_convert" "$work"/made/*.png +map "$work/frames.gif"
"$cli" convert "$work/frames.gif" "$work/picture.vlx"
"$cli" info "$work/picture.vlx" | head -1
# ImageMagick starts from the same pixels, one PNG a layer.
"$cli" split "$work/picture.vlx" "$work/frames"

# measure COMMAND...: "wall cpu", the medians of $runs runs in milliseconds:
# wall time from process start to exit, and the user + system time it took
# (on a busy machine the wall time also holds the waits for a processor).
# Timed from one process, so that no timing program's own start is counted.
measure() {
    python3 - "$runs" "$@" <<'PY'
import resource, statistics, subprocess, sys, time
runs, command = int(sys.argv[1]), sys.argv[2:]
walls, cpus = [], []
for _ in range(runs):
    before = resource.getrusage(resource.RUSAGE_CHILDREN)
    start = time.perf_counter()
    subprocess.run(command, stdout=subprocess.DEVNULL, check=True)
    walls.append((time.perf_counter() - start) * 1000)
    after = resource.getrusage(resource.RUSAGE_CHILDREN)
    cpus.append((after.ru_utime - before.ru_utime + after.ru_stime - before.ru_stime) * 1000)
print(round(statistics.median(walls), 1), round(statistics.median(cpus), 1))
PY
}

report() { # what "velmo-wall velmo-cpu" "magick-wall magick-cpu"
    awk -v what="$1" -v v="$2" -v m="$3" 'BEGIN {
        split(v, a, " "); split(m, b, " ")
        printf "%-18s wall: velmo-cli %7.0f ms, ImageMagick %7.0f ms, ratio %5.1fx (goal 5x)\n", what, a[1], b[1], b[1] / (a[1] > 0 ? a[1] : 1)
        printf "%-18s cpu:  velmo-cli %7.0f ms, ImageMagick %7.0f ms, ratio %5.1fx\n", "", a[2], b[2], b[2] / (a[2] > 0 ? a[2] : 10)
    }'
}

gif_velmo=$(measure "$cli" export-gif "$work/picture.vlx" "$work/velmo.gif")
gif_magick=$(measure "$im_convert" -delay 5 -loop 0 "$work"/frames/*.png "$work/magick.gif")
sheet_velmo=$(measure "$cli" sheet "$work/picture.vlx" "$work/velmo-sheet.png" --columns $columns)
sheet_magick=$(measure "$im_montage" "$work"/frames/*.png -tile ${columns}x -geometry +0+0 \
    "$work/magick-sheet.png")

echo "$layers layers of $side x $side, median of $runs runs, process start to exit (load: $(cut -d" " -f1 /proc/loadavg)):"
report "animated GIF" "$gif_velmo" "$gif_magick"
report "sprite sheet PNG" "$sheet_velmo" "$sheet_magick"
ls -l "$work/velmo.gif" "$work/magick.gif" "$work/velmo-sheet.png" "$work/magick-sheet.png" |
    awk '{ print "  " $5 " bytes  " $NF }' | sed "s|$work/||"
