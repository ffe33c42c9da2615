#!/usr/bin/env bash
# Renders a picture in bands with GNU parallel, on this machine's cores or on other machines,
# then joins the bands: scripts/cluster/parallel-bands.sh BANDS OUT.png [PARALLEL-OPTIONS...]
#     -- [vorla-render OPTIONS...]
# PARALLEL-OPTIONS go to parallel as they are, e.g. --sshlogin 4/node1,4/node2 (the renderer
# must then be at the same path there, and the working folder shared); the band files go to
# the working folder as OUT.png.band-N. A random picture needs --seed, so that every band
# draws the same picture. VORLA_RENDER names the renderer (default: build/src/vorla-render);
# VORLA_GRID=FILE also writes the joined value grid.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/bands.sh"
[ $# -ge 2 ] || { sed -n 2,9p "$0" >&2; exit 2; }
bands=$1 out=$2
shift 2
popts=()
while [ $# -gt 0 ] && [ "$1" != -- ]; do popts+=("$1"); shift; done
[ "${1:-}" = -- ] && shift
render=${VORLA_RENDER:-$here/../../build/src/vorla-render}
height=$(vorla_picture_height "$@")
vorla_band_rows "$height" "$bands" |
    parallel --halt now,fail=1 "${popts[@]}" "$render" --quiet "$@" --rows {} "$out.band-{#}"
band_files=()
for ((i = 1; i <= bands; i++)); do band_files+=("$out.band-$i"); done
grid=()
[ -n "${VORLA_GRID:-}" ] && grid=(--grid "$VORLA_GRID")
"$render" --quiet "${grid[@]}" --assemble "$out" "${band_files[@]}"
rm -f "${band_files[@]}"
