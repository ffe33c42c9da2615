#!/usr/bin/env bash
# Renders a picture in bands with GNU parallel, on this machine's cores or on other machines,
# then joins the bands: scripts/cluster/parallel-bands.sh BANDS OUT.png [PARALLEL-OPTIONS...]
#     -- [vorla-render OPTIONS...]
# PARALLEL-OPTIONS go to parallel as they are, e.g. --sshlogin 4/node1,4/node2 (the renderer
# must then be at the same path there, and the working folder shared); the band files go to
# the working folder as OUT.png.band-N. A random picture needs --seed, so that every band
# draws the same picture. VORLA_RENDER names the renderer (default: build/src/vorla-render);
# VORLA_GRID=FILE also writes the joined value grid. Every argument reaches the renderer as
# it is (parallel -q quotes it for the shell it runs the renderer with). A band that fails
# stops the others; the script names it, removes the bands and exits 1.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/bands.sh"
[ $# -ge 2 ] || { sed -n 2,11p "$0" >&2; exit 2; }
bands=$1 out=$2
shift 2
popts=()
while [ $# -gt 0 ] && [ "$1" != -- ]; do popts+=("$1"); shift; done
[ "${1:-}" = -- ] && shift
render=${VORLA_RENDER:-$here/../../build/src/vorla-render}
height=$(vorla_picture_height "$@")
band_files=()
for ((i = 1; i <= bands; i++)); do band_files+=("$out.band-$i"); done
joblog=$(mktemp)
# The bands go whatever happens: joined, failed or interrupted.
trap 'rm -f -- "${band_files[@]}" "$joblog"' EXIT
if ! vorla_band_rows "$height" "$bands" |
    parallel -q --halt now,fail=1 --joblog "$joblog" "${popts[@]}" \
        "$render" --quiet "$@" --rows {} "$out.band-{#}"; then
    # The job log: sequence number, ..., exit value (7th) and signal (8th), tab-separated.
    # The renderer ends with 143 when parallel stops the others.
    mapfile -t rows < <(vorla_band_rows "$height" "$bands")
    while IFS=$'\t' read -r seq _ _ _ _ _ code signal _; do
        [[ $seq =~ ^[0-9]+$ ]] || continue
        if [[ $code != 0 && $code != 143 ]] || [[ $signal != 0 && $signal != 15 ]]; then
            echo "parallel-bands: band $seq (rows ${rows[seq - 1]}) failed (exit $code)" >&2
        fi
    done <"$joblog"
    echo "parallel-bands: no picture was made" >&2
    exit 1
fi
grid=()
[ -n "${VORLA_GRID:-}" ] && grid=(--grid "$VORLA_GRID")
"$render" --quiet "${grid[@]}" --assemble "$out" "${band_files[@]}"
