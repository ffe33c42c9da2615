#!/usr/bin/env bash
# Draws a movie's frames with GNU parallel, on this machine's cores or on other machines, then
# makes its video: scripts/cluster/parallel-frames.sh OUT [PARALLEL-OPTIONS...] -- [vorla-render
# OPTIONS...], the options with --animate A.json B.json... and --frames N. OUT is a folder,
# where the frames stay, or a .mp4, .webm or .gif video, whose frames go to the folder
# OUT.frames and are removed once ffmpeg has made it (vorla-render --encode). Each frame is a
# job of its own. PARALLEL-OPTIONS go to parallel as they are, e.g. --sshlogin 4/node1,4/node2
# (the renderer must then be at the same path there, and the working folder shared).
# VORLA_RENDER names the renderer (default: build/src/vorla-render). Every argument reaches the
# renderer as it is. A frame that fails stops the others; the script names it and exits 1 (a
# video's frames are removed, a folder keeps the frames drawn).
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/frames.sh"
[ $# -ge 1 ] || { sed -n 2,12p "$0" >&2; exit 2; }
out=$1
shift
popts=()
while [ $# -gt 0 ] && [ "$1" != -- ]; do popts+=("$1"); shift; done
[ "${1:-}" = -- ] && shift
render=${VORLA_RENDER:-$here/../../build/src/vorla-render}
frames=$(vorla_option --frames "" "$@")
[ -n "$frames" ] || { echo "parallel-frames: the options need --frames N" >&2; exit 2; }
folder=$(vorla_movie_folder "$out")
made=""
if [ "$folder" != "$out" ]; then
    [ ! -e "$folder" ] || { echo "parallel-frames: $folder is in the way" >&2; exit 2; }
    made=$folder
fi
joblog=$(mktemp)
# A video's frames go whatever happens: made, failed or interrupted.
trap 'rm -f -- "$joblog"; [ -z "$made" ] || rm -rf -- "$made"' EXIT
if ! seq 1 "$frames" |
    parallel -q --halt now,fail=1 --joblog "$joblog" "${popts[@]}" \
        "$render" --quiet "$@" --frames-range {}:{} "$folder"; then
    # The job log: sequence number, ..., exit value (7th) and signal (8th), tab-separated.
    # The renderer ends with 143 when parallel stops the others.
    while IFS=$'\t' read -r seq _ _ _ _ _ code signal _; do
        [[ $seq =~ ^[0-9]+$ ]] || continue
        if [[ $code != 0 && $code != 143 ]] || [[ $signal != 0 && $signal != 15 ]]; then
            echo "parallel-frames: frame $seq failed (exit $code)" >&2
        fi
    done <"$joblog"
    echo "parallel-frames: no movie was made" >&2
    exit 1
fi
if [ -n "$made" ]; then
    "$render" --quiet --encode "$folder" --frames "$frames" --fps "$(vorla_option --fps 30 "$@")" \
        "$out"
fi
