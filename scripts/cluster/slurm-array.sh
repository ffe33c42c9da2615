#!/usr/bin/env bash
# Submits a picture to Slurm as an array job of one task per band and a join job that waits
# for them: scripts/cluster/slurm-array.sh BANDS OUT.png [SBATCH-OPTIONS...] -- [vorla-render
# OPTIONS...]. The working folder must be shared by the nodes; the band files are
# OUT.png.band-N. A random picture needs --seed. VORLA_RENDER names the renderer (default:
# build/src/vorla-render, as an absolute path). Prints the join job's id (both jobs' on
# stderr). A band that fails adds a line naming it to OUT.png.failed, and Slurm cancels the
# join job (--kill-on-invalid-dep): the bands drawn are kept for a second run of the others.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
. "$here/bands.sh"
[ $# -ge 2 ] || { sed -n 2,8p "$0" >&2; exit 2; }
bands=$1 out=$2
shift 2
sopts=()
while [ $# -gt 0 ] && [ "$1" != -- ]; do sopts+=("$1"); shift; done
[ "${1:-}" = -- ] && shift
render=$(realpath "${VORLA_RENDER:-$here/../../build/src/vorla-render}")
height=$(vorla_picture_height "$@")
rows=$(vorla_band_rows "$height" "$bands" | tr '\n' ' ')
# Every word goes into the batch scripts quoted for sh, which runs them.
q_render=$(vorla_sh_quote "$render") q_out=$(vorla_sh_quote "$out")
q_failed=$(vorla_sh_quote "$out.failed")
q_args=""
for a in "$@"; do q_args="$q_args $(vorla_sh_quote "$a")"; done
rm -f -- "$out.failed"
# Task N renders the N-th band of the list; the join job runs only if every task succeeded,
# and is cancelled when one fails.
array=$(sbatch --parsable "${sopts[@]}" --array=1-"$bands" --job-name=vorla-band --wrap \
    "rows=\$(echo $rows | cut -d' ' -f\$SLURM_ARRAY_TASK_ID)
$q_render --quiet$q_args --rows \$rows $q_out.band-\$SLURM_ARRAY_TASK_ID
code=\$?
if [ \$code -ne 0 ]; then
    echo \"band \$SLURM_ARRAY_TASK_ID (rows \$rows) failed (exit \$code)\" >>$q_failed
fi
exit \$code")
array=${array%%;*}
files=""
for ((i = 1; i <= bands; i++)); do files="$files $(vorla_sh_quote "$out.band-$i")"; done
join=$(sbatch --parsable "${sopts[@]}" --dependency=afterok:"$array" --kill-on-invalid-dep=yes \
    --job-name=vorla-join --wrap "$q_render --quiet --assemble $q_out$files && rm -f$files")
echo "slurm-array: the bands in job $array, joined by job ${join%%;*}" >&2
echo "${join%%;*}"
