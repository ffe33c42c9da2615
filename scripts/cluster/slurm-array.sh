#!/usr/bin/env bash
# Submits a picture to Slurm as an array job of one task per band and a join job that waits
# for them: scripts/cluster/slurm-array.sh BANDS OUT.png [SBATCH-OPTIONS...] -- [vorla-render
# OPTIONS...]. The working folder must be shared by the nodes; the band files are
# OUT.png.band-N. A random picture needs --seed. VORLA_RENDER names the renderer (default:
# build/src/vorla-render, as an absolute path). Prints the join job's id.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/bands.sh"
[ $# -ge 2 ] || { sed -n 2,7p "$0" >&2; exit 2; }
bands=$1 out=$2
shift 2
sopts=()
while [ $# -gt 0 ] && [ "$1" != -- ]; do sopts+=("$1"); shift; done
[ "${1:-}" = -- ] && shift
render=$(realpath "${VORLA_RENDER:-$here/../../build/src/vorla-render}")
height=$(vorla_picture_height "$@")
rows=$(vorla_band_rows "$height" "$bands" | tr '\n' ' ')
quoted=$(printf ' %q' "$@")
# Task N renders the N-th band of the list; the join job runs only if every task succeeded.
# (--wrap scripts run under /bin/sh: no arrays there.)
array=$(sbatch --parsable "${sopts[@]}" --array=1-"$bands" --job-name=vorla-band --wrap \
    "rows=\$(echo $rows | cut -d' ' -f\$SLURM_ARRAY_TASK_ID); $(printf %q "$render") --quiet$quoted --rows \$rows $(printf %q "$out").band-\$SLURM_ARRAY_TASK_ID")
files=""
for ((i = 1; i <= bands; i++)); do files="$files $(printf %q "$out.band-$i")"; done
sbatch --parsable "${sopts[@]}" --dependency=afterok:"$array" --job-name=vorla-join --wrap \
    "$(printf %q "$render") --quiet --assemble $(printf %q "$out")$files && rm -f$files"
